// The device-independent bitmap the clipboard carries: a 40-byte BITMAPINFOHEADER, the
// palette, and the rows bottom row first, each padded to 4 bytes.
#include "CxImage.h"
#include "ImageInternal.h"

#include <cmath>
#include <cstring>

namespace vestrel {

using namespace imaging_detail;

namespace {

struct BitmapInfoHeader {
    std::uint32_t biSize;           // 40, or a larger header of the same start
    std::int32_t biWidth;           // pixels
    std::int32_t biHeight;          // pixels; negative for rows top row first
    std::uint16_t biPlanes;         // 1
    std::uint16_t biBitCount;       // 1, 4, 8, 24 or 32
    std::uint32_t biCompression;    // 0 plain, 3 bit fields (32 bits only here)
    std::uint32_t biSizeImage;      // bytes of the rows, may be 0 when plain
    std::int32_t biXPelsPerMeter;   // resolution
    std::int32_t biYPelsPerMeter;
    std::uint32_t biClrUsed;        // palette entries, 0: 2^bits
    std::uint32_t biClrImportant;   // ignored
};
static_assert(sizeof(BitmapInfoHeader) == 40);
static_assert(offsetof(BitmapInfoHeader, biCompression) == 16);
static_assert(offsetof(BitmapInfoHeader, biClrUsed) == 32);

constexpr std::uint32_t kPlain = 0;
constexpr std::uint32_t kBitFields = 3;
constexpr double kInchesPerMetre = 1 / 0.0254;

std::size_t RowStride(std::int64_t width, int bpp)
{
    return std::size_t((width * bpp + 31) / 32 * 4);
}

}  // namespace

std::vector<std::uint8_t> CxImage::CopyToHandle() const
{
    if (!IsValid()) return {};
    const int width = GetWidth(), height = GetHeight();
    const std::size_t stride = RowStride(width, m_bpp);
    std::vector<std::uint8_t> dib(GetSize(), 0);
    BitmapInfoHeader header{};
    header.biSize = sizeof header;
    header.biWidth = width;
    header.biHeight = height;
    header.biPlanes = 1;
    header.biBitCount = std::uint16_t(m_bpp);
    header.biCompression = kPlain;
    header.biSizeImage = std::uint32_t(stride * std::size_t(height));
    header.biXPelsPerMeter = std::int32_t(std::lround(m_xdpi * kInchesPerMetre));
    header.biYPelsPerMeter = std::int32_t(std::lround(m_ydpi * kInchesPerMetre));
    header.biClrUsed = std::uint32_t(m_palette.size());
    std::memcpy(dib.data(), &header, sizeof header);
    std::uint8_t* out = dib.data() + sizeof header;
    for (const RGBQUAD& entry : m_palette) {
        *out++ = entry.rgbBlue;
        *out++ = entry.rgbGreen;
        *out++ = entry.rgbRed;
        *out++ = 0;
    }
    for (int y = 0; y < height; ++y) {
        const std::uint8_t* src = m_pixels.ptr(y);
        std::uint8_t* row = out + std::size_t(height - 1 - y) * stride;
        switch (m_bpp) {
        case 24:
            std::memcpy(row, src, std::size_t(width) * 3);
            break;
        case 8:
            std::memcpy(row, src, std::size_t(width));
            break;
        case 4:
            for (int x = 0; x < width; ++x) row[x >> 1] |= std::uint8_t((src[x] & 0x0F) << ((x & 1) ? 0 : 4));
            break;
        case 1:
            for (int x = 0; x < width; ++x)
                if (src[x] & 1) row[x >> 3] |= std::uint8_t(0x80 >> (x & 7));
            break;
        }
    }
    return dib;
}

bool CxImage::CreateFromHANDLE(const std::uint8_t* dib, std::size_t size)
{
    if (dib == nullptr || size < sizeof(BitmapInfoHeader)) return Fail("bitmap truncated");
    BitmapInfoHeader h;
    std::memcpy(&h, dib, sizeof h);
    if (h.biSize < sizeof h || h.biSize > size) return Fail("bitmap header size invalid");
    if (h.biPlanes != 1) return Fail("bitmap planes invalid");
    const int bpp = h.biBitCount;
    if (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 24 && bpp != 32) return Fail("bitmap depth not supported");
    const bool bitFields = h.biCompression == kBitFields;
    if (h.biCompression != kPlain && !(bitFields && bpp == 32)) return Fail("compressed bitmaps are not supported");
    const std::int64_t width = h.biWidth;
    const std::int64_t height = h.biHeight < 0 ? -std::int64_t(h.biHeight) : std::int64_t(h.biHeight);
    if (!SizeAllowed(width, height, kMaxPixels)) return Fail("bitmap size out of range");

    std::size_t offset = h.biSize;
    if (bitFields) {
        // Masks follow a 40-byte header and sit inside larger ones; only the usual byte order
        // of blue, green, red is taken.
        const std::size_t masksAt = h.biSize == sizeof h ? offset : sizeof h;
        if (masksAt + 12 > size) return Fail("bitmap truncated");
        std::uint32_t masks[3];
        std::memcpy(masks, dib + masksAt, sizeof masks);
        if (masks[0] != 0x00FF0000u || masks[1] != 0x0000FF00u || masks[2] != 0x000000FFu)
            return Fail("bitmap bit fields not supported");
        if (h.biSize == sizeof h) offset += 12;
    }
    std::vector<RGBQUAD> palette;
    if (bpp <= 8) {
        const std::uint32_t most = 1u << bpp;
        const std::uint32_t entries = h.biClrUsed == 0 ? most : h.biClrUsed;
        if (entries > most) return Fail("bitmap palette too large");
        if (offset + std::size_t(entries) * 4 > size) return Fail("bitmap truncated");
        for (std::uint32_t i = 0; i < entries; ++i) {
            const std::uint8_t* e = dib + offset + std::size_t(i) * 4;
            palette.push_back(RGBQUAD{e[0], e[1], e[2], 0});
        }
        palette.resize(most);  // indices beyond the stored entries show black
        offset += std::size_t(entries) * 4;
    }
    const std::size_t stride = RowStride(width, bpp);
    if (offset > size || (size - offset) / stride < std::size_t(height)) return Fail("bitmap truncated");

    const bool bottomUp = h.biHeight > 0;
    if (bpp == 32) {
        // The fourth byte of a clipboard bitmap is not reliably alpha: it is dropped.
        CxImage image;
        const bool made = Guarded(m_lastError, [&] {
            cv::Mat bgr(int(height), int(width), CV_8UC3);
            for (int y = 0; y < int(height); ++y) {
                const std::uint8_t* src = dib + offset + std::size_t(bottomUp ? height - 1 - y : y) * stride;
                cv::Vec3b* dst = bgr.ptr<cv::Vec3b>(y);
                for (int x = 0; x < int(width); ++x) dst[x] = cv::Vec3b(src[4 * x], src[4 * x + 1], src[4 * x + 2]);
            }
            return image.AdoptMat(bgr);
        });
        if (!made) return false;
        image.m_xdpi = h.biXPelsPerMeter > 0 ? UsableDpi(std::round(h.biXPelsPerMeter / kInchesPerMetre)) : 0;
        image.m_ydpi = h.biYPelsPerMeter > 0 ? UsableDpi(std::round(h.biYPelsPerMeter / kInchesPerMetre)) : 0;
        *this = std::move(image);
        return true;
    }
    CxImage image;
    if (!image.CreateFromArray(dib + offset, int(width), int(height), bpp, stride, bottomUp))
        return Fail(image.GetLastError());
    if (bpp <= 8) image.m_palette = std::move(palette);
    image.m_xdpi = h.biXPelsPerMeter > 0 ? UsableDpi(std::round(h.biXPelsPerMeter / kInchesPerMetre)) : 0;
    image.m_ydpi = h.biYPelsPerMeter > 0 ? UsableDpi(std::round(h.biYPelsPerMeter / kInchesPerMetre)) : 0;
    *this = std::move(image);
    return true;
}

}  // namespace vestrel
