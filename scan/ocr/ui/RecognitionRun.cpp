#include "RecognitionRun.h"

#include "OcrMessages.h"

#include <QDesktopServices>
#include <QProgressDialog>
#include <QThread>
#include <QUrl>
#include <QWidget>

namespace vestrel::ocr {

bool QtDesktopOpener::open(const std::filesystem::path& file)
{
    return QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(file.string())));
}

RecognitionRun::RecognitionRun(Prompter& prompter, QWidget* window,
                               std::unique_ptr<DesktopOpener> opener, std::string languages)
    : QObject(window),
      prompter_(prompter),
      window_(window),
      opener_(opener ? std::move(opener) : std::make_unique<QtDesktopOpener>()),
      command_(prompter, *opener_, std::move(languages))
{
}

RecognitionRun::~RecognitionRun()
{
    if (thread_) {
        cancelRequested_ = true;
        thread_->wait();
    }
}

RecognitionRun& RecognitionRun::Of(QWidget* window, Prompter& prompter)
{
    if (auto* run = window->findChild<RecognitionRun*>(QString(), Qt::FindDirectChildrenOnly))
        return *run;
    return *new RecognitionRun(prompter, window);
}

bool RecognitionRun::start(bool liveMode, const CxImage* image)
{
    if (thread_) return false;
    const auto request = command_.prepare(liveMode, image);
    if (!request) return false;
    files_.reset();
    cancelRequested_ = false;

    if (!progressWindow_) {
        progressWindow_ = new QProgressDialog(window_);
        progressWindow_->setWindowTitle(QString::fromUtf8(messages::kProgressTitle));
        progressWindow_->setLabelText(QString::fromUtf8(messages::kProgressText));
        progressWindow_->setCancelButtonText(QString::fromUtf8(messages::kCancel));
        progressWindow_->setRange(0, 100);
        progressWindow_->setWindowModality(Qt::WindowModal);
        progressWindow_->setAutoClose(false);
        progressWindow_->setAutoReset(false);
        connect(progressWindow_, &QProgressDialog::canceled, this, &RecognitionRun::cancel);
        connect(this, &RecognitionRun::progressed, progressWindow_, &QProgressDialog::setValue);
    }
    progressWindow_->setValue(0);
    progressWindow_->show();

    // The worker only posts its progress and reads the cancel flag.
    thread_.reset(QThread::create([this, request = *request] {
        outcome_ = TextRecognitionCommand::recognise(
            request, recogniser_, &cancelRequested_, [this](int percent) {
                QMetaObject::invokeMethod(this, [this, percent] { emit progressed(percent); },
                                          Qt::QueuedConnection);
            });
    }));
    connect(thread_.get(), &QThread::finished, this, &RecognitionRun::end, Qt::QueuedConnection);
    thread_->start();
    return true;
}

void RecognitionRun::cancel()
{
    cancelRequested_ = true;
}

void RecognitionRun::waitForFinished()
{
    end();
}

void RecognitionRun::end()
{
    if (!thread_) return;
    thread_->wait();
    thread_.reset();
    if (progressWindow_) progressWindow_->hide();
    files_ = command_.deliver(outcome_);
    outcome_ = {};
    emit finished();
}

}  // namespace vestrel::ocr
