#include "PageReading.h"

#include "Deskew.h"
#include "DocumentSteps.h"

#include <opencv2/imgproc.hpp>

#include <cmath>
#include <numbers>

namespace vestrel::ocr {

PreparedPicture PrepareForRecognition(const CxImage& picture)
{
    PreparedPicture prepared;
    prepared.toSource = (cv::Mat_<double>(2, 3) << 1, 0, 0, 0, 1, 0);
    CxImage grey(picture, true, false, false);
    grey.GrayScale();
    scan::RemoveBackground(grey);
    prepared.grey = grey.ToGrey();
    cv::Mat straight, transform;
    if (docproc::Deskew(prepared.grey, straight, &transform) != 0) {
        cv::invertAffineTransform(transform, prepared.toSource);
        prepared.grey = straight;
    }
    return prepared;
}

std::vector<PlacedWord> PlaceInSource(const std::vector<RecognisedWord>& words,
                                      const cv::Mat& toSource)
{
    const cv::Matx23d m = toSource;
    // The direction of a level line in the source; screen y runs down, angles count up.
    const double angle = std::atan2(-m(1, 0), m(0, 0)) * 180.0 / std::numbers::pi;
    std::vector<PlacedWord> placed;
    placed.reserve(words.size());
    for (const RecognisedWord& word : words) {
        const cv::Vec3d baselineStart(word.box.x, word.box.y + word.box.height, 1.0);
        const cv::Vec2d at = m * baselineStart;
        placed.push_back(PlacedWord{word.text, at[0], at[1], double(word.box.width),
                                    double(word.box.height), angle});
    }
    return placed;
}

int ReadingDpi(const CxImage& picture)
{
    const double dpi = picture.GetYDPI() > 0 ? picture.GetYDPI() : picture.GetXDPI();
    return dpi > 0 ? int(std::lround(dpi)) : kAssumedDpi;
}

std::optional<ReadPage> ReadPicture(TextRecogniser& recogniser, const CxImage& picture,
                                    const std::atomic<bool>* cancel,
                                    const std::function<void(int)>& progress)
{
    if (!picture.IsValid()) return std::nullopt;
    const PreparedPicture prepared = PrepareForRecognition(picture);
    auto recognised = recogniser.recognise(prepared.grey, ReadingDpi(picture), cancel, progress);
    if (!recognised) return std::nullopt;
    ReadPage page;
    page.text = std::move(recognised->text);
    page.words = PlaceInSource(recognised->words, prepared.toSource);
    page.width = picture.GetWidth();
    page.height = picture.GetHeight();
    return page;
}

}  // namespace vestrel::ocr
