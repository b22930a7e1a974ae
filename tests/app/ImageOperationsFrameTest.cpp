// The main window with the image operations: the commands change the still picture through
// the history, a running operation locks what touches the picture, and the picture shown
// always belongs to the file a Save writes.

#include "AppTestSupport.h"

#include "CQuorvanDoc.h"
#include "CQuorvanView.h"
#include "CommandIds.h"
#include "DocumentMessages.h"
#include "ImageCommands.h"

#include <QAction>
#include <QCloseEvent>

#include <gtest/gtest.h>

using namespace vestrel;
using namespace vestrel::cmd;
using testkit::MainFrameTest;
using testkit::WaitFor;
namespace fs = std::filesystem;

namespace {

class ImageFrameTest : public MainFrameTest {
protected:
    static std::vector<std::uint8_t> Shown(CMainFrame& f) { return f.document().Image()->Dump(); }
};

TEST_F(ImageFrameTest, AnEffectLocksThePictureUntilItIsInAndBackRestoresIt)
{
    CMainFrame& f = makeScanning();
    f.OnCommand(ID_SCAN);
    f.OnCommand(ID_LIVE_STILL);
    ASSERT_NE(f.document().Image(), nullptr);
    const auto before = Shown(f);
    f.updateCommandUi();
    ASSERT_TRUE(f.action(ID_REMOVE_BACKGROUND)->isEnabled());

    f.OnCommand(ID_REMOVE_BACKGROUND);
    ASSERT_TRUE(f.imageOperations().Busy());
    f.updateCommandUi();
    EXPECT_FALSE(f.action(ID_EDIT_UNDO)->isEnabled());
    EXPECT_FALSE(f.action(ID_FILE_OPEN)->isEnabled());
    EXPECT_FALSE(f.action(ID_GREY)->isEnabled());
    EXPECT_FALSE(f.stillView()->isEnabled());
    f.OnCommand(ID_EDIT_UNDO);  // refused, not queued
    f.OnCommand(ID_GREY);
    EXPECT_EQ(f.document().History().Position(), 1);

    ASSERT_TRUE(WaitFor([&] { return !f.imageOperations().Busy(); }, 20000));
    EXPECT_TRUE(f.stillView()->isEnabled());
    EXPECT_NE(Shown(f), before);
    f.updateCommandUi();
    ASSERT_TRUE(f.action(ID_EDIT_UNDO)->isEnabled());
    f.OnCommand(ID_EDIT_UNDO);
    EXPECT_EQ(Shown(f), before);
}

TEST_F(ImageFrameTest, ANewScanNeverRenamesAnEditedPicture)
{
    CMainFrame& f = makeScanning();
    f.OnCommand(ID_SCAN);
    f.OnCommand(ID_LIVE_STILL);
    f.OnCommand(ID_INVERT);
    f.imageOperations().Wait();
    const auto edited = Shown(f);
    ASSERT_EQ(f.document().History().Position(), 1);

    f.OnCommand(ID_LIVE_STILL);
    f.OnCommand(ID_SCAN);
    ASSERT_TRUE(fs::exists(photo("Image0002.jpg")));
    EXPECT_EQ(f.document().CurrentPath(), photo("Image0001.jpg").string());
    f.OnCommand(ID_LIVE_STILL);
    EXPECT_EQ(Shown(f), edited);

    // Save writes the edited picture to its own file; the new scan is left as it was.
    const auto scanBytes = fs::file_size(photo("Image0002.jpg"));
    const auto scanTime = fs::last_write_time(photo("Image0002.jpg"));
    ASSERT_TRUE(f.document().Save());
    EXPECT_EQ(fs::file_size(photo("Image0002.jpg")), scanBytes);
    EXPECT_EQ(fs::last_write_time(photo("Image0002.jpg")), scanTime);

    // Without edits a scan becomes the document's picture and name together.
    f.OnCommand(ID_LIVE_STILL);
    f.OnCommand(ID_SCAN);
    EXPECT_EQ(f.document().CurrentPath(), photo("Image0003.jpg").string());
    EXPECT_EQ(f.document().Image()->GetWidth(), CxImage(photo("Image0003.jpg"), 3).GetWidth());
}

TEST_F(ImageFrameTest, ClosingWithEditsWhileTheLivePictureIsShownSavesAndCloses)
{
    CMainFrame& f = makeScanning();
    f.OnCommand(ID_SCAN);
    f.OnCommand(ID_LIVE_STILL);
    f.OnCommand(ID_GREY);
    f.imageOperations().Wait();
    f.OnCommand(ID_LIVE_STILL);
    ASSERT_TRUE(f.scanState().liveMode);
    const auto before = fs::last_write_time(photo("Image0001.jpg"));

    prompter.answer(Answer::Yes);
    QCloseEvent event;
    QCoreApplication::sendEvent(&f, &event);
    EXPECT_TRUE(event.isAccepted());
    EXPECT_TRUE(prompter.showed(document::msg::kAskSaveCurrent));
    EXPECT_NE(fs::last_write_time(photo("Image0001.jpg")), before);
    EXPECT_TRUE(CxImage(photo("Image0001.jpg"), 3).IsGrayScale());
}

TEST_F(ImageFrameTest, TheDeskewPopUpHoldsTheManualDeskewAndRestoreDefaults)
{
    CMainFrame& f = make(false);
    ASSERT_NE(f.action(ID_MANUAL_DESKEW), nullptr);
    EXPECT_EQ(f.action(ID_MANUAL_DESKEW)->text(), QStringLiteral("倾斜校正"));
}

}  // namespace
