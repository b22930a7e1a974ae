#pragma once
// How bright the paper is under every pixel, as if nothing were printed on it. Light that
// falls off towards the edges and the soft shadow of the camera arm vary slowly across the
// page, while ink comes in strokes and characters much smaller than the page: a grey
// closing on a reduced copy wipes out the ink and keeps the light.

#include <opencv2/core.hpp>

namespace vestrel::docproc::detail {

// The paper level under every pixel of the 8-bit single-channel `channel`, same size and
// type. Dark marks up to about a fortieth of the picture's shorter side are taken for ink;
// larger dark areas (photographs, the desk) count as paper of their own brightness.
// May throw OpenCV's exceptions.
cv::Mat EstimatePaper(const cv::Mat& channel);

// The darkest paper level worth flattening towards white: a fraction of the brightness of
// the page's paper as a whole. Anything darker is not paper in shadow but something dark
// (the desk, a picture) and is kept dark instead of having its noise magnified.
int PaperFloor(const cv::Mat& paper);

}  // namespace vestrel::docproc::detail
