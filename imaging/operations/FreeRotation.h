#pragma once
// The free rotation ("旋转", dialog 139): its settings, the rule of its angle text, and the
// preview that turns the picture kept from before the dialog by the angle shown.

#include "CxImage.h"

#include <string>

namespace vestrel::operations {

struct RotateSettings {
    bool keepSize = false;        // check box 1004 "保持图像大小不变"
    int direction = 0;            // radios from 1005: 0 "顺时针", 1 "逆时针"
    std::string angleText = "1";  // edit 1000
    int angle = 1;
};

// What the angle text becomes after an edit: digits only are taken (an empty text is angle
// 0); anything else is refused, and the text goes back to "1". Very long numbers are taken
// modulo 360, which turns the picture the same way.
struct AngleText {
    bool accepted = true;  // false: "请输入一个整数!!!" is shown
    std::string text;      // the text the box shows afterwards
    int angle = 0;         // 0 .. 359
};
AngleText CheckAngleText(const std::string& text);

// The angle the preview turns by: positive clockwise, negated for "逆时针".
int SignedAngle(int angle, int direction);

// The picture becomes `backup` turned by `degrees` (positive clockwise) with bilinear
// interpolation; the uncovered corners take the picture's transparent colour or else grey
// 200; with keepSize the picture keeps its size and loses its corners. The selection goes.
bool PreviewRotation(CxImage& image, const CxImage& backup, int degrees, bool keepSize);

}  // namespace vestrel::operations
