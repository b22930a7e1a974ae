#include "CameraLink.h"

#include "Capabilities.h"
#include "CaptureDialogs.h"
#include "DeviceMonitor.h"
#include "GrabberSettings.h"
#include "SecondCameraDialog.h"
#include "VideoWindow.h"

namespace vestrel {

CameraLink::CameraLink(Prompter& prompter, CaptureOptions options)
    : prompter_(prompter),
      options_(options),
      main_(prompter, std::move(options)),
      mainFrames_(main_.Grabber()),
      mainFormat_(main_)
{
}

CameraLink::~CameraLink()
{
    main_.Grabber().SetSink(nullptr);
    if (secondDialog_) delete secondDialog_.data();
    delete video_.data();  // it reads the capture's frames until it goes
    main_.Stop();
    main_.TearDownDownstream();
    main_.ReleaseGraph();
}

bool CameraLink::open()
{
    if (!main_.EnumerateDevices()) return false;
    if (!main_.SelectDevice(0)) return false;
    main_.ReleaseGraph();
    return main_.BuildGraph();
}

bool CameraLink::start(QWidget* owner)
{
    if (!video_) {
        video_ = new VideoWindow(main_, owner);
        if (deviceLost_) ConnectDeviceLost(main_, video_, deviceLost_);
    }
    if (!main_.BuildPreview()) return false;
    if (!main_.Run()) return false;
    video_->relayout();
    return true;
}

void CameraLink::showPreview(bool on)
{
    main_.ShowPreview(on);
    if (video_) video_->setVisible(on);
}

void CameraLink::holdPicture(bool hold)
{
    if (hold) main_.Pause();
    else main_.Run();
}

QWidget* CameraLink::videoWindow() { return video_.data(); }

void CameraLink::place(const VideoPlacement& p)
{
    if (!video_) return;
    video_->setMode(p.actualSize ? VideoWindow::Mode::ActualSize : VideoWindow::Mode::FitWindow);
    video_->setZoomLevel(p.zoomLevel);
    video_->relayout();
}

void CameraLink::applySettings(const Settings& settings)
{
    main_.Grabber().SetSettings(GrabberSettingsFrom(settings));
}

// The size the device has applied: right after a format switch the newest frame may
// still be one of the old size.
int CameraLink::frameWidth() const { return main_.FormatSize().width; }

int CameraLink::frameHeight() const { return main_.FormatSize().height; }

bool CameraLink::registerDeviceNotifications()
{
    // Without udev watching (tests, or a caller that asked for none) there is nothing to
    // register for.
    if (!options_.watchDeviceRemoval) return true;
    if (!deviceEvents_) deviceEvents_ = std::make_unique<DeviceMonitor>("", options_.deviceEventSource);
    return deviceEvents_->ok();
}

void CameraLink::setDeviceLostHandler(std::function<void()> handler)
{
    deviceLost_ = std::move(handler);
    if (video_ && deviceLost_) ConnectDeviceLost(main_, video_, deviceLost_);
}

std::uint64_t CameraLink::framesShown() const { return video_ ? video_->framesShown() : 0; }

bool CameraLink::setFrameSize(int width, int height)
{
    const bool ok = mainFormat_.setFrameSize(width, height);
    if (video_) video_->relayout();
    return ok;
}

bool CameraLink::setRgb24() { return mainFormat_.setRgb24(); }

bool CameraLink::copyNewestFrame(cv::Mat& frame) { return mainFrames_.copyNewestFrame(frame); }

bool CameraLink::openSecondCamera(const std::string& vid, const std::string& pid, QWidget* livePane,
                                  std::function<void()> scan)
{
    // The old dialog (and with it the old stream) goes first; its camera object with it.
    if (secondDialog_) {
        delete secondDialog_.data();
        secondDialog_.clear();
    }
    secondFrames_.reset();
    second_ = std::make_unique<CVideoCapture>(prompter_, options_);
    second_->SetTopOffset(true);
    second_->Grabber().SetPassThrough(true);
    SecondCameraDialog* dialog = OpenSecondCamera(*second_, prompter_, vid, pid, livePane, nullptr);
    if (!dialog) {
        second_.reset();
        return false;
    }
    dialog->setScanHook(std::move(scan));
    secondDialog_ = dialog;
    secondFrames_ = std::make_unique<scan::GrabberFrameSource>(second_->Grabber());
    return true;
}

scan::FrameSource* CameraLink::secondCamera()
{
    return secondDialog_ && secondFrames_ ? secondFrames_.get() : nullptr;
}

bool CameraLink::showProperties(QWidget* owner) { return ShowDeviceProperties(main_, owner); }

bool CameraLink::showFormats(QWidget* owner)
{
    const bool ok = ShowFormatPages(main_, owner, false);
    if (video_) video_->relayout();
    return ok;
}

bool CameraLink::readFrameSize(int& width, int& height)
{
    if (!main_.ReadFrameSize()) return false;
    width = main_.FormatSize().width;
    height = main_.FormatSize().height;
    return true;
}

std::vector<std::string> CameraLink::recordCapabilities() { return recording::ListCapabilities(main_); }

bool CameraLink::showRecordFormats(QWidget* owner, const std::function<void()>& startRecording)
{
    // The recording shares the live picture's stream: once a format is chosen the picture
    // runs again and the recording takes its frames.
    const bool ok = ShowFormatPages(main_, owner, true, [this, &startRecording] {
        if (main_.BuildPreview()) main_.Run();
        if (startRecording) startRecording();
    });
    if (video_) video_->relayout();
    return ok;
}

void CameraLink::setFrameSink(FrameSink* sink) { main_.Grabber().SetSink(sink); }

}  // namespace vestrel
