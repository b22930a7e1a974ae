#include "ToneCorrections.h"

namespace vestrel::operations {

bool ApplyGamma(CxImage& image, const GammaSettings& s)
{
    if (s.independentChannels) {
        if (!(s.red > 0) || !(s.green > 0) || !(s.blue > 0)) return false;
        return image.GammaRGB(s.red, s.green, s.blue);
    }
    if (!(s.gamma > 0)) return false;
    return image.Gamma(s.gamma);
}

bool ApplyColourCorrection(CxImage& image, const ColourCorrectionSettings& s)
{
    switch (s.mode) {
    case ColourCorrectionSettings::Hsl: return image.Colorize(s.hue, s.saturation, float(s.blendPercent) * 0.01f);
    case ColourCorrectionSettings::Exposure: return image.Solarize(s.level, s.linkedChannels);
    default: return image.ShiftRGB(s.red, s.green, s.blue);
    }
}

COLORREF ChooserStartColour(const ColourCorrectionSettings& s)
{
    if (s.mode == ColourCorrectionSettings::Hsl)
        return CxImage::RGBQUADtoRGB(CxImage::HSLtoRGB(MakeColorRef(s.hue, s.saturation, 128)));
    return MakeColorRef(s.red & 0xFF, s.green & 0xFF, s.blue & 0xFF);
}

void TakeChosenColour(ColourCorrectionSettings& s, COLORREF chosen)
{
    const RGBQUAD rgb = CxImage::RGBtoRGBQUAD(chosen);
    const RGBQUAD hsl = CxImage::RGBtoHSL(rgb);
    s.hue = hsl.rgbRed;
    s.saturation = hsl.rgbGreen;
    s.red = rgb.rgbRed;
    s.green = rgb.rgbGreen;
    s.blue = rgb.rgbBlue;
    s.level = std::uint8_t((rgb.rgbRed * 306 + rgb.rgbGreen * 601 + rgb.rgbBlue * 117) >> 10);
}

}  // namespace vestrel::operations
