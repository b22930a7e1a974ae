// The formats read and written through OpenCV (JPEG, PNG, PNM, Sun raster, JPEG 2000):
// pixels, the kinds each keeps, and resolution where the format has a place for it.
#include "CodecImageOps.h"
#include "CodecTestImages.h"
#include "TempProgramDir.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <fstream>

namespace vestrel::codecs {
namespace {

using namespace testing;
using testkit::Psnr;
using testkit::SamePixels;

class CodecRoundTrip : public testkit::ProgramDirTest {
protected:
    std::optional<CodecImage> RoundTrip(const CodecImage& image, int type, const std::string& name,
                                        const EncodeOptions& options = {}) {
        const auto path = programDir / name;
        if (!Encode(image, path, type, options)) return std::nullopt;
        return Decode(path, type);
    }
};

TEST_F(CodecRoundTrip, LosslessFormatsKeepColourGreyAndBilevelPixels) {
    const std::pair<int, const char*> formats[] = {{kTypePng, "l.png"}, {kTypePnm, "l.pnm"}, {kTypeRas, "l.ras"}};
    for (const auto& [type, name] : formats) {
        for (const auto& image : {Colour(), Grey(), Bilevel()}) {
            SCOPED_TRACE(std::string(name) + " bpp " + std::to_string(image.bpp));
            const auto back = RoundTrip(image, type, name);
            ASSERT_TRUE(back);
            EXPECT_TRUE(SamePixels(ToBgr(*back), ToBgr(image)));
            // Grey stays grey everywhere; bilevel stays 1-bit where the format has bitmaps.
            if (image.bpp == 8) {
                EXPECT_EQ(back->palette, image.palette);
            }
            if (image.bpp == 1 && (type == kTypePng || type == kTypePnm)) {
                EXPECT_EQ(back->bpp, 1);
            }
        }
    }
}

TEST_F(CodecRoundTrip, PaletteColoursSurviveWhereTheFormatCannotStoreThePalette) {
    for (auto [type, name] : {std::pair{kTypePng, "p.png"}, {kTypePnm, "p.ppm"}}) {
        SCOPED_TRACE(name);
        const CodecImage image = Indexed(4);
        const auto back = RoundTrip(image, type, name);
        ASSERT_TRUE(back);
        EXPECT_TRUE(SamePixels(ToBgr(*back), ToBgr(image)));
    }
}

TEST_F(CodecRoundTrip, SunRasterKeepsPalettes) {
    for (const auto& image : {Indexed(1), Indexed(4), Indexed(8)}) {
        SCOPED_TRACE(image.bpp);
        const auto back = RoundTrip(image, kTypeRas, "p.ras");
        ASSERT_TRUE(back);
        EXPECT_EQ(back->bpp, image.bpp);
        EXPECT_EQ(back->palette, image.palette);
        EXPECT_TRUE(SamePixels(back->pixels, image.pixels));
    }
}

TEST_F(CodecRoundTrip, Jpeg2000FilesAndCodeStreamsStayClose) {
    for (auto [type, name] : {std::pair{kTypeJp2, "a.jp2"}, {kTypeJpc, "a.j2c"}}) {
        for (const auto& image : {Colour(120, 90), Grey(64, 48)}) {
            SCOPED_TRACE(std::string(name) + " bpp " + std::to_string(image.bpp));
            const auto back = RoundTrip(image, type, name);
            ASSERT_TRUE(back);
            EXPECT_EQ(back->bpp, image.bpp);
            EXPECT_GT(Psnr(back->pixels, image.pixels), 40.0);
        }
    }
    // A code stream starts with its SIZ marker, not a JP2 box; both type codes read both.
    std::ifstream stream(programDir / "a.j2c", std::ios::binary);
    EXPECT_EQ(stream.get(), 0xFF);
    EXPECT_EQ(stream.get(), 0x4F);
    EXPECT_TRUE(Decode(programDir / "a.j2c", kTypeJp2));
    EXPECT_TRUE(Decode(programDir / "a.jp2", kTypeJpc));
    // Too small for the encoder's resolution levels: refused, not half written.
    EXPECT_FALSE(Encode(Colour(40, 20), programDir / "small.jp2", kTypeJp2));
}

TEST_F(CodecRoundTrip, JpegStaysCloseAndKeepsGreyAndResolution) {
    CodecImage image = Colour(160, 120);
    image.xdpi = 300;
    image.ydpi = 150;
    EncodeOptions options;
    options.jpegQuality = 90;
    const auto back = RoundTrip(image, kTypeJpg, "a.jpg", options);
    ASSERT_TRUE(back);
    EXPECT_EQ(back->bpp, 24);
    // The pattern has a sharp sawtooth in red; a swapped channel or shifted row gives ~10 dB.
    EXPECT_GT(Psnr(back->pixels, image.pixels), 25.0);
    EXPECT_EQ(back->xdpi, 300);
    EXPECT_EQ(back->ydpi, 150);

    const CodecImage grey = Grey();
    const auto greyBack = RoundTrip(grey, kTypeJpg, "g.jpg", options);
    ASSERT_TRUE(greyBack);
    EXPECT_EQ(greyBack->bpp, 8);
    EXPECT_EQ(greyBack->palette, grey.palette);
    EXPECT_GT(Psnr(greyBack->pixels, grey.pixels), 30.0);
    EXPECT_EQ(greyBack->xdpi, 0);  // none written, none read
}

TEST_F(CodecRoundTrip, JpegQualityChangesTheFile) {
    const CodecImage image = Colour(160, 120);
    EncodeOptions low, high;
    low.jpegQuality = 10;
    high.jpegQuality = 95;
    ASSERT_TRUE(Encode(image, programDir / "low.jpg", kTypeJpg, low));
    ASSERT_TRUE(Encode(image, programDir / "high.jpg", kTypeJpg, high));
    EXPECT_LT(std::filesystem::file_size(programDir / "low.jpg"), std::filesystem::file_size(programDir / "high.jpg"));
}

TEST_F(CodecRoundTrip, PngKeepsResolutionAndAlpha) {
    CodecImage image = Colour();
    image.xdpi = 200;
    image.ydpi = 100;
    image.alpha = cv::Mat(image.pixels.size(), CV_8UC1, cv::Scalar(255));
    image.alpha(cv::Rect(3, 3, 10, 10)).setTo(40);
    const auto back = RoundTrip(image, kTypePng, "r.png");
    ASSERT_TRUE(back);
    EXPECT_EQ(back->xdpi, 200);
    EXPECT_EQ(back->ydpi, 100);
    EXPECT_TRUE(SamePixels(back->alpha, image.alpha));
    EXPECT_TRUE(SamePixels(back->pixels, image.pixels));
}

// A palette PNG as other programs write it: 4-bit indices, PLTE, and tRNS making one
// entry transparent.
std::vector<std::uint8_t> PalettePng(const cv::Mat& indices, const std::vector<PaletteEntry>& palette, int clear) {
    std::vector<std::uint8_t> out = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
    const auto chunk = [&](const char* type, const std::vector<std::uint8_t>& data) {
        const auto n = static_cast<std::uint32_t>(data.size());
        for (int s : {24, 16, 8, 0}) out.push_back(static_cast<std::uint8_t>(n >> s));
        std::vector<std::uint8_t> body(type, type + 4);
        body.insert(body.end(), data.begin(), data.end());
        out.insert(out.end(), body.begin(), body.end());
        const auto crc = static_cast<std::uint32_t>(crc32(0, body.data(), static_cast<uInt>(body.size())));
        for (int s : {24, 16, 8, 0}) out.push_back(static_cast<std::uint8_t>(crc >> s));
    };
    const auto w = static_cast<std::uint32_t>(indices.cols), h = static_cast<std::uint32_t>(indices.rows);
    chunk("IHDR", {0, 0, static_cast<std::uint8_t>(w >> 8), static_cast<std::uint8_t>(w), 0, 0,
                   static_cast<std::uint8_t>(h >> 8), static_cast<std::uint8_t>(h), 4, 3, 0, 0, 0});
    std::vector<std::uint8_t> plte, trns(palette.size(), 255);
    for (const auto& e : palette) plte.insert(plte.end(), {e.red, e.green, e.blue});
    trns[clear] = 0;
    chunk("PLTE", plte);
    chunk("tRNS", trns);
    std::vector<std::uint8_t> raw;
    for (int y = 0; y < indices.rows; ++y) {
        raw.push_back(0);
        for (int x = 0; x < indices.cols; x += 2)
            raw.push_back(static_cast<std::uint8_t>((indices.at<std::uint8_t>(y, x) << 4) |
                                                    (x + 1 < indices.cols ? indices.at<std::uint8_t>(y, x + 1) : 0)));
    }
    uLongf packedSize = compressBound(static_cast<uLong>(raw.size()));
    std::vector<std::uint8_t> packed(packedSize);
    compress(packed.data(), &packedSize, raw.data(), static_cast<uLong>(raw.size()));
    packed.resize(packedSize);
    chunk("IDAT", packed);
    chunk("IEND", {});
    return out;
}

TEST_F(CodecRoundTrip, PalettePngComesBackAsIndicesWithItsTransparentEntry) {
    const CodecImage image = Indexed(4);
    const auto bytes = PalettePng(image.pixels, image.palette, 5);
    const auto back = DecodeMemory(bytes, kTypePng);
    ASSERT_TRUE(back);
    EXPECT_EQ(back->bpp, 4);
    EXPECT_EQ(back->palette, image.palette);
    EXPECT_EQ(back->transparentIndex, 5);
    EXPECT_TRUE(SamePixels(back->pixels, image.pixels));
    // Found by content too.
    EXPECT_TRUE(DecodeMemory(bytes, kTypeUnknown));
}

}  // namespace
}  // namespace vestrel::codecs
