// Eraser and pen strokes on a picture: where the square lands, the DDA walk leaving no
// gaps however far the pointer jumped, palette pictures and transparency.

#include "BrushStroke.h"

#include <gtest/gtest.h>

namespace vestrel::tools {
namespace {

using document::StrokeBrush;

constexpr COLORREF kBlack = 0x000000;

CxImage WhitePicture(int width, int height, int bpp = 24)
{
    CxImage image(width, height, bpp);
    image.Clear(255);
    return image;
}

bool Dark(const CxImage& image, int x, int y)
{
    return image.GetPixelColor(x, y).rgbRed < 128;
}

int DarkCount(const CxImage& image)
{
    int n = 0;
    for (int y = 0; y < image.GetHeight(); ++y)
        for (int x = 0; x < image.GetWidth(); ++x) n += Dark(image, x, y);
    return n;
}

TEST(BrushStroke, TheSquareCoversThePixelUnderThePointerAndIsCutToThePicture)
{
    CxImage image = WhitePicture(20, 20);
    EXPECT_EQ(StampBrush(image, {5, 7}, {1, kBlack}), (PixelRect{5, 7, 6, 8}));
    EXPECT_TRUE(Dark(image, 5, 7));
    EXPECT_EQ(DarkCount(image), 1);

    // Even sides reach one pixel further up and left than down and right.
    EXPECT_EQ(BrushBox({10, 10}, 4), (PixelRect{8, 8, 12, 12}));
    EXPECT_EQ(BrushBox({10, 10}, 5), (PixelRect{8, 8, 13, 13}));

    // A 32-pixel eraser at the corner changes only what lies inside the picture.
    image = WhitePicture(20, 20);
    EXPECT_EQ(StampBrush(image, {0, 0}, {32, kBlack}), (PixelRect{0, 0, 16, 16}));
    EXPECT_EQ(DarkCount(image), 16 * 16);
    EXPECT_TRUE(StampBrush(image, {-40, 5}, {4, kBlack}).empty());
}

TEST(BrushStroke, AQuickStrokeLeavesNoGaps)
{
    // Each visited point is one step from the one before: a connected line.
    std::vector<PixelPoint> points;
    WalkLine({2, 3}, {40, 11}, [&](PixelPoint p) { points.push_back(p); });
    ASSERT_EQ(points.size(), 39u);
    EXPECT_EQ(points.front(), (PixelPoint{2, 3}));
    EXPECT_EQ(points.back(), (PixelPoint{40, 11}));
    for (std::size_t i = 1; i < points.size(); ++i) {
        EXPECT_EQ(points[i].x - points[i - 1].x, 1);
        EXPECT_LE(std::abs(points[i].y - points[i - 1].y), 1);
    }

    // Three pointer positions far apart, a 1-pixel pen: every column between them is hit.
    CxImage image = WhitePicture(100, 60);
    BrushStroke stroke;
    const StrokeBrush pen{1, kBlack};
    stroke.begin(image, {5, 50}, pen);
    const PixelRect first = stroke.extend(image, {60, 5}, pen);
    EXPECT_EQ(first, (PixelRect{5, 5, 61, 51}));
    stroke.extend(image, {95, 30}, pen);
    for (int x = 5; x <= 95; ++x) {
        bool hit = false;
        for (int y = 0; y < 60; ++y) hit = hit || Dark(image, x, y);
        EXPECT_TRUE(hit) << "column " << x;
    }
    // Steep parts are filled row by row too.
    for (int y = 5; y <= 50; ++y) {
        bool hit = false;
        for (int x = 5; x <= 60; ++x) hit = hit || Dark(image, x, y);
        EXPECT_TRUE(hit) << "row " << y;
    }

    // After the stroke ends, moves change nothing.
    stroke.end();
    const int before = DarkCount(image);
    EXPECT_TRUE(stroke.extend(image, {0, 0}, pen).empty());
    EXPECT_EQ(DarkCount(image), before);
}

TEST(BrushStroke, PalettePicturesTakeTheNearestEntryAndTransparencyGoes)
{
    CxImage grey = WhitePicture(10, 10, 8);
    BrushStroke stroke;
    stroke.begin(grey, {4, 4}, {2, MakeColorRef(10, 10, 10)});
    EXPECT_EQ(grey.GetBpp(), 8);
    EXPECT_EQ(grey.GetPixelIndex(4, 4), 10);
    EXPECT_EQ(grey.GetPixelIndex(3, 3), 10);
    EXPECT_EQ(grey.GetPixelIndex(5, 5), 255);

    // A picture whose white is transparent: the white pen's marks must show, so the
    // transparent colour is dropped when the stroke starts.
    CxImage image = WhitePicture(10, 10);
    image.SetTransColor(MakeRgbQuad(255, 255, 255));
    ASSERT_TRUE(image.IsTransparent());
    stroke.begin(image, {1, 1}, {1, 0xFFFFFF});
    EXPECT_FALSE(image.IsTransparent());

    // An alpha channel becomes opaque under the brush.
    CxImage faded = WhitePicture(10, 10);
    faded.AlphaCreate();
    faded.AlphaSet(0);
    StampBrush(faded, {5, 5}, {1, kBlack});
    EXPECT_EQ(faded.AlphaGet(5, 5), 255);
    EXPECT_EQ(faded.AlphaGet(4, 4), 0);
}

}  // namespace
}  // namespace vestrel::tools
