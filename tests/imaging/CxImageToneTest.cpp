#include "CxImage.h"
#include "ImageCompare.h"

#include <gtest/gtest.h>
#include <opencv2/imgproc.hpp>

using vestrel::CxImage;
using vestrel::MakeRgbQuad;
using vestrel::PixelRect;
using vestrel::RGBQUAD;
using vestrel::testkit::MaxAbsDiff;
using vestrel::testkit::PatternImage;
using vestrel::testkit::SamePixels;

namespace {

CxImage Filled(RGBQUAD colour, int width = 8, int height = 8)
{
    CxImage image(width, height, 24);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) image.SetPixelColor(x, y, colour);
    return image;
}

CxImage Pattern()
{
    CxImage image;
    image.CreateFromMat(PatternImage(48, 32));
    return image;
}

}  // namespace

TEST(CxImageTone, LightAddsBrightnessAndStretchesContrastWithClamping)
{
    CxImage image = Filled(MakeRgbQuad(250, 128, 5));
    ASSERT_TRUE(image.Light(10, 0));
    EXPECT_EQ(image.GetPixelColor(0, 0), MakeRgbQuad(255, 138, 15, 255));
    CxImage contrast = Filled(MakeRgbQuad(228, 128, 28));
    ASSERT_TRUE(contrast.Light(0, 50));
    EXPECT_EQ(contrast.GetPixelColor(0, 0), MakeRgbQuad(255, 128, 0, 255));
    ASSERT_TRUE(contrast.Light(0, -100));
    EXPECT_EQ(contrast.GetPixelColor(0, 0), MakeRgbQuad(128, 128, 128, 255));
}

TEST(CxImageTone, OperationsStayInsideTheSelection)
{
    CxImage image = Pattern();
    const cv::Mat before = image.ToBgr().clone();
    ASSERT_TRUE(image.SelectionAddRect(PixelRect{10, 10, 20, 20}));
    const long blur[9] = {1, 1, 1, 1, 1, 1, 1, 1, 1};
    ASSERT_TRUE(image.Negative());
    ASSERT_TRUE(image.Filter(blur, 3, 9, 0));
    ASSERT_TRUE(image.Saturate(25, 2));
    const cv::Mat after = image.ToBgr();
    cv::Mat outside(before.size(), CV_8UC1, cv::Scalar(255));
    outside(cv::Rect(10, 10, 10, 10)).setTo(cv::Scalar(0));
    cv::Mat a, b;
    before.copyTo(a, outside);
    after.copyTo(b, outside);
    EXPECT_TRUE(SamePixels(a, b));
    EXPECT_GT(MaxAbsDiff(before(cv::Rect(10, 10, 10, 10)), after(cv::Rect(10, 10, 10, 10))), 50);
}

TEST(CxImageTone, GreyAndPalettePicturesKeepTheirDepth)
{
    CxImage grey;
    grey.CreateFromMat(PatternImage(16, 16, CV_8UC1));
    const cv::Mat greyBefore = grey.ToGrey().clone();
    ASSERT_TRUE(grey.Light(20, 0));
    EXPECT_EQ(grey.GetBpp(), 8);
    EXPECT_TRUE(grey.IsGrayScale());
    cv::Mat expected;
    greyBefore.convertTo(expected, CV_8U, 1, 20);
    EXPECT_TRUE(SamePixels(grey.ToGrey(), expected));
    ASSERT_TRUE(grey.Saturate(25, 2));  // grey has no saturation to change
    EXPECT_TRUE(SamePixels(grey.ToGrey(), expected));

    CxImage bilevel(8, 8, 1);
    bilevel.SetPixelIndex(3, 3, 1);
    ASSERT_TRUE(bilevel.Negative());
    EXPECT_EQ(bilevel.GetBpp(), 1);
    EXPECT_EQ(bilevel.GetPixelColor(3, 3), MakeRgbQuad(0, 0, 0, 255));
    EXPECT_EQ(bilevel.GetPixelColor(0, 0), MakeRgbQuad(255, 255, 255, 255));
    ASSERT_TRUE(bilevel.GrayScale());  // already grey: stays one bit
    EXPECT_EQ(bilevel.GetBpp(), 1);
}

