#pragma once
// The grey picture every routine of docproc works on, whatever it was handed: 8-bit grey,
// BGR or BGRA, or 16-bit grey (the form a 16-bit picture takes on its way to us).

#include <opencv2/core.hpp>

namespace vestrel::docproc::detail {

// True for the picture types the binarisation and deskew accept.
bool IsAcceptedPicture(const cv::Mat& picture);

// `picture` as 8-bit grey, top row first; empty when the type is not accepted. A picture
// that is grey already is handed back as it is, sharing its pixels (no copy): only read
// them. May throw OpenCV's exceptions: the public functions catch them (NoThrow.h).
cv::Mat GreyOf(const cv::Mat& picture);

}  // namespace vestrel::docproc::detail
