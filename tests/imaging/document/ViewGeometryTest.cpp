#include "ViewGeometry.h"

#include <gtest/gtest.h>

namespace vestrel::document {
namespace {

TEST(ViewGeometry, APanePointMapsThroughScrollAndZoomOrTheFitScale)
{
    ViewMapping zoomed;
    zoomed.zoom = 2.0f;
    zoomed.scrollX = 100;
    zoomed.scrollY = 40;
    EXPECT_EQ(ClientToImage(zoomed, 0, 0), (PixelPoint{50, 20}));
    EXPECT_EQ(ClientToImage(zoomed, 9, 9), (PixelPoint{54, 24}));  // truncated, not rounded

    // 1.5 is exact in floats: (3 + 0) / 1.5 = 2, (4 + 0) / 1.5 = 2.67 -> 2.
    zoomed = {};
    zoomed.zoom = 1.5f;
    EXPECT_EQ(ClientToImage(zoomed, 3, 4), (PixelPoint{2, 2}));

    // Fitted: no scroll is added, even when the scroll bars were left somewhere.
    ViewMapping fitted;
    fitted.fitWindow = true;
    fitted.fitScale = 0.5f;
    fitted.scrollX = 300;
    fitted.scrollY = 300;
    EXPECT_EQ(ClientToImage(fitted, 10, 21), (PixelPoint{20, 42}));

    // Nothing to divide by: the origin, never a division by zero.
    fitted.fitScale = 0.0f;
    EXPECT_EQ(ClientToImage(fitted, 10, 10), (PixelPoint{0, 0}));
}

TEST(ViewGeometry, APicturePixelMapsBackToThePanePointsThatShowIt)
{
    ViewMapping zoomed;
    zoomed.zoom = 2.0f;
    zoomed.scrollX = 100;
    zoomed.scrollY = 40;
    // Every pane point inside the drawn pixel maps back to that pixel.
    const PaneRect cell = ImageRectToClient(zoomed, 54, 24, 55, 25);
    for (int y = cell.top + 1; y < cell.bottom - 1; ++y)
        for (int x = cell.left + 1; x < cell.right - 1; ++x)
            EXPECT_EQ(ClientToImage(zoomed, x, y), (PixelPoint{54, 24})) << x << "," << y;
    EXPECT_EQ(cell.right - cell.left, 2 + 2);  // two points wide at zoom 2, plus the margin

    ViewMapping fitted;
    fitted.fitWindow = true;
    fitted.fitScale = 0.25f;
    fitted.scrollX = 300;  // ignored when fitted, both ways
    const PanePointF corner = ImageToClient(fitted, 40, 8);
    EXPECT_DOUBLE_EQ(corner.x, 10.0);
    EXPECT_DOUBLE_EQ(corner.y, 2.0);
    EXPECT_EQ(ClientToImage(fitted, 10, 2), (PixelPoint{40, 8}));
}

TEST(ViewGeometry, FitScaleTakesTheTighterSideAndTheExtentIsTruncated)
{
    EXPECT_FLOAT_EQ(FitScale({400, 300}, 2592, 1944), 300.0f / 1944.0f);
    EXPECT_FLOAT_EQ(FitScale({200, 600}, 400, 300), 0.5f);
    EXPECT_FLOAT_EQ(FitScale({200, 150}, 40, 30), 5.0f);
    EXPECT_EQ(FitScale({200, 150}, 0, 30), 0.0f);

    const PaneSize extent = ZoomedExtent(2592, 1944, 0.3f);
    EXPECT_EQ(extent.width, 777);  // 777.6
    EXPECT_EQ(extent.height, 583); // 583.2
    // Nine steps down from 1.0 land just under 0.1 in floats; the extent still truncates.
    float zoom = 1.0f;
    for (int i = 0; i < 9; ++i) zoom -= 0.1f;
    EXPECT_EQ(ZoomedExtent(1000, 10, zoom).width, int(1000 * zoom));
}

TEST(ViewGeometry, ThePanRuleAsksWhetherThePictureOverflowsEitherWay)
{
    EXPECT_FALSE(PictureOverflows({400, 300}, 400, 300, 1.0f, false));  // exactly fits
    EXPECT_TRUE(PictureOverflows({399, 300}, 400, 300, 1.0f, false));
    EXPECT_TRUE(PictureOverflows({400, 299}, 400, 300, 1.0f, false));
    EXPECT_TRUE(PictureOverflows({500, 500}, 400, 300, 2.0f, false));
    EXPECT_FALSE(PictureOverflows({500, 500}, 1000, 800, 0.5f, false));
    // A fitted picture never pans.
    EXPECT_FALSE(PictureOverflows({10, 10}, 400, 300, 1.0f, true));
}

TEST(ViewGeometry, APanDragFollowsThePointerAndStopsAtBothEnds)
{
    // Pane 200 wide over an 800-wide picture: scroll range 0..600.
    EXPECT_EQ(PanScrollTarget(100, 50, 60, 200, 800), 90);   // dragged left: scrolls right
    EXPECT_EQ(PanScrollTarget(100, 50, 130, 200, 800), 20);  // dragged right
    EXPECT_EQ(PanScrollTarget(100, 50, 190, 200, 800), 0);   // past the start
    EXPECT_EQ(PanScrollTarget(100, 550, 0, 200, 800), 600);  // past the end
    // A picture that fits this way scrolls back to 0 whatever the pointer does.
    EXPECT_EQ(PanScrollTarget(100, 30, 0, 800, 800), 0);
}

}  // namespace
}  // namespace vestrel::document
