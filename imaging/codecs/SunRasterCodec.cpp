// Sun raster files: a 32-byte big-endian header, an optional RGB colour map in planes,
// then rows padded to 16 bits, raw or byte-run encoded. Ours: OpenCV's reader loses the
// pixels of grey files without a colour map, and keeps no palette.
#include "BitPacking.h"
#include "ByteIo.h"
#include "FormatCodecs.h"

namespace vestrel::codecs {

namespace {

constexpr std::uint32_t kMagic = 0x59A66A95;
enum : std::uint32_t { kOld = 0, kStandard = 1, kByteEncoded = 2, kRgbOrder = 3 };
constexpr std::uint32_t kRgbColourMap = 1;
constexpr std::uint8_t kRunEscape = 0x80;

}  // namespace

std::optional<CodecImage> DecodeSunRaster(Bytes file) {
    ByteReader in(file);
    const std::uint32_t magic = in.U32be(), width = in.U32be(), height = in.U32be(), depth = in.U32be();
    in.U32be();  // data length, zero in old files
    const std::uint32_t encoding = in.U32be(), mapType = in.U32be(), mapLength = in.U32be();
    if (!in.ok() || magic != kMagic || !SizeAllowed(width, height) || encoding > kRgbOrder) return std::nullopt;
    if (depth != 1 && depth != 8 && depth != 24 && depth != 32) return std::nullopt;

    std::vector<PaletteEntry> palette;
    const Bytes map = in.Take(mapLength);
    if (!in.ok()) return std::nullopt;
    if (mapType == kRgbColourMap && mapLength >= 3 && mapLength <= 768 && depth <= 8) {
        const std::uint32_t count = mapLength / 3;  // all reds, then all greens, then all blues
        for (std::uint32_t i = 0; i < count; ++i) palette.push_back({map[2 * count + i], map[count + i], map[i]});
    }

    const std::size_t stride = (PackedRowBytes(width, static_cast<int>(depth)) + 1) & ~std::size_t{1};
    const std::size_t total = stride * height;
    std::vector<std::uint8_t> data;
    if (encoding == kByteEncoded) {
        // Runs expand at most 256 times per three bytes: refuse a claim the file cannot hold.
        if (total / 86 > in.remaining()) return std::nullopt;
        data.reserve(total);
        while (data.size() < total) {
            std::uint8_t byte = in.U8();
            std::size_t run = 1;
            if (byte == kRunEscape) {
                const std::uint8_t count = in.U8();
                if (count != 0) {
                    run = count + 1u;
                    byte = in.U8();
                }
            }
            if (!in.ok()) return std::nullopt;
            data.insert(data.end(), std::min(run, total - data.size()), byte);
        }
    } else {
        const Bytes raw = in.Take(total);
        if (!in.ok()) return std::nullopt;
        data.assign(raw.begin(), raw.end());
    }

    CodecImage image;
    const int w = static_cast<int>(width), h = static_cast<int>(height);
    if (depth <= 8) {
        image.pixels.create(h, w, CV_8UC1);
        for (int y = 0; y < h; ++y) UnpackRow(data.data() + stride * y, image.pixels.ptr<std::uint8_t>(y), w, static_cast<int>(depth));
        if (depth == 1) {
            image.bpp = 1;
            if (palette.size() >= 2) {
                palette.resize(2);
                image.palette = palette;
            } else {
                image.palette = {{0, 0, 0}, {255, 255, 255}};
                image.pixels = 1 - image.pixels;  // a set bit is black
            }
        } else if (palette.empty()) {
            image.bpp = 8;
            image.palette = GreyPalette(8);
        } else {
            double maxIndex = 0;
            cv::minMaxLoc(image.pixels, nullptr, &maxIndex);
            image.bpp = BppForColours(std::max(static_cast<int>(palette.size()), static_cast<int>(maxIndex) + 1));
            FitPalette(palette, image.bpp);
            image.palette = std::move(palette);
        }
    } else {
        const int bytes = static_cast<int>(depth) / 8;
        const bool rgb = encoding == kRgbOrder;
        image.pixels.create(h, w, CV_8UC3);
        for (int y = 0; y < h; ++y) {
            const std::uint8_t* row = data.data() + stride * y;
            auto* out = image.pixels.ptr<cv::Vec3b>(y);
            for (int x = 0; x < w; ++x) {
                const std::uint8_t* p = row + x * bytes + (bytes == 4 ? 1 : 0);  // skip the pad byte
                out[x] = rgb ? cv::Vec3b(p[2], p[1], p[0]) : cv::Vec3b(p[0], p[1], p[2]);
            }
        }
    }
    return image;
}

EncodedFile EncodeSunRaster(const CodecImage& image) {
    const int width = image.pixels.cols, height = image.pixels.rows;
    const bool grey = image.bpp == 8 && image.palette == GreyPalette(8);
    const bool mapped = image.bpp == 4 || (image.bpp == 8 && !grey) ||
                        (image.bpp == 1 && !PaletteIsBlackWhite(image.palette));
    const int depth = image.bpp == 24 ? 24 : image.bpp == 1 && !mapped ? 1 : 8;
    const std::size_t stride = (PackedRowBytes(width, depth) + 1) & ~std::size_t{1};
    const std::uint32_t mapLength = mapped ? static_cast<std::uint32_t>(3 * image.palette.size()) : 0;

    ByteWriter out;
    out.U32be(kMagic);
    out.U32be(static_cast<std::uint32_t>(width)), out.U32be(static_cast<std::uint32_t>(height));
    out.U32be(static_cast<std::uint32_t>(depth));
    out.U32be(static_cast<std::uint32_t>(stride * height));
    out.U32be(kStandard);
    out.U32be(mapped ? kRgbColourMap : 0);
    out.U32be(mapLength);
    if (mapped) {
        for (const auto& e : image.palette) out.U8(e.red);
        for (const auto& e : image.palette) out.U8(e.green);
        for (const auto& e : image.palette) out.U8(e.blue);
    }
    std::vector<std::uint8_t> line(stride), flipped(width);
    for (int y = 0; y < height; ++y) {
        std::fill(line.begin(), line.end(), 0);
        const std::uint8_t* in = image.pixels.ptr<std::uint8_t>(y);
        if (depth == 24) {
            std::copy(in, in + 3 * width, line.begin());  // blue, green, red, as standard files hold it
        } else if (depth == 1) {
            for (int x = 0; x < width; ++x) flipped[x] = 1 - in[x];  // a set bit is black
            PackRow(flipped.data(), line.data(), width, 1);
        } else {
            std::copy(in, in + width, line.begin());
        }
        out.Append(line);
    }
    return std::move(out.bytes());
}

}  // namespace vestrel::codecs
