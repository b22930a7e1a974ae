#include "CQuorvanApp.h"

#include "AppMessages.h"
#include "CMainFrame.h"
#include "CommandLine.h"
#include "CameraLink.h"
#include "DeveloperReports.h"
#include "QtPrompter.h"
#include "SingleInstance.h"

#include <QApplication>
#include <QElapsedTimer>

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

CQuorvanApp::CQuorvanApp(int argc, char** argv, QElapsedTimer startClock)
    : argc_(argc), argv_(argv), startClock_(startClock)
{
}

CQuorvanApp::~CQuorvanApp()
{
    frame_.reset();  // writes config.ini, then closes the camera
}

bool CQuorvanApp::InitInstance()
{
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
    if (const std::string file = FileArgument(argc_, argv_); !file.empty()) frame_->openFile(file);

    if (HasFlag(argc_, argv_, "--startup-report")) ReportStartup(*frame_, startClock_);
    if (const QString seconds = FlagValue(argc_, argv_, "--timed-scan-report"); !seconds.isEmpty())
        ReportTimedScanning(*frame_, std::max(1, seconds.toInt()));
    if (const QString shot = FlagValue(argc_, argv_, "--screenshot"); !shot.isEmpty())
        TakeScreenshot(*frame_, shot);
    return true;
}

int CQuorvanApp::Run() { return QApplication::exec(); }

}  // namespace vestrel
