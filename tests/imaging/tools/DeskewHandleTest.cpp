// The manual deskew handle: the angle for known handle positions, its grab area, and the
// turn from the kept picture.

#include "DeskewHandle.h"
#include "TextEntryGeometry.h"

#include <gtest/gtest.h>

namespace vestrel::tools {
namespace {

TEST(DeskewHandle, TheAngleFollowsTheHandleAroundThePaneCentre)
{
    // Pane 400 x 300: centre (200, 150). The handle starts straight above it.
    const HandlePoint start = StartingHandle(400, 300);
    EXPECT_FLOAT_EQ(start.x, 200.0f);
    EXPECT_FLOAT_EQ(start.y, 90.0f);
    EXPECT_FLOAT_EQ(DeskewAngle(start, 400, 300), 0.0f);

    // Up and to the right at 45 degrees; the program's factor is a hair over 180/pi.
    const float diagonal = DeskewAngle({300, 50}, 400, 300);
    EXPECT_NEAR(diagonal, 45.0013, 1e-3);
    EXPECT_GT(diagonal, 45.0f);
    EXPECT_NEAR(DeskewAngle({100, 50}, 400, 300), -45.0013, 1e-3);
    EXPECT_NEAR(DeskewAngle({260, 150}, 400, 300), 90.0027, 1e-3);
    // atan2(30, 40) = 36.8699 degrees.
    EXPECT_NEAR(DeskewAngle({230, 110}, 400, 300), 36.87, 1e-2);
}

TEST(DeskewHandle, TheHandleIsGrabbedWithinTenPixelsCutToThePane)
{
    const HandlePoint handle{200, 90};
    EXPECT_TRUE(HandleHit(handle, 200, 90, 400, 300));
    EXPECT_TRUE(HandleHit(handle, 209, 90, 400, 300));
    EXPECT_TRUE(HandleHit(handle, 200, 81, 400, 300));
    EXPECT_FALSE(HandleHit(handle, 211, 90, 400, 300));
    EXPECT_FALSE(HandleHit(handle, 208, 98, 400, 300));  // inside the square, outside the ellipse

    // At the pane's edge the ellipse shrinks to the part inside the pane.
    const HandlePoint edge{2, 90};
    EXPECT_TRUE(HandleHit(edge, 0, 90, 400, 300));
    EXPECT_TRUE(HandleHit(edge, 11, 90, 400, 300));
    EXPECT_FALSE(HandleHit(edge, 13, 90, 400, 300));
}

TEST(DeskewHandle, TheTurnStartsFromTheKeptPictureEachTime)
{
    CxImage backup(60, 20, 24);
    backup.Clear(0);
    CxImage shown(backup);
    ASSERT_TRUE(TurnedFromBackup(backup, 90.0f, shown));
    EXPECT_EQ(shown.GetWidth(), 20);
    EXPECT_EQ(shown.GetHeight(), 60);
    // A second turn is measured from the kept picture, not from the turned one.
    ASSERT_TRUE(TurnedFromBackup(backup, 30.0f, shown));
    EXPECT_GT(shown.GetWidth(), 60);
    EXPECT_GT(shown.GetHeight(), 20);
    // The corners the turned picture leaves are grey 200.
    const RGBQUAD corner = shown.GetPixelColor(0, 0);
    EXPECT_EQ(corner.rgbRed, 200);
    EXPECT_EQ(corner.rgbGreen, 200);
    EXPECT_EQ(backup.GetWidth(), 60);  // the kept picture stays as it was
}

TEST(TextEntryGeometry, TheBoxGrowsWithItsWidestLineAndItsLines)
{
    EXPECT_EQ(LineFeeds("one\ntwo\n"), 2);
    EXPECT_EQ(GrownEntrySize(0, 30, 0), (EntrySize{200, 60}));
    EXPECT_EQ(GrownEntrySize(140, 30, 2), (EntrySize{340, 120}));
}

}  // namespace
}  // namespace vestrel::tools
