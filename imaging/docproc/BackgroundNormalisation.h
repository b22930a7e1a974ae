#pragma once
// Background normalisation: brightens every region of a page photograph so that its paper
// reaches a target level, from a coarse 10 x 10 map of the paper brightness. This is the
// first half of the program's background removal ("去底色"); CleanBackground is the second.
//
// The routine is deterministic to the pixel: the same picture and level always give the
// same bytes, and those bytes are the ones the program has always produced.

#include <opencv2/core.hpp>

namespace vestrel::docproc {

// The level the background removal asks for.
inline constexpr int kBackgroundTargetLevel = 250;

// Normalises `image` in place towards the paper level `targetLevel` (1..255).
//
// `image` is 8-bit BGR (CV_8UC3) or 8-bit grey (CV_8UC1), top row first. The grid of
// 4 x 4 cells is anchored at the bottom-left corner of the picture, the way the routine has
// always walked its rows, so the pixels left alone are the last W mod 4 columns and the
// top H mod 4 rows. A picture under 40 pixels wide or high is left as it is; that is not
// a failure.
//
// Returns false, with the picture untouched, when the picture is empty, of another type,
// or the level is out of range. Never throws.
bool NormaliseBackground(cv::Mat& image, int targetLevel = kBackgroundTargetLevel);

}  // namespace vestrel::docproc
