// The processing preview: the tone steps for the background strength and the threshold,
// checked against the arithmetic of Light on single pixels.

#include "CxImage.h"
#include "ProcessingPreview.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace vestrel {
namespace {

// Light(brightness, contrast) on one channel value, as CxImage documents it.
int Lit(int c, int brightness, int contrast)
{
    const double v = (c - 128) * (100.0 + contrast) / 100.0 + 128 + brightness;
    return std::clamp(int(std::lround(v)), 0, 255);
}

CxImage Colour(int b, int g, int r)
{
    CxImage image;
    image.CreateFromMat(cv::Mat(4, 6, CV_8UC3, cv::Scalar(b, g, r)));
    return image;
}

TEST(ProcessingPreview, StrengthRaisesContrastBrightnessAndContrast)
{
    for (int s : {1, 3, 5}) {
        CxImage image = Colour(40, 128, 200);
        ASSERT_TRUE(ApplyProcessingPreview(image, -1, s));
        const int k = 5 * s;
        const cv::Vec3b px = image.Pixels().at<cv::Vec3b>(2, 3);
        EXPECT_EQ(px[0], Lit(Lit(Lit(40, 0, k), k, 0), 0, k)) << "strength " << s;
        EXPECT_EQ(px[1], Lit(Lit(Lit(128, 0, k), k, 0), 0, k)) << "strength " << s;
        EXPECT_EQ(px[2], Lit(Lit(Lit(200, 0, k), k, 0), 0, k)) << "strength " << s;
    }
}

TEST(ProcessingPreview, NothingChosenLeavesThePicture)
{
    CxImage image = Colour(40, 128, 200);
    ASSERT_TRUE(ApplyProcessingPreview(image, -1, 0));
    EXPECT_EQ(image.GetBpp(), 24);
    EXPECT_EQ(image.Pixels().at<cv::Vec3b>(0, 0), cv::Vec3b(40, 128, 200));
    CxImage none;
    EXPECT_FALSE(ApplyProcessingPreview(none, 100, 3));
}

TEST(ProcessingPreview, ThresholdMakesBlackAndWhiteAfterTheTones)
{
    // Luminance of (b 90, g 90, r 90) is 90: black at threshold 95 ...
    CxImage dark = Colour(90, 90, 90);
    ASSERT_TRUE(ApplyProcessingPreview(dark, 95, 0));
    EXPECT_EQ(dark.GetBpp(), 1);
    EXPECT_EQ(dark.GetPixelColor(1, 1).rgbGreen, 0);
    // ... but the strength brightens it above 95 first: 90 -> 81 -> 106 -> 101 at s = 5.
    CxImage brightened = Colour(90, 90, 90);
    ASSERT_TRUE(ApplyProcessingPreview(brightened, 95, 5));
    EXPECT_EQ(brightened.GetPixelColor(1, 1).rgbGreen, 255);
}

}  // namespace
}  // namespace vestrel
