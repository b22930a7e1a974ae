#pragma once
// The page operations of the "效果" menu on a picture of the editor: binarisation
// ("二值化"), background removal ("去底色") and automatic deskew ("倾斜校正"), over the
// document-processing routines. All in memory. Each raises a palette picture to 24 bits
// first, so the routines always see the colour picture the camera made.

#include "CxImage.h"

namespace vestrel::operations {

// Ink black, paper white: the picture becomes an 8-bit grey picture of 0 and 255. A grey
// picture is left as it is and false returned (nothing to do); false too, unchanged, when
// the routine fails.
bool BinariseImage(CxImage& image);

// Background normalisation towards the paper level 250, then cleaning with the factors
// 1.05 and 8.0. A picture under 40 pixels wide or high is not normalised but still
// cleaned; a failed normalisation skips the cleaning. False when the picture could not be
// taken at all.
bool RemoveBackgroundImage(CxImage& image);

// Straightens the text lines. False, with the picture as it was, when no reliable angle
// is found (a blank page, a photograph) or the routine fails.
bool DeskewImage(CxImage& image);

}  // namespace vestrel::operations
