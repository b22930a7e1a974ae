#include "PageOperations.h"

#include "BackgroundCleaning.h"
#include "BackgroundNormalisation.h"
#include "Binarisation.h"
#include "Deskew.h"

namespace vestrel::operations {
namespace {

bool RaiseToColour(CxImage& image)
{
    return image.IsValid() && (image.GetBpp() == 24 || image.IncreaseBpp(24));
}

}  // namespace

bool BinariseImage(CxImage& image)
{
    if (!image.IsValid() || image.IsGrayScale()) return false;
    CxImage colour(image);
    if (!colour.IsValid() || !RaiseToColour(colour)) return false;
    cv::Mat blackWhite;
    if (!docproc::Binarise(colour.Pixels(), blackWhite)) return false;
    return image.AdoptMat(std::move(blackWhite));
}

bool RemoveBackgroundImage(CxImage& image)
{
    CxImage colour(image);
    if (!colour.IsValid() || !RaiseToColour(colour)) return false;
    cv::Mat picture = colour.Pixels().clone();
    // Each step works in place and leaves the picture as it was when it fails; a failed
    // normalisation skips the cleaning too.
    if (docproc::NormaliseBackground(picture, docproc::kBackgroundTargetLevel))
        docproc::CleanBackground(picture, docproc::kCleaningContrast, docproc::kCleaningNoiseLevel);
    return image.AdoptMat(std::move(picture));
}

bool DeskewImage(CxImage& image)
{
    CxImage colour(image);
    if (!colour.IsValid() || !RaiseToColour(colour)) return false;
    cv::Mat straightened;
    if (docproc::Deskew(colour.Pixels(), straightened) == 0) return false;
    return image.AdoptMat(std::move(straightened));
}

}  // namespace vestrel::operations
