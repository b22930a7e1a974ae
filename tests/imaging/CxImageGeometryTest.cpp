#include "CxImage.h"
#include "ImageCompare.h"

#include <gtest/gtest.h>
#include <opencv2/imgproc.hpp>

using vestrel::CxImage;
using vestrel::MakeRgbQuad;
using vestrel::PixelRect;
using vestrel::RGBQUAD;
using vestrel::testkit::PatternImage;
using vestrel::testkit::SamePixels;

namespace {

const RGBQUAD kRed = MakeRgbQuad(255, 0, 0, 255);

// A white picture with one red pixel near its top-left corner.
CxImage Marked(int width, int height)
{
    CxImage image(width, height, 24);
    image.Clear(255);
    image.SetPixelColor(1, 0, kRed);
    return image;
}

}  // namespace

TEST(CxImageGeometry, CropKeepsTheRectangleAndItsPlanes)
{
    CxImage image;
    ASSERT_TRUE(image.CreateFromMat(PatternImage(40, 30)));
    image.AlphaCreate();
    image.AlphaSet(12, 11, 7);
    const cv::Mat before = image.ToBgr().clone();
    CxImage part;
    ASSERT_TRUE(image.Crop(PixelRect{10, 5, 30, 25}, &part));
    EXPECT_EQ(image.GetWidth(), 40);  // a destination leaves the source alone
    EXPECT_TRUE(SamePixels(part.ToBgr(), before(cv::Rect(10, 5, 20, 20))));
    EXPECT_EQ(part.AlphaGet(2, 6), 7);

    ASSERT_TRUE(image.Crop(30, 20, 100, 100));  // cut to the picture
    EXPECT_EQ(image.GetWidth(), 10);
    EXPECT_EQ(image.GetHeight(), 10);
    EXPECT_FALSE(image.Crop(50, 50, 60, 60));
    EXPECT_FALSE(image.Crop(5, 5, 5, 9));
    EXPECT_EQ(image.GetWidth(), 10);
}

TEST(CxImageGeometry, RightAngleTurnsGoTheWayTheirNamesSay)
{
    CxImage left = Marked(6, 4);
    ASSERT_TRUE(left.RotateLeft());
    EXPECT_EQ(left.GetWidth(), 4);
    EXPECT_EQ(left.GetHeight(), 6);
    EXPECT_EQ(left.GetPixelColor(0, 4), kRed);  // top edge turns to the left edge, bottom up

    CxImage right = Marked(6, 4);
    ASSERT_TRUE(right.RotateRight());
    EXPECT_EQ(right.GetPixelColor(3, 1), kRed);  // top edge turns to the right edge

    CxImage half = Marked(6, 4);
    ASSERT_TRUE(half.Rotate180());
    EXPECT_EQ(half.GetPixelColor(4, 3), kRed);

    CxImage mirrored = Marked(6, 4);
    ASSERT_TRUE(mirrored.Mirror());
    EXPECT_EQ(mirrored.GetPixelColor(4, 0), kRed);
    ASSERT_TRUE(mirrored.Flip());
    EXPECT_EQ(mirrored.GetPixelColor(4, 3), kRed);
}

