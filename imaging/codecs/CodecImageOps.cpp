#include "CodecImageOps.h"

#include <opencv2/imgproc.hpp>

#include <unordered_map>

namespace vestrel::codecs {

bool SizeAllowed(std::int64_t width, std::int64_t height) {
    // Each side is also kept below 2^20 so that row sizes in bytes never overflow an int.
    constexpr std::int64_t kMaxSide = 1 << 20;
    return width > 0 && height > 0 && width <= kMaxSide && height <= kMaxSide &&
           width * height <= kMaxPixels;
}

std::vector<PaletteEntry> GreyPalette(int bpp) {
    const int count = 1 << bpp;
    std::vector<PaletteEntry> palette(count);
    for (int i = 0; i < count; ++i) {
        const auto v = static_cast<std::uint8_t>(i * 255 / (count - 1));
        palette[i] = {v, v, v};
    }
    return palette;
}

bool PaletteIsGrey(const std::vector<PaletteEntry>& palette) {
    for (const auto& e : palette)
        if (e.red != e.green || e.green != e.blue) return false;
    return !palette.empty();
}

bool PaletteIsBlackWhite(const std::vector<PaletteEntry>& palette) {
    return palette.size() == 2 && palette[0] == PaletteEntry{0, 0, 0} &&
           palette[1] == PaletteEntry{255, 255, 255};
}

bool Consistent(const CodecImage& image) {
    const cv::Mat& p = image.pixels;
    if (p.empty() || p.dims != 2 || !SizeAllowed(p.cols, p.rows)) return false;
    if (!image.alpha.empty() && (image.alpha.type() != CV_8UC1 || image.alpha.size() != p.size()))
        return false;
    if (image.bpp == 24) return p.type() == CV_8UC3;
    if (image.bpp != 1 && image.bpp != 4 && image.bpp != 8) return false;
    if (p.type() != CV_8UC1 || image.palette.size() != (1u << image.bpp)) return false;
    double maxIndex = 0;
    cv::minMaxLoc(p, nullptr, &maxIndex);
    return maxIndex < (1 << image.bpp);
}

namespace {

// Per-channel lookup tables of a palette, padded to 256 entries.
void PaletteLuts(const CodecImage& image, cv::Mat& blue, cv::Mat& green, cv::Mat& red) {
    blue = cv::Mat::zeros(1, 256, CV_8UC1);
    green = blue.clone();
    red = blue.clone();
    for (std::size_t i = 0; i < image.palette.size() && i < 256; ++i) {
        blue.at<std::uint8_t>(static_cast<int>(i)) = image.palette[i].blue;
        green.at<std::uint8_t>(static_cast<int>(i)) = image.palette[i].green;
        red.at<std::uint8_t>(static_cast<int>(i)) = image.palette[i].red;
    }
}

}  // namespace

cv::Mat ToBgr(const CodecImage& image) {
    if (image.bpp == 24) return image.pixels;
    cv::Mat blue, green, red, planes[3];
    PaletteLuts(image, blue, green, red);
    cv::LUT(image.pixels, blue, planes[0]);
    cv::LUT(image.pixels, green, planes[1]);
    cv::LUT(image.pixels, red, planes[2]);
    cv::Mat bgr;
    cv::merge(planes, 3, bgr);
    return bgr;
}

cv::Mat ToGrey(const CodecImage& image) {
    cv::Mat grey;
    if (image.bpp != 24 && PaletteIsGrey(image.palette)) {
        cv::Mat blue, green, red;
        PaletteLuts(image, blue, green, red);
        cv::LUT(image.pixels, blue, grey);
    } else {
        cv::cvtColor(ToBgr(image), grey, cv::COLOR_BGR2GRAY);
    }
    return grey;
}

cv::Mat ToBgra(const CodecImage& image) {
    cv::Mat bgra;
    cv::cvtColor(ToBgr(image), bgra, cv::COLOR_BGR2BGRA);
    if (!image.alpha.empty()) {
        cv::insertChannel(image.alpha, bgra, 3);
    } else if (image.bpp != 24 && image.transparentIndex >= 0) {
        cv::Mat clear = image.pixels == image.transparentIndex;
        bgra.setTo(cv::Scalar(0, 0, 0, 0), clear);
        cv::Mat alpha;
        cv::extractChannel(bgra, alpha, 3);
        cv::Mat opaque = ~clear;
        alpha.setTo(255, opaque);
        cv::insertChannel(alpha, bgra, 3);
    }
    return bgra;
}

std::optional<CodecImage> FromMat(const cv::Mat& picture) {
    if (picture.empty() || picture.dims != 2 || !SizeAllowed(picture.cols, picture.rows))
        return std::nullopt;
    cv::Mat eight;
    if (picture.depth() == CV_8U) {
        eight = picture;
    } else if (picture.depth() == CV_16U) {
        picture.convertTo(eight, CV_8U, 1.0 / 257.0);
    } else {
        return std::nullopt;
    }
    CodecImage image;
    switch (eight.channels()) {
    case 1:
        image.bpp = 8;
        image.palette = GreyPalette(8);
        image.pixels = eight;
        break;
    case 3:
        image.pixels = eight;
        break;
    case 4:
        cv::cvtColor(eight, image.pixels, cv::COLOR_BGRA2BGR);
        cv::extractChannel(eight, image.alpha, 3);
        break;
    default:
        return std::nullopt;
    }
    return image;
}

std::optional<CodecImage> IndexWithPalette(const cv::Mat& bgr, std::vector<PaletteEntry> palette) {
    if (bgr.type() != CV_8UC3 || palette.empty() || palette.size() > 256) return std::nullopt;
    std::unordered_map<std::uint32_t, std::uint8_t> indexOf;
    for (std::size_t i = palette.size(); i-- > 0;) {
        const auto& e = palette[i];
        indexOf[(std::uint32_t{e.red} << 16) | (std::uint32_t{e.green} << 8) | e.blue] =
            static_cast<std::uint8_t>(i);
    }
    CodecImage image;
    image.pixels.create(bgr.size(), CV_8UC1);
    for (int y = 0; y < bgr.rows; ++y) {
        const auto* in = bgr.ptr<cv::Vec3b>(y);
        auto* out = image.pixels.ptr<std::uint8_t>(y);
        for (int x = 0; x < bgr.cols; ++x) {
            const auto key = (std::uint32_t{in[x][2]} << 16) | (std::uint32_t{in[x][1]} << 8) | in[x][0];
            const auto found = indexOf.find(key);
            if (found == indexOf.end()) return std::nullopt;
            out[x] = found->second;
        }
    }
    image.bpp = BppForColours(static_cast<int>(palette.size()));
    FitPalette(palette, image.bpp);
    image.palette = std::move(palette);
    return image;
}

int BppForColours(int colours) {
    if (colours <= 2) return 1;
    if (colours <= 16) return 4;
    return 8;
}

void FitPalette(std::vector<PaletteEntry>& palette, int bpp) {
    palette.resize(std::size_t{1} << bpp);
}

}  // namespace vestrel::codecs
