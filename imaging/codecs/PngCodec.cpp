// PNG through OpenCV, with the chunks read and written around it: the size is checked
// from IHDR before decoding, palette pictures come back as palette indices (through PLTE),
// a palette's single transparent entry becomes the transparent index, 1-bit grey stays
// bilevel, and the resolution travels in pHYs.
#include "ByteIo.h"
#include "FormatCodecs.h"

#include <opencv2/imgcodecs.hpp>
#include <zlib.h>

#include <cmath>

namespace vestrel::codecs {

namespace {

constexpr std::uint8_t kSignature[] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
enum : int { kGreyType = 0, kPaletteType = 3 };

struct PngChunks {
    std::int64_t width = 0, height = 0;
    int bitDepth = 0, colourType = 0;
    std::vector<PaletteEntry> palette;
    std::vector<std::uint8_t> paletteAlpha;
    double xdpi = 0, ydpi = 0;
};

std::optional<PngChunks> ReadChunks(Bytes file) {
    if (file.size() < 8 || !std::equal(std::begin(kSignature), std::end(kSignature), file.begin()))
        return std::nullopt;
    PngChunks chunks;
    ByteReader in(file, 8);
    bool first = true;
    while (in.remaining() >= 12) {
        const std::uint32_t length = in.U32be();
        const Bytes type = in.Take(4);
        const Bytes data = in.Take(length);
        in.Skip(4);  // CRC, checked by libpng
        if (!in.ok()) return std::nullopt;
        const std::string name(type.begin(), type.end());
        ByteReader field(data);
        if (first) {
            if (name != "IHDR" || length < 13) return std::nullopt;
            chunks.width = field.U32be();
            chunks.height = field.U32be();
            chunks.bitDepth = field.U8();
            chunks.colourType = field.U8();
            first = false;
        } else if (name == "PLTE") {
            for (std::uint32_t i = 0; i + 3 <= length && i < 768; i += 3)
                chunks.palette.push_back({data[i + 2], data[i + 1], data[i]});
        } else if (name == "tRNS") {
            chunks.paletteAlpha.assign(data.begin(), data.end());
        } else if (name == "pHYs" && length >= 9) {
            const std::uint32_t x = field.U32be(), y = field.U32be();
            if (field.U8() == 1 && x > 0 && y > 0) {  // pixels per metre
                chunks.xdpi = std::round(x * 0.0254);
                chunks.ydpi = std::round(y * 0.0254);
            }
        } else if (name == "IEND") {
            break;
        }
    }
    if (first) return std::nullopt;
    return chunks;
}

cv::Mat DecodeAs(Bytes file, int flags) {
    const cv::Mat wrapped(1, static_cast<int>(file.size()), CV_8UC1, const_cast<std::uint8_t*>(file.data()));
    return cv::imdecode(wrapped, flags);
}

// The palette entry that is fully transparent when all others are opaque, else -1.
int SingleTransparentEntry(const PngChunks& chunks) {
    int found = -1;
    for (std::size_t i = 0; i < chunks.paletteAlpha.size(); ++i) {
        if (chunks.paletteAlpha[i] == 255) continue;
        if (chunks.paletteAlpha[i] != 0 || found >= 0) return -2;
        found = static_cast<int>(i);
    }
    return found;
}

}  // namespace

std::optional<CodecImage> DecodePng(Bytes file) {
    const auto chunks = ReadChunks(file);
    if (!chunks || !SizeAllowed(chunks->width, chunks->height)) return std::nullopt;
    std::optional<CodecImage> image;
    if (chunks->colourType == kPaletteType && !chunks->palette.empty()) {
        const cv::Mat bgr = DecodeAs(file, cv::IMREAD_COLOR);
        if (bgr.empty()) return std::nullopt;
        image = IndexWithPalette(bgr, chunks->palette);
        if (image) {
            const int transparent = SingleTransparentEntry(*chunks);
            if (transparent >= 0) {
                image->transparentIndex = transparent;
            } else if (transparent == -2) {
                const cv::Mat bgra = DecodeAs(file, cv::IMREAD_UNCHANGED);
                if (bgra.type() == CV_8UC4) cv::extractChannel(bgra, image->alpha, 3);
            }
        }
    } else if (chunks->colourType == kGreyType && chunks->bitDepth == 1) {
        const cv::Mat grey = DecodeAs(file, cv::IMREAD_GRAYSCALE);
        if (grey.empty()) return std::nullopt;
        image.emplace();
        image->bpp = 1;
        image->palette = {{0, 0, 0}, {255, 255, 255}};
        image->pixels = (grey >= 128) & 1;
    }
    if (!image) image = DecodeWithOpenCv(file);
    if (!image) return std::nullopt;
    image->xdpi = chunks->xdpi;
    image->ydpi = chunks->ydpi;
    return image;
}

EncodedFile EncodePng(const CodecImage& image) {
    EncodedFile out;
    if (image.bpp == 1 && PaletteIsBlackWhite(image.palette) && image.transparentIndex < 0) {
        out = EncodeWithOpenCv(image.pixels * 255, ".png", {cv::IMWRITE_PNG_BILEVEL, 1});
    } else if (image.bpp != 24 && PaletteIsGrey(image.palette) && image.transparentIndex < 0 && image.alpha.empty()) {
        out = EncodeWithOpenCv(ToGrey(image), ".png");
    } else if (!image.alpha.empty() || (image.bpp != 24 && image.transparentIndex >= 0)) {
        out = EncodeWithOpenCv(ToBgra(image), ".png");
    } else {
        // OpenCV writes no palette PNGs: other palette pictures are stored in full colour.
        out = EncodeWithOpenCv(ToBgr(image), ".png");
    }
    if (!out || image.xdpi <= 0 || image.ydpi <= 0) return out;

    // pHYs goes right after IHDR (8-byte signature, then 25 bytes of IHDR chunk).
    ByteWriter chunk;
    chunk.U32be(9);
    chunk.U8('p'), chunk.U8('H'), chunk.U8('Y'), chunk.U8('s');
    chunk.U32be(static_cast<std::uint32_t>(std::lround(image.xdpi / 0.0254)));
    chunk.U32be(static_cast<std::uint32_t>(std::lround(image.ydpi / 0.0254)));
    chunk.U8(1);
    const auto& body = chunk.bytes();
    chunk.U32be(static_cast<std::uint32_t>(crc32(0, body.data() + 4, 13)));
    out->insert(out->begin() + 33, chunk.bytes().begin(), chunk.bytes().end());
    return out;
}

}  // namespace vestrel::codecs
