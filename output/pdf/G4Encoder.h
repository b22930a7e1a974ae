#pragma once
// CCITT Group 4 compression of a black-and-white picture through libtiff's fax encoder.

#include <opencv2/core.hpp>

#include <cstdint>
#include <optional>
#include <vector>

namespace vestrel::pdf {

// `black` is CV_8UC1 with non-zero for black pixels. Returns the G4 data (one strip, no
// byte alignment, no end-of-block) or nothing when libtiff fails.
std::optional<std::vector<std::uint8_t>> encodeG4(const cv::Mat& black);

}  // namespace vestrel::pdf
