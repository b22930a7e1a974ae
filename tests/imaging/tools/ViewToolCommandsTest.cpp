// The tool commands on the document: eraser and pen sizes with the colour chooser, the
// font dialog, and placing text (with and without a history step).

#include "DocumentTestSupport.h"
#include "ToolSizes.h"
#include "ViewToolCommands.h"

#include <gtest/gtest.h>

namespace vestrel::tools {
namespace {

using document::StrokeBrush;
using document::Tool;

class ToolCommandsTest : public document::test::DocumentTest {
protected:
    ToolCommandsTest()
    {
        auto white = std::make_unique<CxImage>(120, 80, 24);
        white->Clear(255);
        doc->SetImage(std::move(white));
    }
    ViewToolCommands commands{*doc, prompter};
};

TEST_F(ToolCommandsTest, ThePenColourIsChosenWithItsSizeAndCancelKeepsIt)
{
    EXPECT_EQ(doc->PenColour(), 0u);
    prompter.answerColour(Colour{255, 0, 0});
    commands.OnPenSize(kPenSizes[3]);
    EXPECT_TRUE(doc->ToolOn(Tool::Pen));
    EXPECT_EQ(doc->PenSize(), 8);
    EXPECT_EQ(doc->PenColour(), MakeColorRef(255, 0, 0));
    EXPECT_EQ(doc->Brush(), (StrokeBrush{8, MakeColorRef(255, 0, 0)}));
    EXPECT_TRUE(commands.PenSizeChecked(8));
    EXPECT_FALSE(commands.PenSizeChecked(4));

    // Cancelled: the size changes, the colour stays red, and the brush follows both.
    prompter.answerColour(std::nullopt);
    commands.OnPenSize(kPenSizes[0]);
    EXPECT_EQ(doc->PenColour(), MakeColorRef(255, 0, 0));
    EXPECT_EQ(doc->Brush(), (StrokeBrush{2, MakeColorRef(255, 0, 0)}));
    EXPECT_GT(textBoxCloses, 0);  // a size entry closes the text box
}

TEST_F(ToolCommandsTest, TheFiftyEntryErasesThirtyTwoPixelsAndIsCheckedByThatValue)
{
    commands.OnEraserSize(kEraserSizes[3]);
    EXPECT_TRUE(doc->ToolOn(Tool::Eraser));
    EXPECT_EQ(doc->EraserSize(), 32);
    EXPECT_EQ(doc->Brush(), (StrokeBrush{32, 0xFFFFFFu}));
    EXPECT_TRUE(commands.EraserSizeChecked(32));
    EXPECT_FALSE(commands.EraserSizeChecked(50));

    // The buttons toggle: off again, then the pen on with its own size and colour.
    EXPECT_FALSE(commands.OnEraserTool());
    EXPECT_EQ(doc->ActiveTool(), Tool::None);
    EXPECT_TRUE(commands.OnPenTool());
    EXPECT_EQ(doc->Brush(), (StrokeBrush{4, 0u}));
    EXPECT_TRUE(commands.OnEraserTool());
    EXPECT_EQ(doc->ActiveTool(), Tool::Eraser);
    EXPECT_EQ(doc->Brush(), (StrokeBrush{32, 0xFFFFFFu}));
}

TEST_F(ToolCommandsTest, TheFontDialogStartsFromTheTextFontAndTakesFontAndColour)
{
    FontChoice chosen{"DejaVu Sans", 40, 700, true, false, Colour{0, 0, 255}};
    prompter.answerFont(chosen);
    commands.OnPenTool();
    commands.OnSetFont();
    ASSERT_FALSE(prompter.shown().empty());
    EXPECT_EQ(prompter.shown().back().kind, "font");
    EXPECT_EQ(prompter.shown().back().text, "Times New Roman");
    EXPECT_EQ(doc->TextFont().faceName, "DejaVu Sans");
    EXPECT_EQ(doc->TextFont().height, 40);
    EXPECT_EQ(doc->PenColour(), MakeColorRef(0, 0, 255));
    // With the pen on, its brush becomes one pixel of the new colour.
    EXPECT_EQ(doc->Brush(), (StrokeBrush{1, MakeColorRef(0, 0, 255)}));
    EXPECT_EQ(doc->EraserSize(), 1);

    // Cancel changes nothing.
    prompter.answerFont(std::nullopt);
    commands.OnSetFont();
    EXPECT_EQ(doc->TextFont().faceName, "DejaVu Sans");
    EXPECT_EQ(doc->PenColour(), MakeColorRef(0, 0, 255));
}

TEST_F(ToolCommandsTest, TextIsDrawnFromItsTopLeftAndAnEmptyBoxTakesNoStep)
{
    EXPECT_FALSE(commands.CommitText("", {10, 10}));
    EXPECT_FALSE(commands.CommitText("\n\n", {10, 10}));
    EXPECT_FALSE(doc->History().CanBack());

    doc->SetPenColour(MakeColorRef(0, 0, 0));
    ASSERT_TRUE(commands.CommitText("HH", {30, 20}));
    EXPECT_TRUE(doc->History().CanBack());
    const CxImage& image = *doc->Image();
    int top = image.GetHeight(), left = image.GetWidth();
    for (int y = 0; y < image.GetHeight(); ++y)
        for (int x = 0; x < image.GetWidth(); ++x)
            if (image.GetPixelColor(x, y).rgbRed < 128) {
                top = std::min(top, y);
                left = std::min(left, x);
            }
    // The ink starts just right of and below the point (the glyphs' own side bearing and
    // the line's room above capitals), never above or left of it.
    EXPECT_GE(left, 30);
    EXPECT_LE(left, 36);
    EXPECT_GE(top, 20);
    EXPECT_LE(top, 32);
}

}  // namespace
}  // namespace vestrel::tools
