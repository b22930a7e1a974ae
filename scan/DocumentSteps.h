#pragma once
// The three document-processing steps of the chain (background removal, deskew,
// binarisation) on an image of the chain. Each keeps the image it had when the routine
// fails or has nothing to say (a blank page has no angle), as the chain always has.

#include "CxImage.h"

namespace vestrel::scan {

// Normalisation towards the paper level 250, then cleaning with the factors 1.05 and 8.0.
void RemoveBackground(CxImage& image);
// Straightens the page; a picture without a reliable text angle stays as it is.
void Deskew(CxImage& image);
// A black-and-white picture; false (image unchanged) when the routine fails.
bool Binarise(CxImage& image);

}  // namespace vestrel::scan
