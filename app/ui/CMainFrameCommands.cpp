// The window's own commands: live/still, full screen, actual and window size, window
// restore, digital zoom, restore defaults, the size and orientation choices, help, and
// config.ini.

#include "AppDialogs.h"
#include "AppMessages.h"
#include "CButtonView.h"
#include "CHelperView.h"
#include "CLiveView.h"
#include "CMainFrame.h"
#include "CommandIds.h"
#include "DocumentMessages.h"
#include "ImageCommands.h"
#include "ImageSizeList.h"
#include "CQuorvanDoc.h"
#include "CQuorvanView.h"
#include "CThumbViewerView.h"
#include "PrintCommands.h"
#include "ProgramDir.h"
#include "Prompter.h"
#include "RecognitionRun.h"
#include "RecordingCommands.h"
#include "ScanDriver.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QDesktopServices>
#include <QMenuBar>
#include <QScreen>
#include <QScrollArea>
#include <QSplitter>
#include <QStackedWidget>
#include <QStatusBar>
#include <QSystemTrayIcon>
#include <QToolBar>
#include <QUrl>

namespace vestrel {

using namespace cmd;

void CMainFrame::registerHandlers()
{
    handlers_[ID_APP_EXIT] = [this] { close(); };
    handlers_[ID_TRAY_EXIT] = [this] { close(); };
    handlers_[ID_TRAY_SHOW] = [this] { wake(); };
    handlers_[ID_LIVE_STILL] = [this] { OnLiveStill(); };
    handlers_[ID_FULL_SCREEN] = [this] { OnFullScreen(); };
    handlers_[ID_ACTUAL_SIZE] = [this] { OnActualSize(); };
    handlers_[ID_WINDOW_SIZE] = [this] { OnWindowSize(); };
    handlers_[ID_WINDOW_RESTORE] = [this] { OnWindowRestore(); };
    handlers_[ID_DIGITAL_ZOOM] = [this] { OnDigitalZoom(); };
    handlers_[ID_RESTORE_DEFAULTS] = [this] { OnRestoreDefaults(); };
    handlers_[ID_APP_ABOUT] = [this] { ShowAboutBox(this); };
    handlers_[ID_HELP_MANUAL] = [this] { OnHelpDocument(appmsg::kManualFile); };
    handlers_[ID_HELP_TROUBLESHOOTING] = [this] { OnHelpDocument(appmsg::kTroubleshootingFile); };
    handlers_[ID_HELP_WEBSITE] = [] { QDesktopServices::openUrl(QUrl(QString::fromUtf8(appmsg::kWebsite))); };
    for (int entry = 0; entry < scan::kSizeEntryCount; ++entry)
        handlers_[kSizeCommands[entry]] = [this, entry] { OnSizeEntry(entry); };
    handlers_[ID_ORIENT_NORMAL] = [this] { OnOrientation(scan::OrientationChoice::Normal); };
    handlers_[ID_ORIENT_UPSIDE_DOWN] = [this] { OnOrientation(scan::OrientationChoice::UpsideDown); };
    handlers_[ID_ORIENT_LEFT] = [this] { OnOrientation(scan::OrientationChoice::RotateLeft); };
    handlers_[ID_ORIENT_RIGHT] = [this] { OnOrientation(scan::OrientationChoice::RotateRight); };
    handlers_[ID_SECOND_CAMERA] = [this] { OnSecondCamera(); };
    handlers_[ID_VIDEO_FORMAT] = [this] { OnVideoFormat(); };
    handlers_[ID_VIDEO_PROPERTIES] = [this] {
        if (camera_) camera_->showProperties(liveView_);
    };
    handlers_[ID_SCAN] = [this] {
        if (scanDriver_) scanDriver_->scanOnce();
    };
    handlers_[ID_TIMED_SCAN] = [this] {
        if (scanDriver_) scanDriver_->startTimed();
    };
    handlers_[ID_STOP_SCAN] = [this] {
        if (scanDriver_) scanDriver_->stopTimed();
    };
    handlers_[ID_OCR] = handlers_[ID_OCR_2] = [this] {
        ocr::RecognitionRun::Of(this, prompter_).start(scan_.liveMode, doc_->Image());
    };
}

void CMainFrame::LoadConfig()
{
    vestrel::LoadConfig(programpath::ConfigFile(), programDir_, settings_);
    if (settings_.size < 0 || settings_.size >= scan::kSizeEntryCount) settings_.size = 0;
    sizeList_->setCurrentIndex(settings_.size);
    if (camera_ && !camera_->setFrameSize(settings_.lwidth, settings_.lheight)) {
        // The camera kept its old format; the settings follow what it delivers.
        settings_.lwidth = camera_->frameWidth();
        settings_.lheight = camera_->frameHeight();
    }
    const scan::ArmPosition arm = scan::ApplyStartupSize(settings_);
    if (print_) print_->applyArmPosition(arm);
    liveView_->setPresetDraw(settings_.size == scan::kPresetEntry);
    if (camera_) camera_->applySettings(settings_);
    placeVideo();
    refreshLibrary();
    updateCommandUi();
    redrawPanes();
}

bool CMainFrame::SaveConfig()
{
    settings_.size = sizeList_ ? sizeList_->currentIndex() : settings_.size;
    if (doc_) settings_.address = doc_->MailUrl();  // the mail link's address, as last confirmed
    return vestrel::SaveConfig(settings_, programpath::ConfigFile());
}

void CMainFrame::refreshLibrary()
{
    // The new listing also recounts the naming counters the scans continue from (libraryChanged).
    doc_->ApplySettings(settings_);
    doc_->RefreshLibrary();
}

void CMainFrame::placeVideo()
{
    // At actual size the live view takes the frame's size (turned sideways: exchanged) and
    // its scroll area scrolls it; otherwise it fills the area.
    const bool sideways = settings_.orientation.rotateLeft || settings_.orientation.rotateRight;
    if (scan_.actualSize) {
        liveScroll_->setWidgetResizable(false);
        liveView_->resize(sideways ? settings_.lheight : settings_.lwidth,
                          sideways ? settings_.lwidth : settings_.lheight);
    } else {
        liveScroll_->setWidgetResizable(true);
    }
    if (!camera_) return;
    camera_->applySettings(settings_);
    camera_->place({scan_.actualSize, scan_.zoomLevel});
}

void CMainFrame::OnLiveStill()
{
    if (scan_.idCardCopyMode) {
        if (prompter_.askYesNo(appmsg::kEndCopyQuestion, appmsg::kPromptCaption) != Answer::Yes) return;
        EndCopyMode();
    }
    switchLiveStill();
}

void CMainFrame::switchLiveStill()
{
    // The text box closes without placing its text.
    doc_->CloseTextEntry();
    // The tools stay as they are; only a drawn selection goes.
    if (CxImage* image = doc_->Image()) image->SelectionDelete();
    if (scan_.liveMode) {
        scan_.liveMode = false;
        imagePane_->setCurrentWidget(stillView_);
        if (camera_) camera_->showPreview(false);
        buttonView_->setLiveShown(false);
        stillView_->setFocus();
        showPendingScan();
    } else {
        scan_.liveMode = true;
        imagePane_->setCurrentWidget(liveScroll_);
        if (camera_) camera_->showPreview(true);
        placeVideo();
        buttonView_->setLiveShown(true);
        liveView_->setFocus();
    }
    doc_->KeepBackup();
    updateCommandUi();
    redrawPanes();
}

void CMainFrame::OnFullScreen() { setFullScreen(!fullScreen_); }

void CMainFrame::setFullScreen(bool on)
{
    if (on == fullScreen_) return;
    const QRect screen = this->screen() ? this->screen()->geometry() : QRect(0, 0, 1024, 768);
    if (on) {
        savedPlacement_ = geometry();
        savedStates_ = windowState();
        for (QToolBar* bar : {mainBar_, secondBar_, leftBar_})
            if (bar) bar->hide();
        statusBar()->hide();
        menuBar()->hide();
        fullScreen_ = true;
        showFullScreen();
        const SplitterSizes s = FullScreenSplitterSizes(screen.width(), screen.height());
        mainSplitter_->setSizes({s.imageColumn, s.sideColumn});
        leftSplitter_->setSizes({s.imageRow, s.infoRow});
    } else {
        fullScreen_ = false;
        menuBar()->show();
        statusBar()->show();
        for (QToolBar* bar : {mainBar_, secondBar_, leftBar_})
            if (bar) bar->show();
        setWindowState(savedStates_ & ~Qt::WindowFullScreen);
        if (!(savedStates_ & (Qt::WindowMaximized | Qt::WindowFullScreen))) setGeometry(savedPlacement_);
        applyNormalSplitterSizes();
    }
    if (scan_.liveMode) placeVideo();
    redrawPanes();
}

void CMainFrame::OnActualSize()
{
    if (!scan_.liveMode) {
        // The still picture at its own size, panned when it is larger than the pane.
        if (!doc_->OnActualSize()) return;
        stillView_->refresh();
        redrawPanes();
        return;
    }
    scan_.actualSize = true;
    scan_.zoomLevel = 0;
    placeVideo();
    redrawPanes();
}

void CMainFrame::OnWindowSize()
{
    if (!scan_.liveMode) {
        doc_->OnWindowSize();
        stillView_->refresh();
        redrawPanes();
        return;
    }
    scan_.actualSize = false;
    scan_.zoomLevel = 0;
    placeVideo();
    redrawPanes();
}

void CMainFrame::OnWindowRestore()
{
    for (QToolBar* bar : {mainBar_, secondBar_})
        if (bar) {
            addToolBar(Qt::TopToolBarArea, bar);
            bar->show();
        }
    if (leftBar_) {
        addToolBar(Qt::LeftToolBarArea, leftBar_);
        leftBar_->show();
    }
    applyNormalSplitterSizes();
}

void CMainFrame::OnDigitalZoom()
{
    if (sizeList_->currentIndex() != scan::kWholeFrameEntry) {
        prompter_.message(appmsg::kZoomOnlyForAll);
        return;
    }
    ZoomDialog dialog(scan_.zoomLevel, [this](int level) { applyZoom(level); }, this);
    if (dialog.exec() == QDialog::Accepted) applyZoom(dialog.level());
}

void CMainFrame::applyZoom(int level)
{
    scan_.zoomLevel = std::clamp(level, 0, 6);
    placeVideo();
}

void CMainFrame::OnRestoreDefaults()
{
    if (!confirmStopEBook()) return;
    RestoreDefaultValues(settings_, programDir_);
    sizeList_->setCurrentIndex(scan::kWholeFrameEntry);
    liveView_->setPresetDraw(false);
    if (camera_ && camera_->setFrameSize(scan::kFullFrameWidth, scan::kFullFrameHeight)) {
        settings_.lwidth = scan::kFullFrameWidth;
        settings_.lheight = scan::kFullFrameHeight;
    } else if (!camera_) {
        settings_.lwidth = scan::kFullFrameWidth;
        settings_.lheight = scan::kFullFrameHeight;
    }
    OnSizeEntry(scan::kWholeFrameEntry);
    OnOrientation(scan::OrientationChoice::Normal);
    refreshLibrary();
    SaveConfig();
    OnWindowSize();
}

namespace {

// Size and orientation choices reach the camera through this; without a camera there is
// no format to switch, and the choice is only a setting.
class NoCamera final : public scan::CameraFormatControl {
public:
    bool setFrameSize(int, int) override { return true; }
    bool setRgb24() override { return true; }
};

}  // namespace

void CMainFrame::OnSizeEntry(int index)
{
    NoCamera none;
    scan::CameraFormatControl& control = camera_ ? static_cast<scan::CameraFormatControl&>(*camera_) : none;
    const scan::SizeSelection chosen = scan::SelectSizeEntry(index, settings_, scan_, control);
    if (!chosen.applied) {
        sizeList_->setCurrentIndex(settings_.size);
        return;
    }
    sizeList_->setCurrentIndex(index);
    if (print_) print_->applyArmPosition(chosen.arm);
    liveView_->setPresetDraw(chosen.startRectangleDrawing);
    placeVideo();
    redrawPanes();
}

void CMainFrame::OnOrientation(scan::OrientationChoice choice)
{
    NoCamera none;
    scan::CameraFormatControl& control = camera_ ? static_cast<scan::CameraFormatControl&>(*camera_) : none;
    if (!scan::SelectOrientation(choice, settings_, scan_, control)) return;
    placeVideo();
    redrawPanes();
}

void CMainFrame::OnPresetDrawn(const FrameRect& r)
{
    settings_.left = r.left;
    settings_.right = r.right;
    settings_.top = r.top;
    settings_.bottom = r.bottom;
    settings_.presetInForce = true;
    placeVideo();
    redrawPanes();
}

void CMainFrame::OnHelpDocument(const char* file)
{
    // A missing document is the desktop's to report, as it always was.
    const QString path = QString::fromStdString((programDir_ / file).string());
    QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

void CMainFrame::OnStopAll()
{
    if (scan_.timedScanning && scanDriver_) scanDriver_->stopTimed();
    if (recording_) recording_->escape();
    if (fullScreen_) setFullScreen(false);
    updateCommandUi();
    redrawPanes();
}

void CMainFrame::OnSecondCamera()
{
    if (!camera_) return;
    camera_->openSecondCamera(settings_.vid, settings_.pid, liveView_, [this] {
        if (scanDriver_ && camera_->secondCamera()) scanDriver_->scanSecond(*camera_->secondCamera());
    });
}

void CMainFrame::OnVideoFormat()
{
    if (!camera_) return;
    camera_->showFormats(liveView_);
    settings_.lwidth = camera_->frameWidth();
    settings_.lheight = camera_->frameHeight();
    OnSizeEntry(scan::kWholeFrameEntry);
}

void CMainFrame::wake()
{
    if (scan_.liveMode && camera_) camera_->showPreview(true);
    // Without a window manager (a bare X server) maximising does nothing: the window takes
    // the screen's free area itself first.
    // A window hidden in full screen comes back in full screen: the frame still runs as one
    // (menus hidden, "全屏显示" checked).
    if (fullScreen_) {
        showFullScreen();
    } else {
        if (screen()) setGeometry(screen()->availableGeometry());
        showMaximized();
    }
    raise();
    activateWindow();
    // Enter scans and Esc stops from the moment the window comes up.
    if (scan_.liveMode) liveView_->setFocus();
    // An open print preview stays in front of the window it belongs to.
    if (print_) print_->raisePreview();
}

void CMainFrame::closeEvent(QCloseEvent* event)
{
    // While the print preview is open, closing does nothing, however it was asked for.
    if (print_ && print_->previewOpen()) {
        event->ignore();
        print_->raisePreview();
        return;
    }
    // An operation still running ends first: its result is part of what may be saved.
    if (imageOps_->Busy()) imageOps_->Wait();
    // Edits not saved yet are offered for saving; Cancel keeps the program running.
    if (!doc_->SaveIfWanted()) {
        event->ignore();
        return;
    }
    OnWindowRestore();
    if (tray_) tray_->hide();
    event->accept();
}

void CMainFrame::changeEvent(QEvent* event)
{
    QMainWindow::changeEvent(event);
    if (event->type() != QEvent::WindowStateChange || !isMinimized()) return;
    if (camera_) camera_->showPreview(false);
    // Only with a tray icon to come back through does the window hide; without one it stays
    // a normal minimised window, or it could never be found again.
    if (tray_ && tray_->isVisible()) QMetaObject::invokeMethod(this, &QWidget::hide, Qt::QueuedConnection);
}

}  // namespace vestrel
