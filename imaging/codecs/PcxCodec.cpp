// ZSoft PCX: run-length encoded planes. We read 1-bit (one plane, or four planes of a
// 16-colour picture), 8-bit palette (palette after the pixels) and 24-bit (three 8-bit
// planes) pictures, and write the same kinds. Ours because no library we use reads it.
#include "BitPacking.h"
#include "ByteIo.h"
#include "FormatCodecs.h"

#include <opencv2/imgproc.hpp>

namespace vestrel::codecs {

namespace {

constexpr std::size_t kHeaderBytes = 128;
constexpr std::uint8_t kPaletteMarker = 0x0C;

}  // namespace

std::optional<CodecImage> DecodePcx(Bytes file) {
    ByteReader in(file);
    const std::uint8_t maker = in.U8(), version = in.U8(), encoding = in.U8(), bits = in.U8();
    const std::uint16_t xmin = in.U16le(), ymin = in.U16le(), xmax = in.U16le(), ymax = in.U16le();
    const std::uint16_t hdpi = in.U16le(), vdpi = in.U16le();
    const Bytes headerPalette = in.Take(48);
    in.U8();
    const std::uint8_t planes = in.U8();
    const std::uint16_t lineBytes = in.U16le();
    if (!in.ok() || maker != 0x0A || encoding > 1 || xmax < xmin || ymax < ymin) return std::nullopt;
    const int width = xmax - xmin + 1, height = ymax - ymin + 1;
    if (!SizeAllowed(width, height)) return std::nullopt;
    const bool mono = bits == 1 && planes == 1, sixteen = bits == 1 && planes == 4;
    const bool indexed = bits == 8 && planes == 1, colour = bits == 8 && planes == 3;
    if (!mono && !sixteen && !indexed && !colour) return std::nullopt;
    if (lineBytes < PackedRowBytes(width, bits)) return std::nullopt;

    // Decode the whole run-length stream: every row is `planes` lines of `lineBytes`.
    const std::size_t rowBytes = static_cast<std::size_t>(planes) * lineBytes;
    const std::size_t total = rowBytes * height;
    // A run byte expands to at most 63 bytes, so the file must be big enough for the
    // header's claim before we allocate for it.
    if (total / 63 > file.size()) return std::nullopt;
    std::vector<std::uint8_t> data;
    data.reserve(total);
    ByteReader stream(file, kHeaderBytes);
    while (data.size() < total) {
        std::uint8_t byte = stream.U8();
        std::size_t run = 1;
        if (encoding == 1 && (byte & 0xC0) == 0xC0) {
            run = byte & 0x3F;
            byte = stream.U8();
        }
        if (!stream.ok()) return std::nullopt;
        data.insert(data.end(), std::min(run, total - data.size()), byte);
    }

    CodecImage image;
    if (colour) {
        image.pixels.create(height, width, CV_8UC3);
        for (int y = 0; y < height; ++y) {
            const std::uint8_t* row = data.data() + rowBytes * y;
            auto* out = image.pixels.ptr<cv::Vec3b>(y);
            for (int x = 0; x < width; ++x) out[x] = {row[2 * lineBytes + x], row[lineBytes + x], row[x]};
        }
    } else {
        image.pixels.create(height, width, CV_8UC1);
        std::vector<std::uint8_t> plane(width);
        for (int y = 0; y < height; ++y) {
            auto* out = image.pixels.ptr<std::uint8_t>(y);
            const std::uint8_t* row = data.data() + rowBytes * y;
            if (indexed || mono) {
                UnpackRow(row, out, width, bits);
                continue;
            }
            std::fill(out, out + width, 0);
            for (int p = 0; p < 4; ++p) {
                UnpackRow(row + p * lineBytes, plane.data(), width, 1);
                for (int x = 0; x < width; ++x) out[x] |= static_cast<std::uint8_t>(plane[x] << p);
            }
        }
        image.bpp = indexed ? 8 : sixteen ? 4 : 1;
        const auto headerColour = [&](int i) {
            return PaletteEntry{headerPalette[3 * i + 2], headerPalette[3 * i + 1], headerPalette[3 * i]};
        };
        if (indexed) {
            // Version 5 files keep the 256 colours after the pixels, behind a marker byte.
            const std::size_t at = file.size() >= 769 ? file.size() - 769 : 0;
            if (at >= kHeaderBytes && file[at] == kPaletteMarker) {
                for (int i = 0; i < 256; ++i)
                    image.palette.push_back({file[at + 3 * i + 3], file[at + 3 * i + 2], file[at + 3 * i + 1]});
            } else if (version >= 5) {
                return std::nullopt;  // the palette was cut off
            } else {
                image.palette = GreyPalette(8);
            }
        } else if (sixteen) {
            for (int i = 0; i < 16; ++i) image.palette.push_back(headerColour(i));
        } else {
            // Most writers leave the header palette of a monochrome file empty: then it is
            // black and white.
            const auto first = headerColour(0), second = headerColour(1);
            image.palette = first == second ? std::vector<PaletteEntry>{{0, 0, 0}, {255, 255, 255}}
                                            : std::vector<PaletteEntry>{first, second};
        }
    }
    if (hdpi > 0 && vdpi > 0) image.xdpi = hdpi, image.ydpi = vdpi;
    return image;
}

namespace {

void WriteRunLength(ByteWriter& out, const std::uint8_t* line, std::size_t size) {
    for (std::size_t i = 0; i < size;) {
        std::size_t run = 1;
        while (i + run < size && run < 63 && line[i + run] == line[i]) ++run;
        if (run > 1 || (line[i] & 0xC0) == 0xC0) out.U8(0xC0 | static_cast<std::uint32_t>(run));
        out.U8(line[i]);
        i += run;
    }
}

}  // namespace

EncodedFile EncodePcx(const CodecImage& image) {
    const int width = image.pixels.cols, height = image.pixels.rows;
    if (width > 0xFFFF || height > 0xFFFF) return std::nullopt;
    // 4-bit pictures become four 1-bit planes, the classic 16-colour layout.
    const int bits = image.bpp == 1 || image.bpp == 4 ? 1 : 8;
    const int planes = image.bpp == 24 ? 3 : image.bpp == 4 ? 4 : 1;
    std::size_t lineBytes = PackedRowBytes(width, bits);
    lineBytes += lineBytes & 1;  // lines are an even number of bytes

    ByteWriter out;
    out.U8(0x0A), out.U8(5), out.U8(1), out.U8(static_cast<std::uint32_t>(bits));
    out.U16le(0), out.U16le(0), out.U16le(static_cast<std::uint32_t>(width - 1)),
        out.U16le(static_cast<std::uint32_t>(height - 1));
    out.U16le(static_cast<std::uint32_t>(std::lround(image.xdpi)));
    out.U16le(static_cast<std::uint32_t>(std::lround(image.ydpi)));
    for (int i = 0; i < 16; ++i) {
        const bool has = image.bpp <= 4 && i < static_cast<int>(image.palette.size());
        const PaletteEntry e = has ? image.palette[i] : PaletteEntry{};
        out.U8(e.red), out.U8(e.green), out.U8(e.blue);
    }
    out.U8(0);
    out.U8(static_cast<std::uint32_t>(planes));
    out.U16le(static_cast<std::uint32_t>(lineBytes));
    out.U16le(1);  // colour or black-and-white palette
    out.Fill(kHeaderBytes - out.size());

    std::vector<std::uint8_t> row(lineBytes * planes), plane(width);
    for (int y = 0; y < height; ++y) {
        std::fill(row.begin(), row.end(), 0);
        const std::uint8_t* in = image.pixels.ptr<std::uint8_t>(y);
        if (image.bpp == 24) {
            for (int x = 0; x < width; ++x)
                for (int c = 0; c < 3; ++c) row[c * lineBytes + x] = in[3 * x + 2 - c];
        } else if (image.bpp == 4) {
            for (int p = 0; p < 4; ++p) {
                for (int x = 0; x < width; ++x) plane[x] = (in[x] >> p) & 1;
                PackRow(plane.data(), row.data() + p * lineBytes, width, 1);
            }
        } else {
            PackRow(in, row.data(), width, bits);
        }
        WriteRunLength(out, row.data(), row.size());
    }
    if (image.bpp == 8) {
        out.U8(kPaletteMarker);
        for (const auto& e : image.palette) out.U8(e.red), out.U8(e.green), out.U8(e.blue);
    }
    return std::move(out.bytes());
}

}  // namespace vestrel::codecs
