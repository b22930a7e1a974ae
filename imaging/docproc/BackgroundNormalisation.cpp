#include "BackgroundNormalisation.h"

#include "NoThrow.h"

#include <opencv2/core/utility.hpp>
#include <opencv2/imgproc.hpp>

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

namespace vestrel::docproc {
namespace {

constexpr int kCell = 4;              // grid cells are 4 x 4 pixels
constexpr int kBlocks = 10;           // the grid is split into 10 x 10 blocks
constexpr double kPaperShare = 0.0005;  // share of the whole grid that counts as paper
constexpr double kMaxGain = 2.0;      // a dark region is at most doubled

// The routine walks the picture from its bottom row up (its rows were always handed over
// bottom row first), so grid row 0 is the bottom of the picture.
int PictureRow(int height, int gridRow, int rowInCell)
{
    return height - 1 - (kCell * gridRow + rowInCell);
}

// Grey value of the top-left pixel of every grid cell, grid row 0 at the bottom.
cv::Mat GridSamples(const cv::Mat& image, int gridWidth, int gridHeight)
{
    cv::Mat samples(gridHeight, gridWidth, image.type());
    const int channels = image.channels();
    for (int y = 0; y < gridHeight; ++y) {
        const uchar* source = image.ptr<uchar>(PictureRow(image.rows, y, 0));
        uchar* target = samples.ptr<uchar>(y);
        for (int x = 0; x < gridWidth; ++x)
            std::copy_n(source + kCell * x * channels, channels, target + x * channels);
    }
    if (channels == 1)
        return samples;
    // The same BGR-to-grey conversion as a whole-picture copy would give, pixel by pixel.
    cv::Mat grey;
    cv::cvtColor(samples, grey, cv::COLOR_BGR2GRAY);
    return grey;
}

// Step 4: the paper level of one block is the level at which its brightest samples add up
// to `paperCount`; 0 when they never do.
int BlockPaperLevel(const cv::Mat& samples, int top, int bottom, int left, int right,
                    int paperCount)
{
    std::array<int, 256> histogram{};
    for (int y = top; y < bottom; ++y) {
        const uchar* row = samples.ptr<uchar>(y);
        for (int x = left; x < right; ++x)
            ++histogram[row[x]];
    }
    int sum = 0;
    for (int level = 255; level >= 0; --level) {
        sum += histogram[level];
        if (sum >= paperCount)
            return level;
    }
    return 0;
}

// a + (offset * (b - a) / span), with a floating-point slope, truncated.
int Interpolate(int a, int b, int offset, int span)
{
    const double slope = static_cast<double>(b - a) / span;
    return static_cast<int>(a + offset * slope);
}

// Steps 2 to 7: the paper level of every grid cell.
std::vector<int> PaperLevelMap(const cv::Mat& samples)
{
    const int w4 = samples.cols;
    const int h4 = samples.rows;
    // A grid under 2000 cells would give a count of 0, and a walk that stops at level 255
    // whatever the block holds, which darkens small pictures instead of brightening them:
    // at least the brightest sample of each block must be paper.
    const int paperCount = std::max(1, static_cast<int>(w4 * h4 * kPaperShare));

    std::vector<int> map(static_cast<size_t>(w4) * h4, 0);
    auto at = [&](int y, int x) -> int& { return map[static_cast<size_t>(y) * w4 + x]; };

    const int bw = w4 / kBlocks;
    const int bh = h4 / kBlocks;
    std::array<int, kBlocks> cx{};
    std::array<int, kBlocks> cy{};
    for (int k = 0; k < kBlocks; ++k) {
        cx[k] = bw / 2 + k * bw;
        cy[k] = bh / 2 + k * bh;
    }
    for (int i = 0; i < kBlocks; ++i) {
        for (int j = 0; j < kBlocks; ++j) {
            at(cy[i], cx[j]) = BlockPaperLevel(samples, i * h4 / kBlocks, (i + 1) * h4 / kBlocks,
                                               j * w4 / kBlocks, (j + 1) * w4 / kBlocks,
                                               paperCount);
        }
    }

    // Vertical pass along the centre columns.
    for (int j = 0; j < kBlocks; ++j) {
        const int x = cx[j];
        for (int y = 0; y < cy[0]; ++y)
            at(y, x) = at(cy[0], x);
        for (int y = cy[kBlocks - 1]; y < h4; ++y)
            at(y, x) = at(cy[kBlocks - 1], x);
        for (int i = 1; i < kBlocks; ++i) {
            const int a = at(cy[i - 1], x);
            const int b = at(cy[i], x);
            for (int y = cy[i - 1]; y < cy[i]; ++y)
                at(y, x) = Interpolate(a, b, y - cy[i - 1], bh);
        }
    }
    // Horizontal pass along every row.
    for (int y = 0; y < h4; ++y) {
        for (int x = 0; x < cx[0]; ++x)
            at(y, x) = at(y, cx[0]);
        for (int x = cx[kBlocks - 1]; x < w4; ++x)
            at(y, x) = at(y, cx[kBlocks - 1]);
        for (int j = 1; j < kBlocks; ++j) {
            const int a = at(y, cx[j - 1]);
            const int b = at(y, cx[j]);
            for (int x = cx[j - 1]; x < cx[j]; ++x)
                at(y, x) = Interpolate(a, b, x - cx[j - 1], bw);
        }
    }
    return map;
}

using GainTables = std::vector<std::array<uchar, 256>>;

// Step 8 on the grid rows `gridRows`, whose cells are `CellBytes` bytes wide. Every grid row
// owns its four picture rows, so bands of grid rows can be worked on side by side. The
// loop reads only locals and constants: the bytes it writes could otherwise stand for any
// of them, and the compiler would fetch them again for every byte.
template <int CellBytes>
void ApplyGainsToRows(cv::Mat& image, const std::vector<int>& map, int gridWidth, const GainTables& tables,
                      const cv::Range& gridRows)
{
    const int height = image.rows;
    const int* const levels = map.data();
    const std::array<uchar, 256>* const levelTables = tables.data();
    for (int y = gridRows.start; y < gridRows.end; ++y) {
        const int* const rowLevels = levels + static_cast<size_t>(y) * gridWidth;
        for (int rowInCell = 0; rowInCell < kCell; ++rowInCell) {
            uchar* const row = image.ptr<uchar>(PictureRow(height, y, rowInCell));
            for (int x = 0; x < gridWidth; ++x) {
                const int level = rowLevels[x];
                if (level == 0)
                    continue;
                const uchar* const table = levelTables[std::min(level, 255)].data();
                uchar* const cell = row + x * CellBytes;
                for (int k = 0; k < CellBytes; ++k)
                    cell[k] = table[cell[k]];
            }
        }
    }
}

// Step 8: brightens every cell whose paper level is known by min(T / level, 2).
void ApplyGains(cv::Mat& image, const std::vector<int>& map, int gridWidth, int gridHeight,
                int targetLevel)
{
    // The gain depends only on the cell's level, so each level gets a table of results.
    GainTables tables(256);
    for (int level = 1; level < 256; ++level) {
        const double gain = std::min(static_cast<double>(targetLevel) / level, kMaxGain);
        for (int value = 0; value < 256; ++value)
            tables[level][value] = cv::saturate_cast<uchar>(static_cast<int>(value * gain));
    }
    // Both cores take bands of grid rows.
    cv::parallel_for_(cv::Range(0, gridHeight), [&](const cv::Range& gridRows) {
        if (image.channels() == 1)
            ApplyGainsToRows<kCell>(image, map, gridWidth, tables, gridRows);
        else
            ApplyGainsToRows<kCell * 3>(image, map, gridWidth, tables, gridRows);
    });
}

}  // namespace

bool NormaliseBackground(cv::Mat& image, int targetLevel)
{
    if (image.empty() || (image.type() != CV_8UC3 && image.type() != CV_8UC1))
        return false;
    if (targetLevel < 1 || targetLevel > 255)
        return false;
    const int gridWidth = image.cols / kCell;
    const int gridHeight = image.rows / kCell;
    if (gridWidth / kBlocks == 0 || gridHeight / kBlocks == 0)
        return true;  // too small for a block grid: nothing to normalise
    return detail::NoThrow(false, [&] {
        const cv::Mat samples = GridSamples(image, gridWidth, gridHeight);
        const std::vector<int> map = PaperLevelMap(samples);
        ApplyGains(image, map, gridWidth, gridHeight, targetLevel);
        return true;
    });
}

}  // namespace vestrel::docproc
