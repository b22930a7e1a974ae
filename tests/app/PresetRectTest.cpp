#include "PresetRect.h"

#include <gtest/gtest.h>

using namespace vestrel;

namespace {

LiveViewGeometry Fitted(Orientation o)
{
    LiveViewGeometry g;
    g.clientWidth = 800;
    g.clientHeight = 600;
    g.orientation = o;
    return g;
}

LiveViewGeometry ActualSize(Orientation o)
{
    LiveViewGeometry g = Fitted(o);
    g.actualSize = true;
    g.scrollX = 1000;
    g.scrollY = 500;
    return g;
}

const Orientation kNormal{};
const Orientation kUpsideDown{true, false, false};
const Orientation kLeft{false, true, false};
const Orientation kRight{false, false, true};

// 800 x 600 client: the fitted 4:3 box is the whole client; turned, it is 450 x 600.
TEST(PresetRect, FittedPictureScalesIntoTheFrameForEachTurnState)
{
    const ClientRect drag{500, 450, 100, 150};  // corners in any order
    // x: 100 -> 324, 500 -> 1620 (of 2592); y: 150 -> 486, 450 -> 1458 (of 1944)
    EXPECT_EQ(ToFrameRect(drag, Fitted(kNormal)), (FrameRect{324, 1620, 1944 - 1458, 1944 - 486}));
    EXPECT_EQ(ToFrameRect(drag, Fitted(kUpsideDown)), (FrameRect{2592 - 1620, 2592 - 324, 486, 1458}));

    const ClientRect turned{100, 150, 400, 450};
    // x onto H over a 450-wide box: 100 -> 432, 400 -> 1728; y onto W over 600: 150 -> 648, 450 -> 1944
    EXPECT_EQ(ToFrameRect(turned, Fitted(kRight)), (FrameRect{648, 1944, 432, 1728}));
    EXPECT_EQ(ToFrameRect(turned, Fitted(kLeft)),
              (FrameRect{2592 - 1944, 2592 - 648, 1944 - 1728, 1944 - 432}));
}

TEST(PresetRect, FittedCoordinatesOutsideThePictureAreClamped)
{
    // The turned picture is 450 wide: a drag to x 700 ends at the picture's edge.
    const FrameRect r = ToFrameRect({100, -20, 700, 450}, Fitted(kRight));
    EXPECT_EQ(r.bottom, 1944);
    EXPECT_EQ(r.left, 0);
    // A wide client letterboxes the unturned picture: 1000 x 600 shows an 800 x 600 box.
    LiveViewGeometry wide = Fitted(kNormal);
    wide.clientWidth = 1000;
    EXPECT_EQ(ToFrameRect({0, 0, 950, 600}, wide), (FrameRect{0, 2592, 0, 1944}));
}

TEST(PresetRect, ActualSizeAddsTheScrollAndClampsToTheFrame)
{
    const ClientRect drag{100, 100, 300, 200};
    EXPECT_EQ(ToFrameRect(drag, ActualSize(kNormal)), (FrameRect{1100, 1300, 1944 - 700, 1944 - 600}));
    EXPECT_EQ(ToFrameRect(drag, ActualSize(kUpsideDown)), (FrameRect{2592 - 1300, 2592 - 1100, 600, 700}));
    EXPECT_EQ(ToFrameRect(drag, ActualSize(kRight)), (FrameRect{600, 700, 1100, 1300}));
    EXPECT_EQ(ToFrameRect(drag, ActualSize(kLeft)), (FrameRect{2592 - 700, 2592 - 600, 1944 - 1300, 1944 - 1100}));

    LiveViewGeometry far = ActualSize(kNormal);
    far.scrollX = 2500;
    EXPECT_EQ(ToFrameRect({0, 0, 300, 10}, far).right, 2592);
}

TEST(PresetRect, DragsOfNineteenPixelsOrLessAreClicks)
{
    EXPECT_FALSE(IsPresetDrag({10, 10, 29, 29}));
    EXPECT_FALSE(IsPresetDrag({29, 29, 10, 10}));
    EXPECT_TRUE(IsPresetDrag({10, 10, 30, 12}));
    EXPECT_TRUE(IsPresetDrag({10, 10, 12, 30}));
}

}  // namespace
