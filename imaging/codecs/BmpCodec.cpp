// BMP files: the 14-byte file header around a device-independent bitmap. Our own reader
// keeps palettes, bit depth and resolution, which OpenCV's drops; run-length encoded
// files, which OpenCV reads, go there, with the resolution taken from the header.
#include "ByteIo.h"
#include "Dib.h"
#include "FormatCodecs.h"

#include <cmath>

namespace vestrel::codecs {

namespace {
constexpr std::size_t kFileHeaderBytes = 14;
}

std::optional<CodecImage> DecodeBmp(Bytes file) {
    ByteReader in(file);
    if (in.U8() != 'B' || in.U8() != 'M') return std::nullopt;
    in.Skip(8);
    const std::uint32_t pixelOffset = in.U32le();
    if (!in.ok() || pixelOffset < kFileHeaderBytes) return std::nullopt;
    DibReadOptions options;
    options.pixelOffset = pixelOffset - kFileHeaderBytes;
    bool compressed = false;
    const Bytes dib = file.subspan(kFileHeaderBytes);
    if (auto image = ReadDib(dib, options, &compressed)) return image;
    if (!compressed) return std::nullopt;
    // Run-length encoded: the header was read and its size checked by ReadDib already.
    auto image = DecodeWithOpenCv(file);
    if (!image) return std::nullopt;
    ByteReader header(dib, 24);
    const std::int32_t xppm = header.I32le(), yppm = header.I32le();
    if (header.ok() && xppm > 0 && yppm > 0) {
        image->xdpi = std::round(xppm * 0.0254);
        image->ydpi = std::round(yppm * 0.0254);
    }
    return image;
}

EncodedFile EncodeBmp(const CodecImage& image) {
    CodecImage plain = image;
    plain.alpha.release();  // BMP files of ours are 24-bit; alpha lives in PNG, TIFF and TGA
    const std::uint32_t headerAndPalette = 40 + (image.bpp <= 8 ? 4u << image.bpp : 0u);
    ByteWriter out;
    out.U8('B'), out.U8('M');
    out.U32le(0);  // file size, filled in below
    out.U32le(0);
    out.U32le(static_cast<std::uint32_t>(kFileHeaderBytes + headerAndPalette));
    WriteDib(plain, false, out);
    auto& bytes = out.bytes();
    const auto size = static_cast<std::uint32_t>(bytes.size());
    for (int i = 0; i < 4; ++i) bytes[2 + i] = static_cast<std::uint8_t>(size >> (8 * i));
    return std::move(bytes);
}

std::optional<CodecImage> DecodeDib(const std::vector<std::uint8_t>& dib) {
    try {
        auto image = ReadDib(Bytes(dib.data(), dib.size()), {});
        if (!image || !Consistent(*image)) return std::nullopt;
        return image;
    } catch (...) {
        return std::nullopt;
    }
}

std::vector<std::uint8_t> EncodeDib(const CodecImage& image) {
    try {
        if (!Consistent(image)) return {};
        CodecImage plain = image;
        plain.alpha.release();
        return WriteDib(plain);
    } catch (...) {
        return {};
    }
}

}  // namespace vestrel::codecs