TEST(CxImageTone, GrayScaleThresholdAndDepthChanges)
{
    CxImage image = Filled(MakeRgbQuad(200, 100, 50), 4, 2);
    image.SetPixelColor(0, 0, MakeRgbQuad(10, 10, 10));
    ASSERT_TRUE(image.GrayScale());
    EXPECT_EQ(image.GetBpp(), 8);
    EXPECT_EQ(image.GetPixelIndex(1, 1), (200 * 299 + 100 * 587 + 50 * 114 + 500) / 1000);
    EXPECT_TRUE(image.IsGrayScale());

    ASSERT_TRUE(image.Threshold(100));
    EXPECT_EQ(image.GetBpp(), 1);
    EXPECT_EQ(image.GetPixelIndex(0, 0), 0);
    EXPECT_EQ(image.GetPixelIndex(1, 1), 1);

    CxImage colour = Pattern();
    const cv::Mat original = colour.ToBgr().clone();
    ASSERT_TRUE(colour.DecreaseBpp(8, false));
    EXPECT_EQ(colour.GetBpp(), 8);
    EXPECT_LE(MaxAbsDiff(colour.ToBgr(), original), 40);  // a 6x6x6 cube is at most 25 away a channel, greys closer
    ASSERT_TRUE(colour.IncreaseBpp(24));
    EXPECT_EQ(colour.GetBpp(), 24);
    EXPECT_FALSE(colour.DecreaseBpp(3, false));
    CxImage dithered = Pattern();
    ASSERT_TRUE(dithered.DecreaseBpp(1, true));
    EXPECT_EQ(dithered.GetBpp(), 1);
}

TEST(CxImageTone, GammaColorizeSolarizeShift)
{
    CxImage image = Filled(MakeRgbQuad(64, 128, 255));
    ASSERT_TRUE(image.Gamma(2.0f));
    EXPECT_EQ(image.GetPixelColor(0, 0), MakeRgbQuad(128, 181, 255, 255));
    EXPECT_FALSE(image.Gamma(0.0f));
    ASSERT_TRUE(image.GammaRGB(1.0f, 1.0f, 0.5f));
    EXPECT_EQ(image.GetPixelColor(0, 0).rgbBlue, 255);
    EXPECT_EQ(image.GetPixelColor(0, 0).rgbRed, 128);

    CxImage shifted = Filled(MakeRgbQuad(100, 100, 100));
    ASSERT_TRUE(shifted.ShiftRGB(50, 0, -150));
    EXPECT_EQ(shifted.GetPixelColor(0, 0), MakeRgbQuad(150, 100, 0, 255));

    CxImage bright = Filled(MakeRgbQuad(240, 10, 250));
    ASSERT_TRUE(bright.Solarize(128, false));
    EXPECT_EQ(bright.GetPixelColor(0, 0), MakeRgbQuad(15, 10, 5, 255));

    CxImage tinted = Filled(MakeRgbQuad(128, 128, 128));
    ASSERT_TRUE(tinted.Colorize(0, 255, 1.0f));  // hue 0 is red
    const RGBQUAD c = tinted.GetPixelColor(0, 0);
    EXPECT_GT(c.rgbRed, 200);
    EXPECT_LT(c.rgbGreen, 10);
}

TEST(CxImageTone, HslConversionsRoundTrip)
{
    for (const RGBQUAD colour : {MakeRgbQuad(255, 0, 0), MakeRgbQuad(12, 200, 90), MakeRgbQuad(30, 30, 30),
                                 MakeRgbQuad(250, 240, 10)}) {
        const RGBQUAD back = CxImage::HSLtoRGB(CxImage::RGBtoHSL(colour));
        EXPECT_NEAR(back.rgbRed, colour.rgbRed, 3);
        EXPECT_NEAR(back.rgbGreen, colour.rgbGreen, 3);
        EXPECT_NEAR(back.rgbBlue, colour.rgbBlue, 3);
    }
    EXPECT_EQ(CxImage::RGBtoHSL(MakeRgbQuad(255, 0, 0)).rgbRed, 0);
    EXPECT_EQ(CxImage::RGBtoHSL(MakeRgbQuad(0, 0, 255)).rgbRed, 170);
    EXPECT_EQ(CxImage::RGBQUADtoRGB(MakeRgbQuad(1, 2, 3)), 0x030201u);
    EXPECT_EQ(CxImage::RGBtoRGBQUAD(0xFEFFFF), MakeRgbQuad(255, 255, 254));
}

