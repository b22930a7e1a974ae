#pragma once
// The virtual camera's picture: a desk seen from above with a page of printed text turned
// a little off square, and an ID-sized card beside it. Drawn once per frame size; every
// frame then adds a little sensor noise.

#include <opencv2/core.hpp>

#include <cstdint>

namespace vestrel {

// The scene at `size` (BGR, top row first), without noise. The same size always gives the
// same picture.
cv::Mat DrawDeskScene(cv::Size size);

// Where the scene puts its parts, for tests and for whoever wants to check a crop.
struct DeskSceneLayout {
    cv::RotatedRect page;
    cv::RotatedRect card;
};
DeskSceneLayout DeskLayout(cv::Size size);

// Per-frame sensor noise: adds 0..kNoiseSpan to every channel, a different pattern each
// frame, for about the cost of one pass over the frame.
class SensorNoise {
public:
    static constexpr int kNoiseSpan = 6;
    void add(const cv::Mat& scene, cv::Mat& out);

private:
    cv::Mat noise_;  // one row, longer than the frame, read at a moving offset
    std::uint64_t frame_ = 0;
};

}  // namespace vestrel
