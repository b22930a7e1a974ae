#include "ConversionJob.h"

#include "PdfMessages.h"

#include <QThread>

#include <exception>

namespace vestrel::output {

ConversionJob::ConversionJob(Prompter& prompter, QObject* parent)
    : QObject(parent), prompter_(prompter)
{
}

ConversionJob::~ConversionJob()
{
    if (thread_) {
        cancel();
        thread_->wait();
    }
}

bool ConversionJob::start(Work work)
{
    if (thread_)
        return false;
    cancelRequested_ = false;
    result_ = {};
    deferred_ = std::make_unique<DeferredPrompter>();
    const unsigned serial = ++serial_;

    // Runs on the worker: only posts to the UI thread and reads the cancel flag, so the
    // UI thread may block in waitForFinished() without a deadlock.
    ConversionProgress progress = [this, serial](int done, int total) {
        QMetaObject::invokeMethod(
            this,
            [this, serial, done, total] {
                if (serial == serial_ && thread_)
                    emit progressed(done, total);
            },
            Qt::QueuedConnection);
        return !cancelRequested_.load();
    };
    thread_.reset(QThread::create([this, messages = deferred_.get(), work = std::move(work),
                                   progress = std::move(progress)] {
        try {
            result_ = work(*messages, progress);
        } catch (const std::exception& error) {
            // Our conversions return their errors; this is for what they cannot, such as
            // running out of memory.
            result_ = {};
            messages->message(std::string(kConversionFailed) + error.what(), kPromptCaption,
                              MessageKind::Error);
        }
    }));
    connect(
        thread_.get(), &QThread::finished, this,
        [this, serial] {
            if (serial == serial_)
                end();
        },
        Qt::QueuedConnection);
    thread_->start();
    return true;
}

void ConversionJob::cancel()
{
    cancelRequested_ = true;
}

void ConversionJob::waitForFinished()
{
    end();
}

void ConversionJob::end()
{
    if (!thread_)
        return;
    thread_->wait();
    thread_.reset();
    const std::unique_ptr<DeferredPrompter> messages = std::move(deferred_);
    emit finished();
    messages->replayTo(prompter_);
}

}  // namespace vestrel::output
