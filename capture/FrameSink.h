#pragma once
// Something that takes every camera frame besides the live picture, such as a recording.
// It is called on the capture thread with the frame as the camera delivered it (never
// masked nor turned) and must return quickly: the live picture waits for it.

#include <opencv2/core.hpp>

#include <cstdint>

namespace vestrel {

class FrameSink {
public:
    virtual ~FrameSink() = default;
    // `frame` is BGR (CV_8UC3, top row first); `timestamp` in microseconds. The frame is
    // only lent for the call.
    virtual void OnFrame(const cv::Mat& frame, std::int64_t timestamp) = 0;
};

}  // namespace vestrel
