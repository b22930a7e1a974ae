// JPEG through OpenCV, with what OpenCV leaves out: the size is read from the frame
// header before decoding (our pixel limit), a file cut short before its end marker is
// refused rather than shown half grey, and the JFIF density is read and written.
#include "ByteIo.h"
#include "FormatCodecs.h"

#include <opencv2/imgcodecs.hpp>

#include <cmath>

namespace vestrel::codecs {

namespace {

struct JpegLayout {
    int width = 0, height = 0;
    double xdpi = 0, ydpi = 0;
    bool complete = false;  // the end-of-image marker was found after the scan data
};

bool IsStandalone(std::uint8_t marker) {
    return marker == 0xD8 || marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7);
}

bool IsFrameHeader(std::uint8_t marker) {
    return marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
}

std::optional<JpegLayout> ReadLayout(Bytes file) {
    JpegLayout layout;
    if (file.size() < 4 || file[0] != 0xFF || file[1] != 0xD8) return std::nullopt;
    std::size_t at = 2;
    bool inScan = false;
    while (at + 1 < file.size()) {
        if (inScan) {
            // Entropy-coded data: 0xFF is followed by a stuffed zero or a restart marker;
            // anything else is the next marker.
            if (file[at] != 0xFF || file[at + 1] == 0x00 || file[at + 1] == 0xFF ||
                (file[at + 1] >= 0xD0 && file[at + 1] <= 0xD7)) {
                ++at;
                continue;
            }
            inScan = false;
        }
        if (file[at] != 0xFF) return std::nullopt;
        const std::uint8_t marker = file[at + 1];
        if (marker == 0xFF) {  // fill byte
            ++at;
            continue;
        }
        at += 2;
        if (marker == 0xD9) {
            layout.complete = layout.width > 0;
            return layout;
        }
        if (IsStandalone(marker)) continue;
        ByteReader segment(file, at);
        const std::uint16_t length = segment.U16be();
        if (!segment.ok() || length < 2 || at + length > file.size()) return std::nullopt;
        const Bytes payload = file.subspan(at + 2, length - 2u);
        if (IsFrameHeader(marker) && payload.size() >= 5) {
            layout.height = (payload[1] << 8) | payload[2];
            layout.width = (payload[3] << 8) | payload[4];
        } else if (marker == 0xE0 && payload.size() >= 12 && std::equal(payload.begin(), payload.begin() + 5,
                                                                       "JFIF")) {
            const int units = payload[7];
            const int x = (payload[8] << 8) | payload[9], y = (payload[10] << 8) | payload[11];
            const double scale = units == 1 ? 1.0 : units == 2 ? 2.54 : 0.0;
            if (x > 0 && y > 0) layout.xdpi = std::round(x * scale), layout.ydpi = std::round(y * scale);
        } else if (marker == 0xDA) {
            inScan = true;
        }
        at += length;
    }
    return layout;  // no end marker: incomplete
}

}  // namespace

std::optional<CodecImage> DecodeJpeg(Bytes file) {
    const auto layout = ReadLayout(file);
    if (!layout || !layout->complete || !SizeAllowed(layout->width, layout->height)) return std::nullopt;
    auto image = DecodeWithOpenCv(file);
    if (!image) return std::nullopt;
    image->xdpi = layout->xdpi;
    image->ydpi = layout->ydpi;
    return image;
}

EncodedFile EncodeJpeg(const CodecImage& image, int quality) {
    const bool grey = image.bpp != 24 && PaletteIsGrey(image.palette);
    auto out = EncodeWithOpenCv(grey ? ToGrey(image) : ToBgr(image), ".jpg",
                                {cv::IMWRITE_JPEG_QUALITY, std::clamp(quality, 0, 100)});
    if (!out) return std::nullopt;
    // libjpeg writes a JFIF header with an aspect ratio only, right after the start
    // marker; put the resolution in it.
    auto& bytes = *out;
    static constexpr std::uint8_t kJfifStart[] = {0xFF, 0xD8, 0xFF, 0xE0, 0, 16, 'J', 'F', 'I', 'F', 0};
    const bool jfif = bytes.size() > 18 && std::equal(std::begin(kJfifStart), std::end(kJfifStart), bytes.begin());
    if (jfif && image.xdpi > 0 && image.ydpi > 0) {
        const auto x = static_cast<std::uint16_t>(std::clamp(std::lround(image.xdpi), 1L, 65535L));
        const auto y = static_cast<std::uint16_t>(std::clamp(std::lround(image.ydpi), 1L, 65535L));
        constexpr std::size_t at = 6;  // the segment's payload
        bytes[at + 7] = 1;  // dots per inch
        bytes[at + 8] = static_cast<std::uint8_t>(x >> 8), bytes[at + 9] = static_cast<std::uint8_t>(x);
        bytes[at + 10] = static_cast<std::uint8_t>(y >> 8), bytes[at + 11] = static_cast<std::uint8_t>(y);
    }
    return out;
}

}  // namespace vestrel::codecs
