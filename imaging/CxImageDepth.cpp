// Bit-depth changes: grey, raising, lowering with an optional error diffusion, and the
// threshold to black and white. These change the whole picture whatever is selected.
#include "CxImage.h"
#include "ImageInternal.h"

#include <opencv2/imgproc.hpp>

#include <climits>

namespace vestrel {

using namespace imaging_detail;

namespace {

std::vector<RGBQUAD> VgaPalette()
{
    static constexpr int kColours[16][3] = {
        {0, 0, 0},     {128, 0, 0},   {0, 128, 0},   {128, 128, 0}, {0, 0, 128},   {128, 0, 128},
        {0, 128, 128}, {192, 192, 192}, {128, 128, 128}, {255, 0, 0}, {0, 255, 0}, {255, 255, 0},
        {0, 0, 255},   {255, 0, 255}, {0, 255, 255}, {255, 255, 255}};
    std::vector<RGBQUAD> palette;
    for (const auto& c : kColours) palette.push_back(MakeRgbQuad(c[0], c[1], c[2]));
    return palette;
}

// 216 colours of a 6x6x6 cube, then 40 greys between its levels.
std::vector<RGBQUAD> CubePalette()
{
    std::vector<RGBQUAD> palette;
    for (int r = 0; r < 6; ++r)
        for (int g = 0; g < 6; ++g)
            for (int b = 0; b < 6; ++b) palette.push_back(MakeRgbQuad(r * 51, g * 51, b * 51));
    for (int i = 0; i < 40; ++i) {
        const int level = 3 + i * 250 / 39;
        palette.push_back(MakeRgbQuad(level, level, level));
    }
    return palette;
}

// Nearest palette entry, remembered per colour rounded to 6 bits a channel.
class NearestCache {
public:
    explicit NearestCache(const std::vector<RGBQUAD>& palette) : palette_(palette), cache_(1 << 18, -1) {}

    int operator()(int b, int g, int r)
    {
        const int key = ((b >> 2) << 12) | ((g >> 2) << 6) | (r >> 2);
        int& slot = cache_[std::size_t(key)];
        if (slot < 0) slot = Search(b, g, r);
        return slot;
    }

private:
    int Search(int b, int g, int r) const
    {
        int best = 0, bestDistance = INT_MAX;
        for (std::size_t i = 0; i < palette_.size(); ++i) {
            const int db = palette_[i].rgbBlue - b, dg = palette_[i].rgbGreen - g, dr = palette_[i].rgbRed - r;
            const int distance = db * db + dg * dg + dr * dr;
            if (distance < bestDistance) {
                bestDistance = distance;
                best = int(i);
            }
        }
        return best;
    }

