#include "CxImage.h"

#include <gtest/gtest.h>
#include <opencv2/core.hpp>

using vestrel::CxImage;
using vestrel::MakeRgbQuad;
using vestrel::PixelPoint;
using vestrel::PixelRect;
using vestrel::RGBQUAD;

TEST(CxImageSelection, RectanglesAddUpAndGiveTheirBox)
{
    CxImage image(50, 40, 24);
    EXPECT_FALSE(image.SelectionIsValid());
    PixelRect box;
    EXPECT_FALSE(image.SelectionGetBox(box));
    ASSERT_TRUE(image.SelectionAddRect({5, 6, 15, 16}));
    ASSERT_TRUE(image.SelectionAddRect({30, 2, 60, 8}));  // cut to the picture
    ASSERT_TRUE(image.SelectionGetBox(box));
    EXPECT_EQ(box, (PixelRect{5, 2, 50, 16}));
    EXPECT_TRUE(image.SelectionIsInside(5, 6));
    EXPECT_TRUE(image.SelectionIsInside(14, 15));
    EXPECT_FALSE(image.SelectionIsInside(15, 15));  // right and bottom are exclusive
    EXPECT_FALSE(image.SelectionIsInside(20, 10));
    EXPECT_FALSE(image.SelectionIsInside(-1, 10));
    EXPECT_FALSE(image.SelectionAddRect({60, 60, 70, 70}));

    ASSERT_TRUE(image.SelectionClear());
    EXPECT_FALSE(image.SelectionIsValid());  // a cleared mask selects nothing
    EXPECT_FALSE(image.SelectionIsInside(5, 6));
    ASSERT_TRUE(image.SelectionAddRect({1, 1, 2, 2}));
    ASSERT_TRUE(image.SelectionDelete());
    EXPECT_TRUE(image.SelectionMask().empty());
}

TEST(CxImageSelection, PolygonsIncludeTheirOutline)
{
    CxImage image(40, 40, 8);
    const std::vector<PixelPoint> triangle{{10, 10}, {30, 10}, {10, 30}};
    ASSERT_TRUE(image.SelectionAddPolygon(triangle));
    PixelRect box;
    ASSERT_TRUE(image.SelectionGetBox(box));
    EXPECT_EQ(box, (PixelRect{10, 10, 31, 31}));
    EXPECT_TRUE(image.SelectionIsInside(12, 12));
    EXPECT_TRUE(image.SelectionIsInside(30, 10));
    EXPECT_FALSE(image.SelectionIsInside(28, 28));  // beyond the slanted side
    EXPECT_FALSE(image.SelectionAddPolygon(triangle.data(), 2));
    const std::vector<PixelPoint> wild{{-2000000000, 5}, {2000000000, 5}, {5, 2000000000}};
    EXPECT_TRUE(image.SelectionAddPolygon(wild));  // hostile points do not crash
}

TEST(CxImageTransparency, IndexAndColourSemantics)
{
    CxImage image(4, 4, 24);
    EXPECT_FALSE(image.IsTransparent());
    image.SetTransColor(MakeRgbQuad(255, 255, 255));
    EXPECT_TRUE(image.IsTransparent());
    EXPECT_EQ(image.GetTransColor(), MakeRgbQuad(255, 255, 255));
    image.SetPixelColor(1, 1, MakeRgbQuad(255, 255, 255));
    EXPECT_TRUE(image.IsTransparentAt(1, 1));
    EXPECT_FALSE(image.IsTransparentAt(0, 0));
    image.SetTransIndex(-1);
    EXPECT_FALSE(image.IsTransparent());
    EXPECT_FALSE(image.IsTransparentAt(1, 1));

    image.SetTransColor(MakeRgbQuad(255, 255, 255));
    image.AlphaSet(2, 2, 77);
    const cv::Mat bgra = image.ToBgra();
    EXPECT_EQ(bgra.at<cv::Vec4b>(1, 1)[3], 0);
    EXPECT_EQ(bgra.at<cv::Vec4b>(2, 2)[3], 77);
    EXPECT_EQ(bgra.at<cv::Vec4b>(0, 0)[3], 255);

    CxImage palette(4, 4, 1);
    palette.SetTransColor(MakeRgbQuad(255, 255, 255));
    EXPECT_EQ(palette.GetTransIndex(), 1);
    palette.SetTransIndex(5);  // beyond the palette: refused
    EXPECT_EQ(palette.GetTransIndex(), -1);
}

TEST(CxImageMix, TransparentPixelsOfThePasteAreSkipped)
{
    CxImage base(10, 10, 24);
    base.Clear(0);
    CxImage mark(3, 3, 24);
    mark.Clear(255);
    mark.SetPixelColor(1, 1, MakeRgbQuad(200, 0, 0));
    mark.SetTransColor(MakeRgbQuad(255, 255, 255));
    ASSERT_TRUE(base.MixFrom(mark, 4, 5));
    EXPECT_EQ(base.GetPixelColor(5, 6), MakeRgbQuad(200, 0, 0, 255));
    EXPECT_EQ(base.GetPixelColor(4, 5), MakeRgbQuad(0, 0, 0, 255));  // white was transparent

    // Alpha: 0 skipped, 255 copied, between blended; parts outside are cut off.
    CxImage soft(2, 1, 24);
    soft.Clear(255);
    soft.AlphaCreate();
    soft.AlphaSet(0, 0, 0);
    soft.AlphaSet(1, 0, 128);
    ASSERT_TRUE(base.MixFrom(soft, 8, 0));
    EXPECT_EQ(base.GetPixelColor(8, 0), MakeRgbQuad(0, 0, 0, 255));
    EXPECT_EQ(base.GetPixelColor(9, 0).rgbRed, 128);
    ASSERT_TRUE(base.MixFrom(mark, -2, -2));
    EXPECT_EQ(base.GetPixelColor(0, 0), MakeRgbQuad(0, 0, 0, 255));
    ASSERT_TRUE(base.MixFrom(mark, 100, 100));

    // A palette base takes the nearest palette colour.
    CxImage bilevel(5, 5, 1);
    CxImage plain(2, 2, 24);
    plain.Clear(250);
    ASSERT_TRUE(bilevel.MixFrom(plain, 1, 1));
    EXPECT_EQ(bilevel.GetPixelIndex(2, 2), 1);
    EXPECT_EQ(bilevel.GetPixelIndex(0, 0), 0);
}