TEST(CxImageGeometry, Rotate2TurnsClockwiseAndTreatsRightAnglesExactly)
{
    CxImage exact = Marked(6, 4);
    ASSERT_TRUE(exact.Rotate2(90.0f));
    CxImage right = Marked(6, 4);
    right.RotateRight();
    EXPECT_TRUE(SamePixels(exact.ToBgr(), right.ToBgr()));
    CxImage minus = Marked(6, 4);
    ASSERT_TRUE(minus.Rotate2(-90.0f));
    EXPECT_EQ(minus.GetPixelColor(0, 4), kRed);

    // A small clockwise turn moves a point right of the centre downwards.
    CxImage wide(101, 101, 24);
    wide.Clear(255);
    for (int y = 49; y <= 51; ++y)
        for (int x = 90; x <= 92; ++x) wide.SetPixelColor(x, y, kRed);
    RGBQUAD grey = MakeRgbQuad(200, 200, 200, 200);
    ASSERT_TRUE(wide.Rotate2(10.0f, CxImage::IM_BILINEAR, CxImage::OM_BACKGROUND, &grey, true, true));
    EXPECT_EQ(wide.GetWidth(), 101);
    const double radians = 10.0 * CV_PI / 180.0;
    const int ex = int(std::lround(50 + 41 * std::cos(radians))), ey = int(std::lround(50 + 41 * std::sin(radians)));
    const RGBQUAD moved = wide.GetPixelColor(ex, ey);
    EXPECT_GT(moved.rgbRed, 200);
    EXPECT_LT(moved.rgbGreen, 100);
    EXPECT_EQ(wide.GetPixelColor(0, 0), MakeRgbQuad(200, 200, 200, 255));  // the corner took the fill colour
}

TEST(CxImageGeometry, Rotate2GrowsToHoldTheWholeTurnedPicture)
{
    CxImage image;
    ASSERT_TRUE(image.CreateFromMat(PatternImage(200, 100)));
    ASSERT_TRUE(image.Rotate2(3.0f));
    const double r = 3.0 * CV_PI / 180.0;
    EXPECT_EQ(image.GetWidth(), int(std::ceil(200 * std::cos(r) + 100 * std::sin(r) - 1e-6)));
    EXPECT_EQ(image.GetHeight(), int(std::ceil(200 * std::sin(r) + 100 * std::cos(r) - 1e-6)));
    EXPECT_FALSE(image.Rotate2(std::nanf("")));
}

TEST(CxImageGeometry, Rotate2KeepsPaletteIndicesWithNearestInterpolation)
{
    CxImage image(20, 20, 4);
    image.SetPalette({MakeRgbQuad(0, 0, 0), MakeRgbQuad(255, 0, 0), MakeRgbQuad(0, 0, 255)});
    image.Clear(1);
    ASSERT_TRUE(image.Rotate2(30.0f, CxImage::IM_NEAREST_NEIGHBOUR));
    EXPECT_EQ(image.GetBpp(), 4);
    CxImage smooth(20, 20, 4);
    smooth.SetPalette({MakeRgbQuad(0, 0, 0), MakeRgbQuad(255, 0, 0)});
    ASSERT_TRUE(smooth.Rotate2(30.0f, CxImage::IM_BILINEAR));
    EXPECT_EQ(smooth.GetBpp(), 24);  // blending needs real colours
}

TEST(CxImageGeometry, ResampleModes)
{
    CxImage image;
    ASSERT_TRUE(image.CreateFromMat(PatternImage(64, 48)));
    CxImage small;
    ASSERT_TRUE(image.Resample(16, 12, 1, &small));
    EXPECT_EQ(small.GetWidth(), 16);
    EXPECT_EQ(small.GetHeight(), 12);
    EXPECT_EQ(image.GetWidth(), 64);

    // Nearest takes source pixels as they are; averaging makes new values.
    CxImage checker(4, 4, 24);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x) checker.SetPixelColor(x, y, (x + y) % 2 ? MakeRgbQuad(255, 255, 255) : MakeRgbQuad(0, 0, 0));
    CxImage nearest, area;
    ASSERT_TRUE(checker.Resample(2, 2, 1, &nearest));
    ASSERT_TRUE(checker.Resample(2, 2, 3, &area));
    const int n = nearest.GetPixelColor(0, 0).rgbRed;
    EXPECT_TRUE(n == 0 || n == 255);
    EXPECT_NEAR(area.GetPixelColor(0, 0).rgbRed, 128, 1);

    CxImage bilevel(8, 8, 1);
    ASSERT_TRUE(bilevel.Resample(4, 4, 1));
    EXPECT_EQ(bilevel.GetBpp(), 1);
    EXPECT_FALSE(image.Resample(0, 10));
    EXPECT_FALSE(image.Resample(100000, 100000));
}
