#include "InkMask.h"

#include "PaperEstimate.h"

#include <opencv2/core/utility.hpp>
#include <opencv2/imgproc.hpp>

#include <algorithm>
#include <array>
#include <vector>

namespace vestrel::docproc::detail {
namespace {

// The flattened paper lands here, not at 255, so that its noise is not clipped on the
// bright side, where the noise is measured.
constexpr double kFlatPaperLevel = 224.0;
constexpr double kLensBlur = 1.2;          // pixels, the softness the sharpening undoes
constexpr double kSharpening = 1.5;        // strength of the unsharp mask
constexpr int kBlocksAcrossShortSide = 8;  // parts of the page with a threshold of their own
constexpr int kMinBlockSide = 32;
constexpr double kInkPercentile = 0.05;    // of the clearly dark pixels: the ink's own level
constexpr double kMinInkShare = 0.002;     // fewer clearly dark pixels in a part: no ink there
constexpr int kMinContrast = 40;           // weaker ink than this is no ink (grey levels)
constexpr int kNoiseMargin = 4;            // threshold at least this many noise widths below paper

using Histogram = std::array<int, 256>;

// Level below which `share` of the histogram's count lies, counting from level 0 up to
// (not including) `end`.
int Percentile(const Histogram& histogram, double share, int end = 256)
{
    int total = 0;
    for (int level = 0; level < end; ++level)
        total += histogram[level];
    const double wanted = share * total;
    int sum = 0;
    for (int level = 0; level < end; ++level) {
        sum += histogram[level];
        if (sum > wanted)
            return level;
    }
    return end - 1;
}

struct PartLevels {
    int paper = 0;
    int noise = 0;
    bool hasInk = false;
    int threshold = 0;
};

PartLevels LevelsOf(const Histogram& histogram, int pixels)
{
    PartLevels levels;
    // Text covers far less than half a page: the median is paper, and the spread above it,
    // where no ink can be, is the paper's noise.
    levels.paper = Percentile(histogram, 0.5);
    levels.noise = std::max(1, Percentile(histogram, 0.84) - levels.paper);
    const int clearlyDark = std::max(0, levels.paper - std::max(kMinContrast / 2, 3 * levels.noise));
    int darkCount = 0;
    for (int level = 0; level < clearlyDark; ++level)
        darkCount += histogram[level];
    const int ceiling = levels.paper - kNoiseMargin * levels.noise;
    if (darkCount >= std::max(1.0, pixels * kMinInkShare)) {
        const int ink = Percentile(histogram, kInkPercentile, clearlyDark);
        if (levels.paper - ink >= std::max(kMinContrast, 2 * kNoiseMargin * levels.noise)) {
            levels.hasInk = true;
            levels.threshold = std::min((levels.paper + ink + 1) / 2, ceiling);
            return levels;
        }
    }
    // No ink of its own: only what is darker than half the paper counts, and never noise.
    levels.threshold = std::max(0, std::min(levels.paper / 2, ceiling));
    return levels;
}

// Steepens the edges of `flat` with the unsharp mask (`softened` is its blur) and counts
// each part of the page in its own histogram. Both work on whole rows of parts, so both
// cores take bands of them; the result is the same however the rows are shared out.
std::vector<Histogram> SharpenAndCount(cv::Mat& flat, const cv::Mat& softened, int blockSide, int columns,
                                       int rows)
{
    std::vector<Histogram> histograms(static_cast<size_t>(columns) * rows, Histogram{});
    cv::parallel_for_(cv::Range(0, rows), [&](const cv::Range& blockRows) {
        const cv::Range pixelRows(blockRows.start * blockSide, std::min(flat.rows, blockRows.end * blockSide));
        cv::Mat band = flat.rowRange(pixelRows);
        cv::addWeighted(band, 1.0 + kSharpening, softened.rowRange(pixelRows), -kSharpening, 0, band);
        for (int y = pixelRows.start; y < pixelRows.end; ++y) {
            const uchar* row = flat.ptr<uchar>(y);
            Histogram* blockRow = &histograms[static_cast<size_t>(y / blockSide) * columns];
            for (int c = 0; c < columns; ++c) {
                Histogram& histogram = blockRow[c];
                const int end = std::min(flat.cols, (c + 1) * blockSide);
                for (int x = c * blockSide; x < end; ++x)
                    ++histogram[row[x]];
            }
        }
    });
    return histograms;
}

// Threshold of every part of the page, one value per block, from the parts' histograms.
cv::Mat BlockThresholds(const std::vector<Histogram>& histograms, cv::Size size, int blockSide, int columns,
                        int rows)
{
    Histogram page{};
    for (const Histogram& h : histograms)
        for (int level = 0; level < 256; ++level)
            page[level] += h[level];
    const PartLevels pageLevels = LevelsOf(page, size.area());

    cv::Mat thresholds(rows, columns, CV_8UC1);
    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < columns; ++c) {
            const int width = std::min(blockSide, size.width - c * blockSide);
            const int height = std::min(blockSide, size.height - r * blockSide);
            const PartLevels part = LevelsOf(histograms[static_cast<size_t>(r) * columns + c], width * height);
            int threshold = part.threshold;
            if (!part.hasInk && pageLevels.hasInk) {
                // Bare paper between text uses the page's threshold, as noise allows.
                threshold = std::min(pageLevels.threshold, part.paper - kNoiseMargin * part.noise);
            }
            thresholds.at<uchar>(r, c) = cv::saturate_cast<uchar>(threshold);
        }
    }
    return thresholds;
}

