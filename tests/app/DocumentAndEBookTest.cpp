// The main window with the image document and the e-book: a scan becomes the current file
// and is shown in the still view, document commands follow the document, and the e-book
// ends by its button, by closing its window, by a confirmed command or with the program.

#include "AppTestSupport.h"

#include "CHelperView.h"
#include "CLiveView.h"
#include "CQuorvanDoc.h"
#include "CThumbViewerView.h"
#include "CommandIds.h"
#include "EBookSession.h"
#include "PdfMessages.h"
#include "PdfTestTools.h"
#include "ScanDriver.h"

#include <QAction>

#include <gtest/gtest.h>

using namespace vestrel;
using namespace vestrel::cmd;
using testkit::MainFrameTest;
using testkit::WaitFor;
namespace fs = std::filesystem;

namespace {

class DocumentFrameTest : public MainFrameTest {};

TEST_F(DocumentFrameTest, AScanIsTheCurrentFileAndTheStillViewShowsIt)
{
    CMainFrame& f = makeScanning();
    f.OnCommand(ID_SCAN);
    ASSERT_TRUE(fs::exists(photo("Image0001.jpg")));
    EXPECT_EQ(f.document().CurrentPath(), photo("Image0001.jpg").string());
    EXPECT_EQ(f.document().PhotoNames(), std::vector<std::string>{"Image0001.jpg"});
    f.updateCommandUi();
    EXPECT_FALSE(f.action(ID_FILE_SAVE)->isEnabled());  // live: the document's commands rest

    f.OnCommand(ID_LIVE_STILL);
    ASSERT_NE(f.document().Image(), nullptr);
    f.updateCommandUi();
    EXPECT_TRUE(f.action(ID_FILE_SAVE)->isEnabled());
    EXPECT_TRUE(f.action(ID_ZOOM_IN)->isEnabled());
    EXPECT_FALSE(f.action(ID_EDIT_UNDO)->isEnabled());
    EXPECT_FALSE(f.action(ID_EDIT_CUT)->isEnabled());  // nothing is selected

    // Zoomed until it no longer fits, the picture can be panned; fitted, it cannot.
    for (int i = 0; i < 10; ++i) f.OnCommand(ID_ZOOM_IN);
    f.updateCommandUi();
    EXPECT_TRUE(f.action(ID_PAN)->isEnabled());
    f.OnCommand(ID_WINDOW_SIZE);
    f.updateCommandUi();
    EXPECT_TRUE(f.action(ID_WINDOW_SIZE)->isChecked());
    EXPECT_FALSE(f.action(ID_PAN)->isEnabled());
    EXPECT_FALSE(f.action(ID_ZOOM_IN)->isEnabled());
    f.OnCommand(ID_ACTUAL_SIZE);
    EXPECT_FLOAT_EQ(f.document().Zoom(), 1.0f);
    EXPECT_FALSE(f.document().IsFitWindow());
}

TEST_F(DocumentFrameTest, TheNamingCountersFollowTheDocumentsListing)
{
    CMainFrame& f = makeScanning();
    f.OnCommand(ID_SCAN);
    ASSERT_TRUE(fs::exists(photo("Image0001.jpg")));
    // A file put into the folder by someone else counts once the folder is listed again.
    fs::copy_file(photo("Image0001.jpg"), photo("Image0041.jpg"));
    f.document().RefreshLibrary();
    EXPECT_EQ(f.scanState().counters.serial, 41);
    f.OnCommand(ID_SCAN);
    EXPECT_TRUE(fs::exists(photo("Image0042.jpg")));
    // A listing without them starts the numbers again.
    fs::remove(photo("Image0041.jpg"));
    fs::remove(photo("Image0042.jpg"));
    f.document().RefreshLibrary();
    EXPECT_EQ(f.scanState().counters.serial, 1);
}

TEST_F(DocumentFrameTest, ScansAppearInTheLibraryAndOpenFromIt)
{
    CMainFrame& f = makeScanning();
    f.OnCommand(ID_SCAN);
    f.OnCommand(ID_SCAN);
    ASSERT_EQ(f.libraryView()->entryNames(), (std::vector<std::string>{"Image0002.jpg", "Image0001.jpg"}));

    f.libraryView()->openEntry(1);
    EXPECT_FALSE(f.scanState().liveMode);
    ASSERT_NE(f.document().Image(), nullptr);
    EXPECT_EQ(f.document().CurrentPath(), photo("Image0001.jpg").string());
    EXPECT_TRUE(f.document().ToolOn(document::Tool::Pan)) << "a camera scan is larger than the pane";
}

TEST_F(DocumentFrameTest, OpeningAPdfFromTheLibraryAsksWhileABookIsOpen)
{
    CMainFrame& f = makeScanning();
    f.OnCommand(ID_EBOOK_START);
    f.OnCommand(ID_SCAN);
    ASSERT_EQ(f.libraryView()->entryNames(), std::vector<std::string>{"Image0001.pdf"});
    prompter.answer(Answer::No);
    f.libraryView()->openEntry(0);
    EXPECT_TRUE(prompter.showed(output::kStopEBookQuestion));
    EXPECT_TRUE(f.ebook().composing());
}

TEST_F(DocumentFrameTest, AFileDroppedOnTheLivePictureOpensInTheStillView)
{
    CMainFrame& f = makeScanning();
    f.OnCommand(ID_SCAN);
    const fs::path elsewhere = programDir.path() / "page.jpg";
    fs::copy_file(photo("Image0001.jpg"), elsewhere);

    emit f.liveView()->filesDropped({QString::fromStdString(elsewhere.string())});
    EXPECT_FALSE(f.scanState().liveMode);
    ASSERT_NE(f.document().Image(), nullptr);
    EXPECT_EQ(f.document().CurrentPath(), elsewhere.string());
    // The information pane now speaks of the still picture and its file.
    f.helperView()->repaint();
    EXPECT_TRUE(f.helperView()->lineText(0).contains(QStringLiteral("page.jpg"))) << f.helperView()->lineText(0).toStdString();
}

TEST_F(DocumentFrameTest, ClosingWithUnsavedEditsAsksAndCancelKeepsTheWindow)
{
    CMainFrame& f = makeScanning();
    f.OnCommand(ID_SCAN);
    f.OnCommand(ID_LIVE_STILL);
    ASSERT_NE(f.document().Image(), nullptr);
    f.document().PushHistory();
    f.document().Image()->Negative();

    prompter.answer(Answer::Cancel);
    EXPECT_FALSE(f.close());
    EXPECT_TRUE(f.isVisible());
    prompter.answer(Answer::No);
    EXPECT_TRUE(f.close());
}

TEST_F(DocumentFrameTest, AnEBookCollectsScansIntoOneFileUntilItsButton)
{
    CMainFrame& f = makeScanning();
    f.OnCommand(ID_EBOOK_START);
    ASSERT_NE(f.ebookToolWindow(), nullptr);
    EXPECT_EQ(f.ebookToolWindow()->windowTitle(), QString::fromUtf8(output::kEBookToolBarTitle));
    f.updateCommandUi();
    EXPECT_FALSE(f.action(ID_EBOOK_START)->isEnabled());
    EXPECT_TRUE(f.action(ID_EBOOK_STOP)->isEnabled());

    for (int i = 0; i < 3; ++i) f.OnCommand(ID_SCAN);
    EXPECT_EQ(f.ebook().book().pageCount(), 3);
    EXPECT_EQ(testkit::pageCount(photo("Image0001.pdf")), 3);
    EXPECT_EQ(f.document().CurrentPath(), photo("Image0001.pdf").string());

    f.OnCommand(ID_EBOOK_STOP);
    EXPECT_FALSE(f.ebook().composing());
    EXPECT_FALSE(f.ebook().composing());
    EXPECT_TRUE(testkit::qpdfAccepts(photo("Image0001.pdf")));
    // Scans after the book are images again.
    f.OnCommand(ID_SCAN);
    EXPECT_TRUE(fs::exists(photo("Image0002.jpg")));
}

TEST_F(DocumentFrameTest, ClosingTheToolWindowEndsTheBookAndItsTimedScan)
{
    CMainFrame& f = makeScanning();
    f.settings().intertime = 100000;
    f.OnCommand(ID_EBOOK_START);
    f.OnCommand(ID_SCAN);
    f.OnCommand(ID_TIMED_SCAN);
    ASSERT_TRUE(f.scanState().timedScanning);

    f.ebookToolWindow()->close();
    EXPECT_TRUE(WaitFor([&] { return !f.ebook().composing(); }, 3000));
    EXPECT_FALSE(f.scanState().timedScanning);
    EXPECT_EQ(testkit::pageCount(photo("Image0001.pdf")), 1);
}

TEST_F(DocumentFrameTest, RestoreDefaultsAsksBeforeEndingTheBook)
{
    CMainFrame& f = makeScanning();
    f.OnCommand(ID_EBOOK_START);
    prompter.answer(Answer::No);
    f.OnCommand(ID_RESTORE_DEFAULTS);
    EXPECT_TRUE(prompter.showed(output::kStopEBookQuestion));
    EXPECT_TRUE(f.ebook().composing());

    prompter.answer(Answer::Yes);
    f.OnCommand(ID_RESTORE_DEFAULTS);
    EXPECT_FALSE(f.ebook().composing());
}

TEST_F(DocumentFrameTest, ABookThatCannotBeCreatedEndsAtItsFirstScan)
{
    CMainFrame& f = makeScanning();
    f.OnCommand(ID_EBOOK_START);
    f.settings().path = (programDir.path() / "gone/").string();
    f.OnCommand(ID_SCAN);
    EXPECT_FALSE(f.ebook().composing());
    EXPECT_EQ(f.ebookToolWindow(), nullptr);
    EXPECT_EQ(f.ebook().book().pageCount(), 0);
    ASSERT_FALSE(prompter.shown().empty());
    EXPECT_EQ(prompter.shown()[0].text.rfind(output::kEBookCreateFailed, 0), 0u);
}

TEST_F(DocumentFrameTest, AnOpenBookIsFinishedWhenTheProgramEnds)
{
    CMainFrame& f = makeScanning();
    f.OnCommand(ID_EBOOK_START);
    f.OnCommand(ID_SCAN);
    f.OnCommand(ID_SCAN);
    frame.reset();
    EXPECT_EQ(testkit::pageCount(photo("Image0001.pdf")), 2);
    EXPECT_TRUE(testkit::qpdfAccepts(photo("Image0001.pdf")));
}

}  // namespace