TEST(CxImageFilters, KernelDivisorAndOffsetAreApplied)
{
    CxImage flat = Filled(MakeRgbQuad(100, 100, 100));
    const long edge[9] = {-1, -1, -1, -1, 8, -1, -1, -1, -1};
    ASSERT_TRUE(flat.Filter(edge, 3, -1, 255));  // no edges: all white
    EXPECT_EQ(flat.GetPixelColor(4, 4), MakeRgbQuad(255, 255, 255, 255));
    const long sharpen[9] = {-1, -1, -1, -1, 15, -1, -1, -1, -1};
    CxImage even = Filled(MakeRgbQuad(70, 70, 70));
    ASSERT_TRUE(even.Filter(sharpen, 3, 7, 0));  // weights sum to divisor: flat areas unchanged
    EXPECT_EQ(even.GetPixelColor(4, 4), MakeRgbQuad(70, 70, 70, 255));
    EXPECT_FALSE(even.Filter(sharpen, 2, 1, 0));
    EXPECT_FALSE(even.Filter(nullptr, 3, 1, 0));

    CxImage dot = Filled(MakeRgbQuad(0, 0, 0), 9, 9);
    dot.SetPixelColor(4, 4, MakeRgbQuad(255, 255, 255));
    CxImage grown(dot);
    ASSERT_TRUE(grown.Dilate(3));
    EXPECT_EQ(grown.GetPixelColor(3, 3).rgbRed, 255);
    EXPECT_EQ(grown.GetPixelColor(2, 2).rgbRed, 0);
    ASSERT_TRUE(grown.Erode(3));
    EXPECT_TRUE(SamePixels(grown.ToBgr(), dot.ToBgr()));
    ASSERT_TRUE(dot.GaussianBlur(1.0f));
    EXPECT_GT(dot.GetPixelColor(3, 4).rgbRed, 0);
    EXPECT_LT(dot.GetPixelColor(4, 4).rgbRed, 255);
}

TEST(CxImageFilters, RedEyeTouchesOnlyRedPixels)
{
    CxImage image = Filled(MakeRgbQuad(200, 40, 40), 4, 1);
    image.SetPixelColor(1, 0, MakeRgbQuad(200, 180, 170));
    ASSERT_TRUE(image.RedEyeRemove(0.8f));
    EXPECT_EQ(image.GetPixelColor(0, 0), MakeRgbQuad(72, 40, 40, 255));
    EXPECT_EQ(image.GetPixelColor(1, 0), MakeRgbQuad(200, 180, 170, 255));
}

TEST(CxImageColour, SplitAndCombineAreInverse)
{
    CxImage image = Pattern();
    CxImage r, g, b;
    ASSERT_TRUE(image.SplitRGB(&r, &g, &b));
    EXPECT_EQ(r.GetBpp(), 8);
    CxImage joined;
    ASSERT_TRUE(joined.Combine(&r, &g, &b));
    EXPECT_TRUE(SamePixels(joined.ToBgr(), image.ToBgr()));
    CxImage small(3, 3, 8);
    EXPECT_FALSE(joined.Combine(&r, &g, &small));
}

TEST(CxImageTone, Threshold2PaintsTheDarkOrBrightSideWithTheBackground)
{
    CxImage image(2, 1, 24);
    image.SetPixelColor(0, 0, MakeRgbQuad(20, 20, 20));
    image.SetPixelColor(1, 0, MakeRgbQuad(220, 220, 220));
    CxImage bright(image);
    ASSERT_TRUE(image.Threshold2(128, true, MakeRgbQuad(0, 0, 255), true));
    EXPECT_EQ(image.GetPixelColor(0, 0), MakeRgbQuad(0, 0, 255, 0));
    EXPECT_EQ(image.GetPixelColor(1, 0), MakeRgbQuad(220, 220, 220, 255));
    ASSERT_TRUE(bright.Threshold2(128, false, MakeRgbQuad(0, 0, 255)));
    EXPECT_EQ(bright.GetPixelColor(0, 0), MakeRgbQuad(20, 20, 20, 255));
    EXPECT_EQ(bright.GetPixelColor(1, 0), MakeRgbQuad(0, 0, 255, 255));
}

TEST(CxImageTone, PalettePicturesChangeTheirPaletteAndCarryTransparency)
{
    CxImage image(4, 4, 4);
    image.SetPalette({MakeRgbQuad(100, 0, 0), MakeRgbQuad(0, 100, 0)});
    image.SetPixelIndex(1, 1, 1);
    image.SetTransIndex(1);
    ASSERT_TRUE(image.Light(20, 0));
    EXPECT_EQ(image.GetBpp(), 4);
    EXPECT_EQ(image.GetPixelColor(1, 1), MakeRgbQuad(20, 120, 20, 255));
    ASSERT_TRUE(image.IncreaseBpp(24));
    EXPECT_TRUE(image.IsTransparent());
    EXPECT_EQ(image.GetTransColor(), MakeRgbQuad(20, 120, 20));
    EXPECT_TRUE(image.IsTransparentAt(1, 1));
    EXPECT_FALSE(image.IsTransparentAt(0, 0));

    const std::vector<RGBQUAD> mine{MakeRgbQuad(0, 0, 0), MakeRgbQuad(20, 120, 20), MakeRgbQuad(120, 20, 20)};
    ASSERT_TRUE(image.DecreaseBpp(4, false, &mine));
    EXPECT_EQ(image.GetNumColors(), 16);
    EXPECT_EQ(image.GetPixelIndex(1, 1), 1);
    EXPECT_EQ(image.GetPixelIndex(0, 0), 2);
    EXPECT_EQ(image.GetTransIndex(), 1);
}

