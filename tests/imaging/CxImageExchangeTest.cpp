#include "CxImage.h"
#include "ImageCompare.h"

#include <gtest/gtest.h>

#include <cstring>

using vestrel::CxImage;
using vestrel::MakeRgbQuad;
using vestrel::PixelRect;
using vestrel::testkit::PatternImage;
using vestrel::testkit::SamePixels;

namespace {

CxImage Decorated()
{
    CxImage image;
    image.CreateFromMat(PatternImage(13, 7));
    image.SetXDPI(300);
    image.SetYDPI(150);
    image.AlphaCreate();
    image.AlphaSet(2, 3, 9);
    image.SelectionAddRect(PixelRect{1, 1, 4, 4});
    image.SetTransColor(MakeRgbQuad(254, 255, 255));
    image.SetJpegQualityF(55);
    return image;
}

void ExpectSame(const CxImage& a, const CxImage& b)
{
    EXPECT_EQ(a.GetBpp(), b.GetBpp());
    EXPECT_TRUE(SamePixels(a.Pixels(), b.Pixels()));
    EXPECT_EQ(a.GetPalette(), b.GetPalette());
    EXPECT_TRUE(SamePixels(a.AlphaMask(), b.AlphaMask()));
    EXPECT_TRUE(SamePixels(a.SelectionMask(), b.SelectionMask()));
    EXPECT_EQ(a.GetTransIndex(), b.GetTransIndex());
    EXPECT_EQ(a.GetTransColor(), b.GetTransColor());
    EXPECT_EQ(a.GetXDPI(), b.GetXDPI());
    EXPECT_EQ(a.GetYDPI(), b.GetYDPI());
    EXPECT_EQ(a.GetJpegQualityF(), b.GetJpegQualityF());
}

}  // namespace

TEST(CxImageDump, RoundTripKeepsEverything)
{
    const CxImage colour = Decorated();
    const std::vector<std::uint8_t> bytes = colour.Dump();
    ASSERT_EQ(bytes.size(), colour.DumpSize());
    CxImage back;
    ASSERT_EQ(back.UnDump(bytes.data(), bytes.size()), bytes.size());
    ExpectSame(back, colour);

    CxImage palette(9, 5, 4);
    palette.SetPalette({MakeRgbQuad(1, 2, 3), MakeRgbQuad(200, 100, 0)});
    palette.SetPixelIndex(8, 4, 1);
    palette.SetTransIndex(1);
    const std::vector<std::uint8_t> paletteBytes = palette.Dump();
    ASSERT_EQ(back.UnDump(paletteBytes.data(), paletteBytes.size()), paletteBytes.size());
    ExpectSame(back, palette);

    CxImage empty;
    EXPECT_EQ(empty.DumpSize(), 0u);
    EXPECT_TRUE(empty.Dump().empty());
}

TEST(CxImageDump, EveryTruncationAndDamageIsRefusedWithoutChange)
{
    const std::vector<std::uint8_t> bytes = Decorated().Dump();
    CxImage target(3, 2, 8);
    for (std::size_t size = 0; size < bytes.size(); ++size) {
        ASSERT_EQ(target.UnDump(bytes.data(), size), 0u) << "accepted " << size << " of " << bytes.size() << " bytes";
    }
    EXPECT_EQ(target.GetWidth(), 3);
    EXPECT_EQ(target.GetBpp(), 8);
    EXPECT_EQ(target.UnDump(nullptr, bytes.size()), 0u);

    // A flipped byte anywhere is caught: by the field checks or by the CRC.
    for (std::size_t at = 0; at < bytes.size(); at += 3) {
        std::vector<std::uint8_t> damaged = bytes;
        damaged[at] ^= 0x5A;
        CxImage probe;
        EXPECT_EQ(probe.UnDump(damaged.data(), damaged.size()), 0u) << "damage at byte " << at << " went unnoticed";
    }

    std::vector<std::uint8_t> huge = bytes;
    const std::int32_t big = 1 << 30;
    std::memcpy(huge.data() + 16, &big, 4);
    EXPECT_EQ(target.UnDump(huge.data(), huge.size()), 0u);
}

