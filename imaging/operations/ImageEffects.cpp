#include "ImageEffects.h"

namespace vestrel::operations {
namespace {

bool Filter3x3(CxImage& image, const long (&kernel)[9], long divisor, long offset)
{
    return image.Filter(kernel, 3, divisor, offset);
}

constexpr long kSharpen[9] = {-1, -1, -1, -1, 15, -1, -1, -1, -1};
constexpr long kSoften[9] = {1, 1, 1, 1, 8, 1, 1, 1, 1};
constexpr long kBlur[9] = {1, 1, 1, 1, 1, 1, 1, 1, 1};
constexpr long kEmboss[9] = {0, 0, -1, 0, 0, 0, 1, 0, 0};
constexpr long kEdges[9] = {-1, -1, -1, -1, 8, -1, -1, -1, -1};

}  // namespace

bool ApplyEffect(Effect effect, CxImage& image)
{
    if (!image.IsValid()) return false;
    switch (effect) {
    case Effect::Sharpen: return Filter3x3(image, kSharpen, 7, 0);
    case Effect::Soften: return Filter3x3(image, kSoften, 16, 0);
    case Effect::Blur: return Filter3x3(image, kBlur, 9, 0);
    case Effect::Emboss: return Filter3x3(image, kEmboss, -1, 127);
    case Effect::EdgeDetect: return Filter3x3(image, kEdges, -1, 255);
    case Effect::Erode: return image.Erode(3);
    case Effect::Dilate: return image.Dilate(3);
    case Effect::Negative: return image.Negative();
    case Effect::GreyScale: return image.GrayScale();
    case Effect::Brighter: return image.Light(10, 0);
    case Effect::Darker: return image.Light(-10, 0);
    case Effect::MoreSaturation: return image.Saturate(25, 2);
    case Effect::LessSaturation: return image.Saturate(-20, 2);
    case Effect::MoreContrast: return image.Light(0, 10);
    case Effect::LessContrast: return image.Light(0, -10);
    case Effect::Denoise: return image.GaussianBlur(1.0f);
    case Effect::RedEyeRemoval: return image.RedEyeRemove(0.8f);
    case Effect::RotateLeft90: return image.RotateLeft();
    case Effect::RotateRight90: return image.RotateRight();
    }
    return false;
}

}  // namespace vestrel::operations
