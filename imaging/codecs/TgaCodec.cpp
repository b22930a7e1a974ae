// Truevision TGA: colour-mapped, true-colour and grey pictures, raw or run-length encoded,
// either row order. No library we use reads it, so this small codec is ours. We write
// palette pictures colour-mapped, grey ones as grey, and colour ones as 24 or 32 bits.
#include "ByteIo.h"
#include "FormatCodecs.h"

namespace vestrel::codecs {

namespace {

enum : std::uint8_t { kColourMapped = 1, kTrueColour = 2, kGrey = 3, kRunLength = 8 };

struct TgaHeader {
    std::uint8_t idLength, mapType, imageType;
    std::uint16_t mapFirst, mapLength;
    std::uint8_t mapEntryBits;
    std::uint16_t width, height;
    std::uint8_t pixelBits, descriptor;
};

// One colour of `bits` (15, 16, 24 or 32), little-endian, as B, G, R, A.
cv::Vec4b ReadColour(const std::uint8_t* p, int bits) {
    if (bits == 15 || bits == 16) {
        const int v = p[0] | (p[1] << 8);
        const auto five = [](int c) { return static_cast<std::uint8_t>((c << 3) | (c >> 2)); };
        return {five(v & 31), five((v >> 5) & 31), five((v >> 10) & 31), 255};
    }
    return {p[0], p[1], p[2], static_cast<std::uint8_t>(bits == 32 ? p[3] : 255)};
}

}  // namespace

std::optional<CodecImage> DecodeTga(Bytes file) {
    ByteReader in(file);
    TgaHeader h{};
    h.idLength = in.U8(), h.mapType = in.U8(), h.imageType = in.U8();
    h.mapFirst = in.U16le(), h.mapLength = in.U16le(), h.mapEntryBits = in.U8();
    in.Skip(4);  // origin
    h.width = in.U16le(), h.height = in.U16le();
    h.pixelBits = in.U8(), h.descriptor = in.U8();
    in.Skip(h.idLength);
    if (!in.ok() || !SizeAllowed(h.width, h.height) || h.mapType > 1) return std::nullopt;
    const int kind = h.imageType & ~kRunLength;
    const bool runLength = (h.imageType & kRunLength) != 0;

    std::vector<PaletteEntry> palette;
    if (h.mapType == 1) {
        const int entryBytes = (h.mapEntryBits + 7) / 8;
        if (h.mapEntryBits != 15 && h.mapEntryBits != 16 && h.mapEntryBits != 24 && h.mapEntryBits != 32)
            return std::nullopt;
        const Bytes map = in.Take(static_cast<std::size_t>(h.mapLength) * entryBytes);
        if (!in.ok()) return std::nullopt;
        if (kind == kColourMapped) {
            if (h.mapFirst + h.mapLength > 256) return std::nullopt;
            palette.resize(h.mapFirst);
            for (int i = 0; i < h.mapLength; ++i) {
                const auto c = ReadColour(map.data() + i * entryBytes, h.mapEntryBits);
                palette.push_back({c[0], c[1], c[2]});
            }
        }
    }

    int pixelBytes = 0;
    if (kind == kColourMapped && h.pixelBits == 8 && !palette.empty()) pixelBytes = 1;
    else if (kind == kGrey && h.pixelBits == 8) pixelBytes = 1;
    else if (kind == kTrueColour && (h.pixelBits == 15 || h.pixelBits == 16 || h.pixelBits == 24 || h.pixelBits == 32))
        pixelBytes = (h.pixelBits + 7) / 8;
    else
        return std::nullopt;

    // Gather the pixel bytes in file order, expanding runs; the count is bounded by the
    // header's size, which SizeAllowed checked.
    const std::size_t count = static_cast<std::size_t>(h.width) * h.height;
    std::vector<std::uint8_t> raw;
    if (!runLength) {
        const Bytes data = in.Take(count * pixelBytes);
        if (!in.ok()) return std::nullopt;
        raw.assign(data.begin(), data.end());
    } else {
        // A run of n pixels needs at least two bytes of file, so a tiny file cannot claim a
        // huge picture and make us allocate it.
        if (count / 128 > in.remaining()) return std::nullopt;
        raw.reserve(count * pixelBytes);
        while (raw.size() < count * pixelBytes) {
            const std::uint8_t packet = in.U8();
            const std::size_t run = (packet & 0x7F) + 1u;
            const bool repeated = (packet & 0x80) != 0;
            const Bytes data = in.Take(repeated ? pixelBytes : run * pixelBytes);
            if (!in.ok()) return std::nullopt;
            const std::size_t room = count * pixelBytes - raw.size();
            if (repeated)
                for (std::size_t i = 0; i < run && raw.size() + pixelBytes <= count * pixelBytes; ++i)
                    raw.insert(raw.end(), data.begin(), data.end());
            else
                raw.insert(raw.end(), data.begin(), data.begin() + std::min(room, data.size()));
        }
    }

    const bool topDown = (h.descriptor & 0x20) != 0, rightToLeft = (h.descriptor & 0x10) != 0;
    CodecImage image;
    const int width = h.width, height = h.height;
    const bool alpha = h.pixelBits == 32 && (h.descriptor & 0x0F) != 0;
    image.pixels.create(height, width, pixelBytes == 1 ? CV_8UC1 : CV_8UC3);
    if (alpha) image.alpha.create(height, width, CV_8UC1);
    for (int row = 0; row < height; ++row) {
        const int y = topDown ? row : height - 1 - row;
        for (int column = 0; column < width; ++column) {
            const int x = rightToLeft ? width - 1 - column : column;
            const std::uint8_t* p = raw.data() + (static_cast<std::size_t>(row) * width + column) * pixelBytes;
            if (pixelBytes == 1) {
                image.pixels.at<std::uint8_t>(y, x) = p[0];
            } else {
                const auto c = ReadColour(p, h.pixelBits);
                image.pixels.at<cv::Vec3b>(y, x) = {c[0], c[1], c[2]};
                if (alpha) image.alpha.at<std::uint8_t>(y, x) = c[3];
            }
        }
    }
    if (kind == kGrey) {
        image.bpp = 8;
        image.palette = GreyPalette(8);
    } else if (kind == kColourMapped) {
        double maxIndex = 0;
        cv::minMaxLoc(image.pixels, nullptr, &maxIndex);
        image.bpp = BppForColours(std::max(static_cast<int>(palette.size()), static_cast<int>(maxIndex) + 1));
        FitPalette(palette, image.bpp);
        image.palette = std::move(palette);
    }
    return image;
}

EncodedFile EncodeTga(const CodecImage& image) {
    const bool grey = image.bpp == 8 && image.palette == GreyPalette(8);
    const bool mapped = image.bpp <= 8 && !grey;
    const bool alpha = image.bpp == 24 && !image.alpha.empty();
    const int width = image.pixels.cols, height = image.pixels.rows;
    if (width > 0xFFFF || height > 0xFFFF) return std::nullopt;
    ByteWriter out;
    out.U8(0);
    out.U8(mapped ? 1 : 0);
    out.U8(mapped ? kColourMapped : grey ? kGrey : kTrueColour);
    out.U16le(0);
    out.U16le(mapped ? static_cast<std::uint32_t>(image.palette.size()) : 0);
    out.U8(mapped ? 24 : 0);
    out.U16le(0), out.U16le(0);
    out.U16le(static_cast<std::uint32_t>(width)), out.U16le(static_cast<std::uint32_t>(height));
    out.U8(image.bpp <= 8 ? 8 : alpha ? 32 : 24);
    out.U8(0x20 | (alpha ? 8 : 0));  // rows top first; 8 alpha bits
    if (mapped)
        for (const auto& e : image.palette) out.U8(e.blue), out.U8(e.green), out.U8(e.red);
    const cv::Mat rows = alpha ? ToBgra(image) : image.pixels;
    for (int y = 0; y < height; ++y)
        out.Append(Bytes(rows.ptr<std::uint8_t>(y), static_cast<std::size_t>(width) * rows.elemSize()));
    return std::move(out.bytes());
}

}  // namespace vestrel::codecs
