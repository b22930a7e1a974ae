#pragma once
// Pictures of each kind the codecs must keep: 24-bit colour, 8-bit grey, 4- and 8-bit
// palette with colours that are not grey, and black-and-white bilevel.

#include "CodecImage.h"
#include "ImageCompare.h"

#include <opencv2/imgproc.hpp>

namespace vestrel::codecs::testing {

inline CodecImage Colour(int width = 67, int height = 43) {
    CodecImage image;
    image.pixels = testkit::PatternImage(width, height, CV_8UC3);
    return image;
}

inline CodecImage Indexed(int bpp, int width = 61, int height = 37) {
    CodecImage image;
    image.bpp = bpp;
    const int colours = 1 << bpp;
    image.pixels.create(height, width, CV_8UC1);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.pixels.at<std::uint8_t>(y, x) = static_cast<std::uint8_t>((x / 3 + y * 5 + x * y) % colours);
    for (int i = 0; i < colours; ++i)
        image.palette.push_back({static_cast<std::uint8_t>(i * 37 % 256), static_cast<std::uint8_t>(255 - i),
                                 static_cast<std::uint8_t>(i * 91 % 256)});
    return image;
}

inline CodecImage Grey(int width = 59, int height = 41) {
    CodecImage image;
    image.bpp = 8;
    image.pixels = testkit::PatternImage(width, height, CV_8UC1);
    for (int i = 0; i < 256; ++i) {
        const auto v = static_cast<std::uint8_t>(i);
        image.palette.push_back({v, v, v});
    }
    return image;
}

inline CodecImage Bilevel(int width = 83, int height = 29) {
    CodecImage image;
    image.bpp = 1;
    image.pixels = cv::Mat::zeros(height, width, CV_8UC1);
    cv::circle(image.pixels, {width / 2, height / 2}, height / 3, 1, cv::FILLED);
    cv::line(image.pixels, {0, 0}, {width - 1, height - 1}, 1);
    image.palette = {{0, 0, 0}, {255, 255, 255}};
    return image;
}

}  // namespace vestrel::codecs::testing
