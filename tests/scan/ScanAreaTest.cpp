#include "ImageSizeList.h"

#include <gtest/gtest.h>

namespace vestrel::scan {
namespace {

Settings WithArea(int w, int h)
{
    Settings s;
    s.w = w;
    s.h = h;
    return s;
}

TEST(ImageSizeList, NineEntriesWithTheirAreasAndArmPositions)
{
    const auto& list = ImageSizeList();
    EXPECT_EQ(list[2].label, "A4 (上端)");
    EXPECT_EQ(list[2].w, 2395);
    EXPECT_EQ(list[2].h, 1720);
    EXPECT_EQ(list[3].arm, ArmPosition::Middle);
    EXPECT_EQ(list[7].label, "身份证(下端)");
    EXPECT_EQ(list[7].w, 710);
    EXPECT_EQ(list[7].h, 450);
    for (int i = 1; i <= 7; ++i) EXPECT_TRUE(list[i].forcesFullFrame) << i;
    EXPECT_FALSE(list[0].forcesFullFrame);
    EXPECT_FALSE(list[8].forcesFullFrame);
}

TEST(ScanAreaRect, CentredAreaUsesIntegerHalves)
{
    EXPECT_EQ(ScanAreaRect(WithArea(2395, 1720), 2592, 1944), (PixelRect{98, 112, 2493, 1832}));
    EXPECT_EQ(ScanAreaRect(WithArea(2395, 1720), 2592, 1944).width(), 2395);
    EXPECT_EQ(ScanAreaRect(WithArea(710, 450), 2592, 1944), (PixelRect{941, 747, 1651, 1197}));
    // A fresh config.ini has no scan area: the whole frame.
    EXPECT_EQ(ScanAreaRect(WithArea(0, 0), 640, 480), (PixelRect{0, 0, 640, 480}));
    // An area bigger than a small frame is cut to the frame.
    EXPECT_EQ(ScanAreaRect(WithArea(2395, 1720), 640, 480), (PixelRect{0, 0, 640, 480}));
}

TEST(ScanAreaRect, PresetRectangleCountsRowsFromTheBottom)
{
    Settings s = WithArea(2592, 1944);
    s.presetInForce = true;
    s.left = 100;
    s.right = 500;
    s.top = 40;      // 40 rows above the bottom edge
    s.bottom = 340;  // 340 rows above the bottom edge
    EXPECT_EQ(ScanAreaRect(s, 2592, 1944), (PixelRect{100, 1604, 500, 1904}));
    // A rectangle outside the frame keeps the whole frame rather than nothing.
    s.left = 3000;
    s.right = 3100;
    EXPECT_EQ(ScanAreaRect(s, 2592, 1944), (PixelRect{0, 0, 2592, 1944}));
}

TEST(CheckedSizeEntry, FollowsAreaAndPreset)
{
    Settings s = WithArea(2395, 1720);
    EXPECT_EQ(CheckedSizeEntry(s), 2);
    s.w = s.lwidth;
    s.h = s.lheight;
    EXPECT_EQ(CheckedSizeEntry(s), 0);
    s.presetInForce = true;
    EXPECT_EQ(CheckedSizeEntry(s), 8);
    EXPECT_EQ(CheckedSizeEntry(WithArea(123, 45)), -1);
}

}  // namespace
}  // namespace vestrel::scan
