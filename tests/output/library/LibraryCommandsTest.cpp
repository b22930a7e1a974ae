// The library's commands on the photo folder, without the pane: which names are shown,
// opening by double click and "查看", rename, delete to the trash, the folder commands,
// the thumbnail count and the two context menus.

#include "DocumentMessages.h"
#include "LibraryCommandIds.h"
#include "LibraryFileCommands.h"
#include "LibraryItems.h"
#include "LibraryMessages.h"
#include "LibraryOpen.h"
#include "LibraryTestSupport.h"
#include "StorageFolder.h"
#include "PdfMessages.h"

#include <fstream>
#include <gtest/gtest.h>

namespace vestrel::library {
namespace {
namespace fs = std::filesystem;
using List = std::vector<std::string>;
using test::WritePicture;

TEST(ShownNames, GridShowsTheNewestUpToTheCountAndTheListShowsAll)
{
    List oldestFirst;
    for (int i = 0; i < 10; ++i) oldestFirst.push_back("Image" + std::to_string(i) + ".jpg");
    EXPECT_EQ(ShownNames(oldestFirst, false, kDefaultThumbnailCount),
              (List{"Image9.jpg", "Image8.jpg", "Image7.jpg", "Image6.jpg", "Image5.jpg", "Image4.jpg"}));
    const List all = ShownNames(oldestFirst, true, kDefaultThumbnailCount);
    ASSERT_EQ(all.size(), 10u);
    EXPECT_EQ(all.front(), "Image9.jpg");
    EXPECT_EQ(all.back(), "Image0.jpg");
    EXPECT_EQ(ShownNames(oldestFirst, false, 65536).size(), 10u);
    EXPECT_TRUE(ShownNames({}, false, 6).empty());
}

TEST(ThumbnailCount, OnlyWholeNumbersFromOneTo65536)
{
    EXPECT_EQ(ParseThumbnailCount("1"), 1);
    EXPECT_EQ(ParseThumbnailCount("65536"), 65536);
    EXPECT_EQ(ParseThumbnailCount(" 12 "), 12);
    for (const char* refused : {"0", "70000", "65537", "-3", "", "  ", "abc", "12a", "1.5", "99999999999"})
        EXPECT_FALSE(ParseThumbnailCount(refused)) << refused;
}

TEST(ContextMenus, ItemMenuAndEmptySpaceMenuInOrder)
{
    const auto texts = [](const std::vector<MenuEntry>& menu) {
        List out;
        for (const auto& entry : menu) out.push_back(entry.text + " " + std::to_string(entry.id));
        return out;
    };
    EXPECT_EQ(texts(LibraryContextMenu(true)),
              (List{"查看 32854", "刷新 32915", "删除 32855", "重命名 32852", "列表显示 32937",
                    "缩略图显示 32938", "缩略图个数 32914", "打开文件夹 32856", "选择图库 32956"}));
    EXPECT_EQ(texts(LibraryContextMenu(false)),
              (List{"刷新 32915", "列表显示 32937", "缩略图显示 32938", "缩略图个数 32914", "打开文件夹 32856",
                    "选择图库 32957"}));
}

using OpenTest = test::LibraryTest;

TEST_F(OpenTest, UpperCasePdfIsTakenForAnImageAndReportedMissing)
{
    std::ofstream(Photo("x.PDF")) << "%PDF-1.4\n";
    doc->RefreshLibrary();
    ASSERT_EQ(doc->PhotoNames(), List{"x.PDF"});
    const int before = rebuilds;
    EXPECT_FALSE(OpenLibraryEntry(*doc, prompter, hooks, "x.PDF"));
    EXPECT_EQ(prompter.texts(), List{msg::kOpenMissing});
    EXPECT_EQ(rebuilds, before + 1);
    EXPECT_TRUE(desktopOpened.empty());
    EXPECT_EQ(doc->Image(), nullptr);
    EXPECT_TRUE(fs::exists(Photo("x.PDF")));
}

TEST_F(OpenTest, PdfGoesToTheDesktopReaderAfterTheEBookQuestion)
{
    std::ofstream(Photo("book.pdf")) << "%PDF-1.4\n";
    EXPECT_TRUE(OpenLibraryEntry(*doc, prompter, hooks, "book.pdf"));
    EXPECT_EQ(desktopOpened, List{Photo("book.pdf").string()});
    EXPECT_EQ(calls, List{"confirmStopEBook"});

    // No to stopping the e-book: nothing is opened.
    eBookAnswer = false;
    EXPECT_FALSE(OpenLibraryEntry(*doc, prompter, hooks, "book.pdf"));
    EXPECT_EQ(desktopOpened.size(), 1u);

    // No reader: said so. A vanished PDF is reported as missing, not blamed on the reader.
    eBookAnswer = true;
    desktopWorks = false;
    EXPECT_FALSE(OpenLibraryEntry(*doc, prompter, hooks, "book.pdf"));
    fs::remove(Photo("book.pdf"));
    EXPECT_FALSE(OpenLibraryEntry(*doc, prompter, hooks, "book.pdf"));
    EXPECT_EQ(prompter.texts(), (List{msg::kInstallPdfReader, msg::kOpenMissing}));
    EXPECT_EQ(desktopOpened.size(), 2u);
}

TEST_F(OpenTest, ImageReplacesTheDocumentPictureAndLeavesTheLivePicture)
{
    WritePicture(Photo("page.jpg"), 400, 300);
    live = true;
    EXPECT_TRUE(OpenLibraryEntry(*doc, prompter, hooks, "page.jpg"));
    ASSERT_NE(doc->Image(), nullptr);
    EXPECT_EQ(doc->Image()->GetWidth(), 400);
    EXPECT_EQ(doc->CurrentPath(), Photo("page.jpg").string());
    EXPECT_EQ(calls, (List{"confirmEndIdCardCopy", "leaveLiveView", "showLoadedImage", "activateImageView"}));
    EXPECT_TRUE(prompter.texts().empty());
}

TEST_F(OpenTest, UnsavedEditsAreAskedForAndCancelKeepsThem)
{
    WritePicture(Photo("old.png"), 40, 30);
    WritePicture(Photo("new.jpg"), 400, 300);
    ASSERT_TRUE(OpenLibraryEntry(*doc, prompter, hooks, "old.png"));
    doc->PushHistory();
    doc->Image()->Negative();

    prompter.answer(Answer::Cancel);
    EXPECT_FALSE(OpenLibraryEntry(*doc, prompter, hooks, "new.jpg"));
    EXPECT_EQ(doc->Image()->GetWidth(), 40);
    EXPECT_EQ(doc->History().Position(), 1);

    // No: the edits are dropped with the history and the new picture comes in.
    prompter.answer(Answer::No);
    EXPECT_TRUE(OpenLibraryEntry(*doc, prompter, hooks, "new.jpg"));
    EXPECT_EQ(doc->Image()->GetWidth(), 400);
    EXPECT_EQ(doc->History().Position(), 0);

    // Yes: the edits are saved to their file before the other picture comes in.
    doc->PushHistory();
    doc->Image()->Crop(0, 0, 100, 100);
    prompter.answer(Answer::Yes);
    EXPECT_TRUE(OpenLibraryEntry(*doc, prompter, hooks, "old.png"));
    EXPECT_EQ(doc->Image()->GetWidth(), 40);
    EXPECT_EQ(CxImage(Photo("new.jpg"), 3).GetWidth(), 100);
    EXPECT_EQ(prompter.texts(), (List{document::msg::kAskSaveCurrent, document::msg::kAskSaveCurrent,
                                      document::msg::kAskSaveCurrent}));
}

TEST_F(OpenTest, IdCardQuestionAndEmptySpace)
{
    WritePicture(Photo("page.jpg"), 40, 30);
    idCardAnswer = false;
    EXPECT_FALSE(OpenLibraryEntry(*doc, prompter, hooks, "page.jpg"));
    EXPECT_EQ(doc->Image(), nullptr);

    // A double click on empty space only activates the image view.
    idCardAnswer = true;
    calls.clear();
    EXPECT_FALSE(OpenLibraryEntry(*doc, prompter, hooks, ""));
    EXPECT_EQ(calls, (List{"confirmEndIdCardCopy", "activateImageView"}));

    // "查看" asks no ID-card question and starts at zoom 1.
    calls.clear();
    doc->SetZoom(3.0f);
    idCardAnswer = false;
    EXPECT_TRUE(ViewLibraryEntry(*doc, prompter, hooks, "page.jpg"));
    EXPECT_FLOAT_EQ(doc->Zoom(), 1.0f);
    EXPECT_EQ(calls, (List{"showLoadedImage", "activateImageView"}));
}

using FileCommandTest = test::LibraryTest;

TEST_F(FileCommandTest, DeleteWithOneVanishedFileDeletesNothing)
{
    WriteAgedPictures({"a.jpg", "b.jpg", "c.jpg"});
    doc->RefreshLibrary();
    fs::remove(Photo("b.jpg"));
    const int before = rebuilds;
    EXPECT_FALSE(DeleteLibraryFiles(*doc, prompter, hooks, {"a.jpg", "b.jpg", "c.jpg"}));
    EXPECT_EQ(prompter.texts(), List{"你要删除的文件b.jpg不存在，请注意查证!"});
    EXPECT_TRUE(fs::exists(Photo("a.jpg")));
    EXPECT_TRUE(fs::exists(Photo("c.jpg")));
    EXPECT_FALSE(fs::exists(TrashFile("a.jpg")));
    EXPECT_EQ(rebuilds, before + 1);
    EXPECT_EQ(doc->PhotoNames(), (List{"a.jpg", "c.jpg"}));
}

TEST_F(FileCommandTest, DeleteMovesEverySelectedFileToTheTrash)
{
    WriteAgedPictures({"a.jpg", "b.jpg", "c.jpg"});
    doc->RefreshLibrary();
    EXPECT_TRUE(DeleteLibraryFiles(*doc, prompter, hooks, {"a.jpg", "c.jpg"}));
    EXPECT_TRUE(prompter.texts().empty());
    EXPECT_FALSE(fs::exists(Photo("a.jpg")));
    EXPECT_TRUE(fs::exists(TrashFile("a.jpg")));
    EXPECT_TRUE(fs::exists(TrashFile("c.jpg")));
    EXPECT_EQ(doc->PhotoNames(), List{"b.jpg"});
    EXPECT_EQ(calls, (List{"repaintImageView", "activateImageView"}));
    // Nothing was put beside the current directory.
    EXPECT_FALSE(fs::exists(fs::current_path() / "files" / "a.jpg"));
}

TEST_F(FileCommandTest, RenameNeverReplacesAnotherFile)
{
    WritePicture(Photo("a.jpg"), 40, 30, cv::Scalar(0, 0, 255));
    WritePicture(Photo("b.jpg"), 40, 30, cv::Scalar(255, 0, 0));
    const auto sizeOfB = fs::file_size(Photo("b.jpg"));
    EXPECT_FALSE(RenameLibraryFile(*doc, prompter, hooks, "a.jpg", "b.jpg"));
    EXPECT_TRUE(fs::exists(Photo("a.jpg")));
    EXPECT_EQ(fs::file_size(Photo("b.jpg")), sizeOfB);

    // Names that would leave the folder are refused.
    EXPECT_FALSE(RenameLibraryFile(*doc, prompter, hooks, "a.jpg", "../a.jpg"));
    EXPECT_FALSE(RenameLibraryFile(*doc, prompter, hooks, "a.jpg", ".."));
    EXPECT_TRUE(fs::exists(Photo("a.jpg")));
    EXPECT_EQ(prompter.texts(), (List{"文件b.jpg已存在，无法重命名！", "文件名../a.jpg无效，不能包含“/”！",
                                      "文件名..无效，不能包含“/”！"}));

    // An empty or unchanged name changes nothing and says nothing.
    prompter.clear();
    EXPECT_FALSE(RenameLibraryFile(*doc, prompter, hooks, "a.jpg", ""));
    EXPECT_FALSE(RenameLibraryFile(*doc, prompter, hooks, "a.jpg", "a.jpg"));
    EXPECT_TRUE(prompter.texts().empty());
}

TEST_F(FileCommandTest, RenameRefreshesAndAVanishedFileIsReported)
{
    WritePicture(Photo("a.jpg"), 40, 30);
    const int before = rebuilds;
    EXPECT_TRUE(RenameLibraryFile(*doc, prompter, hooks, "a.jpg", "page one.jpg"));
    EXPECT_FALSE(fs::exists(Photo("a.jpg")));
    EXPECT_TRUE(fs::exists(Photo("page one.jpg")));
    EXPECT_EQ(doc->PhotoNames(), List{"page one.jpg"});
    EXPECT_EQ(rebuilds, before + 1);

    EXPECT_FALSE(RenameLibraryFile(*doc, prompter, hooks, "gone.jpg", "other.jpg"));
    EXPECT_EQ(prompter.texts(), List{msg::kRenameMissing});
    EXPECT_EQ(rebuilds, before + 2);
}

TEST_F(FileCommandTest, ChooseLibraryRefusesTheRootAndTakesAnyOtherFolder)
{
    const std::string old = doc->PhotoDir();
    prompter.answerPath("/");
    EXPECT_FALSE(ChooseLibraryFolder(*doc, prompter, hooks));
    EXPECT_EQ(doc->PhotoDir(), old);
    EXPECT_EQ(prompter.texts(), (List{msg::kChooseLibraryTitle, vestrel::kSystemRootRefused}));

    prompter.answerPath(std::nullopt);
    EXPECT_FALSE(ChooseLibraryFolder(*doc, prompter, hooks));

    const fs::path other = programDir / "Scans";
    WritePicture(other / "s.jpg", 40, 30);
    prompter.answerPath(other.string());
    EXPECT_TRUE(ChooseLibraryFolder(*doc, prompter, hooks));
    EXPECT_EQ(doc->PhotoDir(), other.string() + "/");
    EXPECT_EQ(doc->PhotoNames(), List{"s.jpg"});
    EXPECT_EQ(calls, List{"photoFolderChanged " + other.string() + "/"});
    ASSERT_EQ(prompter.shown().back().kind, "folder");
    EXPECT_EQ(prompter.shown().back().text, msg::kChooseLibraryTitle);

    // A folder that already ends with a slash keeps it as it is.
    prompter.answerPath(other.string() + "/");
    EXPECT_TRUE(ChooseLibraryFolder(*doc, prompter, hooks));
    EXPECT_EQ(doc->PhotoDir(), other.string() + "/");
}

TEST_F(FileCommandTest, OpenFolderHandsThePhotoFolderToTheDesktop)
{
    EXPECT_TRUE(OpenLibraryFolder(*doc, prompter, hooks));
    EXPECT_EQ(desktopOpened, List{doc->PhotoDir()});
    desktopWorks = false;
    EXPECT_FALSE(OpenLibraryFolder(*doc, prompter, hooks));
    EXPECT_EQ(prompter.texts(), List{msg::kOpenFolderFailed + doc->PhotoDir()});
}

}  // namespace
}  // namespace vestrel::library
