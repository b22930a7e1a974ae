#include "PaperEstimate.h"

#include <opencv2/core/utility.hpp>
#include <opencv2/imgproc.hpp>

#include <algorithm>
#include <array>
#include <cmath>
#include <mutex>

namespace vestrel::docproc::detail {
namespace {

constexpr int kWorkingShortSide = 480;   // the reduced copy is about this size
constexpr double kInkSizeShare = 1.0 / 40.0;  // largest ink mark, share of the short side
constexpr double kFloorShare = 0.3;       // darkest paper still flattened, share of the page's
constexpr double kBrightPaperShare = 0.1;  // share of the picture surely covered by paper

}  // namespace

cv::Mat EstimatePaper(const cv::Mat& channel)
{
    const int shortSide = std::min(channel.cols, channel.rows);
    const int reduction = std::max(1, shortSide / kWorkingShortSide);
    cv::Mat reduced;
    if (reduction > 1) {
        cv::resize(channel, reduced,
                   cv::Size(std::max(1, channel.cols / reduction), std::max(1, channel.rows / reduction)),
                   0, 0, cv::INTER_AREA);
    } else {
        reduced = channel.clone();
    }

    // A closing whose square is wider than the largest ink mark replaces every mark by the
    // paper around it; it leaves the edges of large shadows where they are.
    const int inkSize = std::max(1, static_cast<int>(std::lround(shortSide * kInkSizeShare / reduction)));
    const int side = inkSize | 1;
    if (side >= 3) {
        const cv::Mat square = cv::getStructuringElement(cv::MORPH_RECT, cv::Size(side, side));
        cv::morphologyEx(reduced, reduced, cv::MORPH_CLOSE, square, cv::Point(-1, -1), 1,
                         cv::BORDER_REPLICATE);
        // The closing leaves flat-topped steps; light never changes that abruptly.
        cv::GaussianBlur(reduced, reduced, cv::Size(side, side), 0, 0, cv::BORDER_REPLICATE);
    }

    if (reduction == 1)
        return reduced;
    cv::Mat paper;
    cv::resize(reduced, paper, channel.size(), 0, 0, cv::INTER_LINEAR);
    return paper;
}

int PaperFloor(const cv::Mat& paper)
{
    // The brightest tenth of the estimate is surely paper, even when the page covers only
    // part of the picture. The rows are counted in bands on both cores; the counts add up
    // the same in any order.
    std::array<int, 256> histogram{};
    std::mutex merging;
    cv::parallel_for_(cv::Range(0, paper.rows), [&](const cv::Range& rows) {
        const cv::Mat band = paper.rowRange(rows);
        const int histogramSize = 256;
        const float range[] = {0.0f, 256.0f};
        const float* ranges[] = {range};
        cv::Mat counts;
        cv::calcHist(&band, 1, nullptr, cv::Mat(), counts, 1, &histogramSize, ranges);
        const std::lock_guard<std::mutex> lock(merging);
        for (int level = 0; level < 256; ++level)
            histogram[level] += static_cast<int>(counts.at<float>(level));
    });
    const double brightShare = paper.total() * kBrightPaperShare;
    double sum = 0;
    int pageLevel = 0;
    for (int level = 255; level >= 0; --level) {
        // Counted as single-precision numbers, as the level counts always were.
        sum += static_cast<float>(histogram[level]);
        if (sum >= brightShare) {
            pageLevel = level;
            break;
        }
    }
    return std::max(1, static_cast<int>(pageLevel * kFloorShare));
}

}  // namespace vestrel::docproc::detail
