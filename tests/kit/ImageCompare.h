#pragma once
// Comparing pictures in tests: exact equality with a readable failure, the largest
// per-channel difference, and PSNR for lossy formats.

#include <gtest/gtest.h>
#include <opencv2/core.hpp>

namespace vestrel::testkit {

// Largest absolute difference of any channel of any pixel; -1 when sizes or types differ.
double MaxAbsDiff(const cv::Mat& a, const cv::Mat& b);
// Peak signal-to-noise ratio in dB for 8-bit pictures of the same size and type
// (infinity when they are equal, 0 when sizes or types differ).
double Psnr(const cv::Mat& a, const cv::Mat& b);
// Success when both pictures have the same size, type and pixels; otherwise says where the
// first difference is.
::testing::AssertionResult SamePixels(const cv::Mat& a, const cv::Mat& b);
// A picture with a recognisable pattern (gradients and a few shapes) for round trips.
cv::Mat PatternImage(int width, int height, int type = CV_8UC3);

}  // namespace vestrel::testkit
