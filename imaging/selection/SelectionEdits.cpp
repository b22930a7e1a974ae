#include "SelectionEdits.h"

namespace vestrel::selection {
namespace {

cv::Scalar ScalarOf(RGBQUAD colour)
{
    return cv::Scalar(colour.rgbBlue, colour.rgbGreen, colour.rgbRed);
}

// Pixels where `knocked` is set take the background, which becomes the transparent colour;
// elsewhere pixels of that colour turn white unless the picture was transparent before.
bool Knockout(CxImage& image, const cv::Mat& knocked, RGBQUAD background, bool wasTransparent)
{
    if (!image.IsValid()) return false;
    if (image.GetBpp() < 24 && !image.IncreaseBpp(24)) return false;
    try {
        cv::Mat& pixels = image.Pixels();
        pixels.setTo(ScalarOf(background), knocked);
        if (!wasTransparent) {
            cv::Mat same;
            cv::inRange(pixels, ScalarOf(background), ScalarOf(background), same);
            same.setTo(cv::Scalar(0), knocked);
            pixels.setTo(cv::Scalar(255, 255, 255), same);
        }
    } catch (const cv::Exception&) {
        return false;
    }
    image.SetTransColor(background);
    return true;
}

}  // namespace

RGBQUAD BackgroundOf(const CxImage& image)
{
    return image.IsTransparent() ? image.GetTransColor() : kCutBackground;
}

bool MaskOutsideSelection(CxImage& image, RGBQUAD background, bool wasTransparent)
{
    const cv::Mat& selection = image.SelectionMask();
    cv::Mat outside;
    if (selection.empty()) outside = cv::Mat(image.Pixels().size(), CV_8UC1, cv::Scalar(255));
    else cv::compare(selection, cv::Scalar(0), outside, cv::CMP_EQ);
    return Knockout(image, outside, background, wasTransparent);
}

bool FillSelection(CxImage& image, RGBQUAD background, bool wasTransparent)
{
    const cv::Mat& selection = image.SelectionMask();
    if (selection.empty()) return false;
    cv::Mat inside;
    cv::compare(selection, cv::Scalar(0), inside, cv::CMP_NE);
    return Knockout(image, inside, background, wasTransparent);
}

std::optional<CxImage> PictureOfSelection(const CxImage& image, bool freeHand)
{
    PixelRect box;
    if (!image.SelectionGetBox(box)) {
        CxImage whole;
        if (!whole.Copy(image, true, false)) return std::nullopt;  // an emptied mask means nothing
        return whole;
    }
    CxImage part;
    // Crop into a destination leaves the picture itself as it is.
    if (!const_cast<CxImage&>(image).Crop(box, &part)) return std::nullopt;
    if (freeHand && !MaskOutsideSelection(part, BackgroundOf(image), image.IsTransparent())) return std::nullopt;
    return part;
}

}  // namespace vestrel::selection
