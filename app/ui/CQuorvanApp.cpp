#include "CQuorvanApp.h"

#include "AppMessages.h"
#include "CMainFrame.h"
#include "CameraLink.h"
#include "QtPrompter.h"
#include "SingleInstance.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>

#include <cstdio>
#include <cstring>

namespace vestrel {
namespace {

bool HasFlag(int argc, char** argv, const char* flag)
{
    for (int i = 1; i < argc; ++i)
        if (std::strcmp(argv[i], flag) == 0) return true;
    return false;
}

QString FlagValue(int argc, char** argv, const char* flag)
{
    for (int i = 1; i + 1 < argc; ++i)
        if (std::strcmp(argv[i], flag) == 0) return QString::fromLocal8Bit(argv[i + 1]);
    return {};
}

}  // namespace

CQuorvanApp::CQuorvanApp(int argc, char** argv) : argc_(argc), argv_(argv) {}

CQuorvanApp::~CQuorvanApp()
{
    frame_.reset();  // writes config.ini, then closes the camera
}

bool CQuorvanApp::InitInstance()
{
    QElapsedTimer sinceStart;
    sinceStart.start();
    const QString title = QString::fromUtf8(appmsg::kMainWindowTitle);
    instance_ = std::make_unique<SingleInstance>(title);
    if (!instance_->claim()) return false;  // the running one shows itself

    prompter_ = std::make_unique<QtPrompter>(nullptr);
    CaptureOptions options;
    options.cameraSpec = CameraSpecFrom(argc_, argv_);
    auto camera = std::make_unique<CameraLink>(*prompter_, options);
    if (!camera->open()) return false;  // "没有找到视频采集设备！" has been shown

    frame_ = std::make_unique<CMainFrame>(*prompter_, std::move(camera));
    if (!frame_->startCamera()) return false;
    frame_->LoadConfig();
    QObject::connect(instance_.get(), &SingleInstance::wakeRequested, frame_.get(), [this] {
        qInfo("vestrel: woken by a second start");
        frame_->wake();
    });
    frame_->wake();
    frame_->setWindowTitle(title);

    if (HasFlag(argc_, argv_, "--startup-report")) {
        // Prints when the window appeared and when its first live frame was painted, then
        // ends the program: how the start-up time is measured.
        const qint64 shownAt = sinceStart.elapsed();
        auto* poll = new QTimer(frame_.get());
        poll->setInterval(1);
        QObject::connect(poll, &QTimer::timeout, frame_.get(), [this, poll, sinceStart, shownAt] {
            if (frame_->camera()->framesShown() == 0) return;
            poll->stop();
            const qint64 firstFrame = sinceStart.elapsed();
            std::printf("window shown after %lld ms; first live frame after %lld ms (%lld ms after the window)\n",
                        static_cast<long long>(shownAt), static_cast<long long>(firstFrame),
                        static_cast<long long>(firstFrame - shownAt));
            std::fflush(stdout);
            frame_->close();
            QCoreApplication::quit();
        });
        poll->start();
    }
    if (const QString shot = FlagValue(argc_, argv_, "--screenshot"); !shot.isEmpty()) {
        // A picture of the running window for the documentation, taken once the live
        // picture has had a moment to settle; then the program ends.
        QTimer::singleShot(3000, frame_.get(), [this, shot] {
            frame_->grab().save(shot);
            frame_->close();
            QCoreApplication::quit();
        });
    }
    return true;
}

int CQuorvanApp::Run() { return QApplication::exec(); }

}  // namespace vestrel
