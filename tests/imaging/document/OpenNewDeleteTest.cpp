#include "DocumentMessages.h"
#include "DocumentTestSupport.h"
#include "Trash.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

namespace vestrel::document::test {
namespace {
namespace fs = std::filesystem;

using OpenTest = DocumentTest;

TEST_F(OpenTest, AVanishedFileIsToldAndNothingChanges)
{
    doc->SetImage(ColourPicture());
    doc->PushHistory();
    const std::string missing = Photo("gone.jpg");
    prompter.answerFiles(std::vector<std::string>{missing});
    doc->OnFileOpen();
    EXPECT_TRUE(prompter.showed(std::string(msg::kOpenMissingBefore) + missing + msg::kOpenMissingAfter));
    EXPECT_NE(doc->Image(), nullptr);
    EXPECT_EQ(doc->History().Position(), 1);
}

TEST_F(OpenTest, OpenAsksToSaveEditsAndCancelKeepsThem)
{
    const std::string file = WritePicture(Photo("big.png"));
    doc->SetImage(ColourPicture(10, 10));
    doc->PushHistory();
    prompter.answerFiles(std::vector<std::string>{file}).answer(Answer::Cancel);
    doc->OnFileOpen();
    EXPECT_EQ(doc->Image()->GetWidth(), 10);
    EXPECT_EQ(doc->History().Position(), 1);

    viewSize = {20, 100};  // narrower than the 40-pixel picture
    prompter.answerFiles(std::vector<std::string>{file}).answer(Answer::No);
    doc->OnFileOpen();
    ASSERT_NE(doc->Image(), nullptr);
    EXPECT_EQ(doc->Image()->GetWidth(), 40);
    EXPECT_EQ(doc->History().Position(), 0);
    EXPECT_EQ(doc->CurrentPath(), file);
    EXPECT_TRUE(doc->ToolOn(Tool::Pan));
    EXPECT_EQ(prompter.texts().back(), msg::kAskSaveCurrent);
}

TEST_F(OpenTest, LoadFileOfAnUnknownTypeOrBrokenFileLeavesTheDocumentEmpty)
{
    doc->SetImage(ColourPicture());
    doc->OnWindowSize();
    doc->SelectTool(Tool::Eraser);
    doc->LoadFile(Photo("notes.txt"));
    EXPECT_EQ(doc->Image(), nullptr);
    EXPECT_TRUE(doc->IsFitWindow());
    EXPECT_FALSE(doc->ToolOn(Tool::Eraser));

    std::ofstream(Photo("broken.png")) << "not a picture";
    doc->LoadFile(Photo("broken.png"));
    EXPECT_EQ(doc->Image(), nullptr);
    EXPECT_EQ(doc->FileName(), "broken.png");
}

TEST_F(OpenTest, NewEmptiesTheDocumentAfterAskingAboutEdits)
{
    doc->SetImage(ColourPicture());
    doc->PushHistory();
    doc->SetZoom(2.0f);
    prompter.answer(Answer::No);
    doc->OnFileNew();
    EXPECT_EQ(doc->Image(), nullptr);
    EXPECT_EQ(doc->FileName(), "Image.bmp");
    EXPECT_EQ(doc->Zoom(), 1.0f);
    EXPECT_EQ(doc->History().Position(), 0);
    EXPECT_EQ(prompter.texts(), std::vector<std::string>{msg::kAskSaveCurrent});
}

TEST_F(OpenTest, TheListingIgnoresFoldersAndUnknownTypesAndTellsItsListeners)
{
    WritePicture(Photo("Image00007.jpg"));
    std::ofstream(Photo("x.PDF")) << "%PDF-1.4";
    std::ofstream(Photo("notes.txt")) << "text";
    fs::create_directories(programDir / "Photo" / "sub.jpg");
    doc->RefreshLibrary();
    auto names = doc->PhotoNames();
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"Image00007.jpg", "x.PDF"}));
    EXPECT_EQ(doc->PhotoTimes().size(), 2u);
    EXPECT_EQ(libraryRebuilds, 1);

    // A listing replaces the one before, whatever the folder held then.
    fs::remove(Photo("x.PDF"));
    doc->RefreshLibrary();
    EXPECT_EQ(doc->PhotoNames(), std::vector<std::string>{"Image00007.jpg"});
    EXPECT_EQ(libraryRebuilds, 2);
}

// Each delete test runs with a $HOME of its own that has no data folder yet.
class DeleteTest : public DocumentTest {
protected:
    FreshHome freshHome{programDir / "home"};
    const fs::path& home = freshHome.path();
};

TEST_F(DeleteTest, DeleteMovesTheFileToTheTrashOfAFreshHome)
{
    const std::string file = WritePicture(Photo("page.png"));
    doc->LoadFile(file);
    ASSERT_NE(doc->Image(), nullptr);
    EXPECT_EQ(UserTrashDir(), home / ".local/share/Trash");
    doc->OnDelete();
    EXPECT_FALSE(fs::exists(file));
    EXPECT_TRUE(fs::exists(home / ".local/share/Trash/files/page.png"));
    EXPECT_TRUE(fs::exists(home / ".local/share/Trash/info/page.png.trashinfo"));
    EXPECT_FALSE(fs::exists(fs::current_path() / "files" / "page.png"));
    EXPECT_NE(doc->Image(), nullptr);  // the picture stays in the document
    EXPECT_EQ(libraryRebuilds, 1);
    EXPECT_TRUE(doc->PhotoNames().empty());
    EXPECT_TRUE(prompter.shown().empty());
}

TEST_F(DeleteTest, DeletingAFileThatIsGoneIsToldAndRebuildsTheListing)
{
    doc->SetPath(Photo("gone.png"));
    doc->SetImage(ColourPicture());
    doc->OnDelete();
    EXPECT_EQ(prompter.texts(), std::vector<std::string>{msg::kDeleteMissing});
    EXPECT_EQ(libraryRebuilds, 1);
    EXPECT_FALSE(fs::exists(home / ".local"));
}

}  // namespace
}  // namespace vestrel::document::test
