#include "DocumentSteps.h"

#include "BackgroundCleaning.h"
#include "BackgroundNormalisation.h"
#include "Binarisation.h"
#include "Deskew.h"

#include <vector>

namespace vestrel::scan {
namespace {

// 8 bits whose palette is the plain grey ramp: the index plane is the grey picture itself.
bool HoldsGreyRamp(const CxImage& image)
{
    if (image.GetBpp() != 8 || image.GetNumColors() != 256) return false;
    const std::vector<RGBQUAD>& palette = image.GetPalette();
    for (int i = 0; i < 256; ++i) {
        const RGBQUAD& entry = palette[i];
        if (entry.rgbRed != i || entry.rgbGreen != i || entry.rgbBlue != i) return false;
    }
    return true;
}

// The interchange picture of a chain image: BGR for colour, grey for grey pictures (at
// this point of the chain an image is one or the other). The pixels of a colour picture and
// of the grey pictures the chain makes are shared, not copied: only read them.
cv::Mat Interchange(const CxImage& image)
{
    if (image.GetBpp() == 24 || HoldsGreyRamp(image)) return image.Pixels();
    return image.IsGrayScale() ? image.ToGrey() : image.ToBgr();
}

}  // namespace

void RemoveBackground(CxImage& image)
{
    // Worked on in a copy: a step that fails leaves the image as it was.
    cv::Mat picture = Interchange(image).clone();
    if (!docproc::NormaliseBackground(picture, docproc::kBackgroundTargetLevel)) return;
    if (!docproc::CleanBackground(picture, docproc::kCleaningContrast, docproc::kCleaningNoiseLevel))
        return;
    image.AdoptMat(std::move(picture));
}

void Deskew(CxImage& image)
{
    cv::Mat straightened;
    if (docproc::Deskew(Interchange(image), straightened) != 0) image.AdoptMat(std::move(straightened));
}

bool Binarise(CxImage& image)
{
    cv::Mat blackWhite;
    if (!docproc::Binarise(Interchange(image), blackWhite)) return false;
    return image.AdoptMat(std::move(blackWhite));
}

}  // namespace vestrel::scan
