#pragma once
// Deskew of a page photographed askew: finds the angle of its text lines and turns the
// page straight. This is the routine behind "倾斜校正" and the scan chain's deskew step (the
// camera maker's `Surtelle` ordinal 1 used to provide it).

#include <opencv2/core.hpp>

namespace vestrel::docproc {

// The text angle of a page, counter-clockwise as seen on screen, in degrees.
struct SkewMeasurement {
    bool reliable = false;  // false: blank page, photograph, no clear text lines
    double angleDegrees = 0;
    double confidence = 0;  // how much the text lines stand out at that angle (1 = not at all)
};

// The largest skew looked for; a page photographed further askew is left alone.
inline constexpr double kMaxSkewDegrees = 20.5;

// Measures the text angle of `picture` (8-bit grey, BGR or BGRA, or 16-bit grey). An
// unreliable measurement on anything that is not a page of text. Never throws.
SkewMeasurement MeasureSkew(const cv::Mat& picture);

// When `source` holds text lines at a reliable angle, makes `straightened` a new picture of
// the same type with the lines level and returns non-zero. The canvas grows to hold the
// whole turned page; the corners it uncovers take the colour of the picture's edge.
// Returns zero, with `straightened` left as it was, when there is nothing to straighten: a
// blank page, a photograph, no clear text angle, a page already level within 0.05 degrees,
// an unsupported picture or a failure. Never throws.
// With `transform`, a straightened picture also gives the 2 x 3 affine matrix (CV_64F)
// that took each source pixel to its place in it, so that positions found in the straight
// page (the words text recognition reads) can be carried back to the source.
int Deskew(const cv::Mat& source, cv::Mat& straightened, cv::Mat* transform = nullptr);

}  // namespace vestrel::docproc
