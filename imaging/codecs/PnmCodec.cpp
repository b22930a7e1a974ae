// Netpbm (P1-P6) through OpenCV, after reading the size from the text header ourselves.
// Bitmaps (P1, P4) stay 1-bit. We write P4 for black-and-white pictures, P5 for grey and
// P6 for everything else.
#include "FormatCodecs.h"

#include <opencv2/imgcodecs.hpp>

#include <cctype>

namespace vestrel::codecs {

namespace {

// Next decimal number of the header, skipping white space and # comments.
std::optional<std::int64_t> HeaderNumber(Bytes file, std::size_t& at) {
    while (at < file.size()) {
        if (file[at] == '#') {
            while (at < file.size() && file[at] != '\n') ++at;
        } else if (std::isspace(file[at])) {
            ++at;
        } else {
            break;
        }
    }
    std::int64_t value = 0;
    int digits = 0;
    while (at < file.size() && std::isdigit(file[at]) && digits < 10) {
        value = value * 10 + (file[at++] - '0');
        ++digits;
    }
    if (digits == 0) return std::nullopt;
    return value;
}

}  // namespace

std::optional<CodecImage> DecodePnm(Bytes file) {
    if (file.size() < 3 || file[0] != 'P' || file[1] < '1' || file[1] > '6') return std::nullopt;
    std::size_t at = 2;
    const auto width = HeaderNumber(file, at), height = HeaderNumber(file, at);
    if (!width || !height || !SizeAllowed(*width, *height)) return std::nullopt;
    auto image = DecodeWithOpenCv(file);
    if (!image) return std::nullopt;
    const bool bitmap = file[1] == '1' || file[1] == '4';
    if (bitmap && image->bpp == 8) {
        image->bpp = 1;
        image->palette = {{0, 0, 0}, {255, 255, 255}};
        image->pixels = (image->pixels >= 128) & 1;
    }
    return image;
}

EncodedFile EncodePnm(const CodecImage& image) {
    const std::vector<int> binary = {cv::IMWRITE_PXM_BINARY, 1};
    if (image.bpp == 1 && PaletteIsBlackWhite(image.palette))
        return EncodeWithOpenCv(image.pixels * 255, ".pbm", binary);
    if (image.bpp != 24 && PaletteIsGrey(image.palette)) return EncodeWithOpenCv(ToGrey(image), ".pgm", binary);
    return EncodeWithOpenCv(ToBgr(image), ".ppm", binary);
}

}  // namespace vestrel::codecs
