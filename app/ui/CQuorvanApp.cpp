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

#include <algorithm>
#include <cstdio>

namespace vestrel {

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
    const AppCommandLine line = ReadAppCommandLine(argc_, argv_);
    CaptureOptions options;
    options.cameraSpec = CameraSpecOrEnvironment(line.camera);
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
    if (!line.file.empty()) frame_->openFile(line.file);

    if (line.startupReport) ReportStartup(*frame_, startClock_);
    if (line.timedScanReport && !line.timedScanReport->empty())
        ReportTimedScanning(*frame_, std::max(1, QString::fromStdString(*line.timedScanReport).toInt()));
    if (line.screenshot && !line.screenshot->empty())
        TakeScreenshot(*frame_, QString::fromLocal8Bit(line.screenshot->c_str()));
    return true;
}

int CQuorvanApp::Run() { return QApplication::exec(); }

}  // namespace vestrel
