#include "CxImage.h"
#include "ImageCompare.h"
#include "text/FontResolver.h"

#include <gtest/gtest.h>
#include <opencv2/imgproc.hpp>

using vestrel::CxImage;
using vestrel::CXTEXTINFO;
using vestrel::MakeRgbQuad;
using vestrel::PixelRect;

namespace {

CxImage White(int width, int height)
{
    CxImage image(width, height, 24);
    image.Clear(255);
    return image;
}

// Pixels that differ from white, inside and outside a rectangle.
std::pair<int, int> ChangedInsideAndOutside(const CxImage& image, const PixelRect& box)
{
    int inside = 0, outside = 0;
    for (int y = 0; y < image.GetHeight(); ++y)
        for (int x = 0; x < image.GetWidth(); ++x) {
            if (image.GetPixelColor(x, y) == MakeRgbQuad(255, 255, 255, 255)) continue;
            const bool in = x >= box.left && x < box.right && y >= box.top && y < box.bottom;
            (in ? inside : outside)++;
        }
    return {inside, outside};
}

}  // namespace

TEST(FontResolver, WindowsFamilyNamesLandOnInstalledFontsOfTheSameStyle)
{
    const auto song = vestrel::text::ResolveFont("宋体", 400, false);
    ASSERT_TRUE(song.has_value());
    EXPECT_NE(song->family.find("UMing"), std::string::npos) << song->family;
    const auto times = vestrel::text::ResolveFont("Times New Roman", 700, false);
    ASSERT_TRUE(times.has_value());
    EXPECT_EQ(times->family, "Liberation Serif");
    EXPECT_FALSE(times->syntheticBold);  // Liberation Serif has a real bold face
}

TEST(CxImageText, DrawStringChangesPixelsInsideItsBoxOnly)
{
    CxImage image = White(200, 60);
    PixelRect box;
    ASSERT_TRUE(image.DrawString(20, 15, "12/08/26 01:33:47", MakeRgbQuad(0, 0, 0), "宋体", 0, 400, false, false,
                                 false, &box));
    EXPECT_FALSE(box.empty());
    EXPECT_GE(box.left, 18);
    EXPECT_GE(box.top, 13);
    EXPECT_LT(box.bottom, 15 + 20);
    const auto [inside, outside] = ChangedInsideAndOutside(image, box);
    EXPECT_GT(inside, 30);
    EXPECT_EQ(outside, 0);
    EXPECT_FALSE(image.DrawString(0, 0, "", MakeRgbQuad(0, 0, 0), "宋体"));
}

TEST(CxImageText, ChineseRendersAndBoldDrawsMoreInk)
{
    CxImage regular = White(220, 60), bold = White(220, 60);
    PixelRect box;
    ASSERT_TRUE(regular.DrawString(5, 5, "扫描图片", MakeRgbQuad(0, 0, 0), "宋体", 32, 400, false, false, false, &box));
    ASSERT_TRUE(bold.DrawString(5, 5, "扫描图片", MakeRgbQuad(0, 0, 0), "宋体", 32, 700));
    EXPECT_GE(box.width(), 4 * 28);  // four full-width characters
    const cv::Mat r = regular.ToGrey(), b = bold.ToGrey();
    EXPECT_LT(cv::sum(b)[0], cv::sum(r)[0]);
    // A Latin family still draws Chinese through a fallback face.
    CxImage latin = White(220, 60);
    ASSERT_TRUE(latin.DrawString(5, 5, "扫描", MakeRgbQuad(0, 0, 0), "Times New Roman", 32));
    EXPECT_LT(cv::sum(latin.ToGrey())[0], 220.0 * 60 * 255 - 255 * 100);
}

TEST(CxImageText, DrawStringExLinesOpaqueBackgroundAndAlignment)
{
    CxImage image = White(300, 120);
    CXTEXTINFO info;
    CxImage::InitTextInfo(&info);
    info.text = "first line\nsecond";
    info.lfFaceName = "Times New Roman";
    info.lfHeight = 20;
    info.fcolor = 0x0000FF;  // red
    info.bcolor = 0x00FF00;  // green
    info.opaque = true;
    PixelRect box;
    ASSERT_TRUE(image.DrawStringEx(10, 10, &info, &box));
    EXPECT_GE(box.height(), 2 * 20);  // two lines
    EXPECT_EQ(image.GetPixelColor(box.right - 1, box.bottom - 1), MakeRgbQuad(0, 255, 0, 255));  // background
    int red = 0;
    for (int y = box.top; y < box.bottom; ++y)
        for (int x = box.left; x < box.right; ++x)
            if (image.GetPixelColor(x, y).rgbRed > 200 && image.GetPixelColor(x, y).rgbGreen < 60) ++red;
    EXPECT_GT(red, 50);
    EXPECT_EQ(image.GetPixelColor(5, 5), MakeRgbQuad(255, 255, 255, 255));

    // Text running off the picture is cut, not an error.
    CxImage small = White(30, 10);
    ASSERT_TRUE(small.DrawString(20, 2, "overflowing", MakeRgbQuad(0, 0, 0), "宋体", 12));
    EXPECT_FALSE(small.DrawStringEx(0, 0, nullptr));
}

TEST(CxImageText, PalettePicturesKeepTheirDepth)
{
    CxImage bilevel(80, 30, 1);
    bilevel.Clear(1);
    ASSERT_TRUE(bilevel.DrawString(2, 2, "Text", MakeRgbQuad(0, 0, 0), "Times New Roman", 20));
    EXPECT_EQ(bilevel.GetBpp(), 1);
    EXPECT_LT(cv::countNonZero(bilevel.Pixels()), 80 * 30);
}
