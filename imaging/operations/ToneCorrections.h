#pragma once
// The two correction dialogs' settings ("伽马校正" 137 and "颜色校正" 138), what they do to a
// picture on OK, and the colour-chooser rules of the colour correction's "颜色" button.

#include "CxImage.h"

#include <cstdint>

namespace vestrel::operations {

struct GammaSettings {
    bool independentChannels = false;  // radio 1006 "独立通道" (true) or 1005 "连续通道"
    float gamma = 0.9f;                // edit 1000
    float red = 1.1f;                  // edits 1001 to 1003
    float green = 1.2f;
    float blue = 0.9f;
};

// GammaRGB with the three channel values when independent, else Gamma. False (picture
// unchanged) for a value that is not above 0.
bool ApplyGamma(CxImage& image, const GammaSettings& settings);

struct ColourCorrectionSettings {
    enum Mode : int { Rgb = 0, Hsl = 1, Exposure = 2 };
    int mode = Rgb;               // radios 1006 "RGB颜色模式", 1005 "HSL颜色模式", 1007 "曝光"
    bool linkedChannels = false;  // check box 1004 "连续颜色"
    std::uint8_t hue = 50;        // edit 1000
    std::uint8_t saturation = 12; // edit 1001
    std::uint8_t blendPercent = 50;  // edit 1002
    int red = 50;                 // edits 1003, 1008, 1009: the shifts
    int green = 0;
    int blue = -50;
    std::uint8_t level = 0;       // edit 1010
};

// HSL: Colorize(hue, saturation, blend percent / 100); exposure: Solarize(level, linked);
// RGB: ShiftRGB(red, green, blue).
bool ApplyColourCorrection(CxImage& image, const ColourCorrectionSettings& settings);

// The colour the chooser starts with: in HSL mode the colour of (hue, saturation,
// luminance 128), otherwise the low bytes of the three shifts as red, green and blue.
COLORREF ChooserStartColour(const ColourCorrectionSettings& settings);
// A colour chosen: hue and saturation become its own, the shifts its red, green and blue,
// and the level its brightness (R*306 + G*601 + B*117) >> 10.
void TakeChosenColour(ColourCorrectionSettings& settings, COLORREF chosen);

}  // namespace vestrel::operations
