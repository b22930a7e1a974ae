#include "FreeRotation.h"
#include "ResolutionSettings.h"
#include "ToneCorrections.h"

#include <gtest/gtest.h>

namespace vestrel::operations {
namespace {

TEST(AngleTextRule, DigitsAreTakenAnythingElseGoesBackToOne)
{
    EXPECT_EQ(CheckAngleText("45").angle, 45);
    EXPECT_TRUE(CheckAngleText("45").accepted);
    const AngleText empty = CheckAngleText("");
    EXPECT_TRUE(empty.accepted);
    EXPECT_EQ(empty.angle, 0);
    EXPECT_EQ(empty.text, "");
    for (const char* bad : {"-5", "4.5", "1a", " 3", "九"}) {
        const AngleText refused = CheckAngleText(bad);
        EXPECT_FALSE(refused.accepted) << bad;
        EXPECT_EQ(refused.text, "1") << bad;
        EXPECT_EQ(refused.angle, 1) << bad;
    }
    // A number too long for any integer turns the picture as its remainder of 360 does.
    EXPECT_EQ(CheckAngleText("99999999999999999999").angle, 279);  // 10^20 - 1 = 279 modulo 360
    EXPECT_EQ(CheckAngleText("720").angle, 0);
    EXPECT_EQ(SignedAngle(30, 0), 30);
    EXPECT_EQ(SignedAngle(30, 1), -30);
}

TEST(FactorTextRule, WaitsWhileTheTextEndsInAPointOrATrailingDecimalZero)
{
    EXPECT_FALSE(SizeForFactorText("1.", 100, 50));
    EXPECT_FALSE(SizeForFactorText("0.50", 100, 50));
    EXPECT_FALSE(SizeForFactorText("2.0", 100, 50));
    const auto half = SizeForFactorText("0.5", 101, 51);
    ASSERT_TRUE(half);
    EXPECT_EQ(half->width, 50);  // truncated, not rounded
    EXPECT_EQ(half->height, 25);
    const auto ten = SizeForFactorText("10", 100, 50);  // a zero with no point is a digit like any
    ASSERT_TRUE(ten);
    EXPECT_EQ(ten->width, 1000);
    const auto negative = SizeForFactorText("-1.5", 100, 50);
    ASSERT_TRUE(negative);
    EXPECT_EQ(negative->width, 150);
    EXPECT_EQ(SizeForFactorText("1e30", 100, 50)->width, 0);
    EXPECT_FALSE(UsableNewSize(0, 10));
    EXPECT_FALSE(UsableNewSize(100000, 100000));
    EXPECT_TRUE(UsableNewSize(1, 1));
    const ResolutionSettings start = InitialResolution(3, 5);
    EXPECT_EQ(start.newWidth, 2);
    EXPECT_EQ(start.newHeight, 3);
}

TEST(ColourChooserRule, StartsFromTheFieldsAndTakesTheChosenColourBack)
{
    ColourCorrectionSettings s;
    // RGB mode: the low bytes of the shifts 50, 0, -50.
    EXPECT_EQ(ChooserStartColour(s), MakeColorRef(50, 0, 206));
    s.mode = ColourCorrectionSettings::Hsl;
    const RGBQUAD hsl = CxImage::HSLtoRGB(MakeRgbQuad(50, 12, 128));
    EXPECT_EQ(ChooserStartColour(s), MakeColorRef(hsl.rgbRed, hsl.rgbGreen, hsl.rgbBlue));

    TakeChosenColour(s, MakeColorRef(200, 100, 50));
    const RGBQUAD chosen = CxImage::RGBtoHSL(MakeRgbQuad(200, 100, 50));
    EXPECT_EQ(s.hue, chosen.rgbRed);
    EXPECT_EQ(s.saturation, chosen.rgbGreen);
    EXPECT_EQ(s.red, 200);
    EXPECT_EQ(s.green, 100);
    EXPECT_EQ(s.blue, 50);
    EXPECT_EQ(s.level, (200 * 306 + 100 * 601 + 50 * 117) >> 10);
    TakeChosenColour(s, MakeColorRef(255, 255, 255));
    EXPECT_EQ(s.level, 255);  // the weights add up to 1024: white is 255
}

TEST(GammaSettings, AValueNotAboveZeroIsRefused)
{
    CxImage image(4, 4, 24);
    GammaSettings s;
    s.gamma = 0;
    EXPECT_FALSE(ApplyGamma(image, s));
    s.independentChannels = true;
    s.green = -1;
    EXPECT_FALSE(ApplyGamma(image, s));
}

}  // namespace
}  // namespace vestrel::operations
