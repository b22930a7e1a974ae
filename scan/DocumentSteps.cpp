#include "DocumentSteps.h"

#include "BackgroundCleaning.h"
#include "BackgroundNormalisation.h"
#include "Binarisation.h"
#include "Deskew.h"

namespace vestrel::scan {
namespace {

// The interchange picture of a chain image: BGR for colour, grey for grey pictures (at
// this point of the chain an image is one or the other). The pixels of a colour picture and
// of the grey pictures the chain makes are shared, not copied: only read them.
cv::Mat Interchange(const CxImage& image)
{
    if (image.GetBpp() == 24 || image.IsGreyRamp()) return image.Pixels();
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
