#pragma once
// Binarisation of a page photographed by the document camera: ink black, paper white,
// whatever the light did to the page (fall-off towards the edges, the shadow of the camera
// arm), through sensor noise and slight blur. This is the routine behind "二值化" and the
// scan chain's threshold step (the camera maker's `Marrowin` ordinal 1 used to provide it).

#include <opencv2/core.hpp>

namespace vestrel::docproc {

// Makes `blackWhite` a new 8-bit single-channel picture of the size of `source`, top row
// first, holding only 0 (ink) and 255 (paper).
//
// `source` is 8-bit grey, BGR or BGRA, or 16-bit grey. Returns false, with `blackWhite`
// left as it was, when the picture is empty or of another type or the work fails (memory).
// Never throws.
bool Binarise(const cv::Mat& source, cv::Mat& blackWhite);

}  // namespace vestrel::docproc
