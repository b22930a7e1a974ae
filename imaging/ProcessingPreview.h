#pragma once
// How the automatic processing will look, shown on a still picture while a dialog is open
// (the scan settings; the signature dialog uses the same look): a stronger picture for the
// background strength s (contrast 5s, brightness 5s on each colour plane, contrast 5s once
// more), then black and white at threshold t.

#include "CxImage.h"

namespace vestrel {

// Works on `image` (a copy of the untouched picture). strength <= 0 leaves the tones as
// they are; threshold < 0 leaves the colours. Threshold values above 255 count as 255.
// False when the image is no picture.
bool ApplyProcessingPreview(CxImage& image, int threshold, int strength);

}  // namespace vestrel
