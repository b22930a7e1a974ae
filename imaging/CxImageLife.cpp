// Life of an image, the OpenCV hand-over, and pixel access.
#include "CxImage.h"
#include "ImageInternal.h"

#include <opencv2/imgproc.hpp>

#include <climits>
#include <cstring>

namespace vestrel {

using namespace imaging_detail;

namespace imaging_detail {

std::vector<RGBQUAD> GreyPalette(int bpp)
{
    const int count = 1 << bpp;
    std::vector<RGBQUAD> palette(count);
    for (int i = 0; i < count; ++i) {
        const auto level = std::uint8_t(i * 255 / (count - 1));
        palette[i] = RGBQUAD{level, level, level, 0};
    }
    return palette;
}

cv::Mat ExpandPalette(const cv::Mat& indices, const std::vector<RGBQUAD>& palette)
{
    cv::Mat table(1, 256, CV_8UC3, cv::Scalar(0, 0, 0));
    for (std::size_t i = 0; i < palette.size() && i < 256; ++i)
        table.at<cv::Vec3b>(0, int(i)) = cv::Vec3b(palette[i].rgbBlue, palette[i].rgbGreen, palette[i].rgbRed);
    cv::Mat three;
    cv::merge(std::vector<cv::Mat>{indices, indices, indices}, three);
    cv::Mat bgr;
    cv::LUT(three, table, bgr);
    return bgr;
}

}  // namespace imaging_detail

CxImage::CxImage(const std::filesystem::path& path, int type)
{
    Load(path, type);
}

CxImage::CxImage(int width, int height, int bpp)
{
    Create(width, height, bpp);
}

CxImage::CxImage(const CxImage& source, bool copyPixels, bool copySelection, bool copyAlpha)
{
    Copy(source, copyPixels, copySelection, copyAlpha);
}

CxImage::CxImage(const CxImage& source)
{
    Copy(source);
}

CxImage& CxImage::operator=(const CxImage& source)
{
    if (this != &source) Copy(source);
    return *this;
}

bool CxImage::Fail(std::string message) const
{
    m_lastError = std::move(message);
    return false;
}

bool CxImage::Copy(const CxImage& source, bool copyPixels, bool copySelection, bool copyAlpha)
{
    if (this == &source) return true;
    // The planes are made first; only when all three exist does this image change.
    cv::Mat pixels, selection, alpha;
    std::vector<RGBQUAD> palette;
    const bool made = Guarded(m_lastError, [&] {
        if (copyPixels || !source.IsValid()) pixels = source.m_pixels.clone();
        else pixels = cv::Mat::zeros(source.m_pixels.size(), source.m_pixels.type());
        if (copySelection) selection = source.m_selection.clone();
        if (copyAlpha) alpha = source.m_alpha.clone();
        palette = source.m_palette;
        return true;
    });
    if (!made) return false;
    m_pixels = std::move(pixels);
    m_bpp = source.m_bpp;
    m_palette = std::move(palette);
    m_selection = std::move(selection);
    m_alpha = std::move(alpha);
    m_transIndex = source.m_transIndex;
    m_transColor = source.m_transColor;
    m_xdpi = source.m_xdpi;
    m_ydpi = source.m_ydpi;
    m_frameCount = source.m_frameCount;
    m_frame = source.m_frame;
    m_type = source.m_type;
    m_jpegQuality = source.m_jpegQuality;
    m_lastError.clear();
    return true;
}

bool CxImage::Create(int width, int height, int bpp)
{
    if (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 24)
        return Fail("bits per pixel must be 1, 4, 8 or 24");
    if (!SizeAllowed(width, height, kMaxPixels)) return Fail("picture size out of range");
    return Guarded(m_lastError, [&] {
        cv::Mat pixels = cv::Mat::zeros(height, width, bpp == 24 ? CV_8UC3 : CV_8UC1);
        Destroy();
        m_pixels = std::move(pixels);
        m_bpp = bpp;
        if (bpp < 24) m_palette = GreyPalette(bpp);
        return true;
    });
}

void CxImage::Destroy()
{
    m_pixels.release();
    m_bpp = 0;
    m_palette.clear();
    m_selection.release();
    m_alpha.release();
    m_transIndex = -1;
    m_transColor = {};
    m_xdpi = m_ydpi = 0;
    m_frameCount = 1;
}

void CxImage::DestroyFrames()
{
    m_frameCount = 1;
    m_frame = 0;
}

bool CxImage::Clear(std::uint8_t value)
{
    if (!IsValid()) return Fail("no picture");
    if (m_bpp < 24) value = std::uint8_t(value & ((1 << m_bpp) - 1));
    m_pixels.setTo(cv::Scalar::all(value));
    return true;
}

// ---- OpenCV interchange -----------------------------------------------------------------

void CxImage::SetPixelsKeepingRest(cv::Mat pixels)
{
    m_pixels = std::move(pixels);
    m_selection.release();
    m_alpha.release();
    m_transIndex = -1;
}

bool CxImage::AdoptMat(cv::Mat picture)
{
    if (picture.depth() != CV_8U || (picture.channels() != 1 && picture.channels() != 3 && picture.channels() != 4))
        return Fail("only 8-bit pictures of 1, 3 or 4 channels can be taken");
    if (!SizeAllowed(picture.cols, picture.rows, kMaxPixels)) return Fail("picture size out of range");
    return Guarded(m_lastError, [&] {
        if (picture.channels() == 4) {
            cv::Mat bgr, alpha;
            cv::cvtColor(picture, bgr, cv::COLOR_BGRA2BGR);
            cv::extractChannel(picture, alpha, 3);
            SetPixelsKeepingRest(bgr);
            m_alpha = alpha;
            m_bpp = 24;
            m_palette.clear();
            return true;
        }
        const bool grey = picture.channels() == 1;
        SetPixelsKeepingRest(std::move(picture));
        m_bpp = grey ? 8 : 24;
        m_palette = grey ? GreyPalette(8) : std::vector<RGBQUAD>{};
        return true;
    });
}

bool CxImage::CreateFromMat(const cv::Mat& picture)
{
    return AdoptMat(picture.clone());
}

cv::Mat CxImage::ToBgr() const
{
    if (!IsValid()) return {};
    if (m_bpp == 24) return m_pixels;
    return ExpandPalette(m_pixels, m_palette);
}

cv::Mat CxImage::ToGrey() const
{
    if (!IsValid()) return {};
    cv::Mat grey;
    if (m_bpp == 24) {
        cv::cvtColor(m_pixels, grey, cv::COLOR_BGR2GRAY);
        return grey;
    }
    if (IsGreyRamp()) return m_pixels.clone();
    cv::Mat table(1, 256, CV_8UC1, cv::Scalar(0));
    for (std::size_t i = 0; i < m_palette.size(); ++i)
        table.at<std::uint8_t>(0, int(i)) = Luminance(m_palette[i].rgbRed, m_palette[i].rgbGreen, m_palette[i].rgbBlue);
    cv::LUT(m_pixels, table, grey);
    return grey;
}

cv::Mat CxImage::ToBgra() const
{
    if (!IsValid()) return {};
    cv::Mat bgra;
    cv::cvtColor(ToBgr(), bgra, cv::COLOR_BGR2BGRA);
    if (!m_alpha.empty()) cv::insertChannel(m_alpha, bgra, 3);
    if (IsTransparent()) {
        cv::Mat transparent;
        if (m_bpp == 24) {
            const cv::Scalar colour(m_transColor.rgbBlue, m_transColor.rgbGreen, m_transColor.rgbRed);
            cv::inRange(m_pixels, colour, colour, transparent);
        } else {
            cv::compare(m_pixels, cv::Scalar(double(m_transIndex)), transparent, cv::CMP_EQ);
        }
        std::vector<cv::Mat> channels;
        cv::split(bgra, channels);
        channels[3].setTo(cv::Scalar(0), transparent);
        cv::merge(channels, bgra);
    }
    return bgra;
}

// ---- Size and pixels --------------------------------------------------------------------

std::uint8_t* CxImage::GetBits(int row)
{
    if (!IsValid() || row < 0 || row >= m_pixels.rows) return nullptr;
    return m_pixels.ptr(row);
}

const std::uint8_t* CxImage::GetBits(int row) const
{
    if (!IsValid() || row < 0 || row >= m_pixels.rows) return nullptr;
    return m_pixels.ptr(row);
}

std::size_t CxImage::GetSize() const
{
    if (!IsValid()) return 0;
    const std::size_t rowBytes = (std::size_t(GetWidth()) * m_bpp + 31) / 32 * 4;
    return 40 + GetPaletteSize() + rowBytes * std::size_t(GetHeight());
}

bool CxImage::SetPalette(const std::vector<RGBQUAD>& palette)
{
    if (!IsValid() || m_bpp == 24) return Fail("only palette pictures have a palette");
    m_palette = palette;
    m_palette.resize(std::size_t(1) << m_bpp);
    return true;
}

bool CxImage::SetGrayPalette()
{
    if (!IsValid() || m_bpp == 24) return Fail("only palette pictures have a palette");
    m_palette = GreyPalette(m_bpp);
    return true;
}

RGBQUAD CxImage::GetPaletteColor(int index) const
{
    if (index < 0 || index >= int(m_palette.size())) return {};
    return m_palette[index];
}

bool CxImage::IsGreyRamp() const
{
    if (m_bpp != 8 || m_palette.size() != 256) return false;
    for (int i = 0; i < 256; ++i)
        if (m_palette[i] != RGBQUAD{std::uint8_t(i), std::uint8_t(i), std::uint8_t(i), m_palette[i].rgbReserved})
            return false;
    return true;
}

RGBQUAD CxImage::GetPixelColor(int x, int y) const
{
    if (!IsValid() || x < 0 || y < 0 || x >= GetWidth() || y >= GetHeight()) return GetTransColor();
    RGBQUAD colour;
    if (m_bpp == 24) {
        const auto& p = m_pixels.at<cv::Vec3b>(y, x);
        colour = RGBQUAD{p[0], p[1], p[2], 0};
    } else {
        colour = GetPaletteColor(m_pixels.at<std::uint8_t>(y, x));
    }
    colour.rgbReserved = m_alpha.empty() ? 255 : m_alpha.at<std::uint8_t>(y, x);
    return colour;
}

std::uint8_t CxImage::GetPixelIndex(int x, int y) const
{
    if (!IsValid() || m_bpp == 24 || x < 0 || y < 0 || x >= GetWidth() || y >= GetHeight()) return 0;
    return m_pixels.at<std::uint8_t>(y, x);
}

std::uint8_t CxImage::GetNearestIndex(RGBQUAD colour) const
{
    int best = 0;
    int bestDistance = INT_MAX;
    for (std::size_t i = 0; i < m_palette.size(); ++i) {
        const int db = int(m_palette[i].rgbBlue) - colour.rgbBlue;
        const int dg = int(m_palette[i].rgbGreen) - colour.rgbGreen;
        const int dr = int(m_palette[i].rgbRed) - colour.rgbRed;
        const int distance = db * db + dg * dg + dr * dr;
        if (distance < bestDistance) {
            bestDistance = distance;
            best = int(i);
            if (distance == 0) break;
        }
    }
    return std::uint8_t(best);
}

void CxImage::SetPixelColor(int x, int y, RGBQUAD colour, bool setAlpha)
{
    if (!IsValid() || x < 0 || y < 0 || x >= GetWidth() || y >= GetHeight()) return;
    if (m_bpp == 24)
        m_pixels.at<cv::Vec3b>(y, x) = cv::Vec3b(colour.rgbBlue, colour.rgbGreen, colour.rgbRed);
    else
        m_pixels.at<std::uint8_t>(y, x) = GetNearestIndex(colour);
    if (setAlpha) {
        if (m_alpha.empty()) AlphaCreate();
        m_alpha.at<std::uint8_t>(y, x) = colour.rgbReserved;
    }
}

void CxImage::SetPixelColor(int x, int y, COLORREF colour)
{
    SetPixelColor(x, y, RGBtoRGBQUAD(colour), false);
}

void CxImage::SetPixelIndex(int x, int y, std::uint8_t index)
{
    if (!IsValid() || m_bpp == 24 || x < 0 || y < 0 || x >= GetWidth() || y >= GetHeight()) return;
    if (index >= m_palette.size()) return;
    m_pixels.at<std::uint8_t>(y, x) = index;
}

bool CxImage::CreateFromArray(const std::uint8_t* bytes, int width, int height, int bpp,
                              std::size_t bytesPerRow, bool bottomUp)
{
    if (bytes == nullptr) return Fail("no pixel data");
    if (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 24 && bpp != 32)
        return Fail("bits per pixel must be 1, 4, 8, 24 or 32");
    if (!SizeAllowed(width, height, kMaxPixels)) return Fail("picture size out of range");
    const std::size_t needed = (std::size_t(width) * bpp + 7) / 8;
    if (bytesPerRow < needed) return Fail("rows shorter than the picture width");
    return Guarded(m_lastError, [&] {
        const int planeBpp = bpp == 32 ? 24 : bpp;
        cv::Mat pixels(height, width, planeBpp == 24 ? CV_8UC3 : CV_8UC1);
        cv::Mat alpha;
        if (bpp == 32) alpha.create(height, width, CV_8UC1);
        for (int y = 0; y < height; ++y) {
            const std::uint8_t* src = bytes + std::size_t(bottomUp ? height - 1 - y : y) * bytesPerRow;
            std::uint8_t* dst = pixels.ptr(y);
            switch (bpp) {
            case 1:
                for (int x = 0; x < width; ++x) dst[x] = (src[x >> 3] >> (7 - (x & 7))) & 1;
                break;
            case 4:
                for (int x = 0; x < width; ++x) dst[x] = (x & 1) ? (src[x >> 1] & 0x0F) : (src[x >> 1] >> 4);
                break;
            case 8:
            case 24:
                std::memcpy(dst, src, needed);
                break;
            case 32: {
                std::uint8_t* a = alpha.ptr(y);
                for (int x = 0; x < width; ++x) {
                    dst[3 * x] = src[4 * x];
                    dst[3 * x + 1] = src[4 * x + 1];
                    dst[3 * x + 2] = src[4 * x + 2];
                    a[x] = src[4 * x + 3];
                }
                break;
            }
            }
        }
        SetPixelsKeepingRest(std::move(pixels));
        m_alpha = alpha;
        m_bpp = planeBpp;
        m_palette = planeBpp < 24 ? GreyPalette(planeBpp) : std::vector<RGBQUAD>{};
        return true;
    });
}

void CxImage::ReplacePixels(const cv::Mat& result)
{
    if (SelectionIsValid() && result.size() == m_pixels.size() && result.type() == m_pixels.type())
        result.copyTo(m_pixels, m_selection);
    else
        m_pixels = result;
}

}  // namespace vestrel
