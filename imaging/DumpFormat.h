#pragma once
// The serialised image carried by the clipboard as "application/x-cximage": a fixed
// little-endian header, then the palette (4 bytes an entry, blue-green-red-unused), the
// pixel plane (top row first, rows tight: 3 bytes a pixel at 24 bits, else one index a
// pixel), the alpha plane and the selection plane when their flags say so. The CRC-32
// covers the header (all but the CRC itself) and everything after it, so a damaged clip
// is refused rather than shown.

#include <cstddef>
#include <cstdint>

namespace vestrel::dumpformat {

inline constexpr std::uint8_t kMagic[8] = {'V', 'C', 'X', 'I', 'M', 'G', 0x1A, 0x00};
inline constexpr std::uint32_t kVersion = 1;

enum Flags : std::uint32_t {
    kHasAlpha = 1u << 0,
    kHasSelection = 1u << 1,
    kKnownFlags = kHasAlpha | kHasSelection,
};

struct Header {
    std::uint8_t magic[8];         // kMagic
    std::uint32_t version;         // kVersion
    std::uint32_t headerSize;      // sizeof(Header)
    std::int32_t width;            // pixels, above 0
    std::int32_t height;           // pixels, above 0
    std::int32_t bpp;              // 1, 4, 8 or 24
    std::uint32_t paletteEntries;  // 2^bpp below 24 bits, else 0
    std::uint32_t flags;           // Flags
    std::int32_t transIndex;       // -1 none, else the transparent index (24 bits: on/off)
    std::uint8_t transColor[4];    // blue, green, red, unused
    std::int32_t frameCount;       // pages of the file the picture came from, at least 1
    std::int32_t frame;            // page shown, 0 .. frameCount - 1
    std::int32_t type;             // file type code of its last load or save
    double xdpi;                   // resolution, 0 when unknown
    double ydpi;
    float jpegQuality;             // 0..100
    std::uint32_t crc;             // CRC-32 of the header without this field, then the payload
    std::uint64_t payloadBytes;    // bytes after the header
};

static_assert(sizeof(Header) == 88);
static_assert(offsetof(Header, version) == 8);
static_assert(offsetof(Header, width) == 16);
static_assert(offsetof(Header, transColor) == 40);
static_assert(offsetof(Header, xdpi) == 56);
static_assert(offsetof(Header, jpegQuality) == 72);
static_assert(offsetof(Header, crc) == 76);
static_assert(offsetof(Header, payloadBytes) == 80);

}  // namespace vestrel::dumpformat
