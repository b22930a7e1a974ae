#include "DocumentMessages.h"
#include "DocumentTestSupport.h"

#include <gtest/gtest.h>

#include <fstream>

namespace vestrel::document::test {
namespace {
namespace fs = std::filesystem;

int RedAt(const CxImage* image, int x, int y) { return image->GetPixelColor(x, y).rgbRed; }

using DropTest = DocumentTest;

TEST_F(DropTest, ADroppedPictureOpensAtActualSizeWithThePanRule)
{
    const std::string file = WritePicture(Photo("drop.png"));  // 40 x 30
    doc->SetImage(ColourPicture(10, 10));
    doc->SetZoom(3.0f);
    doc->OnWindowSize();
    doc->SelectTool(Tool::Eraser);
    live = true;
    viewSize = {30, 100};  // narrower than the picture

    EXPECT_TRUE(doc->OpenDropped(file));
    ASSERT_NE(doc->Image(), nullptr);
    EXPECT_EQ(doc->Image()->GetWidth(), 40);
    EXPECT_EQ(doc->CurrentPath(), file);
    EXPECT_EQ(doc->Zoom(), 1.0f);
    EXPECT_FALSE(doc->IsFitWindow());
    EXPECT_FALSE(doc->ToolOn(Tool::Eraser));
    EXPECT_TRUE(doc->ToolOn(Tool::Pan));
    EXPECT_EQ(stillViewSwitches, 1);
    EXPECT_GT(infoRepaints, 0);
    EXPECT_TRUE(prompter.shown().empty());

    // A pane big enough leaves the pan tool off.
    viewSize = {100, 100};
    EXPECT_TRUE(doc->OpenDropped(file));
    EXPECT_FALSE(doc->ToolOn(Tool::Pan));
    EXPECT_EQ(stillViewSwitches, 1);
}

TEST_F(DropTest, SavingEditsBeforeADropWritesTheEditedFileNotTheDroppedOne)
{
    const std::string edited = WritePicture(Photo("edited.png"));
    const std::string dropped = WritePicture(Photo("dropped.png"));
    doc->LoadFile(edited);
    doc->PushHistory();
    doc->Image()->Clear(0);  // the edit: all black
    prompter.answer(Answer::Yes);

    EXPECT_TRUE(doc->OpenDropped(dropped));
    EXPECT_EQ(prompter.texts(), std::vector<std::string>{msg::kAskSaveCurrent});
    CxImage savedEdit(edited, CXIMAGE_FORMAT_PNG);
    CxImage droppedNow(dropped, CXIMAGE_FORMAT_PNG);
    ASSERT_TRUE(savedEdit.IsValid() && droppedNow.IsValid());
    EXPECT_EQ(RedAt(&savedEdit, 2, 2), 0);     // the edit went into its own file
    EXPECT_EQ(RedAt(&droppedNow, 2, 2), 220);  // the dropped file is untouched
    EXPECT_EQ(doc->CurrentPath(), dropped);
    EXPECT_EQ(RedAt(doc->Image(), 2, 2), 220);
    EXPECT_EQ(doc->History().Position(), 0);
}

TEST_F(DropTest, CancelEndsTheDropAndTheDocumentKeepsItsFileAndEdits)
{
    const std::string edited = WritePicture(Photo("edited.png"));
    const std::string dropped = WritePicture(Photo("dropped.png"));
    doc->LoadFile(edited);
    doc->PushHistory();
    doc->Image()->Clear(0);
    prompter.answer(Answer::Cancel);

    EXPECT_FALSE(doc->OpenDropped(dropped));
    EXPECT_EQ(doc->CurrentPath(), edited);  // a later Save still goes to the edited file
    EXPECT_EQ(RedAt(doc->Image(), 2, 2), 0);
    EXPECT_EQ(doc->History().Position(), 1);
}

TEST_F(DropTest, AFileThatIsNoPictureIsRefusedAndNothingIsLost)
{
    std::ofstream(Photo("notes.txt")) << "text";
    std::ofstream(Photo("broken.jpg")) << "not a jpeg at all";
    std::ofstream(Photo("book.pdf")) << "%PDF-1.4";
    fs::create_directories(programDir / "Photo" / "folder.png");
    const std::string edited = WritePicture(Photo("edited.png"));
    doc->LoadFile(edited);
    doc->PushHistory();
    doc->Image()->Clear(0);

    for (const char* name : {"notes.txt", "broken.jpg", "book.pdf", "folder.png", "missing.png"}) {
        prompter.clear();
        EXPECT_TRUE(doc->OpenDropped(Photo(name))) << name;  // the next dropped file still comes
        EXPECT_EQ(prompter.texts(),
                  std::vector<std::string>{std::string(msg::kDropRefusedBefore) + Photo(name) +
                                           msg::kDropRefusedAfter})
            << name;
        ASSERT_NE(doc->Image(), nullptr) << name;
        EXPECT_EQ(RedAt(doc->Image(), 2, 2), 0) << name;
        EXPECT_EQ(doc->CurrentPath(), edited) << name;
        EXPECT_EQ(doc->History().Position(), 1) << name;
    }
}

using PaneKeysTest = DocumentTest;

TEST_F(PaneKeysTest, SpaceTurnsThePictureClockwiseWithoutAHistoryStep)
{
    doc->SetImage(ColourPicture(40, 30));  // red left half, blue right half
    doc->Image()->SelectionAddRect({0, 0, 5, 5});
    for (int i = 0; i < 7; ++i) ASSERT_TRUE(doc->AddLassoPoint({i, i}));
    EXPECT_TRUE(doc->TurnImageRight());
    EXPECT_EQ(doc->Image()->GetWidth(), 30);
    EXPECT_EQ(doc->Image()->GetHeight(), 40);
    EXPECT_EQ(RedAt(doc->Image(), 15, 5), 220);  // the red half is on top now
    EXPECT_EQ(RedAt(doc->Image(), 15, 35), 20);
    EXPECT_FALSE(doc->Image()->SelectionIsValid());
    EXPECT_EQ(doc->LassoCount(), 0);
    EXPECT_EQ(doc->History().Position(), 0);
    EXPECT_FALSE(doc->CanBack());

    live = true;
    EXPECT_FALSE(doc->TurnImageRight());
    EXPECT_EQ(doc->Image()->GetWidth(), 30);
}

TEST_F(PaneKeysTest, EscLeavesNoToolNoSelectionAndNoTransparentColour)
{
    doc->SetImage(ColourPicture());
    doc->Image()->SelectionAddRect({0, 0, 5, 5});
    doc->Image()->SetTransColor(RGBQUAD{20, 20, 220, 0});
    doc->SelectTool(Tool::Crop);
    doc->SetFloatingPaste(ColourPicture(5, 5));
    for (int i = 0; i < 3; ++i) ASSERT_TRUE(doc->AddLassoPoint({i, i}));
    ASSERT_TRUE(doc->ToolOn(Tool::RectSelect) && doc->ToolOn(Tool::Crop) && doc->HasFloatingPaste());
    doc->OnEscape();
    EXPECT_FALSE(doc->Image()->SelectionIsValid());
    EXPECT_FALSE(doc->Image()->IsTransparent());
    EXPECT_FALSE(doc->ToolOn(Tool::RectSelect) || doc->ToolOn(Tool::Crop) || doc->HasFloatingPaste());
    EXPECT_EQ(doc->ActiveTool(), Tool::None);
    EXPECT_EQ(doc->LassoCount(), 0);
}

TEST_F(PaneKeysTest, AFloatingPasteIsOnlyOneThatIsShownAndRemovingItFreesIt)
{
    doc->SetImage(ColourPicture());
    doc->SetFloatingPaste(ColourPicture(5, 5));
    EXPECT_TRUE(doc->HasFloatingPaste());
    doc->OnEscape();
    ASSERT_NE(doc->Paste(), nullptr);
    EXPECT_FALSE(doc->HasFloatingPaste());  // left behind by Esc: not over the picture
    doc->SetFloatingPaste(ColourPicture(5, 5), true);
    EXPECT_TRUE(doc->HasFloatingPaste() && doc->PasteIsMark());
    doc->RemovePaste();
    EXPECT_EQ(doc->Paste(), nullptr);
    EXPECT_FALSE(doc->HasFloatingPaste() || doc->PasteIsMark());
    EXPECT_NE(doc->Image(), nullptr);
}

using ToolTest = DocumentTest;

TEST_F(ToolTest, OneToolAtATimeAndEachChoiceStartsAfresh)
{
    doc->SetImage(ColourPicture());
    doc->SelectTool(Tool::Eraser);
    EXPECT_EQ(textBoxCloses, 1);
    EXPECT_TRUE(doc->ToolOn(Tool::Eraser));

    for (int i = 0; i < 5; ++i) ASSERT_TRUE(doc->AddLassoPoint({i, i}));
    doc->SetFloatingPaste(ColourPicture(5, 5));
    doc->SelectTool(Tool::Crop);
    EXPECT_FALSE(doc->ToolOn(Tool::Eraser));
    EXPECT_EQ(doc->LassoCount(), 0);
    EXPECT_FALSE(doc->HasFloatingPaste());
    ASSERT_NE(doc->Paste(), nullptr) << "the paste is parked, not thrown away";
    EXPECT_EQ(textBoxCloses, 2);
    // Cropping works on a rectangle: both read as on, and the crop tool is the active one.
    EXPECT_TRUE(doc->ToolOn(Tool::Crop) && doc->ToolOn(Tool::RectSelect));
    EXPECT_EQ(doc->ActiveTool(), Tool::Crop);
    doc->SelectTool(Tool::RectSelect);
    EXPECT_FALSE(doc->ToolOn(Tool::Crop));

    doc->ResetTools();
    EXPECT_EQ(doc->ActiveTool(), Tool::None);
    EXPECT_FALSE(doc->ToolOn(Tool::RectSelect));
}

TEST_F(ToolTest, TheLassoHoldsItsPointsInOrderUpToItsSize)
{
    for (int i = 0; i < CQuorvanDoc::kLassoPoints; ++i) ASSERT_TRUE(doc->AddLassoPoint({i, -i})) << i;
    EXPECT_FALSE(doc->AddLassoPoint({1, 1}));
    ASSERT_EQ(doc->Lasso().size(), std::size_t(CQuorvanDoc::kLassoPoints));
    EXPECT_EQ(doc->Lasso()[7].x, 7);
    EXPECT_EQ(doc->Lasso().back().y, -(CQuorvanDoc::kLassoPoints - 1));
    doc->ClearLasso();
    EXPECT_TRUE(doc->Lasso().empty());
}

using PanToolTest = DocumentTest;

TEST_F(PanToolTest, ThePanToolIsOfferedOnlyWhileThePictureOverflowsThePane)
{
    EXPECT_FALSE(doc->CanPanTool());  // no picture
    doc->SetImage(ColourPicture(40, 30));
    viewSize = {40, 30};
    EXPECT_FALSE(doc->CanPanTool());
    doc->SetZoom(1.1f);
    EXPECT_TRUE(doc->CanPanTool());

    doc->SelectTool(Tool::Eraser);
    doc->Image()->SelectionAddRect({0, 0, 5, 5});
    doc->OnPanTool();
    EXPECT_TRUE(doc->ToolOn(Tool::Pan));
    EXPECT_TRUE(doc->PanToolChecked());
    EXPECT_FALSE(doc->ToolOn(Tool::Eraser));
    EXPECT_FALSE(doc->Image()->SelectionIsValid());
    doc->OnPanTool();
    EXPECT_FALSE(doc->ToolOn(Tool::Pan));

    doc->OnWindowSize();
    doc->SelectTool(Tool::Pan);
    EXPECT_FALSE(doc->CanPanTool());
    EXPECT_FALSE(doc->PanToolChecked());
    doc->OnActualSize();
    doc->SetZoom(1.1f);
    ASSERT_TRUE(doc->CanPanTool());
    live = true;
    EXPECT_FALSE(doc->CanPanTool());
}

}  // namespace
}  // namespace vestrel::document::test
