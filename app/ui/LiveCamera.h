#pragma once
// What the main window needs of a camera: open it, show and pause its picture, place its
// video window, switch its format for the size and orientation choices, and hand over the
// newest frame for a scan. CameraLink implements it over the capture layer.

#include "ScanAreaSelection.h"
#include "ScanSeams.h"
#include "Settings.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class QWidget;

namespace vestrel {

class FrameSink;

struct VideoPlacement {
    bool actualSize = false;
    int zoomLevel = 0;
};

class LiveCamera : public scan::CameraFormatControl, public scan::FrameSource {
public:
    // Enumerates the devices and opens the first; false with the capture layer's message
    // shown when there is none.
    virtual bool open() = 0;
    // Makes the video window inside `owner` and starts the picture; false when the preview
    // cannot be built.
    virtual bool start(QWidget* owner) = 0;
    virtual void showPreview(bool on) = 0;
    // Holds the picture still (the stream pauses) with its last frame kept on screen, as
    // while the user drags the preset rectangle on it.
    virtual void holdPicture(bool hold) = 0;
    virtual QWidget* videoWindow() = 0;  // null before start()
    // Places the video window in its owner for the current frame size and turn state.
    virtual void place(const VideoPlacement& placement) = 0;
    // The mask and turn of the live picture follow the scan settings.
    virtual void applySettings(const Settings& settings) = 0;
    virtual int frameWidth() const = 0;
    virtual int frameHeight() const = 0;
    // The window's registration for the capture devices' events, made once as the window
    // is created; false when udev cannot be reached. A removal itself is acted on through
    // the device-lost handler, not through these events.
    virtual bool registerDeviceNotifications() = 0;
    // Called on the UI thread when the open device disappears.
    virtual void setDeviceLostHandler(std::function<void()> handler) = 0;
    // Frames shown in the video window so far.
    virtual std::uint64_t framesShown() const = 0;

    // The second camera ("开启视频2"): found by its USB ids and shown in its own dialog
    // beside `livePane`; `scan` is what the dialog's scan button does. False, with the
    // message shown, when no device has the ids.
    virtual bool openSecondCamera(const std::string& vid, const std::string& pid,
                                  QWidget* livePane, std::function<void()> scan) = 0;
    // "视频属性" and "视频格式": the camera's own pages.
    virtual bool showProperties(QWidget* owner) = 0;
    virtual bool showFormats(QWidget* owner) = 0;

    // The second camera's newest frame; null while it is closed.
    virtual scan::FrameSource* secondCamera() = 0;

    // Video recording. The capture pin's size now ("不能获得连接的视频格式!" and false when
    // it cannot be read); the record dialog's capability list; the format pages shown as a
    // recording starts, after which the picture runs again and `startRecording` follows;
    // and where every frame goes besides the live picture (null: nowhere).
    virtual bool readFrameSize(int& width, int& height) = 0;
    virtual std::vector<std::string> recordCapabilities() = 0;
    virtual bool showRecordFormats(QWidget* owner, const std::function<void()>& startRecording) = 0;
    virtual void setFrameSink(FrameSink* sink) = 0;
};

}  // namespace vestrel
