#include "BackgroundCleaning.h"

#include "NoThrow.h"
#include "PaperEstimate.h"

#include <opencv2/core/utility.hpp>
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

// The paper under every pixel of one channel, and the floor it is never taken below.
struct ChannelPaper {
    cv::Mat level;
    uchar floor = 0;
};

ChannelPaper PaperOf(const cv::Mat& channel)
{
    ChannelPaper paper;
    paper.level = detail::EstimatePaper(channel);
    paper.floor = cv::saturate_cast<uchar>(detail::PaperFloor(paper.level));
    return paper;
}

template <int Channels>
void ApplyTableToRows(cv::Mat& image, std::vector<ChannelPaper>& papers, const std::vector<uchar>& table,
                      const cv::Range& rows)
{
    // Paper darker than the floor is measured against the floor.
    for (ChannelPaper& paper : papers) {
        cv::Mat band = paper.level.rowRange(rows);
        cv::max(band, cv::Scalar(paper.floor), band);
    }
    // Everything the loop reads lives in locals: the bytes it writes could otherwise stand
    // for any of them, and the compiler would fetch them again for every pixel.
    const uchar* const results = table.data();
    const int width = image.cols;
    for (int y = rows.start; y < rows.end; ++y) {
        uchar* const values = image.ptr<uchar>(y);
        std::array<const uchar*, Channels> levels;
        for (int c = 0; c < Channels; ++c)
            levels[c] = papers[c].level.ptr<uchar>(y);
        for (int x = 0; x < width; ++x) {
            for (int c = 0; c < Channels; ++c) {
                uchar& value = values[x * Channels + c];
                value = results[levels[c][x] * 256 + value];
            }
        }
    }
}

// Looks every byte of `image` up against the paper of its channel. Rows are independent,
// so both cores share them in bands.
void ApplyTable(cv::Mat& image, std::vector<ChannelPaper>& papers, const std::vector<uchar>& table)
{
    cv::parallel_for_(cv::Range(0, image.rows), [&](const cv::Range& rows) {
        if (image.channels() == 1)
            ApplyTableToRows<1>(image, papers, table, rows);
        else
            ApplyTableToRows<3>(image, papers, table, rows);
    });
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
        std::vector<ChannelPaper> papers;
        if (image.channels() == 1) {
            papers.push_back(PaperOf(image));
        } else {
            std::vector<cv::Mat> channels;
            cv::split(image, channels);
            for (const cv::Mat& channel : channels)
                papers.push_back(PaperOf(channel));
        }
        // Only now is the caller's picture written: a failure above leaves it as it was.
        ApplyTable(image, papers, table);
        return true;
    });
}

}  // namespace vestrel::docproc
