// Every writable format read back: lossless ones pixel for pixel, JPEG within a PSNR bound.
#include "CodecImage.h"
#include "ImageCompare.h"
#include "TempProgramDir.h"

#include <gtest/gtest.h>

namespace vestrel::codecs {
namespace {

using testkit::PatternImage;
using testkit::SamePixels;

class CodecRoundTrip : public testkit::ProgramDirTest {
protected:

    std::optional<CodecImage> RoundTrip(const CodecImage& image, int type, const char* name,
                                        const EncodeOptions& options = {}) {
        const auto path = programDir / name;
        if (!Encode(image, path, type, options)) return std::nullopt;
        return Decode(path, type);
    }
};

CodecImage Colour(int width = 67, int height = 43) {
    CodecImage image;
    image.pixels = PatternImage(width, height, CV_8UC3);
    return image;
}

TEST_F(CodecRoundTrip, LosslessColourFormatsKeepEveryPixel) {
    const CodecImage image = Colour();
    for (auto [type, name] : {std::pair{kTypeBmp, "a.bmp"}, {kTypePng, "a.png"}, {kTypeTif, "a.tif"}}) {
        SCOPED_TRACE(name);
        const auto back = RoundTrip(image, type, name);
        ASSERT_TRUE(back);
        EXPECT_EQ(back->bpp, 24);
        EXPECT_TRUE(SamePixels(back->pixels, image.pixels));
    }
}

TEST_F(CodecRoundTrip, JpegStaysCloseAtGoodQuality) {
    const CodecImage image = Colour(160, 120);
    EncodeOptions options;
    options.jpegQuality = 90;
    const auto back = RoundTrip(image, kTypeJpg, "a.jpg", options);
    ASSERT_TRUE(back);
    // The pattern has a sharp sawtooth in red; a swapped channel or shifted row gives ~10 dB.
    EXPECT_GT(testkit::Psnr(back->pixels, image.pixels), 25.0);
}

}  // namespace
}  // namespace vestrel::codecs
