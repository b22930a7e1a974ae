// Windows icons: a directory of images, each a bitmap with an AND mask or a PNG file. The
// frame number picks the directory entry. We write one icon: a bitmap entry up to 256 x 256,
// and a PNG entry (width and height bytes 0) for a larger picture, which icon readers have
// known since icons grew past 256 pixels; never a file of another format under the name.
#include "ByteIo.h"
#include "Dib.h"
#include "FormatCodecs.h"

namespace vestrel::codecs {

namespace {
constexpr int kMaxIconSide = 256;
constexpr std::size_t kDirectoryBytes = 6, kEntryBytes = 16;
}  // namespace

std::optional<CodecImage> DecodeIco(Bytes file, int frame) {
    ByteReader in(file);
    const std::uint16_t reserved = in.U16le(), kind = in.U16le(), count = in.U16le();
    if (!in.ok() || reserved != 0 || (kind != 1 && kind != 2) || count == 0 || frame >= count) return std::nullopt;
    ByteReader entry(file, kDirectoryBytes + kEntryBytes * static_cast<std::size_t>(frame));
    entry.Skip(8);
    const std::uint32_t bytes = entry.U32le(), offset = entry.U32le();
    if (!entry.ok() || offset > file.size() || bytes > file.size() - offset) return std::nullopt;
    const Bytes body = file.subspan(offset, bytes);

    static constexpr std::uint8_t kPngSignature[] = {0x89, 'P', 'N', 'G'};
    std::optional<CodecImage> image;
    if (body.size() >= 4 && std::equal(std::begin(kPngSignature), std::end(kPngSignature), body.begin())) {
        image = DecodePng(body);
    } else {
        DibReadOptions options;
        options.icon = true;
        image = ReadDib(body, options);
    }
    if (image) image->frameCount = count;
    return image;
}

EncodedFile EncodeIco(const CodecImage& image) {
    const int width = image.pixels.cols, height = image.pixels.rows;
    CodecImage unscaled = image;
    unscaled.xdpi = unscaled.ydpi = 0;
    if (width > kMaxIconSide || height > kMaxIconSide) {
        const EncodedFile png = EncodePng(unscaled);
        if (!png) return std::nullopt;
        ByteWriter out;
        out.U16le(0), out.U16le(1), out.U16le(1);
        out.U8(0), out.U8(0);  // 0: the size is the PNG's own
        out.U8(0), out.U8(0);
        out.U16le(1);
        out.U16le(32);
        out.U32le(static_cast<std::uint32_t>(png->size()));
        out.U32le(static_cast<std::uint32_t>(kDirectoryBytes + kEntryBytes));
        out.Append(*png);
        return std::move(out.bytes());
    }
    const auto dib = WriteDib(unscaled, true);
    const bool withAlpha = image.bpp == 24 && !image.alpha.empty();
    ByteWriter out;
    out.U16le(0), out.U16le(1), out.U16le(1);
    out.U8(width == kMaxIconSide ? 0 : width);  // 0 stands for 256
    out.U8(height == kMaxIconSide ? 0 : height);
    out.U8(image.bpp < 8 ? 1u << image.bpp : 0);
    out.U8(0);
    out.U16le(1);
    out.U16le(withAlpha ? 32 : image.bpp);
    out.U32le(static_cast<std::uint32_t>(dib.size()));
    out.U32le(static_cast<std::uint32_t>(kDirectoryBytes + kEntryBytes));
    out.Append(dib);
    return std::move(out.bytes());
}

}  // namespace vestrel::codecs
