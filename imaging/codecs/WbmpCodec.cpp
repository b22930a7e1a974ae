// Wireless bitmap (WBMP type 0): a tiny header of variable-length numbers, then rows of
// one bit per pixel, set for white. Ours because no library we use reads it.
#include "BitPacking.h"
#include "ByteIo.h"
#include "FormatCodecs.h"

#include <opencv2/imgproc.hpp>

namespace vestrel::codecs {

namespace {

// Seven bits a byte, high bit set on every byte but the last; at most four bytes.
std::optional<std::uint32_t> ReadNumber(ByteReader& in) {
    std::uint32_t value = 0;
    for (int i = 0; i < 4; ++i) {
        const std::uint8_t byte = in.U8();
        if (!in.ok()) return std::nullopt;
        value = (value << 7) | (byte & 0x7F);
        if (!(byte & 0x80)) return value;
    }
    return std::nullopt;
}

void WriteNumber(ByteWriter& out, std::uint32_t value) {
    std::uint8_t groups[5];
    int count = 0;
    do {
        groups[count++] = value & 0x7F;
        value >>= 7;
    } while (value);
    while (count-- > 0) out.U8(groups[count] | (count ? 0x80 : 0));
}

}  // namespace

std::optional<CodecImage> DecodeWbmp(Bytes file) {
    ByteReader in(file);
    const auto type = ReadNumber(in);
    const std::uint8_t fixedHeader = in.U8();
    const auto width = ReadNumber(in);
    const auto height = ReadNumber(in);
    if (!in.ok() || type != 0u || fixedHeader != 0 || !width || !height) return std::nullopt;
    if (!SizeAllowed(*width, *height)) return std::nullopt;
    const std::size_t stride = PackedRowBytes(*width, 1);
    const Bytes rows = in.Take(stride * *height);
    if (!in.ok()) return std::nullopt;
    CodecImage image;
    image.bpp = 1;
    image.palette = {{0, 0, 0}, {255, 255, 255}};
    image.pixels.create(static_cast<int>(*height), static_cast<int>(*width), CV_8UC1);
    for (int y = 0; y < image.pixels.rows; ++y)
        UnpackRow(rows.data() + stride * y, image.pixels.ptr<std::uint8_t>(y), image.pixels.cols, 1);
    return image;
}

EncodedFile EncodeWbmp(const CodecImage& image) {
    // WBMP holds only black and white: light pixels (palette or grey value of 128 and
    // above) become white.
    const cv::Mat white = ToGrey(image) >= 128;
    ByteWriter out;
    WriteNumber(out, 0);
    out.U8(0);
    WriteNumber(out, static_cast<std::uint32_t>(white.cols));
    WriteNumber(out, static_cast<std::uint32_t>(white.rows));
    std::vector<std::uint8_t> line(PackedRowBytes(white.cols, 1));
    const cv::Mat bits = white & 1;
    for (int y = 0; y < bits.rows; ++y) {
        PackRow(bits.ptr<std::uint8_t>(y), line.data(), bits.cols, 1);
        out.Append(line);
    }
    return std::move(out.bytes());
}

}  // namespace vestrel::codecs
