#pragma once
// The main window's cameras over the capture layer: the main camera with its video window
// in the live pane, and the optional second camera in its "视频 2" dialog.

#include "CVideoCapture.h"
#include "CaptureLink.h"
#include "LiveCamera.h"

#include <QPointer>

#include <memory>

namespace vestrel {

class DeviceMonitor;
class SecondCameraDialog;
class VideoWindow;

class CameraLink final : public LiveCamera {
public:
    CameraLink(Prompter& prompter, CaptureOptions options);
    ~CameraLink() override;

    bool open() override;
    bool start(QWidget* owner) override;
    void showPreview(bool on) override;
    void holdPicture(bool hold) override;
    QWidget* videoWindow() override;
    void place(const VideoPlacement& placement) override;
    void applySettings(const Settings& settings) override;
    int frameWidth() const override;
    int frameHeight() const override;
    bool registerDeviceNotifications() override;
    void setDeviceLostHandler(std::function<void()> handler) override;
    std::uint64_t framesShown() const override;
    bool openSecondCamera(const std::string& vid, const std::string& pid, QWidget* livePane,
                          std::function<void()> scan) override;
    scan::FrameSource* secondCamera() override;
    bool showProperties(QWidget* owner) override;
    bool showFormats(QWidget* owner) override;
    bool readFrameSize(int& width, int& height) override;
    std::vector<std::string> recordCapabilities() override;
    bool showRecordFormats(QWidget* owner, const std::function<void()>& startRecording) override;
    void setFrameSink(FrameSink* sink) override;

    bool setFrameSize(int width, int height) override;
    bool setRgb24() override;
    bool copyNewestFrame(cv::Mat& frame) override;

    CVideoCapture& capture() { return main_; }

private:
    Prompter& prompter_;
    CaptureOptions options_;
    CVideoCapture main_;
    scan::GrabberFrameSource mainFrames_;
    scan::CaptureFormatControl mainFormat_;
    QPointer<VideoWindow> video_;  // a child of its owner; goes before the camera it shows
    std::function<void()> deviceLost_;
    std::unique_ptr<DeviceMonitor> deviceEvents_;  // the window's registration, while it lasts

    std::unique_ptr<CVideoCapture> second_;
    std::unique_ptr<scan::GrabberFrameSource> secondFrames_;
    QPointer<SecondCameraDialog> secondDialog_;
};

}  // namespace vestrel
