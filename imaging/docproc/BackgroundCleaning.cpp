#include "BackgroundCleaning.h"

#include "NoThrow.h"
#include "PaperEstimate.h"

#include <opencv2/imgproc.hpp>

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

namespace vestrel::docproc {
namespace {

// Result of every (paper level, value) pair: one table, looked up per pixel.
std::vector<uchar> CleaningTable(double contrast, double noiseLevel)
{
    std::vector<uchar> table(256 * 256);
    for (int paper = 0; paper < 256; ++paper) {
        const double scale = contrast * 255.0 / std::max(paper, 1);
        for (int value = 0; value < 256; ++value) {
            const double darkness = std::max(0.0, paper - value - noiseLevel);
            table[paper * 256 + value] = cv::saturate_cast<uchar>(255.0 - darkness * scale);
        }
    }
    return table;
}

void CleanChannel(cv::Mat& channel, const std::vector<uchar>& table)
{
    cv::Mat paper = detail::EstimatePaper(channel);
    paper = cv::max(paper, detail::PaperFloor(paper));
    for (int y = 0; y < channel.rows; ++y) {
        uchar* values = channel.ptr<uchar>(y);
        const uchar* papers = paper.ptr<uchar>(y);
        for (int x = 0; x < channel.cols; ++x)
            values[x] = table[papers[x] * 256 + values[x]];
    }
}

}  // namespace

bool CleanBackground(cv::Mat& image, double contrast, double noiseLevel)
{
    if (image.empty() || (image.type() != CV_8UC3 && image.type() != CV_8UC1))
        return false;
    if (!(contrast >= 0.1 && contrast <= 10.0) || !(noiseLevel >= 0.0 && noiseLevel <= 128.0))
        return false;
    return detail::NoThrow(false, [&] {
        const std::vector<uchar> table = CleaningTable(contrast, noiseLevel);
        std::vector<cv::Mat> channels;
        cv::split(image, channels);
        for (cv::Mat& channel : channels)
            CleanChannel(channel, table);
        // Only now is the caller's picture written: a failure above leaves it as it was.
        cv::merge(channels, image);
        return true;
    });
}

}  // namespace vestrel::docproc
