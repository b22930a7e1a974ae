// The formats we read and write ourselves (BMP, ICO, TGA, PCX, WBMP, PGX): every picture
// kind each one can hold comes back with its bit depth, palette and pixels.
#include "CodecImageOps.h"
#include "CodecTestImages.h"
#include "TempProgramDir.h"

#include <gtest/gtest.h>

#include <fstream>

namespace vestrel::codecs {
namespace {

using namespace testing;
using testkit::SamePixels;

class OwnCodecs : public testkit::ProgramDirTest {
protected:
    std::optional<CodecImage> RoundTrip(const CodecImage& image, int type, const std::string& name) {
        const auto path = programDir / name;
        if (!Encode(image, path, type)) return std::nullopt;
        return Decode(path, type);
    }
};

TEST_F(OwnCodecs, PaletteFormatsKeepEveryKindExactly) {
    const std::pair<int, const char*> formats[] = {
        {kTypeBmp, "k.bmp"}, {kTypeIco, "k.ico"}, {kTypeTga, "k.tga"}, {kTypePcx, "k.pcx"}};
    for (const auto& [type, name] : formats) {
        for (const auto& image : {Colour(), Grey(), Indexed(4), Indexed(8), Bilevel()}) {
            SCOPED_TRACE(std::string(name) + " bpp " + std::to_string(image.bpp));
            const auto back = RoundTrip(image, type, name);
            ASSERT_TRUE(back);
            EXPECT_EQ(back->bpp, image.bpp);
            EXPECT_EQ(back->palette, image.palette);
            EXPECT_TRUE(SamePixels(back->pixels, image.pixels));
            EXPECT_TRUE(back->alpha.empty());
        }
    }
}

TEST_F(OwnCodecs, IconAndTgaKeepAlpha) {
    CodecImage image = Colour(48, 32);
    image.alpha = cv::Mat(32, 48, CV_8UC1, cv::Scalar(255));
    image.alpha(cv::Rect(0, 0, 20, 10)).setTo(0);
    for (auto [type, name] : {std::pair{kTypeIco, "a.ico"}, {kTypeTga, "a.tga"}}) {
        SCOPED_TRACE(name);
        const auto back = RoundTrip(image, type, name);
        ASSERT_TRUE(back);
        EXPECT_TRUE(SamePixels(back->alpha, image.alpha));
        EXPECT_TRUE(SamePixels(back->pixels, image.pixels));
    }
    // A palette icon's transparent index becomes its AND mask, read back as alpha.
    CodecImage indexed = Indexed(8, 16, 16);
    indexed.transparentIndex = indexed.pixels.at<std::uint8_t>(0, 0);
    const auto back = RoundTrip(indexed, kTypeIco, "t.ico");
    ASSERT_TRUE(back);
    ASSERT_FALSE(back->alpha.empty());
    EXPECT_EQ(back->alpha.at<std::uint8_t>(0, 0), 0);
    EXPECT_EQ(cv::countNonZero(back->alpha == 0), cv::countNonZero(indexed.pixels == indexed.transparentIndex));
}

TEST_F(OwnCodecs, IconsLargerThan256HoldAPngEntry) {
    // 256 a side is the largest bitmap entry; one pixel more is a PNG entry, alpha kept.
    EXPECT_TRUE(Encode(Colour(256, 256), programDir / "max.ico", kTypeIco));
    const auto max = Decode(programDir / "max.ico", kTypeIco);
    ASSERT_TRUE(max);
    EXPECT_EQ(max->pixels.cols, 256);

    CodecImage big = Colour(257, 10);
    big.alpha = cv::Mat(big.pixels.size(), CV_8UC1, cv::Scalar(200));
    ASSERT_TRUE(Encode(big, programDir / "big.ico", kTypeIco));
    const auto back = Decode(programDir / "big.ico", kTypeIco);
    ASSERT_TRUE(back);
    EXPECT_EQ(back->frameCount, 1);
    EXPECT_TRUE(SamePixels(back->pixels, big.pixels));
    ASSERT_FALSE(back->alpha.empty());
    EXPECT_TRUE(SamePixels(back->alpha, big.alpha));
}

TEST_F(OwnCodecs, BmpAndPcxKeepResolution) {
    for (auto [type, name] : {std::pair{kTypeBmp, "r.bmp"}, {kTypePcx, "r.pcx"}}) {
        SCOPED_TRACE(name);
        for (const double dpi : {72.0, 96.0, 200.0, 300.0, 600.0}) {
            CodecImage image = Grey(10, 10);
            image.xdpi = dpi;
            image.ydpi = dpi / 2;
            const auto back = RoundTrip(image, type, name);
            ASSERT_TRUE(back);
            EXPECT_EQ(back->xdpi, dpi);
            EXPECT_EQ(back->ydpi, dpi / 2);
        }
    }
}

TEST_F(OwnCodecs, WbmpHoldsBlackAndWhiteOnly) {
    const CodecImage bilevel = Bilevel();
    const auto back = RoundTrip(bilevel, kTypeWbmp, "b.wbmp");
    ASSERT_TRUE(back);
    EXPECT_EQ(back->bpp, 1);
    EXPECT_EQ(back->palette, bilevel.palette);
    EXPECT_TRUE(SamePixels(back->pixels, bilevel.pixels));

    // Anything else is cut at half brightness.
    const CodecImage grey = Grey();
    const auto cut = RoundTrip(grey, kTypeWbmp, "g.wbmp");
    ASSERT_TRUE(cut);
    EXPECT_TRUE(SamePixels(cut->pixels, (grey.pixels >= 128) & 1));
}

TEST_F(OwnCodecs, PgxKeepsGreyAndReadsDeeperSignedSamples) {
    const CodecImage grey = Grey();
    const auto back = RoundTrip(grey, kTypePgx, "g.pgx");
    ASSERT_TRUE(back);
    EXPECT_EQ(back->palette, grey.palette);
    EXPECT_TRUE(SamePixels(back->pixels, grey.pixels));

    // 12-bit signed, little-endian: -2048 is black, 2047 white, 0 the middle.
    const auto path = programDir / "s.pgx";
    {
        std::ofstream out(path, std::ios::binary);
        out << "PG LM -12 3 1\n";
        const std::int16_t samples[] = {-2048, 0, 2047};
        for (std::int16_t s : samples) out.put(static_cast<char>(s & 0xFF)).put(static_cast<char>((s >> 8) & 0xFF));
    }
    const auto deep = Decode(path, kTypePgx);
    ASSERT_TRUE(deep);
    EXPECT_EQ(deep->pixels.at<std::uint8_t>(0, 0), 0);
    EXPECT_EQ(deep->pixels.at<std::uint8_t>(0, 1), 127);
    EXPECT_EQ(deep->pixels.at<std::uint8_t>(0, 2), 255);
}

TEST_F(OwnCodecs, ClipboardBitmapRoundTrips) {
    for (const auto& image : {Colour(), Indexed(4), Bilevel()}) {
        const auto dib = EncodeDib(image);
        ASSERT_EQ(dib.size() >= 40, true);
        EXPECT_EQ(dib[0], 40);  // a plain 40-byte header, no file header
        const auto back = DecodeDib(dib);
        ASSERT_TRUE(back);
        EXPECT_EQ(back->palette, image.palette);
        EXPECT_TRUE(SamePixels(back->pixels, image.pixels));
    }
}

}  // namespace
}  // namespace vestrel::codecs
