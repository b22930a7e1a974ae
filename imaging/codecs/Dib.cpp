#include "Dib.h"

#include "BitPacking.h"
#include "ByteIo.h"

#include <bit>
#include <cmath>

namespace vestrel::codecs {

namespace {

enum : std::uint32_t { kBiRgb = 0, kBiRle8 = 1, kBiRle4 = 2, kBiBitfields = 3 };

struct DibHeader {
    std::uint32_t headerSize = 0;
    std::int64_t width = 0, height = 0;
    bool topDown = false;
    int bpp = 0;
    std::uint32_t compression = kBiRgb;
    std::int32_t xppm = 0, yppm = 0;
    std::uint32_t coloursUsed = 0;
    std::uint32_t masks[4] = {0, 0, 0, 0};  // red, green, blue, alpha
    std::size_t paletteOffset = 0, paletteEntryBytes = 4;
};

std::optional<DibHeader> ReadHeader(Bytes dib, bool icon) {
    ByteReader in(dib);
    DibHeader h;
    h.headerSize = in.U32le();
    if (h.headerSize == 12) {  // OS/2 core header
        h.width = in.U16le();
        h.height = in.U16le();
        in.U16le();
        h.bpp = in.U16le();
        h.paletteEntryBytes = 3;
    } else if (h.headerSize >= 40 && h.headerSize <= 124) {
        h.width = in.I32le();
        h.height = in.I32le();
        in.U16le();
        h.bpp = in.U16le();
        h.compression = in.U32le();
        in.U32le();  // image size, often zero
        h.xppm = in.I32le();
        h.yppm = in.I32le();
        h.coloursUsed = in.U32le();
        in.U32le();  // important colours
        if (h.compression == kBiBitfields) {
            // The masks sit inside a V2+ header, or right after a 40-byte one.
            for (int i = 0; i < 3; ++i) h.masks[i] = in.U32le();
            if (h.headerSize >= 56) h.masks[3] = in.U32le();
        } else if (h.headerSize >= 56) {
            in.Skip(12);
            h.masks[3] = in.U32le();
        }
    } else {
        return std::nullopt;
    }
    if (!in.ok()) return std::nullopt;
    if (h.height < 0 && !icon) {
        h.topDown = true;
        h.height = -h.height;
    }
    if (icon) h.height /= 2;
    h.paletteOffset = h.headerSize + (h.compression == kBiBitfields && h.headerSize == 40 ? 12 : 0);
    if (!SizeAllowed(h.width, h.height)) return std::nullopt;
    return h;
}

// One channel out of a 16- or 32-bit pixel through its bit mask, scaled to 8 bits.
struct MaskChannel {
    explicit MaskChannel(std::uint32_t mask)
        : mask(mask), shift(mask ? std::countr_zero(mask) : 0), max(mask ? (mask >> shift) : 0) {}
    std::uint8_t operator()(std::uint32_t pixel) const {
        if (!max) return 0;
        return static_cast<std::uint8_t>(((pixel & mask) >> shift) * 255u / max);
    }
    std::uint32_t mask;
    int shift;
    std::uint32_t max;
};

}  // namespace

std::optional<CodecImage> ReadDib(Bytes dib, const DibReadOptions& options, bool* compressed) {
    const auto header = ReadHeader(dib, options.icon);
    if (!header) return std::nullopt;
    const DibHeader& h = *header;
    if (compressed) *compressed = h.compression == kBiRle8 || h.compression == kBiRle4;
    if (h.compression != kBiRgb && !(h.compression == kBiBitfields && (h.bpp == 16 || h.bpp == 32)))
        return std::nullopt;
    if (h.bpp != 1 && h.bpp != 4 && h.bpp != 8 && h.bpp != 16 && h.bpp != 24 && h.bpp != 32) return std::nullopt;

    CodecImage image;
    ByteReader palette(dib, h.paletteOffset);
    std::size_t paletteCount = 0;
    if (h.bpp <= 8) {
        const std::uint32_t full = 1u << h.bpp;
        paletteCount = h.coloursUsed == 0 || h.coloursUsed > full ? full : h.coloursUsed;
        image.bpp = h.bpp;
        for (std::size_t i = 0; i < paletteCount; ++i) {
            const std::uint8_t blue = palette.U8(), green = palette.U8(), red = palette.U8();
            if (h.paletteEntryBytes == 4) palette.U8();
            image.palette.push_back({blue, green, red});
        }
        if (!palette.ok()) return std::nullopt;
        FitPalette(image.palette, h.bpp);
    } else if (h.coloursUsed <= 256) {
        paletteCount = h.coloursUsed;  // an optional palette we do not need
    }

    const std::size_t pixelOffset =
        options.pixelOffset.value_or(h.paletteOffset + paletteCount * h.paletteEntryBytes);
    const std::size_t stride = (PackedRowBytes(h.width, h.bpp) + 3) & ~std::size_t{3};
    const auto width = static_cast<int>(h.width), height = static_cast<int>(h.height);
    ByteReader rows(dib, pixelOffset);
    const Bytes pixels = rows.Take(stride * static_cast<std::size_t>(height));
    if (!rows.ok()) return std::nullopt;

    const bool alphaPossible = h.bpp == 32 && (options.icon || h.masks[3] != 0);
    std::uint32_t masks[4] = {h.masks[0], h.masks[1], h.masks[2], h.masks[3]};
    if (h.compression == kBiRgb && h.bpp == 16) {
        masks[0] = 0x7C00, masks[1] = 0x03E0, masks[2] = 0x001F;
    } else if (h.compression == kBiRgb && h.bpp == 32) {
        masks[0] = 0xFF0000, masks[1] = 0xFF00, masks[2] = 0xFF, masks[3] = options.icon ? 0xFF000000 : 0;
    }
    const MaskChannel red(masks[0]), green(masks[1]), blue(masks[2]), alpha(alphaPossible ? masks[3] : 0);

    image.pixels.create(height, width, h.bpp <= 8 ? CV_8UC1 : CV_8UC3);
    if (alphaPossible) image.alpha.create(height, width, CV_8UC1);
    for (int row = 0; row < height; ++row) {
        const std::uint8_t* in = pixels.data() + stride * static_cast<std::size_t>(row);
        const int y = h.topDown ? row : height - 1 - row;
        if (h.bpp <= 8) {
            UnpackRow(in, image.pixels.ptr<std::uint8_t>(y), width, h.bpp);
        } else if (h.bpp == 24) {
            std::copy(in, in + 3 * static_cast<std::size_t>(width), image.pixels.ptr<std::uint8_t>(y));
        } else {
            auto* out = image.pixels.ptr<cv::Vec3b>(y);
            for (int x = 0; x < width; ++x) {
                const std::uint32_t v = h.bpp == 16 ? in[2 * x] | (in[2 * x + 1] << 8)
                                                    : in[4 * x] | (in[4 * x + 1] << 8) | (in[4 * x + 2] << 16) |
                                                          (std::uint32_t{in[4 * x + 3]} << 24);
                out[x] = {blue(v), green(v), red(v)};
                if (alphaPossible) image.alpha.at<std::uint8_t>(y, x) = alpha(v);
            }
        }
    }
    if (h.bpp > 8) image.bpp = 24;
    // A 32-bit bitmap whose alpha is zero everywhere never meant it.
    if (!image.alpha.empty() && cv::countNonZero(image.alpha) == 0) image.alpha.release();

    if (options.icon) {
        const std::size_t maskStride = (PackedRowBytes(width, 1) + 3) & ~std::size_t{3};
        const Bytes mask = rows.Take(maskStride * static_cast<std::size_t>(height));
        if (!rows.ok()) return std::nullopt;  // every icon bitmap carries its mask
        if (image.alpha.empty()) {
            cv::Mat transparent(height, width, CV_8UC1);
            for (int row = 0; row < height; ++row)
                UnpackRow(mask.data() + maskStride * static_cast<std::size_t>(row),
                          transparent.ptr<std::uint8_t>(height - 1 - row), width, 1);
            if (cv::countNonZero(transparent) > 0) image.alpha = (transparent == 0);  // 255 where opaque
        }
    }
    if (h.xppm > 0 && h.yppm > 0) {
        image.xdpi = std::round(h.xppm * 0.0254);
        image.ydpi = std::round(h.yppm * 0.0254);
    }
    return image;
}

std::vector<std::uint8_t> WriteDib(const CodecImage& image, bool icon) {
    ByteWriter out;
    WriteDib(image, icon, out);
    return std::move(out.bytes());
}

void WriteDib(const CodecImage& image, bool icon, ByteWriter& out) {
    const int width = image.pixels.cols, height = image.pixels.rows;
    const bool withAlpha = icon && image.bpp == 24 && !image.alpha.empty();
    const int bpp = withAlpha ? 32 : image.bpp;
    const std::size_t stride = (PackedRowBytes(width, bpp) + 3) & ~std::size_t{3};
    const std::size_t maskStride = (PackedRowBytes(width, 1) + 3) & ~std::size_t{3};
    const std::size_t pixelBytes = stride * height + (icon ? maskStride * height : 0);

    out.Reserve(40 + 4 * image.palette.size() + pixelBytes);
    out.U32le(40);
    out.U32le(static_cast<std::uint32_t>(width));
    out.U32le(static_cast<std::uint32_t>(icon ? 2 * height : height));
    out.U16le(1);
    out.U16le(static_cast<std::uint32_t>(bpp));
    out.U32le(kBiRgb);
    out.U32le(static_cast<std::uint32_t>(pixelBytes));
    out.U32le(static_cast<std::uint32_t>(std::lround(image.xdpi / 0.0254)));
    out.U32le(static_cast<std::uint32_t>(std::lround(image.ydpi / 0.0254)));
    out.U32le(bpp <= 8 ? static_cast<std::uint32_t>(image.palette.size()) : 0);
    out.U32le(0);
    if (bpp <= 8)
        for (const auto& e : image.palette) {
            out.U8(e.blue), out.U8(e.green), out.U8(e.red), out.U8(0);
        }

    const cv::Mat rows = withAlpha ? ToBgra(image) : image.pixels;
    std::vector<std::uint8_t> line(stride, 0);
    const std::size_t padding = stride - PackedRowBytes(width, bpp);
    for (int y = height - 1; y >= 0; --y) {
        if (bpp <= 8) {
            PackRow(rows.ptr<std::uint8_t>(y), line.data(), width, bpp);
            out.Append(line);
        } else {
            out.Append(Bytes(rows.ptr<std::uint8_t>(y), PackedRowBytes(width, bpp)));
            out.Fill(padding);
        }
    }
    if (icon) {
        cv::Mat transparent = cv::Mat::zeros(height, width, CV_8UC1);
        if (!image.alpha.empty()) transparent = image.alpha < 128;
        else if (image.bpp <= 8 && image.transparentIndex >= 0) transparent = image.pixels == image.transparentIndex;
        transparent &= 1;
        std::vector<std::uint8_t> maskLine(maskStride, 0);
        for (int y = height - 1; y >= 0; --y) {
            PackRow(transparent.ptr<std::uint8_t>(y), maskLine.data(), width, 1);
            out.Append(maskLine);
        }
    }
}

}  // namespace vestrel::codecs
