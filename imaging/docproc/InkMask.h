#pragma once
// Where the ink is on a grey page picture: the core of the binarisation, shared with the
// deskew, which looks for text lines among the ink.

#include <opencv2/core.hpp>

namespace vestrel::docproc::detail {

// 255 where `grey` (8-bit, single channel) shows ink, 0 on paper.
//
// The picture is first divided by the brightness of its paper, which takes away uneven
// light and the arm's shadow. Then every part of the page gets the threshold half-way
// between its paper and its ink: blur spreads a stroke's edge, but the true outline of the
// stroke stays where the brightness is half-way, so that threshold gives the strokes back
// their printed width. The threshold never comes closer to the paper than four times the
// paper's own noise, which keeps bare paper free of specks; a part of the page with no
// clear ink takes the page's threshold. May throw OpenCV's exceptions.
cv::Mat InkMask(const cv::Mat& grey);
// The same decision the other way round: 255 on paper, 0 where the ink is, the form the
// binarisation hands out. May throw OpenCV's exceptions.
cv::Mat PaperMask(const cv::Mat& grey);

}  // namespace vestrel::docproc::detail
