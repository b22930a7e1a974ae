#pragma once
// A V4L2 camera through libv4l2, which converts whatever the camera sends (YUYV, MJPEG,
// ...) to 24-bit BGR. Frames come through memory-mapped buffers; a read that fails with
// ENODEV, or udev removing the node, is the loss of the device.

#include "CaptureSource.h"

#include <memory>
#include <string>
#include <vector>

namespace vestrel {

class DeviceMonitor;

class V4l2Source final : public CaptureSource {
public:
    enum class OpenResult { Opened, CannotOpen, NotCapture };

    V4l2Source();
    ~V4l2Source() override;

    OpenResult open(const std::string& devNode, bool watchRemoval);
    // When removal watching was asked for but udev could not be reached.
    bool removalWatchFailed() const { return watchFailed_; }

    bool getFrameSize(FrameSize& size) override;
    bool setFrameSize(const FrameSize& size) override;
    bool deliversBgr() override;
    std::vector<PixelFormatInfo> formats() override;
    std::vector<CameraControl> controls() override;
    bool setControl(std::uint32_t id, int value) override;
    bool prepareStream() override;
    bool startStream() override;
    void stopStream() override;
    void releaseStream() override;
    ReadResult readFrame(cv::Mat& frame, std::int64_t& timestamp) override;
    std::string lastError() const override { return error_; }

private:
    struct Buffer {
        void* start = nullptr;
        std::size_t length = 0;
    };
    int xioctl(unsigned long request, void* arg);
    bool fail(const std::string& what);
    void unmapBuffers();

    std::string devNode_;
    int fd_ = -1;
    std::unique_ptr<DeviceMonitor> monitor_;
    bool watchFailed_ = false;
    std::vector<Buffer> buffers_;
    bool streaming_ = false;
    int width_ = 0;
    int height_ = 0;
    int bytesPerLine_ = 0;
    std::string error_;
};

}  // namespace vestrel