TEST(CxImageDib, BottomUpPaddedRowsWithPalette)
{
    CxImage image(3, 2, 24);
    image.SetPixelColor(0, 0, MakeRgbQuad(1, 2, 3));   // top-left
    image.SetPixelColor(2, 1, MakeRgbQuad(4, 5, 6));   // bottom-right
    image.SetXDPI(200);
    const std::vector<std::uint8_t> dib = image.CopyToHandle();
    ASSERT_EQ(dib.size(), 40u + 2 * 12);  // 9 bytes a row padded to 12
    std::int32_t height = 0;
    std::memcpy(&height, dib.data() + 8, 4);
    EXPECT_EQ(height, 2);
    // The first stored row is the bottom one.
    EXPECT_EQ(dib[40 + 6], 6);
    EXPECT_EQ(dib[40 + 8], 4);
    EXPECT_EQ(dib[40 + 12], 3);
    EXPECT_EQ(dib[40 + 14], 1);

    CxImage back;
    ASSERT_TRUE(back.CreateFromHANDLE(dib.data(), dib.size()));
    EXPECT_TRUE(SamePixels(back.Pixels(), image.Pixels()));
    EXPECT_EQ(back.GetXDPI(), 200);

    for (int bpp : {1, 4, 8}) {
        CxImage indexed;
        ASSERT_TRUE(indexed.CreateFromMat(PatternImage(21, 5)));
        ASSERT_TRUE(indexed.DecreaseBpp(bpp, false));
        const std::vector<std::uint8_t> bits = indexed.CopyToHandle();
        EXPECT_EQ(bits.size(), indexed.GetSize());
        CxImage again;
        ASSERT_TRUE(again.CreateFromHANDLE(bits.data(), bits.size())) << bpp;
        EXPECT_EQ(again.GetBpp(), bpp);
        EXPECT_TRUE(SamePixels(again.Pixels(), indexed.Pixels())) << bpp;
        EXPECT_EQ(again.GetPalette(), indexed.GetPalette());
    }
}

TEST(CxImageDib, MalformedBitmapsAreRefused)
{
    CxImage image(4, 4, 8);
    std::vector<std::uint8_t> dib = image.CopyToHandle();
    CxImage target(2, 2, 24);
    for (std::size_t size : {std::size_t(0), std::size_t(39), dib.size() - 1})
        EXPECT_FALSE(target.CreateFromHANDLE(dib.data(), size));
    std::vector<std::uint8_t> lying = dib;
    const std::int32_t width = 100000;
    std::memcpy(lying.data() + 4, &width, 4);
    EXPECT_FALSE(target.CreateFromHANDLE(lying.data(), lying.size()));
    std::vector<std::uint8_t> negative = dib;
    const std::int32_t lowest = INT32_MIN;
    std::memcpy(negative.data() + 8, &lowest, 4);
    EXPECT_FALSE(target.CreateFromHANDLE(negative.data(), negative.size()));
    std::vector<std::uint8_t> compressed = dib;
    compressed[16] = 1;  // run-length
    EXPECT_FALSE(target.CreateFromHANDLE(compressed.data(), compressed.size()));
    EXPECT_EQ(target.GetWidth(), 2);

    // An absurd resolution reads as unknown, so the picture still serialises and reads back.
    std::vector<std::uint8_t> dense = dib;
    const std::int32_t pelsPerMetre = 0x7FFFFFFF;
    std::memcpy(dense.data() + 24, &pelsPerMetre, 4);
    ASSERT_TRUE(target.CreateFromHANDLE(dense.data(), dense.size()));
    EXPECT_EQ(target.GetXDPI(), 0);
    const std::vector<std::uint8_t> dumped = target.Dump();
    CxImage again;
    EXPECT_EQ(again.UnDump(dumped.data(), dumped.size()), dumped.size());

    // Rows stored top row first (negative height) are read as well.
    std::vector<std::uint8_t> topDown = dib;
    const std::int32_t up = -4;
    std::memcpy(topDown.data() + 8, &up, 4);
    EXPECT_TRUE(target.CreateFromHANDLE(topDown.data(), topDown.size()));
}