namespace {

// The 1-bit reduction as it has always been defined: each pixel's colour, expanded through
// the palette, becomes whichever of black and white is nearer.
cv::Mat NearestBlackOrWhite(const CxImage& image)
{
    const cv::Mat bgr = image.ToBgr();
    cv::Mat bits(bgr.size(), CV_8UC1);
    for (int y = 0; y < bgr.rows; ++y)
        for (int x = 0; x < bgr.cols; ++x) {
            const cv::Vec3b c = bgr.at<cv::Vec3b>(y, x);
            int toBlack = 0, toWhite = 0;
            for (int k = 0; k < 3; ++k) {
                toBlack += c[k] * c[k];
                toWhite += (255 - c[k]) * (255 - c[k]);
            }
            bits.at<std::uint8_t>(y, x) = toWhite < toBlack ? 1 : 0;
        }
    return bits;
}

// Every grey level, then noise, as an 8-bit grey picture.
cv::Mat GreyLevels()
{
    cv::Mat grey(64, 96, CV_8UC1);
    for (int i = 0; i < 256; ++i) grey.at<std::uint8_t>(i / 96, i % 96) = std::uint8_t(i);
    cv::Mat rest = grey.rowRange(3, grey.rows);
    cv::RNG(7).fill(rest, cv::RNG::UNIFORM, 0, 256);
    return grey;
}

}  // namespace

TEST(CxImageTone, OneBitReductionPicksTheNearerOfBlackAndWhite)
{
    CxImage grey;
    ASSERT_TRUE(grey.CreateFromMat(GreyLevels()));
    const cv::Mat expected = NearestBlackOrWhite(grey);
    ASSERT_TRUE(grey.DecreaseBpp(1, false));
    EXPECT_EQ(grey.GetBpp(), 1);
    EXPECT_EQ(grey.GetPaletteColor(0), MakeRgbQuad(0, 0, 0));
    EXPECT_EQ(grey.GetPaletteColor(1), MakeRgbQuad(255, 255, 255));
    EXPECT_TRUE(SamePixels(grey.Pixels(), expected));
    EXPECT_EQ(grey.GetPixelIndex(127 - 96, 1), 0) << "level 127 is nearer black";
    EXPECT_EQ(grey.GetPixelIndex(128 - 96, 1), 1) << "level 128 is nearer white";

    // A plane another picture still shares (a copy, a view handed out) is left as it was.
    CxImage shared;
    ASSERT_TRUE(shared.CreateFromMat(GreyLevels()));
    const cv::Mat view = shared.Pixels();
    const cv::Mat before = view.clone();
    ASSERT_TRUE(shared.DecreaseBpp(1, false));
    EXPECT_TRUE(SamePixels(view, before)) << "the shared plane was overwritten";
    EXPECT_TRUE(SamePixels(shared.Pixels(), expected));

    // A grey palette that is not the plain ramp (here reversed) is read through its colours.
    CxImage reversed;
    ASSERT_TRUE(reversed.CreateFromMat(GreyLevels()));
    std::vector<RGBQUAD> reversedRamp;
    for (int i = 0; i < 256; ++i) reversedRamp.push_back(MakeRgbQuad(255 - i, 255 - i, 255 - i));
    ASSERT_TRUE(reversed.SetPalette(reversedRamp));
    const cv::Mat reversedExpected = NearestBlackOrWhite(reversed);
    ASSERT_TRUE(reversed.DecreaseBpp(1, false));
    EXPECT_TRUE(SamePixels(reversed.Pixels(), reversedExpected));
    EXPECT_EQ(reversed.GetPixelIndex(0, 0), 1) << "index 0 shows white";

    // The transparent level keeps its meaning: it becomes the entry nearest its colour.
    CxImage keyed;
    ASSERT_TRUE(keyed.CreateFromMat(GreyLevels()));
    keyed.SetTransIndex(200);
    ASSERT_TRUE(keyed.DecreaseBpp(1, false));
    EXPECT_EQ(keyed.GetTransIndex(), 1);
}
