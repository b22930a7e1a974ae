#pragma once
// One opened camera as the capture object drives it. Two kinds exist: a V4L2 device
// (through libv4l2, which converts every camera format to BGR) and the virtual camera
// (a drawn desk scene, or image files). Sources never show messages: they say what went
// wrong and the capture object shows the user's text.

#include "CaptureTypes.h"

#include <opencv2/core.hpp>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace vestrel {

enum class ReadResult {
    Frame,       // `frame` holds a new picture
    NoFrameYet,  // nothing arrived within the wait; ask again
    DeviceLost,  // the device has gone (unplugged, removed)
    Failed,      // the stream broke for another reason
};

class CaptureSource {
public:
    virtual ~CaptureSource() = default;

    // The format frames will arrive in (after negotiation always BGR); false when the
    // device cannot say.
    virtual bool getFrameSize(FrameSize& size) = 0;
    // Asks for `size` in BGR; the device may settle on a nearby size, which getFrameSize
    // then reports. False when the device refuses.
    virtual bool setFrameSize(const FrameSize& size) = 0;
    // Whether frames already arrive as 24-bit BGR.
    virtual bool deliversBgr() = 0;

    virtual std::vector<PixelFormatInfo> formats() = 0;
    virtual std::vector<CameraControl> controls() = 0;
    virtual bool setControl(std::uint32_t id, int value) = 0;

    // Prepares the buffers for the negotiated format, then starts and stops delivery.
    virtual bool prepareStream() = 0;
    virtual bool startStream() = 0;
    virtual void stopStream() = 0;
    // Releases the buffers prepareStream made (the format may then change).
    virtual void releaseStream() = 0;

    // Waits up to about 100 ms for the next frame and writes it into `frame` (CV_8UC3,
    // reallocated only when its size differs), with a time stamp in microseconds.
    virtual ReadResult readFrame(cv::Mat& frame, std::int64_t& timestamp) = 0;

    // A short description of the last failure, for logs and tests.
    virtual std::string lastError() const = 0;
};

}  // namespace vestrel
