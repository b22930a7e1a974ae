// Where the picture lands on the page: physical size from the stored resolution, the 1:1
// factors, the whole-divisor reduction and the alignment offsets.

#include "PrintGeometry.h"

#include <gtest/gtest.h>

#include <ostream>

namespace vestrel::print {

// Failures show the rectangle, not its bytes.
void PrintTo(const PrintRect& r, std::ostream* out)
{
    *out << "(" << r.x << ", " << r.y << ") " << r.width << " x " << r.height;
}

namespace {

constexpr PrintAlignment kCentred{};
constexpr PrintAlignment kTopLeft{HorizontalAlignment::Left, VerticalAlignment::Top};
constexpr PrintScale kNoScale{};

// A page of 1000 x 1400 printer pixels at 100 dpi: 10 x 14 inches, easy to reckon in.
constexpr PrintPage kPage{1000, 1400, 100, 100};

PrintRect At(const PictureSize& picture, const PrintScale& scale = kNoScale,
             const PrintAlignment& alignment = kTopLeft, const PrintPage& page = kPage)
{
    return PictureRectOnPage(page, picture, scale, alignment);
}

TEST(PrintGeometry, PhysicalSizeComesFromTheStoredResolutionAndUnknownIs96)
{
    // 480 x 288 pixels at 96 dpi are 5 x 3 inches: 1500 x 900 on a 300 dpi printer.
    const PrintPage page{2400, 3300, 300, 300};
    EXPECT_EQ(At({480, 288, 96, 96}, kNoScale, kTopLeft, page), (PrintRect{0, 0, 1500, 900}));
    EXPECT_EQ(At({480, 288, 0, 0}, kNoScale, kTopLeft, page), (PrintRect{0, 0, 1500, 900}));
    EXPECT_EQ(At({480, 288, 240, 240}, kNoScale, kTopLeft, page), (PrintRect{0, 0, 600, 360}));
    // Each direction has its own resolution on both sides, and only the unknown one is 96.
    EXPECT_EQ(At({480, 288, 0, 144}, kNoScale, kTopLeft, {2400, 3300, 300, 600}),
              (PrintRect{0, 0, 1500, 1200}));
    // Whole printer pixels, truncated: 100 pixels at 300 dpi on a 100 dpi printer are 33.
    EXPECT_EQ(At({100, 100, 300, 300}), (PrintRect{0, 0, 33, 33}));
}

TEST(PrintGeometry, APictureIsReducedOnlyByWholeDivisors)
{
    // Smaller than the page: its own size.
    EXPECT_EQ(At({800, 600, 100, 100}), (PrintRect{0, 0, 800, 600}));
    // 1.5 times the page's width: the quotient is 1, the picture keeps its size and runs off.
    EXPECT_EQ(At({1500, 600, 100, 100}), (PrintRect{0, 0, 1500, 600}));
    // Twice the width: halved both ways.
    EXPECT_EQ(At({2000, 600, 100, 100}), (PrintRect{0, 0, 1000, 300}));
    // The larger quotient wins: three times the page's height divides by 3.
    EXPECT_EQ(At({1200, 4200, 100, 100}), (PrintRect{0, 0, 400, 1400}));
    // The division is of the physical size, not of the pixels.
    EXPECT_EQ(At({1000, 700, 50, 50}), (PrintRect{0, 0, 1000, 700}));
}

TEST(PrintGeometry, OneToOneScalesByTheArmPositionAndIsNeverReduced)
{
    const PictureSize picture{1000, 500, 100, 100};
    EXPECT_EQ(OneToOneFactorPercent(kArmTop), 56);
    EXPECT_EQ(OneToOneFactorPercent(kArmMiddle), 59);
    EXPECT_EQ(OneToOneFactorPercent(kArmBottom), 37);
    EXPECT_EQ(OneToOneFactorPercent(kArmNone), 100);
    EXPECT_EQ(OneToOneFactorPercent(7), 100);

    EXPECT_EQ(At(picture, {true, kArmTop}), (PrintRect{0, 0, 560, 280}));
    EXPECT_EQ(At(picture, {true, kArmMiddle}), (PrintRect{0, 0, 590, 295}));
    EXPECT_EQ(At(picture, {true, kArmBottom}), (PrintRect{0, 0, 370, 185}));
    EXPECT_EQ(At(picture, {true, kArmNone}), (PrintRect{0, 0, 1000, 500}));
    // A position without 1:1 on changes nothing.
    EXPECT_EQ(At(picture, {false, kArmBottom}), (PrintRect{0, 0, 1000, 500}));
    // 100 pixels at 0.59 are 59, not 58 as a binary 0.59 would make them.
    EXPECT_EQ(At({100, 100, 100, 100}, {true, kArmMiddle}), (PrintRect{0, 0, 59, 59}));
    // 1:1 prints a picture three pages wide at its scaled size, undivided.
    EXPECT_EQ(At({3000, 500, 100, 100}, {true, kArmTop}), (PrintRect{0, 0, 1680, 280}));
}

TEST(PrintGeometry, AlignmentPlacesThePictureInsideThePage)
{
    const PictureSize picture{400, 300, 100, 100};
    using H = HorizontalAlignment;
    using V = VerticalAlignment;
    EXPECT_EQ(At(picture, kNoScale, kCentred), (PrintRect{300, 550, 400, 300}));
    EXPECT_EQ(At(picture, kNoScale, {H::Right, V::Bottom}), (PrintRect{600, 1100, 400, 300}));
    EXPECT_EQ(At(picture, kNoScale, {H::Left, V::Bottom}), (PrintRect{0, 1100, 400, 300}));
    EXPECT_EQ(At(picture, kNoScale, {H::Right, V::Top}), (PrintRect{600, 0, 400, 300}));
    // A half pixel of centring is truncated at both corners: 250.5 .. 749.5 is 250 .. 749.
    EXPECT_EQ(At({499, 300, 100, 100}, kNoScale, kCentred), (PrintRect{250, 550, 499, 300}));
}

TEST(PrintGeometry, APictureAsLargeAsThePageOrLargerStartsAtItsEdgeWhateverTheAlignment)
{
    using H = HorizontalAlignment;
    using V = VerticalAlignment;
    // A centred small picture first: nothing of its offset carries over to the next one.
    EXPECT_EQ(At({400, 300, 100, 100}, kNoScale, kCentred).x, 300);
    const PictureSize wide{1500, 2000, 100, 100};  // 1.5 pages wide and 1.43 high: not reduced
    for (H h : {H::Left, H::Centre, H::Right})
        for (V v : {V::Top, V::Middle, V::Bottom}) {
            const PrintRect r = At(wide, kNoScale, {h, v});
            EXPECT_EQ(r, (PrintRect{0, 0, 1500, 2000})) << int(h) << " " << int(v);
        }
    // Exactly the page's width: no room on either side, so x 0; the height still centres.
    EXPECT_EQ(At({1000, 400, 100, 100}, kNoScale, {H::Right, V::Middle}), (PrintRect{0, 500, 1000, 400}));
    // 1:1 at the top position of a picture two pages wide, centred: 0, not negative.
    EXPECT_EQ(At({2000, 100, 100, 100}, {true, kArmTop}, kCentred), (PrintRect{0, 672, 1120, 56}));
}

TEST(PrintGeometry, NothingToPrintGivesAnEmptyRectangleAndHugePicturesStaySound)
{
    EXPECT_TRUE(At({0, 300, 100, 100}).empty());
    EXPECT_TRUE(At({300, 0, 100, 100}).empty());
    EXPECT_TRUE(At({300, 300, 100, 100}, kNoScale, kTopLeft, {0, 1400, 100, 100}).empty());
    EXPECT_TRUE(At({300, 300, 100, 100}, kNoScale, kTopLeft, {1000, 1400, 0, 100}).empty());
    // A wide picture at 1 dpi on a 1200 dpi printer in 1:1: far beyond any int of pixels
    // once multiplied, yet the rectangle is positive and starts at the page's edge.
    const PrintRect huge = At({2000000, 2000000, 1, 1}, {true, kArmNone}, kCentred, {9000, 12000, 1200, 1200});
    EXPECT_EQ(huge.x, 0);
    EXPECT_EQ(huge.y, 0);
    EXPECT_GT(huge.width, 9000);
    EXPECT_GT(huge.height, 12000);
}

}  // namespace
}  // namespace vestrel::print
