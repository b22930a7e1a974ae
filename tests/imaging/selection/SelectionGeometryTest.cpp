// The tracker's handles and drags, the outline's white and black pixels, and where the
// floating paste lands and stops.

#include "LassoOutline.h"
#include "PastePlacement.h"
#include "TrackerGeometry.h"

#include <gtest/gtest.h>

namespace vestrel::selection::test {
namespace {

TEST(Tracker, HandlesSitOutsideTheRectangleAndDragTheirEdges)
{
    const TrackRect r{20, 10, 60, 40};
    EXPECT_EQ(HitTest(r, 16, 6), TrackHit::TopLeft);
    EXPECT_EQ(HitTest(r, 62, 42), TrackHit::BottomRight);
    EXPECT_EQ(HitTest(r, 62, 6), TrackHit::TopRight);
    EXPECT_EQ(HitTest(r, 40, 8), TrackHit::Top);
    EXPECT_EQ(HitTest(r, 17, 25), TrackHit::Left);
    EXPECT_EQ(HitTest(r, 20, 10), TrackHit::Inside);
    EXPECT_EQ(HitTest(r, 59, 39), TrackHit::Inside);
    EXPECT_EQ(HitTest(r, 30, 50), TrackHit::Outside);
    EXPECT_EQ(HitTest(TrackRect{}, 0, 0), TrackHit::Outside);

    EXPECT_EQ(Dragged(r, TrackHit::Inside, 5, -3), (TrackRect{25, 7, 65, 37}));
    EXPECT_EQ(Dragged(r, TrackHit::Right, 5, 99), (TrackRect{20, 10, 65, 40}));
    EXPECT_EQ(Dragged(r, TrackHit::TopLeft, -2, 4), (TrackRect{18, 14, 60, 40}));
    // Dragged past the opposite edge the rectangle turns inside out; normalised it is
    // whole again.
    EXPECT_EQ(Normalised(Dragged(r, TrackHit::Left, 50, 0)), (TrackRect{60, 10, 70, 40}));
    EXPECT_EQ(Spanned(5, 9, 2, 3), (TrackRect{2, 3, 6, 10}));
}

TEST(Outline, RunsFourWhiteFourBlackFromTheStartOfEveryRedraw)
{
    const document::LassoPoint points[] = {{0, 0}, {9, 0}, {9, 2}};
    document::ViewMapping map;
    const std::vector<OutlinePixel> once = LassoOutline(points, map);
    ASSERT_EQ(once.size(), 13u);  // 10 along the top, 3 down the side (its corner again)
    for (std::size_t i = 0; i < once.size(); ++i) EXPECT_EQ(once[i].white, i % 8 < 4) << i;
    EXPECT_EQ(once[9], (OutlinePixel{9, 0, true}));
    EXPECT_EQ(once[12], (OutlinePixel{9, 2, false}));
    EXPECT_EQ(LassoOutline(points, map), once);

    // At zoom 2 with the pane scrolled, the pixels are where the picture's are drawn.
    map.zoom = 2.0f;
    map.scrollX = 4;
    const std::vector<OutlinePixel> zoomed = LassoOutline(points, map);
    EXPECT_EQ(zoomed.front(), (OutlinePixel{-4, 0, true}));
    EXPECT_EQ(zoomed.back(), (OutlinePixel{14, 4, false}));
}

TEST(PastePlacement, MergeCellsAndMarksKeptInsideThePicture)
{
    EXPECT_EQ(MergeCell({30, 12}, 1.0f), (PastePoint{30, 12}));
    EXPECT_EQ(MergeCell({30, 12}, 2.0f), (PastePoint{15, 6}));
    EXPECT_EQ(MergeCell({30, 12}, 0.5f), (PastePoint{60, 24}));
    EXPECT_EQ(MergeCell({30, 12}, 0.0f), (PastePoint{0, 0}));

    const PictureSize picture{100, 80}, mark{30, 20};
    EXPECT_EQ(ClampMark({10, 10}, picture, mark, 1.0f), (PastePoint{10, 10}));
    EXPECT_EQ(ClampMark({-5, 95}, picture, mark, 1.0f), (PastePoint{0, 60}));
    EXPECT_EQ(ClampMark({500, 500}, picture, mark, 2.0f), (PastePoint{140, 120}));
    EXPECT_EQ(ClampMark({500, 500}, picture, mark, 0.5f), (PastePoint{35, 30}));
    // As wide as the picture: it may move up and down only.
    EXPECT_EQ(ClampMark({7, 7}, picture, PictureSize{100, 20}, 1.0f), (PastePoint{0, 7}));
}

}  // namespace
}  // namespace vestrel::selection::test
