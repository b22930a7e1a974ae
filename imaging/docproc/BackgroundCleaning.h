#pragma once
// Background cleaning, the step after background normalisation in the program's background
// removal ("去底色"): the paper becomes white, its texture, stains and colour cast go, and
// the strokes stay. The camera maker's `Hollins` ordinal 2 used to provide it and was
// always called with 1.05 and 8.0.

#include <opencv2/core.hpp>

namespace vestrel::docproc {

inline constexpr double kCleaningContrast = 1.05;
inline constexpr double kCleaningNoiseLevel = 8.0;

// Cleans the background of `image` in place. `image` is 8-bit BGR (CV_8UC3), the picture
// the program hands over, or 8-bit grey.
//
// Each channel is measured against the paper under it (its local brightness without the
// ink). A pixel's darkness is how far it lies below that paper level:
//   - `noiseLevel` (8.0) is the paper's own unevenness in grey levels: that much darkness
//     is taken off every pixel, so grain, noise and faint stains become white, and the
//     strokes lose no more than that;
//   - `contrast` (1.05) stretches what darkness remains, relative to the paper's level,
//     so that the strokes come out a little stronger on the now white paper:
//       value = 255 - contrast * max(0, paper - value - noiseLevel) * 255 / paper.
// Paper darker than three tenths of the page's brightest paper is taken for something dark on
// the page (a picture, the desk) and measured against that floor instead, so it stays
// dark rather than turning into magnified noise.
//
// Returns false, with the picture untouched, for an empty picture, another type, a
// contrast outside 0.1..10 or a noise level outside 0..128. Never throws.
bool CleanBackground(cv::Mat& image, double contrast = kCleaningContrast,
                     double noiseLevel = kCleaningNoiseLevel);

}  // namespace vestrel::docproc