// 255 where `grey` shows ink (`inkWhite`) or paper (not `inkWhite`), 0 elsewhere.
cv::Mat Mask(const cv::Mat& grey, bool inkWhite)
{
    cv::Mat paper = EstimatePaper(grey);
    const cv::Scalar floor(PaperFloor(paper));

    // Flat field: every pixel as a share of its paper's brightness (never darker than the
    // floor). Pixel by pixel, so both cores take bands of rows.
    cv::Mat flat(grey.size(), CV_8UC1);
    cv::parallel_for_(cv::Range(0, grey.rows), [&](const cv::Range& rows) {
        cv::Mat paperBand = paper.rowRange(rows);
        cv::max(paperBand, floor, paperBand);
        cv::Mat flatBand = flat.rowRange(rows);
        cv::divide(grey.rowRange(rows), paperBand, flatBand, kFlatPaperLevel);
    });
    // The lens softens the strokes a little; an unsharp mask of about its width steepens
    // the edges back, which separates strokes that blur had run together and brings thin
    // strokes back to their depth. The edges' half-way points stay where they were.
    cv::Mat softened;
    cv::GaussianBlur(flat, softened, cv::Size(), kLensBlur);

    const int blockSide = std::max(kMinBlockSide, std::min(grey.cols, grey.rows) / kBlocksAcrossShortSide);
    const int columns = (flat.cols + blockSide - 1) / blockSide;
    const int rows = (flat.rows + blockSide - 1) / blockSide;
    const std::vector<Histogram> histograms = SharpenAndCount(flat, softened, blockSide, columns, rows);
    const cv::Mat blockThresholds = BlockThresholds(histograms, flat.size(), blockSide, columns, rows);
    // Thresholds change smoothly from the middle of one part to the next.
    cv::Mat thresholds;
    cv::resize(blockThresholds, thresholds, flat.size(), 0, 0, cv::INTER_LINEAR);
    cv::Mat mask(grey.size(), CV_8UC1);
    cv::parallel_for_(cv::Range(0, grey.rows), [&](const cv::Range& rows) {
        cv::Mat maskBand = mask.rowRange(rows);
        cv::compare(flat.rowRange(rows), thresholds.rowRange(rows), maskBand, inkWhite ? cv::CMP_LT : cv::CMP_GE);
    });
    return mask;
}

}  // namespace

cv::Mat InkMask(const cv::Mat& grey)
{
    return Mask(grey, true);
}

cv::Mat PaperMask(const cv::Mat& grey)
{
    return Mask(grey, false);
}

}  // namespace vestrel::docproc::detail
