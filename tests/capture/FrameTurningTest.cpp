// The preview mask and the turns: where the mask lands, and that every turn puts each
// pixel where the turn says.

#include "FrameTurning.h"
#include "ImageCompare.h"

#include <gtest/gtest.h>
#include <opencv2/core.hpp>

namespace vestrel {
namespace {

using testkit::PatternImage;
using testkit::SamePixels;

bool isMask(const cv::Mat& m, int row, int col) { return m.at<cv::Vec3b>(row, col) == kMaskColour; }

// A frame with no pixel of the mask colour, so that any mask pixel was painted.
cv::Mat frameWithoutMaskColour(int width, int height)
{
    cv::Mat m = PatternImage(width, height);
    m.forEach<cv::Vec3b>([](cv::Vec3b& p, const int*) { if (p == kMaskColour) p[0] = 0; });
    return m;
}

int countMasked(const cv::Mat& m)
{
    int n = 0;
    for (int y = 0; y < m.rows; ++y)
        for (int x = 0; x < m.cols; ++x) n += isMask(m, y, x);
    return n;
}

TEST(FrameMask, CentredScanAreaOnlyOnTheFullCameraFrame)
{
    GrabberSettings s;
    s.w = 400;
    s.h = 300;
    cv::Mat small = frameWithoutMaskColour(640, 480);
    const cv::Mat before = small.clone();
    PaintMask(small, s);
    EXPECT_TRUE(SamePixels(small, before)) << "a 640 x 480 frame gets no centred mask";

    cv::Mat full = frameWithoutMaskColour(2592, 1944);
    s.w = 2000;
    s.h = 1500;
    PaintMask(full, s);
    // Columns (2592-2000)/2 = 296 .. 2295 and rows 222 .. 1721 stay clear.
    EXPECT_FALSE(isMask(full, 222, 296));
    EXPECT_FALSE(isMask(full, 1721, 2295));
    EXPECT_TRUE(isMask(full, 221, 1000));
    EXPECT_TRUE(isMask(full, 1722, 1000));
    EXPECT_TRUE(isMask(full, 1000, 295));
    EXPECT_TRUE(isMask(full, 1000, 2296));
    EXPECT_EQ(countMasked(full), 2592 * 1944 - 2000 * 1500);

    // An odd height: rows 371..1571 counted from the bottom stay clear, which are rows
    // 372..1572 from the top.
    s.w = 1801;
    s.h = 1201;
    EXPECT_EQ(ClearArea(s, 2592, 1944), cv::Rect(395, 372, 1801, 1201));
}

TEST(FrameMask, NoScanAreaOrTheWholeFrameMasksNothing)
{
    GrabberSettings s;  // w = h = 0: entry without a scan area
    cv::Mat full = frameWithoutMaskColour(2592, 1944);
    const cv::Mat before = full.clone();
    PaintMask(full, s);
    EXPECT_TRUE(SamePixels(full, before));
    s.w = 2592;
    s.h = 1944;
    PaintMask(full, s);
    EXPECT_TRUE(SamePixels(full, before));
}

TEST(FrameMask, PresetRectangleAtAnySizeCountsRowsFromTheBottom)
{
    GrabberSettings s;
    s.preset = true;
    s.left = 100;
    s.right = 300;
    s.top = 50;      // rows 50..149 from the bottom of a 480-row frame
    s.bottom = 150;  // are rows 330..429 from the top
    cv::Mat m = frameWithoutMaskColour(640, 480);
    PaintMask(m, s);
    EXPECT_EQ(ClearArea(s, 640, 480), cv::Rect(100, 330, 200, 100));
    EXPECT_FALSE(isMask(m, 330, 100));
    EXPECT_FALSE(isMask(m, 429, 299));
    EXPECT_TRUE(isMask(m, 329, 150));
    EXPECT_TRUE(isMask(m, 430, 150));
    EXPECT_TRUE(isMask(m, 400, 99));
    EXPECT_TRUE(isMask(m, 400, 300));
    EXPECT_EQ(countMasked(m), 640 * 480 - 200 * 100);
}

TEST(FrameMask, PresetRectangleOutsideOrReversedLeavesNothingClear)
{
    GrabberSettings s;
    s.preset = true;
    s.left = 300;
    s.right = 100;
    s.top = 0;
    s.bottom = 100;
    EXPECT_TRUE(ClearArea(s, 640, 480).empty());
    cv::Mat m = frameWithoutMaskColour(64, 48);
    PaintMask(m, s);
    EXPECT_EQ(countMasked(m), 64 * 48);
    s.left = 10;
    s.right = 5000;  // reaching past the frame is cut at its edge
    s.top = 0;
    s.bottom = 5000;
    EXPECT_EQ(ClearArea(s, 640, 480), cv::Rect(10, 0, 630, 480));
}

TEST(FrameTurn, EachTurnMatchesTheReferenceRotation)
{
    const cv::Mat in = PatternImage(2592, 1944);
    cv::Mat out, expected;
    TurnFrame(in, out, {false, true, false});
    ASSERT_EQ(out.cols, 1944);
    ASSERT_EQ(out.rows, 2592);
    // 90 degrees counter-clockwise: the input's top-right corner becomes the top-left.
    EXPECT_EQ(out.at<cv::Vec3b>(0, 0), in.at<cv::Vec3b>(0, 2591));
    EXPECT_EQ(out.at<cv::Vec3b>(2591, 0), in.at<cv::Vec3b>(0, 0));
    cv::rotate(in, expected, cv::ROTATE_90_COUNTERCLOCKWISE);
    EXPECT_TRUE(SamePixels(out, expected));

    TurnFrame(in, out, {false, false, true});
    cv::rotate(in, expected, cv::ROTATE_90_CLOCKWISE);
    EXPECT_TRUE(SamePixels(out, expected));

    TurnFrame(in, out, {true, false, false});
    cv::rotate(in, expected, cv::ROTATE_180);
    EXPECT_TRUE(SamePixels(out, expected));

    TurnFrame(in, out, {});
    EXPECT_TRUE(SamePixels(out, in));
}

// The one-pass mask and turn must equal masking a copy and turning it, for every turn,
// odd sizes (partial tiles) and rectangles touching the edges.
TEST(FrameTurn, MaskAndTurnEqualsMaskThenTurn)
{
    const Orientation turns[] = {{}, {true, false, false}, {false, true, false}, {false, false, true}};
    const cv::Size sizes[] = {{2592, 1944}, {333, 97}, {31, 65}};
    for (const cv::Size size : sizes) {
        const cv::Mat in = frameWithoutMaskColour(size.width, size.height);
        GrabberSettings presets[3];
        presets[0].preset = true;
        presets[0].left = size.width / 5;
        presets[0].right = size.width - 3;
        presets[0].top = 1;
        presets[0].bottom = size.height * 2 / 3;
        presets[1].w = 1801;  // odd scan area on the full frame
        presets[1].h = 1201;
        presets[2].preset = true;
        presets[2].left = 0;
        presets[2].right = size.width;
        presets[2].top = 0;
        presets[2].bottom = size.height;
        for (GrabberSettings s : presets) {
            for (const Orientation& o : turns) {
                s.orientation = o;
                cv::Mat masked = in.clone(), expected, out;
                PaintMask(masked, s);
                TurnFrame(masked, expected, o);
                const cv::Mat original = in.clone();
                MaskAndTurn(in, out, s);
                EXPECT_TRUE(SamePixels(out, expected))
                    << size << " state " << StateFromOrientation(o) << " preset " << s.preset;
                EXPECT_TRUE(SamePixels(in, original)) << "the input stays unchanged";
            }
        }
    }
}

}  // namespace
}  // namespace vestrel
