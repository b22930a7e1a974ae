#pragma once
// The one-step effects of the "图像" and "效果" menus: each a fixed call of the image class
// on the whole picture (inside the selection where the call honours one).

#include "CxImage.h"

namespace vestrel::operations {

enum class Effect {
    Sharpen,         // "锐化": 3x3 (-1 -1 -1 / -1 15 -1 / -1 -1 -1), divisor 7
    Soften,          // "柔化": 3x3 (1 1 1 / 1 8 1 / 1 1 1), divisor 16
    Blur,            // "模糊": 3x3 of ones, divisor 9
    Emboss,          // "浮雕": 3x3 (0 0 -1 / 0 0 0 / 1 0 0), divisor -1, offset 127
    EdgeDetect,      // "边缘检测": 3x3 (-1 -1 -1 / -1 8 -1 / -1 -1 -1), divisor -1, offset 255
    Erode,           // "腐蚀": minimum of the 3x3 square
    Dilate,          // "膨胀": maximum of the 3x3 square
    Negative,        // "反色"
    GreyScale,       // "灰度图"
    Brighter,        // "增加亮度": brightness +10
    Darker,          // "降低亮度": brightness -10
    MoreSaturation,  // "增加饱和度": +25 percent
    LessSaturation,  // "降低饱和度": -20 percent (not -25: the menu has always been uneven)
    MoreContrast,    // "增加对比度": contrast +10
    LessContrast,    // "降低对比度": contrast -10
    Denoise,         // "去噪声": Gaussian blur of radius 1
    RedEyeRemoval,   // "去红眼": strength 0.8
    RotateLeft90,    // "左旋90"
    RotateRight90,   // "右旋90"
};

// Applies `effect` to `image`; false (image unchanged) when the call fails.
bool ApplyEffect(Effect effect, CxImage& image);

// The right-angle turns also drop the selection and may need the pan tool afterwards.
inline bool TurnsByRightAngle(Effect effect)
{
    return effect == Effect::RotateLeft90 || effect == Effect::RotateRight90;
}

}  // namespace vestrel::operations
