#include "CxImage.h"
#include "ImageCompare.h"

#include <gtest/gtest.h>
#include <opencv2/imgproc.hpp>

using vestrel::CxImage;
using vestrel::MakeRgbQuad;
using vestrel::RGBQUAD;
using vestrel::testkit::PatternImage;
using vestrel::testkit::SamePixels;

namespace {

CxImage FromMat(const cv::Mat& m)
{
    CxImage image;
    EXPECT_TRUE(image.CreateFromMat(m));
    return image;
}

}  // namespace

TEST(CxImageLife, CreateCopyAndDestroy)
{
    CxImage image(7, 5, 24);
    ASSERT_TRUE(image.IsValid());
    EXPECT_EQ(image.GetWidth(), 7);
    EXPECT_EQ(image.GetHeight(), 5);
    EXPECT_EQ(image.GetBpp(), 24);
    EXPECT_EQ(image.GetPixelColor(3, 3), MakeRgbQuad(0, 0, 0, 255));

    image.SetPixelColor(1, 2, MakeRgbQuad(10, 20, 30));
    image.SelectionAddRect({0, 0, 2, 2});
    image.AlphaCreate();
    CxImage copy(image, true, false, true);
    image.SetPixelColor(1, 2, MakeRgbQuad(99, 99, 99));  // a deep copy: the copy keeps its pixel
    EXPECT_EQ(copy.GetPixelColor(1, 2), MakeRgbQuad(10, 20, 30, 255));
    EXPECT_FALSE(copy.SelectionIsValid());
    EXPECT_TRUE(copy.AlphaIsValid());

    CxImage assigned;
    assigned = image;
    EXPECT_TRUE(assigned.SelectionIsValid());
    image.Destroy();
    EXPECT_FALSE(image.IsValid());
    EXPECT_TRUE(assigned.IsValid());
}

TEST(CxImageLife, RefusesImpossibleSizesAndDepthsWithoutChange)
{
    CxImage image(3, 3, 8);
    EXPECT_FALSE(image.Create(100000, 100000, 24));
    EXPECT_FALSE(image.Create(0, 5, 24));
    EXPECT_FALSE(image.Create(5, 5, 16));
    EXPECT_FALSE(image.GetLastError().empty());
    EXPECT_EQ(image.GetWidth(), 3);
    EXPECT_EQ(image.GetBpp(), 8);
}

TEST(CxImageLife, ClearFillsWithOneByteCutToThePaletteDepth)
{
    CxImage grey(4, 4, 24);
    ASSERT_TRUE(grey.Clear(0x80));
    EXPECT_EQ(grey.GetPixelColor(2, 2), MakeRgbQuad(0x80, 0x80, 0x80, 255));
    CxImage bilevel(4, 4, 1);
    ASSERT_TRUE(bilevel.Clear(0xFF));
    EXPECT_EQ(bilevel.GetPixelIndex(3, 3), 1);
    EXPECT_EQ(bilevel.GetPixelColor(3, 3), MakeRgbQuad(255, 255, 255, 255));
}

TEST(CxImagePixels, CreateFromArrayReadsPackedAndBottomUpRows)
{
    // Two rows of 10 one-bit pixels, rows padded to 4 bytes, bottom row first.
    const std::uint8_t packed[8] = {0b10000000, 0b01000000, 0, 0,   // bottom row: x 0 and x 9
                                    0b00000001, 0, 0, 0};           // top row: x 7
    CxImage image;
    ASSERT_TRUE(image.CreateFromArray(packed, 10, 2, 1, 4, true));
    EXPECT_EQ(image.GetBpp(), 1);
    EXPECT_EQ(image.GetPixelIndex(7, 0), 1);
    EXPECT_EQ(image.GetPixelIndex(0, 1), 1);
    EXPECT_EQ(image.GetPixelIndex(9, 1), 1);
    EXPECT_EQ(image.GetPixelIndex(8, 1), 0);
    EXPECT_EQ(image.GetPixelIndex(0, 0), 0);

    const std::uint8_t bgra[8] = {1, 2, 3, 40, 5, 6, 7, 80};
    ASSERT_TRUE(image.CreateFromArray(bgra, 2, 1, 32, 8, false));
    EXPECT_EQ(image.GetBpp(), 24);
    ASSERT_TRUE(image.AlphaIsValid());
    EXPECT_EQ(image.GetPixelColor(1, 0), MakeRgbQuad(7, 6, 5, 80));

    EXPECT_FALSE(image.CreateFromArray(bgra, 3, 1, 32, 8, false));  // rows shorter than the width
    EXPECT_EQ(image.GetWidth(), 2);
}

TEST(CxImagePixels, PalettePicturesSetTheNearestEntryAndReportSizes)
{
    CxImage image(10, 3, 4);
    EXPECT_EQ(image.GetNumColors(), 16);
    EXPECT_EQ(image.GetPaletteSize(), 64u);
    image.SetPixelColor(2, 1, MakeRgbQuad(250, 240, 255));
    EXPECT_EQ(image.GetPixelIndex(2, 1), 15);
    image.SetPixelColor(-1, 1, MakeRgbQuad(250, 240, 255));  // outside: ignored
    // 40-byte header + 16 entries + 3 rows of 5 bytes padded to 8.
    EXPECT_EQ(image.GetSize(), 40u + 64u + 24u);
    ASSERT_NE(image.GetBits(2), nullptr);
    EXPECT_EQ(image.GetBits(3), nullptr);
}

TEST(CxImageMat, HandsOverTopRowFirstAndExpandsPalettes)
{
    const cv::Mat bgr = PatternImage(31, 17);
    CxImage image = FromMat(bgr);
    EXPECT_TRUE(SamePixels(image.ToBgr(), bgr));
    const cv::Vec3b top = bgr.at<cv::Vec3b>(0, 5);
    EXPECT_EQ(image.GetPixelColor(5, 0), MakeRgbQuad(top[2], top[1], top[0], 255));

    CxImage adopted;
    cv::Mat shared = bgr.clone();
    ASSERT_TRUE(adopted.AdoptMat(shared));
    EXPECT_EQ(adopted.Pixels().data, shared.data);  // no copy

    const cv::Mat grey = PatternImage(31, 17, CV_8UC1);
    CxImage greyImage = FromMat(grey);
    EXPECT_EQ(greyImage.GetBpp(), 8);
    EXPECT_TRUE(greyImage.IsGrayScale());
    EXPECT_TRUE(SamePixels(greyImage.ToGrey(), grey));

    CxImage palette(2, 1, 1);
    palette.SetPalette({MakeRgbQuad(255, 0, 0), MakeRgbQuad(0, 0, 255)});
    palette.SetPixelIndex(1, 0, 1);
    const cv::Mat expanded = palette.ToBgr();
    EXPECT_EQ(expanded.at<cv::Vec3b>(0, 0), cv::Vec3b(0, 0, 255));
    EXPECT_EQ(expanded.at<cv::Vec3b>(0, 1), cv::Vec3b(255, 0, 0));

    CxImage wrong;
    EXPECT_FALSE(wrong.CreateFromMat(cv::Mat(3, 3, CV_16UC1)));
}
