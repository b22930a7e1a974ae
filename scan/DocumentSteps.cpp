#include "DocumentSteps.h"

#include "BackgroundNormalisation.h"

// Interim: only the background normalisation of the document-processing library has
// landed; cleaning, deskew and binarisation are wired here as soon as they do.

namespace vestrel::scan {

void RemoveBackground(CxImage& image)
{
    cv::Mat picture = image.GetBpp() == 24 ? image.Pixels().clone() : image.ToGrey();
    if (docproc::NormaliseBackground(picture, docproc::kBackgroundTargetLevel))
        image.AdoptMat(std::move(picture));
}

void Deskew(CxImage&) {}

bool Binarise(CxImage&) { return false; }

}  // namespace vestrel::scan
