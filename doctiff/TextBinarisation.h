#pragma once
// Binarisation of printed pages. Kept behind this one function so that the document
// binarisation of the imaging library can take its place without touching the callers.

#include <opencv2/core.hpp>

namespace vestrel::doctiff {

// CV_8UC1 grey in, 0/255 out.
cv::Mat BinariseText(const cv::Mat& gray);

}  // namespace vestrel::doctiff