    const std::vector<RGBQUAD>& palette_;
    std::vector<int> cache_;
};

cv::Mat MapToPalette(const cv::Mat& bgr, const std::vector<RGBQUAD>& palette, bool errorDiffusion)
{
    NearestCache nearest(palette);
    cv::Mat indices(bgr.size(), CV_8UC1);
    const int width = bgr.cols;
    // Error rows for this row and the next, three channels, one spare pixel each side.
    std::vector<int> current(std::size_t(width + 2) * 3, 0), next(std::size_t(width + 2) * 3, 0);
    for (int y = 0; y < bgr.rows; ++y) {
        const cv::Vec3b* src = bgr.ptr<cv::Vec3b>(y);
        std::uint8_t* dst = indices.ptr(y);
        std::fill(next.begin(), next.end(), 0);
        for (int x = 0; x < width; ++x) {
            int c[3];
            for (int k = 0; k < 3; ++k) c[k] = std::clamp(src[x][k] + (errorDiffusion ? current[(x + 1) * 3 + k] / 16 : 0), 0, 255);
            const int index = nearest(c[0], c[1], c[2]);
            dst[x] = std::uint8_t(index);
            if (!errorDiffusion) continue;
            const RGBQUAD& p = palette[std::size_t(index)];
            const int e[3] = {c[0] - p.rgbBlue, c[1] - p.rgbGreen, c[2] - p.rgbRed};
            for (int k = 0; k < 3; ++k) {
                current[(x + 2) * 3 + k] += e[k] * 7;
                next[x * 3 + k] += e[k] * 3;
                next[(x + 1) * 3 + k] += e[k] * 5;
                next[(x + 2) * 3 + k] += e[k];
            }
        }
        std::swap(current, next);
    }
    return indices;
}

bool AllPixelsGrey(const cv::Mat& bgr)
{
    for (int y = 0; y < bgr.rows; ++y) {
        const cv::Vec3b* p = bgr.ptr<cv::Vec3b>(y);
        for (int x = 0; x < bgr.cols; ++x)
            if (p[x][0] != p[x][1] || p[x][1] != p[x][2]) return false;
    }
    return true;
}

}  // namespace

bool CxImage::IsGrayScale() const
{
    if (!IsValid() || m_bpp == 24) return false;
    for (const RGBQUAD& entry : m_palette)
        if (entry.rgbRed != entry.rgbGreen || entry.rgbGreen != entry.rgbBlue) return false;
    return true;
}

bool CxImage::GrayScale()
{
    if (!IsValid()) return Fail("no picture");
    if (IsGrayScale()) return true;
    return Guarded(m_lastError, [&] {
        const RGBQUAD transparent = GetTransColor();
        cv::Mat grey = ToGrey();
        m_pixels = grey;
        m_bpp = 8;
        m_palette = GreyPalette(8);
        if (IsTransparent()) m_transIndex = Luminance(transparent.rgbRed, transparent.rgbGreen, transparent.rgbBlue);
        return true;
    });
}

bool CxImage::IncreaseBpp(int bpp)
{
    if (!IsValid()) return Fail("no picture");
    if (bpp != 4 && bpp != 8 && bpp != 24) return Fail("bits per pixel must be 4, 8 or 24");
    if (bpp <= m_bpp) return true;
    return Guarded(m_lastError, [&] {
        if (bpp < 24) {
            m_palette.resize(std::size_t(1) << bpp);
            m_bpp = bpp;
            return true;
        }
        const RGBQUAD transparent = GetTransColor();
        m_pixels = ExpandPalette(m_pixels, m_palette);
        m_bpp = 24;
        m_palette.clear();
        if (IsTransparent()) {
            m_transColor = transparent;
            m_transIndex = 0;
        }
        return true;
    });
}

bool CxImage::DecreaseBpp(int bpp, bool errorDiffusion, const std::vector<RGBQUAD>* palette)
{
    if (!IsValid()) return Fail("no picture");
    if (bpp != 1 && bpp != 4 && bpp != 8) return Fail("bits per pixel must be 1, 4 or 8");
    if (bpp > m_bpp) return Fail("the picture has fewer bits per pixel already");
    if (bpp == m_bpp && palette == nullptr) return true;
    return Guarded(m_lastError, [&] {
        const RGBQUAD transparent = GetTransColor();
        if (bpp == 1 && palette == nullptr && !errorDiffusion && IsGreyRamp()) {
            // Of black and white, white is the nearer from level 128 up: one threshold pass
            // over the grey plane gives the indices, with no colour picture in between. A
            // plane no other picture shares is overwritten where it lies: a fresh 5 MP
            // plane costs more in first-touch page faults than the threshold itself.
            const bool unshared = m_pixels.u != nullptr && m_pixels.u->refcount == 1;
            cv::Mat indices = unshared ? m_pixels : cv::Mat();
            cv::threshold(m_pixels, indices, 127, 1, cv::THRESH_BINARY);
            m_pixels = indices;
            m_bpp = 1;
            m_palette = {MakeRgbQuad(0, 0, 0), MakeRgbQuad(255, 255, 255)};
            if (IsTransparent()) m_transIndex = GetNearestIndex(transparent);
            return true;
        }
        const cv::Mat bgr = ToBgr();
        std::vector<RGBQUAD> target;
        cv::Mat indices;
        if (palette != nullptr) {
            target = *palette;
            target.resize(std::size_t(1) << bpp);
        } else if (bpp == 1) {
            target = {MakeRgbQuad(0, 0, 0), MakeRgbQuad(255, 255, 255)};
        } else if (bpp == 4) {
            target = VgaPalette();
        } else if (IsGrayScale() || (m_bpp == 24 && AllPixelsGrey(bgr))) {
            target = GreyPalette(8);
            indices = ToGrey();  // every grey level has its own entry: nothing to diffuse
        } else {
            target = CubePalette();
        }
        if (indices.empty()) indices = MapToPalette(bgr, target, errorDiffusion);
        m_pixels = indices;
        m_bpp = bpp;
        m_palette = std::move(target);
        if (IsTransparent()) m_transIndex = GetNearestIndex(transparent);
        return true;
    });
}

bool CxImage::Threshold(std::uint8_t level)
{
    if (!IsValid()) return Fail("no picture");
    return Guarded(m_lastError, [&] {
        cv::Mat bilevel;
        cv::compare(ToGrey(), cv::Scalar(level), bilevel, cv::CMP_GT);
        bilevel &= 1;
        m_pixels = bilevel;
        m_bpp = 1;
        m_palette = {MakeRgbQuad(0, 0, 0), MakeRgbQuad(255, 255, 255)};
        m_transIndex = -1;
        return true;
    });
}

}  // namespace vestrel
