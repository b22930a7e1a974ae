#include "PageScores.h"

#include <opencv2/imgproc.hpp>

#include <cmath>
#include <limits>

namespace vestrel::bench {

BinaryScore ScoreBinary(const cv::Mat& blackWhite, const cv::Mat& ink)
{
    const cv::Mat found = blackWhite == 0;
    const double truePositive = cv::countNonZero(found & ink);
    const double foundCount = cv::countNonZero(found);
    const double inkCount = cv::countNonZero(ink);
    BinaryScore score;
    if (foundCount > 0 && inkCount > 0 && truePositive > 0) {
        const double precision = truePositive / foundCount;
        const double recall = truePositive / inkCount;
        score.fMeasure = 2 * precision * recall / (precision + recall);
    }
    const double wrong = cv::countNonZero(found != ink);
    const double mse = wrong / static_cast<double>(ink.total()) * 255.0 * 255.0;
    score.psnr = mse > 0 ? 10.0 * std::log10(255.0 * 255.0 / mse) : std::numeric_limits<double>::infinity();
    return score;
}

BackgroundScore ScoreBackground(const cv::Mat& picture, const cv::Mat& ink)
{
    cv::Mat grey;
    if (picture.channels() == 3)
        cv::cvtColor(picture, grey, cv::COLOR_BGR2GRAY);
    else
        grey = picture;
    cv::Mat nearInk;
    cv::dilate(ink, nearInk, cv::getStructuringElement(cv::MORPH_ELLIPSE, cv::Size(13, 13)));
    const cv::Mat paper = nearInk == 0;
    cv::Mat strokeCore;
    cv::erode(ink, strokeCore, cv::getStructuringElement(cv::MORPH_RECT, cv::Size(3, 3)));

    cv::Scalar paperMean, paperDeviation;
    cv::meanStdDev(grey, paperMean, paperDeviation, paper);
    BackgroundScore score;
    score.deviation = paperDeviation[0];
    if (cv::countNonZero(strokeCore) > 0)
        score.contrast = paperMean[0] - cv::mean(grey, strokeCore)[0];
    return score;
}

}  // namespace vestrel::bench
