// The selection commands on a document: the two selections, crop and crop mode, copy and
// cut, with the picture's pixels checked afterwards.

#include "DocumentTestSupport.h"
#include "SelectionCommands.h"
#include "SelectionEdits.h"

#include <gtest/gtest.h>

namespace vestrel::selection::test {
namespace {

using document::Tool;
using document::test::ColourPicture;

constexpr RGBQUAD kBackground{254, 255, 255, 0};

bool IsBackground(const CxImage& image, int x, int y)
{
    const RGBQUAD c = image.GetPixelColor(x, y);
    return c.rgbRed == 255 && c.rgbGreen == 255 && c.rgbBlue == 254;
}

class SelectionTest : public document::test::DocumentTest {
protected:
    SelectionTest() : commands(*doc, {nullptr, [this] { ++trackerClears; }}) {}

    // A triangle outline drawn over the picture by the free-hand tool: (10, 5), (30, 5),
    // (10, 25).
    void DrawTriangle()
    {
        commands.OnFreeSelect();
        for (PixelPoint p : {PixelPoint{10, 5}, PixelPoint{30, 5}, PixelPoint{10, 25}})
            ASSERT_TRUE(commands.AddLassoPoint(p));
        ASSERT_TRUE(commands.CloseLasso());
    }

    SelectionCommands commands;
    int trackerClears = 0;
};

TEST_F(SelectionTest, TheToolsToggleOneAtATimeAndDropTheSelection)
{
    doc->SetImage(ColourPicture());
    commands.OnRectSelect();
    EXPECT_TRUE(commands.RectSelectChecked());
    ASSERT_TRUE(commands.SelectRect({2, 3, 12, 9}));
    PixelRect box;
    ASSERT_TRUE(doc->Image()->SelectionGetBox(box));
    EXPECT_EQ(box, (PixelRect{2, 3, 12, 9}));

    commands.OnFreeSelect();
    EXPECT_TRUE(commands.FreeSelectChecked());
    EXPECT_FALSE(commands.RectSelectChecked());
    EXPECT_FALSE(doc->Image()->SelectionIsValid());
    commands.OnFreeSelect();
    EXPECT_EQ(doc->ActiveTool(), Tool::None);
    EXPECT_EQ(trackerClears, 3);

    // Crop mode is left for the plain rectangle selection.
    doc->SelectTool(Tool::Crop);
    commands.OnRectSelect();
    EXPECT_EQ(doc->ActiveTool(), Tool::RectSelect);
}

TEST_F(SelectionTest, TheOutlineSkipsPointsOutsideCountsAtMost7998AndNeedsThree)
{
    doc->SetImage(ColourPicture());
    commands.OnFreeSelect();
    EXPECT_FALSE(commands.AddLassoPoint({-1, 3}));
    EXPECT_FALSE(commands.AddLassoPoint({40, 3}));
    EXPECT_FALSE(commands.AddLassoPoint({3, 30}));
    EXPECT_TRUE(commands.AddLassoPoint({3, 3}));
    EXPECT_TRUE(commands.AddLassoPoint({20, 3}));
    EXPECT_FALSE(commands.CloseLasso()) << "two points make no selection";
    EXPECT_FALSE(doc->Image()->SelectionIsValid());

    doc->ClearLasso();
    for (int i = 0; i < 9000; ++i) commands.AddLassoPoint({i % 40, (i / 40) % 30});
    EXPECT_EQ(doc->LassoCount(), SelectionCommands::kDrawnLassoPoints);
    ASSERT_TRUE(commands.CloseLasso());
    EXPECT_EQ(doc->LassoCount(), SelectionCommands::kDrawnLassoPoints + 1);
    EXPECT_EQ(doc->Lasso().back().x, doc->Lasso().front().x) << "closed by the first point";
    EXPECT_EQ(doc->Lasso().back().y, doc->Lasso().front().y);
}

TEST_F(SelectionTest, CropWithNothingSelectedOnlyEntersCropModeYetTakesAHistoryStep)
{
    doc->SetImage(ColourPicture());
    doc->Image()->SetTransColor(RGBQUAD{20, 20, 220, 0});
    commands.OnCrop();
    EXPECT_EQ(doc->ActiveTool(), Tool::Crop);
    EXPECT_TRUE(doc->ToolOn(Tool::RectSelect));
    EXPECT_TRUE(commands.CropChecked());
    EXPECT_FALSE(doc->Image()->IsTransparent());
    EXPECT_EQ(doc->Image()->GetWidth(), 40);
    EXPECT_EQ(doc->History().Position(), 1);

    // In crop mode the next rectangle is cut, and the picture is shown at zoom 1, unfitted.
    doc->SetZoom(2.5f);
    ASSERT_TRUE(commands.SelectRect({5, 4, 25, 14}));
    commands.OnCrop();
    EXPECT_EQ(doc->Image()->GetWidth(), 20);
    EXPECT_EQ(doc->Image()->GetHeight(), 10);
    EXPECT_FLOAT_EQ(doc->Zoom(), 1.0f);
    EXPECT_FALSE(doc->Image()->SelectionIsValid());
    EXPECT_EQ(doc->History().Position(), 2);
    doc->OnBack();
    EXPECT_EQ(doc->Image()->GetWidth(), 40);
}

TEST_F(SelectionTest, AFreeHandCropBlanksWhatLiesOutsideTheOutline)
{
    doc->SetImage(ColourPicture());
    doc->OnWindowSize();
    DrawTriangle();
    doc->Image()->SetPixelColor(12, 7, RGBQUAD{254, 255, 255, 0});  // the background colour, inside
    commands.OnCrop();
    const CxImage& image = *doc->Image();
    ASSERT_EQ(image.GetWidth(), 21);
    ASSERT_EQ(image.GetHeight(), 21);
    EXPECT_FALSE(doc->IsFitWindow());
    EXPECT_FALSE(image.IsTransparent()) << "the cut-off area shows the background colour";
    EXPECT_TRUE(IsBackground(image, 20, 20));  // bottom-right corner: outside
    EXPECT_EQ(image.GetPixelColor(1, 1).rgbRed, 220);  // inside: the picture
    EXPECT_EQ(image.GetPixelColor(2, 2), (RGBQUAD{255, 255, 255, 255})) << "inside never looks cut out";
    EXPECT_EQ(doc->LassoCount(), 0);
}

TEST_F(SelectionTest, ADoubleClickCropEndsCropMode)
{
    doc->SetImage(ColourPicture());
    EXPECT_FALSE(commands.CropByDoubleClick()) << "only in crop mode";
    commands.OnCrop();
    ASSERT_TRUE(commands.SelectRect({0, 0, 10, 10}));
    doc->SetZoom(3.0f);
    EXPECT_TRUE(commands.CropByDoubleClick());
    EXPECT_EQ(doc->Image()->GetWidth(), 10);
    EXPECT_EQ(doc->ActiveTool(), Tool::None);
    EXPECT_FLOAT_EQ(doc->Zoom(), 1.0f);
    EXPECT_EQ(doc->History().Position(), 2);
}

TEST_F(SelectionTest, CopyTakesTheWholePictureOrTheSelectionMaskedByTheOutline)
{
    doc->SetImage(ColourPicture());
    doc->Image()->SelectionAddRect({0, 0, 2, 2});
    doc->Image()->SelectionClear();  // a mask with nothing in it is no selection
    std::optional<CxImage> whole = commands.OnCopy();
    ASSERT_TRUE(whole);
    EXPECT_EQ(whole->GetWidth(), 40);
    EXPECT_EQ(whole->GetHeight(), 30);
    EXPECT_FALSE(whole->IsTransparent());
    EXPECT_TRUE(whole->SelectionMask().empty()) << "nothing the plain image would lose";

    DrawTriangle();
    doc->Image()->SetPixelColor(12, 7, RGBQUAD{254, 255, 255, 0});
    std::optional<CxImage> part = commands.OnCopy();
    ASSERT_TRUE(part);
    ASSERT_EQ(part->GetWidth(), 21);
    EXPECT_TRUE(part->IsTransparentAt(20, 20)) << "outside the outline";
    EXPECT_TRUE(IsBackground(*part, 20, 20)) << "and in the background colour for the plain bitmap";
    EXPECT_FALSE(part->IsTransparentAt(1, 1));
    EXPECT_FALSE(part->IsTransparentAt(2, 2)) << "a background-coloured pixel inside turned white";
    // The copy ends the selection and its tool; the picture is as it was.
    EXPECT_FALSE(doc->Image()->SelectionIsValid());
    EXPECT_EQ(doc->ActiveTool(), Tool::None);
    EXPECT_EQ(doc->Image()->GetPixelColor(30, 25).rgbBlue, 220);
    EXPECT_EQ(doc->History().Position(), 0);
}

TEST_F(SelectionTest, CutLeavesTheBackgroundColourWhereTheSelectionWas)
{
    doc->SetImage(ColourPicture());
    EXPECT_FALSE(commands.OnCut()) << "nothing selected";
    commands.OnRectSelect();
    ASSERT_TRUE(commands.SelectRect({15, 10, 25, 20}));
    const CxImage before = *doc->Image();
    std::optional<CxImage> part = commands.OnCut();
    ASSERT_TRUE(part);
    EXPECT_EQ(part->GetWidth(), 10);
    EXPECT_EQ(part->GetPixelColor(0, 0), before.GetPixelColor(15, 10));
    EXPECT_EQ(part->GetPixelColor(9, 9), before.GetPixelColor(24, 19));
    const CxImage& image = *doc->Image();
    EXPECT_TRUE(IsBackground(image, 15, 10));
    EXPECT_TRUE(IsBackground(image, 24, 19));
    EXPECT_FALSE(IsBackground(image, 14, 10));
    EXPECT_FALSE(image.IsTransparent());
    EXPECT_FALSE(image.SelectionIsValid());
    EXPECT_EQ(doc->History().Position(), 1);
}

TEST(SelectionEdits, PalettePicturesAreMaskedInFullColour)
{
    // On a grey palette the background colour and white share an entry; raised to 24 bits
    // the white inside stays white and only the outside is transparent.
    CxImage grey(8, 8, 8);
    grey.Clear(255);
    ASSERT_TRUE(grey.SelectionAddRect({0, 0, 4, 8}));
    ASSERT_TRUE(MaskOutsideSelection(grey, kBackground, false));
    EXPECT_EQ(grey.GetBpp(), 24);
    EXPECT_FALSE(grey.IsTransparentAt(1, 1));
    EXPECT_TRUE(grey.IsTransparentAt(6, 1));
}

}  // namespace
}  // namespace vestrel::selection::test
