#pragma once
// Rows of 1- and 4-bit palette indices packed most significant bits first, as BMP, TIFF,
// PCX, WBMP and ICO all store them.

#include <cstddef>
#include <cstdint>

namespace vestrel::codecs {

// Bytes one packed row of `width` pixels takes at `bpp` bits (1, 4, 8 or 24).
inline std::size_t PackedRowBytes(std::int64_t width, int bpp) {
    return static_cast<std::size_t>((width * bpp + 7) / 8);
}

// Unpacks `width` indices of `bpp` bits (1, 4 or 8) from `in` into `out`.
inline void UnpackRow(const std::uint8_t* in, std::uint8_t* out, int width, int bpp) {
    if (bpp == 8) {
        for (int x = 0; x < width; ++x) out[x] = in[x];
    } else if (bpp == 4) {
        for (int x = 0; x < width; ++x) out[x] = (in[x / 2] >> ((x & 1) ? 0 : 4)) & 0x0F;
    } else {
        for (int x = 0; x < width; ++x) out[x] = (in[x / 8] >> (7 - (x & 7))) & 1;
    }
}

// Packs `width` indices into `out` (PackedRowBytes long); unused low bits are zero.
inline void PackRow(const std::uint8_t* in, std::uint8_t* out, int width, int bpp) {
    const std::size_t bytes = PackedRowBytes(width, bpp);
    for (std::size_t i = 0; i < bytes; ++i) out[i] = 0;
    if (bpp == 8) {
        for (int x = 0; x < width; ++x) out[x] = in[x];
    } else if (bpp == 4) {
        for (int x = 0; x < width; ++x) out[x / 2] |= static_cast<std::uint8_t>((in[x] & 0x0F) << ((x & 1) ? 0 : 4));
    } else {
        for (int x = 0; x < width; ++x) out[x / 8] |= static_cast<std::uint8_t>((in[x] & 1) << (7 - (x & 7)));
    }
}

}  // namespace vestrel::codecs
