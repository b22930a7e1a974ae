#pragma once
// The two things the live picture gets on every frame: the mask over everything outside
// the scan area, and the turn. Pure functions on BGR frames (CV_8UC3, top row first).

#include "GrabberSettings.h"

#include <opencv2/core.hpp>

namespace vestrel {

// The colour outside the scan area: blue 240, green 250, red 230.
inline const cv::Vec3b kMaskColour{240, 250, 230};

// The part of a width x height frame that stays clear, in top-down pixel coordinates;
// the whole frame when nothing is masked. Empty when the preset rectangle lies outside.
cv::Rect ClearArea(const GrabberSettings& settings, int width, int height);

// Paints every pixel outside ClearArea in kMaskColour.
void PaintMask(cv::Mat& frame, const GrabberSettings& settings);

// Writes `in` turned as `orientation` says into `out` (reallocated only when its size or
// type differs). Left is 90 degrees counter-clockwise, right 90 degrees clockwise.
void TurnFrame(const cv::Mat& in, cv::Mat& out, const Orientation& orientation);

// Mask and turn in one pass: `out` is `in` masked and turned. Same result as PaintMask
// on a copy followed by TurnFrame, without touching `in`.
void MaskAndTurn(const cv::Mat& in, cv::Mat& out, const GrabberSettings& settings);

}  // namespace vestrel
