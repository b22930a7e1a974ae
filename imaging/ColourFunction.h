#pragma once
// Applies a per-pixel colour function to a CxImage following the class rule for palette
// pictures: without a selection the palette entries are changed, with one the picture is
// raised to 24 bits first. Private to the image class's tone files.

#include "CxImage.h"

#include <opencv2/core.hpp>

namespace vestrel {

// `function(b, g, r)` changes the three channels of one colour in place.
template <class ColourFunction>
bool CxImage::ApplyColourFunction(ColourFunction function)
{
    if (!IsValid()) return Fail("no picture");
    if (m_bpp < 24 && !SelectionIsValid()) {
        for (RGBQUAD& entry : m_palette) function(entry.rgbBlue, entry.rgbGreen, entry.rgbRed);
        return true;
    }
    if (m_bpp < 24 && !IncreaseBpp(24)) return false;
    try {
        cv::Mat result = m_pixels.clone();
        result.forEach<cv::Vec3b>([&](cv::Vec3b& p, const int*) { function(p[0], p[1], p[2]); });
        ReplacePixels(result);
        return true;
    } catch (const cv::Exception& e) {
        return Fail(e.what());
    }
}

}  // namespace vestrel
