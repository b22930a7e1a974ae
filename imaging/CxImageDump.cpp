// Dump and UnDump: the serialised image of DumpFormat.h.
#include "CxImage.h"
#include "DumpFormat.h"
#include "ImageInternal.h"

#include <zlib.h>

#include <bit>
#include <cmath>
#include <cstring>

namespace vestrel {

using namespace imaging_detail;
namespace df = dumpformat;

static_assert(std::endian::native == std::endian::little, "the dump is written in host order");

namespace {

std::uint32_t Crc(uLong crc, const std::uint8_t* bytes, std::size_t size)
{
    while (size > 0) {
        const auto chunk = std::min<std::size_t>(size, 1u << 30);
        crc = crc32(crc, bytes, uInt(chunk));
        bytes += chunk;
        size -= chunk;
    }
    return std::uint32_t(crc);
}

// The CRC of a dump: the header around its own CRC field, then the payload.
std::uint32_t DumpCrc(const std::uint8_t* dump, std::size_t payloadBytes)
{
    constexpr std::size_t crcAt = offsetof(df::Header, crc), afterCrc = crcAt + sizeof(std::uint32_t);
    uLong crc = Crc(crc32(0L, Z_NULL, 0), dump, crcAt);
    crc = Crc(crc, dump + afterCrc, sizeof(df::Header) - afterCrc);
    return Crc(crc, dump + sizeof(df::Header), payloadBytes);
}

std::uint64_t PayloadBytes(std::int64_t width, std::int64_t height, int bpp, std::uint32_t paletteEntries,
                           std::uint32_t flags)
{
    const std::uint64_t plane = std::uint64_t(width) * std::uint64_t(height);
    std::uint64_t bytes = std::uint64_t(paletteEntries) * 4 + plane * (bpp == 24 ? 3 : 1);
    if (flags & df::kHasAlpha) bytes += plane;
    if (flags & df::kHasSelection) bytes += plane;
    return bytes;
}

void WritePlane(const cv::Mat& plane, std::uint8_t*& out)
{
    const std::size_t rowBytes = std::size_t(plane.cols) * plane.elemSize();
    for (int y = 0; y < plane.rows; ++y) {
        std::memcpy(out, plane.ptr(y), rowBytes);
        out += rowBytes;
    }
}

cv::Mat ReadPlane(int width, int height, int type, const std::uint8_t*& in)
{
    cv::Mat plane(height, width, type);
    const std::size_t rowBytes = std::size_t(width) * plane.elemSize();
    for (int y = 0; y < height; ++y) {
        std::memcpy(plane.ptr(y), in, rowBytes);
        in += rowBytes;
    }
    return plane;
}

}  // namespace

std::size_t CxImage::DumpSize() const
{
    if (!IsValid()) return 0;
    std::uint32_t flags = 0;
    if (!m_alpha.empty()) flags |= df::kHasAlpha;
    if (!m_selection.empty()) flags |= df::kHasSelection;
    return sizeof(df::Header) + PayloadBytes(GetWidth(), GetHeight(), m_bpp, std::uint32_t(m_palette.size()), flags);
}

std::vector<std::uint8_t> CxImage::Dump() const
{
    std::vector<std::uint8_t> bytes(DumpSize());
    if (!bytes.empty()) Dump(bytes.data());
    return bytes;
}

std::size_t CxImage::Dump(std::uint8_t* destination) const
{
    if (!IsValid() || destination == nullptr) return 0;
    df::Header header{};
    std::memcpy(header.magic, df::kMagic, sizeof(df::kMagic));
    header.version = df::kVersion;
    header.headerSize = sizeof(df::Header);
    header.width = GetWidth();
    header.height = GetHeight();
    header.bpp = m_bpp;
    header.paletteEntries = std::uint32_t(m_palette.size());
    header.flags = (m_alpha.empty() ? 0u : std::uint32_t(df::kHasAlpha)) | (m_selection.empty() ? 0u : std::uint32_t(df::kHasSelection));
    header.transIndex = std::int32_t(m_transIndex);
    header.transColor[0] = m_transColor.rgbBlue;
    header.transColor[1] = m_transColor.rgbGreen;
    header.transColor[2] = m_transColor.rgbRed;
    header.frameCount = m_frameCount;
    header.frame = m_frame;
    header.type = m_type;
    header.xdpi = m_xdpi;
    header.ydpi = m_ydpi;
    header.jpegQuality = m_jpegQuality;
    header.payloadBytes = PayloadBytes(header.width, header.height, m_bpp, header.paletteEntries, header.flags);

    std::uint8_t* payload = destination + sizeof(df::Header);
    std::uint8_t* out = payload;
    for (const RGBQUAD& entry : m_palette) {
        *out++ = entry.rgbBlue;
        *out++ = entry.rgbGreen;
        *out++ = entry.rgbRed;
        *out++ = 0;
    }
    WritePlane(m_pixels, out);
    if (!m_alpha.empty()) WritePlane(m_alpha, out);
    if (!m_selection.empty()) WritePlane(m_selection, out);
    std::memcpy(destination, &header, sizeof header);
    header.crc = DumpCrc(destination, std::size_t(header.payloadBytes));
    std::memcpy(destination, &header, sizeof header);
    return sizeof(df::Header) + std::size_t(header.payloadBytes);
}

std::size_t CxImage::UnDump(const std::uint8_t* source, std::size_t size)
{
    if (source == nullptr || size < sizeof(df::Header)) return Fail("serialised image truncated"), 0;
    df::Header h;
    std::memcpy(&h, source, sizeof h);
    if (std::memcmp(h.magic, df::kMagic, sizeof(df::kMagic)) != 0) return Fail("not a serialised image"), 0;
    if (h.version != df::kVersion || h.headerSize != sizeof(df::Header))
        return Fail("serialised image of another version"), 0;
    if (!SizeAllowed(h.width, h.height, kMaxPixels)) return Fail("serialised image size out of range"), 0;
    if (h.bpp != 1 && h.bpp != 4 && h.bpp != 8 && h.bpp != 24) return Fail("serialised image depth invalid"), 0;
    const std::uint32_t entries = h.bpp < 24 ? 1u << h.bpp : 0u;
    if (h.paletteEntries != entries || (h.flags & ~std::uint32_t(df::kKnownFlags)) != 0)
        return Fail("serialised image inconsistent"), 0;
    if (h.transIndex < -1 || (h.bpp < 24 && h.transIndex >= std::int32_t(entries)))
        return Fail("serialised image transparency invalid"), 0;
    if (h.frameCount < 1 || h.frame < 0 || h.frame >= h.frameCount) return Fail("serialised image pages invalid"), 0;
    const auto dpiValid = [](double dpi) { return std::isfinite(dpi) && dpi >= 0 && dpi <= 1e6; };
    if (!dpiValid(h.xdpi) || !dpiValid(h.ydpi) || !std::isfinite(h.jpegQuality) || h.jpegQuality < 0 ||
        h.jpegQuality > 100)
        return Fail("serialised image settings invalid"), 0;
    if (h.payloadBytes != PayloadBytes(h.width, h.height, h.bpp, h.paletteEntries, h.flags))
        return Fail("serialised image sizes disagree"), 0;
    if (size - sizeof(df::Header) < h.payloadBytes) return Fail("serialised image truncated"), 0;
    const std::uint8_t* payload = source + sizeof(df::Header);
    if (DumpCrc(source, std::size_t(h.payloadBytes)) != h.crc) return Fail("serialised image damaged"), 0;

    CxImage image;
    const bool read = Guarded(m_lastError, [&] {
        const std::uint8_t* in = payload;
        for (std::uint32_t i = 0; i < entries; ++i, in += 4) image.m_palette.push_back(RGBQUAD{in[0], in[1], in[2], 0});
        image.m_pixels = ReadPlane(h.width, h.height, h.bpp == 24 ? CV_8UC3 : CV_8UC1, in);
        if (h.flags & df::kHasAlpha) image.m_alpha = ReadPlane(h.width, h.height, CV_8UC1, in);
        if (h.flags & df::kHasSelection) image.m_selection = ReadPlane(h.width, h.height, CV_8UC1, in);
        if (h.bpp < 24) {
            double highest = 0;
            cv::minMaxLoc(image.m_pixels, nullptr, &highest);
            if (highest >= entries) return Fail("serialised image has indices beyond its palette");
        }
        return true;
    });
    if (!read) return 0;
    image.m_bpp = h.bpp;
    image.m_transIndex = h.transIndex;
    image.m_transColor = RGBQUAD{h.transColor[0], h.transColor[1], h.transColor[2], 0};
    image.m_xdpi = h.xdpi;
    image.m_ydpi = h.ydpi;
    image.m_frameCount = h.frameCount;
    image.m_frame = h.frame;
    image.m_type = h.type;
    image.m_jpegQuality = h.jpegQuality;
    *this = std::move(image);
    return sizeof(df::Header) + std::size_t(h.payloadBytes);
}

}  // namespace vestrel
