#include "FrameTurning.h"

#include <opencv2/core.hpp>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

namespace vestrel {
namespace {

constexpr int kCentredMaskWidth = 2592;
constexpr int kCentredMaskHeight = 1944;
// Edge of the square tiles the sideways turn walks in: 32 source rows of 96 bytes each
// stay in the first-level cache while a tile of the output is written.
constexpr int kTile = 32;

// A row of mask colour long enough for any frame this process has seen, so that masking
// a span is one memcpy.
const unsigned char* maskRow(int pixels)
{
    thread_local std::vector<unsigned char> row;
    const std::size_t bytes = std::size_t(pixels) * 3;
    if (row.size() < bytes) {
        row.resize(bytes);
        for (std::size_t i = 0; i < bytes; i += 3) {
            row[i] = kMaskColour[0];
            row[i + 1] = kMaskColour[1];
            row[i + 2] = kMaskColour[2];
        }
    }
    return row.data();
}

void fillMask(unsigned char* dst, int pixels, const unsigned char* mask)
{
    if (pixels > 0) std::memcpy(dst, mask, std::size_t(pixels) * 3);
}

// Paints row `i` of `out` in the mask colour outside the clear area; false when the whole
// row lies outside it.
bool maskOutsideClear(cv::Mat& out, int i, const cv::Rect& clear, const unsigned char* mask)
{
    unsigned char* d = out.ptr(i);
    if (clear.empty() || i < clear.y || i >= clear.y + clear.height) {
        fillMask(d, out.cols, mask);
        return false;
    }
    const int clearRight = clear.x + clear.width;
    fillMask(d, clear.x, mask);
    fillMask(d + std::ptrdiff_t(clearRight) * 3, out.cols - clearRight, mask);
    return true;
}

// Where the clear area of the input lands in the turned output.
cv::Rect turnedRect(const cv::Rect& r, int rows, int cols, const Orientation& o)
{
    if (r.empty()) return {};
    if (o.upsideDown) return {cols - r.x - r.width, rows - r.y - r.height, r.width, r.height};
    if (o.rotateLeft) return {r.y, cols - r.x - r.width, r.height, r.width};
    if (o.rotateRight) return {rows - r.y - r.height, r.x, r.height, r.width};
    return r;
}

// Output pixel (i, j) of a sideways turn reads the input at base + i*rowStride + j*colStride
// (in bytes). The output is written tile by tile so that the input rows a tile reads stay
// in the cache.
void turnSideways(const cv::Mat& in, cv::Mat& out, const cv::Rect& clear, bool left)
{
    const std::ptrdiff_t step = std::ptrdiff_t(in.step[0]);
    const unsigned char* base;
    std::ptrdiff_t rowStride, colStride;
    if (left) {  // out(i, j) = in(j, cols - 1 - i)
        base = in.data + std::ptrdiff_t(in.cols - 1) * 3;
        rowStride = -3;
        colStride = step;
    } else {     // out(i, j) = in(rows - 1 - j, i)
        base = in.data + std::ptrdiff_t(in.rows - 1) * step;
        rowStride = 3;
        colStride = -step;
    }
    // The output row whose pixels come from the input's last column.
    const int lastColumnRow = left ? 0 : in.cols - 1;
    const unsigned char* mask = maskRow(out.cols);
    const int clearBottom = clear.y + clear.height;
    const int clearRight = clear.x + clear.width;
    for (int i = 0; i < out.rows; ++i) maskOutsideClear(out, i, clear, mask);
    if (clear.empty()) return;
    for (int i0 = clear.y; i0 < clearBottom; i0 += kTile) {
        const int i1 = std::min(i0 + kTile, clearBottom);
        for (int j0 = clear.x; j0 < clearRight; j0 += kTile) {
            const int j1 = std::min(j0 + kTile, clearRight);
            for (int i = i0; i < i1; ++i) {
                unsigned char* d = out.ptr(i) + std::ptrdiff_t(j0) * 3;
                const unsigned char* s = base + i * rowStride + j0 * colStride;
                // Pixels move as 4-byte words; the extra byte lands on the next output
                // pixel, which is written later. The row's last clear pixel, and input
                // pixels at the end of an input row (whose extra byte could lie past the
                // frame), move as 3 bytes.
                const int wordEnd = (i == lastColumnRow) ? j0 : std::min(j1, clearRight - 1);
                int j = j0;
                for (; j < wordEnd; ++j, d += 3, s += colStride) {
                    std::uint32_t word;
                    std::memcpy(&word, s, 4);
                    std::memcpy(d, &word, 4);
                }
                for (; j < j1; ++j, d += 3, s += colStride) {
                    d[0] = s[0];
                    d[1] = s[1];
                    d[2] = s[2];
                }
            }
        }
    }
}

// Copies (mirrored when `reverse`) the clear columns of each row and masks the rest.
void copyRows(const cv::Mat& in, cv::Mat& out, const cv::Rect& clear, bool reverse)
{
    const unsigned char* mask = maskRow(out.cols);
    const int clearRight = clear.x + clear.width;
    for (int i = 0; i < out.rows; ++i) {
        if (!maskOutsideClear(out, i, clear, mask)) continue;
        unsigned char* d = out.ptr(i);
        if (!reverse) {
            if (in.data != out.data)
                    std::memcpy(d + std::ptrdiff_t(clear.x) * 3,
                            in.ptr(i) + std::ptrdiff_t(clear.x) * 3, std::size_t(clear.width) * 3);
            continue;
        }
        // out(i, j) = in(rows - 1 - i, cols - 1 - j). Pixels move as 4-byte words whose
        // extra byte the next pixel overwrites; the span's first pixel (which may be the
        // input row's last) and its last pixel move as 3 bytes.
        const unsigned char* s = in.ptr(in.rows - 1 - i) + std::ptrdiff_t(in.cols - 1 - clear.x) * 3;
        unsigned char* p = d + std::ptrdiff_t(clear.x) * 3;
        auto movePixel = [&] {
            p[0] = s[0];
            p[1] = s[1];
            p[2] = s[2];
            p += 3;
            s -= 3;
        };
        movePixel();
        for (int j = clear.x + 1; j < clearRight - 1; ++j, p += 3, s -= 3) {
            std::uint32_t word;
            std::memcpy(&word, s, 4);
            std::memcpy(p, &word, 4);
        }
        if (clear.width > 1) movePixel();
    }
}

}  // namespace

cv::Rect ClearArea(const GrabberSettings& s, int width, int height)
{
    const cv::Rect frame(0, 0, width, height);
    if (s.preset) {
        // Rows top..bottom-1 counted from the bottom row are rows height-bottom ..
        // height-1-top counted from the top.
        const cv::Rect r(s.left, height - s.bottom, s.right - s.left, s.bottom - s.top);
        if (r.width <= 0 || r.height <= 0) return {};
        return r & frame;
    }
    // Without a scan area (w or h not set) there is nothing to mask; a zero-sized area
    // would otherwise paint over the whole picture.
    if (width == kCentredMaskWidth && height == kCentredMaskHeight && s.w > 0 && s.h > 0 &&
        (s.w != width || s.h != height)) {
        const int x0 = (width - s.w) / 2, x1 = (width + s.w) / 2;
        const int y0 = height - (height + s.h) / 2, y1 = height - (height - s.h) / 2;
        return cv::Rect(x0, y0, x1 - x0, y1 - y0) & frame;
    }
    return frame;
}

void PaintMask(cv::Mat& frame, const GrabberSettings& settings)
{
    CV_Assert(frame.type() == CV_8UC3);
    const cv::Rect clear = ClearArea(settings, frame.cols, frame.rows);
    if (clear == cv::Rect(0, 0, frame.cols, frame.rows)) return;
    copyRows(frame, frame, clear, false);  // in place: the clear span copies onto itself
}

void TurnFrame(const cv::Mat& in, cv::Mat& out, const Orientation& o)
{
    GrabberSettings none;
    none.orientation = o;
    MaskAndTurn(in, out, none);
}

void MaskAndTurn(const cv::Mat& in, cv::Mat& out, const GrabberSettings& settings)
{
    CV_Assert(in.type() == CV_8UC3);
    CV_Assert(in.data != out.data || in.empty());
    const Orientation& o = settings.orientation;
    const bool sideways = TurnedSideways(o);
    out.create(sideways ? in.cols : in.rows, sideways ? in.rows : in.cols, CV_8UC3);
    if (in.empty()) return;
    const cv::Rect clear = turnedRect(ClearArea(settings, in.cols, in.rows), in.rows, in.cols, o);
    if (sideways)
        turnSideways(in, out, clear, o.rotateLeft);
    else
        copyRows(in, out, clear, o.upsideDown);
}

}  // namespace vestrel
