#pragma once
// Device-independent bitmaps: the body of a BMP file, of each icon in an ICO file, and of
// the clipboard's bitmap. Rows are stored bottom-up unless the height is negative.

#include "ByteIo.h"
#include "CodecImageOps.h"

#include <optional>

namespace vestrel::codecs {

struct DibReadOptions {
    // Where the pixel rows start, counted from the header's first byte; when absent they
    // follow the header, masks and palette.
    std::optional<std::size_t> pixelOffset;
    // An icon's bitmap: the height counts the colour rows and the 1-bit AND mask below them.
    bool icon = false;
};

// Uncompressed and bit-field bitmaps of 1, 4, 8, 16, 24 and 32 bits. Nothing for anything
// damaged, too large or compressed (`compressed` is set then, so a BMP file can be handed
// to a decoder that knows run-length encoding).
std::optional<CodecImage> ReadDib(Bytes dib, const DibReadOptions& options, bool* compressed = nullptr);

// A 40-byte header, the palette (2^bpp entries) and the rows. For an icon, 32-bit colour
// when the picture has alpha, and the AND mask from alpha or the transparent index.
std::vector<std::uint8_t> WriteDib(const CodecImage& image, bool icon = false);
// The same, appended to `out` (a BMP file's header is already there).
void WriteDib(const CodecImage& image, bool icon, ByteWriter& out);

}  // namespace vestrel::codecs
