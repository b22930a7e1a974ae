#include "FreeRotation.h"

#include <algorithm>

namespace vestrel::operations {

AngleText CheckAngleText(const std::string& text)
{
    const bool digitsOnly = std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
    if (!digitsOnly) return {false, "1", 1};
    int angle = 0;
    for (char c : text) angle = (angle * 10 + (c - '0')) % 360;
    return {true, text, angle};
}

int SignedAngle(int angle, int direction)
{
    return direction == 1 ? -angle : angle;
}

bool PreviewRotation(CxImage& image, const CxImage& backup, int degrees, bool keepSize)
{
    CxImage turned;
    if (!turned.Copy(backup)) return false;
    turned.SelectionDelete();
    RGBQUAD grey = MakeRgbQuad(200, 200, 200, 200);
    if (!turned.Rotate2(float(degrees), CxImage::IM_BILINEAR, CxImage::OM_BACKGROUND, &grey, true, keepSize))
        return false;
    image = std::move(turned);
    return true;
}

}  // namespace vestrel::operations
