// The three placements of the video window against their formulas, turned and not, at
// zoom levels 0 and 6.

#include "VideoWindowPlacement.h"

#include <gtest/gtest.h>

namespace vestrel {
namespace {

TEST(VideoWindowPlacement, FittedBoxKeepsFourToThree)
{
    // Wide client: the height decides; W*0.75 = 1200 > 700.
    EXPECT_EQ(LayoutVideoWindow(1600, 700, false, false), (VideoWindowRect{0, 0, 933, 700}));
    // Tall client: the width decides.
    EXPECT_EQ(LayoutVideoWindow(801, 1000, false, false), (VideoWindowRect{0, 0, 801, 600}));
    // The second camera's window starts 33 pixels lower.
    EXPECT_EQ(LayoutVideoWindow(640, 480, false, true), (VideoWindowRect{0, 33, 640, 480}));
    // Turned sideways the box is portrait: width min(H*0.75, W), height min(H, W*4/3).
    EXPECT_EQ(LayoutVideoWindow(1600, 1000, true, false), (VideoWindowRect{0, 0, 750, 1000}));
    EXPECT_EQ(LayoutVideoWindow(500, 1000, true, false), (VideoWindowRect{0, 0, 500, 666}));
    EXPECT_EQ(LayoutVideoWindow(0, 0, false, false), (VideoWindowRect{0, 0, 0, 0}));
}

TEST(VideoWindowPlacement, ActualSizeExchangesSidesWhenTurned)
{
    EXPECT_EQ(ActualSizeVideoWindow(2592, 1944, false), (VideoWindowRect{0, 0, 2592, 1944}));
    EXPECT_EQ(ActualSizeVideoWindow(2592, 1944, true), (VideoWindowRect{0, 0, 1944, 2592}));
}

TEST(VideoWindowPlacement, ZoomInActualSizeMode)
{
    EXPECT_EQ(ZoomVideoWindowActualSize(0, 2592, 1944, false), (VideoWindowRect{0, 0, 2592, 1944, true}));
    EXPECT_EQ(ZoomVideoWindowActualSize(6, 2592, 1944, false),
              (VideoWindowRect{-1200, -900, 2592 + 2400, 1944 + 1800, false}));
    EXPECT_EQ(ZoomVideoWindowActualSize(6, 2592, 1944, true),
              (VideoWindowRect{-900, -1200, 1944 + 1800, 2592 + 2400, false}));
    EXPECT_EQ(ZoomVideoWindowActualSize(9, 2592, 1944, false), ZoomVideoWindowActualSize(6, 2592, 1944, false))
        << "levels past 6 are held at 6";
}

TEST(VideoWindowPlacement, ZoomInWindowSizeMode)
{
    // Box 933 x 700 for a 1600 x 700 client.
    EXPECT_EQ(ZoomVideoWindowFitted(0, 1600, 700, 2592, 1944, false, false), (VideoWindowRect{0, 0, 933, 700}));
    // Level 6: left -(1200*933/2592) = -431, top -(900*700/1944) = -324,
    // width 933*4992/2592 = 1796, height 700*3744/1944 = 1348.
    EXPECT_EQ(ZoomVideoWindowFitted(6, 1600, 700, 2592, 1944, false, false),
              (VideoWindowRect{-431, -324, 1796, 1348}));
    // Turned: box 750 x 1000 for 1600 x 1000; 150/300 go with the width against the
    // frame's height, 200/400 with the height against the frame's width.
    // left -(900*750/1944) = -347, top -(1200*1000/2592) = -462,
    // width 750*3744/1944 = 1444, height 1000*4992/2592 = 1925.
    EXPECT_EQ(ZoomVideoWindowFitted(6, 1600, 1000, 2592, 1944, true, false),
              (VideoWindowRect{-347, -462, 1444, 1925}));
    EXPECT_EQ(ZoomVideoWindowFitted(0, 1600, 1000, 2592, 1944, true, false), (VideoWindowRect{0, 0, 750, 1000}));
}

}  // namespace
}  // namespace vestrel
