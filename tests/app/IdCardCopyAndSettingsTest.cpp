// The main window's ID-card copy mode and scan-settings command on the virtual camera: the
// tool window and its buttons through a whole card, the ways the mode ends, the save
// question on entering, and the settings dialog's preview, Cancel and OK.

#include "AppTestSupport.h"

#include "AppMessages.h"
#include "CQuorvanDoc.h"
#include "CommandTable.h"
#include "CommandIds.h"
#include "DocumentMessages.h"
#include "EBookSession.h"
#include "ImageSizeList.h"
#include "PdfMessages.h"
#include "ScanDriver.h"
#include "ScanSettingsDialog.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

#include <gtest/gtest.h>
#include <opencv2/imgcodecs.hpp>

using namespace vestrel;
using namespace vestrel::cmd;
using testkit::MainFrameTest;
using testkit::WaitFor;
namespace fs = std::filesystem;

namespace {

class CopyFrameTest : public MainFrameTest {
protected:
    CMainFrame& makeScanning()
    {
        CMainFrame& f = MainFrameTest::makeScanning();
        f.settings().foramt = ".png";
        return f;
    }
    bool enabled(CMainFrame& f, int id)
    {
        f.updateCommandUi();
        return f.action(id)->isEnabled();
    }
    // Runs `work` on the scan-settings dialog once it is open, then closes it with OK or
    // Cancel.
    void withSettingsDialog(CMainFrame& f, std::function<void(scan::ScanSettingsDialog&)> work, bool ok)
    {
        bool ran = false;
        QTimer::singleShot(0, [&] {
            auto* dialog = qobject_cast<scan::ScanSettingsDialog*>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            work(*dialog);
            ran = true;
            if (ok) dialog->accept();
            else dialog->reject();
        });
        f.OnCommand(ID_SCAN_SETTINGS);
        EXPECT_TRUE(ran);
    }
};

TEST(CopyCommands, FrontAndBackButtonsFollowTheStep)
{
    FrameState s;
    s.features.add(Feature::IdCardCopy);
    EXPECT_FALSE(StatusOf(ID_COPY_STEP_1, s).enabled);  // the mode is off
    s.idCardCopyMode = true;
    s.idCardCopyStep = 1;
    EXPECT_TRUE(StatusOf(ID_COPY_STEP_1, s).enabled);
    EXPECT_FALSE(StatusOf(ID_COPY_STEP_2, s).enabled);
    s.idCardCopyStep = 2;
    EXPECT_FALSE(StatusOf(ID_COPY_STEP_1, s).enabled);
    EXPECT_TRUE(StatusOf(ID_COPY_STEP_2, s).enabled);
    EXPECT_TRUE(StatusOf(ID_COPY_END, s).enabled);
    // Entering is a scan: not while recording, in the still view or during a timed scan.
    s.recording = true;
    EXPECT_FALSE(StatusOf(ID_ID_CARD_COPY, s).enabled);
}

TEST_F(CopyFrameTest, OneCardThroughTheToolWindow)
{
    CMainFrame& f = makeScanning();
    f.OnCommand(ID_ID_CARD_COPY);
    ASSERT_NE(f.copyToolWindow(), nullptr);
    EXPECT_EQ(f.copyToolWindow()->windowTitle(), QString::fromUtf8("证件双面复印模式"));
    EXPECT_EQ(f.copyToolWindow()->pos(), QPoint(700, 100));
    EXPECT_TRUE(f.scanState().idCardCopyMode);
    EXPECT_EQ(f.sizeList()->currentIndex(), 7);  // "身份证(下端)"
    EXPECT_TRUE(enabled(f, ID_COPY_STEP_1));
    EXPECT_FALSE(enabled(f, ID_COPY_STEP_2));

    f.OnCommand(ID_SCAN);  // the scan command takes the front
    EXPECT_FALSE(enabled(f, ID_COPY_STEP_1));
    EXPECT_TRUE(enabled(f, ID_COPY_STEP_2));
    const fs::path page = f.idCardCopier()->pageFile();
    ASSERT_TRUE(fs::exists(page));
    EXPECT_EQ(page.parent_path(), programDir.path() / "Photo");
    ASSERT_NE(f.document().Image(), nullptr);
    EXPECT_EQ(f.document().Image()->GetWidth(), 1600);

    f.OnCommand(ID_COPY_STEP_2);  // the back, and the next card starts over
    EXPECT_TRUE(enabled(f, ID_COPY_STEP_1));
    EXPECT_EQ(f.document().CurrentPath(), page.string());
    EXPECT_EQ(cv::imread(page.string()).size(), cv::Size(1600, 2200));
    EXPECT_EQ(f.document().PhotoNames(), std::vector<std::string>{page.filename().string()});

    f.OnCommand(ID_COPY_END);  // with a picture: the still view shows it
    EXPECT_FALSE(f.scanState().idCardCopyMode);
    EXPECT_TRUE(WaitFor([&] { return f.copyToolWindow() == nullptr; }));
    EXPECT_FALSE(f.scanState().liveMode);
}

TEST_F(CopyFrameTest, TimedTickTakesTheNextSide)
{
    CMainFrame& f = makeScanning();
    f.settings().intertime = 100000;  // the test ticks itself
    f.OnCommand(ID_ID_CARD_COPY);
    f.OnCommand(ID_TIMED_SCAN);
    ASSERT_TRUE(f.scanState().timedScanning);
    f.scanDriver()->tick();
    EXPECT_EQ(f.idCardCopier()->nextSide(), scan::CardSide::Back);
    f.scanDriver()->tick();
    EXPECT_EQ(f.idCardCopier()->nextSide(), scan::CardSide::Back);  // a back keeps the step
    EXPECT_EQ(f.document().PhotoNames().size(), 1u);
    f.OnCommand(ID_STOP_SCAN);
}

TEST_F(CopyFrameTest, LeavingWithoutAPictureScansTheWholeFrameAgain)
{
    CMainFrame& f = makeScanning();
    f.OnCommand(ID_ID_CARD_COPY);
    f.OnCommand(ID_COPY_END);
    EXPECT_FALSE(f.scanState().idCardCopyMode);
    EXPECT_TRUE(f.scanState().liveMode);
    EXPECT_EQ(f.sizeList()->currentIndex(), 0);
    EXPECT_EQ(f.copyToolWindow(), nullptr);
}

TEST_F(CopyFrameTest, LiveStillSwitchAsksAndEndsTheWholeMode)
{
    CMainFrame& f = makeScanning();
    f.OnCommand(ID_ID_CARD_COPY);
    f.OnCommand(ID_COPY_STEP_1);
    prompter.answer(Answer::No);
    f.OnCommand(ID_LIVE_STILL);
    EXPECT_TRUE(f.scanState().idCardCopyMode);
    EXPECT_TRUE(f.scanState().liveMode);
    prompter.answer(Answer::Yes);
    f.OnCommand(ID_LIVE_STILL);
    EXPECT_EQ(prompter.texts(), (std::vector<std::string>{appmsg::kEndCopyQuestion, appmsg::kEndCopyQuestion}));
    EXPECT_FALSE(f.scanState().idCardCopyMode);
    EXPECT_EQ(f.copyToolWindow(), nullptr);
    EXPECT_EQ(f.idCardCopier()->nextSide(), scan::CardSide::Front);  // the step starts over
    EXPECT_FALSE(f.scanState().liveMode);
}

TEST_F(CopyFrameTest, CancelToTheSaveQuestionLeavesCopyModeOff)
{
    CMainFrame& f = makeScanning();
    f.OnCommand(ID_SCAN);
    f.OnCommand(ID_LIVE_STILL);
    ASSERT_NE(f.document().Image(), nullptr);
    f.document().PushHistory();
    f.document().Image()->Negative();
    f.OnCommand(ID_LIVE_STILL);

    prompter.answer(Answer::Cancel);
    f.OnCommand(ID_ID_CARD_COPY);
    EXPECT_TRUE(prompter.showed(document::msg::kAskSaveCurrent));
    EXPECT_FALSE(f.scanState().idCardCopyMode);
    EXPECT_EQ(f.copyToolWindow(), nullptr);

    prompter.answer(Answer::No);  // No drops the edits' history and enters
    f.OnCommand(ID_ID_CARD_COPY);
    EXPECT_TRUE(f.scanState().idCardCopyMode);
    EXPECT_EQ(f.document().History().Position(), 0);
}

TEST_F(CopyFrameTest, ScanSettingsAsksBeforeEndingAnEBook)
{
    CMainFrame& f = makeScanning();
    f.OnCommand(ID_EBOOK_START);
    prompter.answer(Answer::No);
    f.OnCommand(ID_SCAN_SETTINGS);  // no dialog opens: nothing to close
    EXPECT_EQ(prompter.shown().back().text, output::kStopEBookQuestion);
    EXPECT_EQ(prompter.shown().back().caption, output::kWarningCaption);
    EXPECT_TRUE(f.ebook().composing());
    prompter.answer(Answer::Yes);
    withSettingsDialog(f, [](scan::ScanSettingsDialog&) {}, false);
    EXPECT_FALSE(f.ebook().composing());
}

TEST_F(CopyFrameTest, PreviewThenA5ThenCancelPutsEverythingBack)
{
    CMainFrame& f = makeScanning();
    const fs::path snapshot = programDir.path() / "Image.bmp";
    withSettingsDialog(
        f,
        [&](scan::ScanSettingsDialog& d) {
            using D = scan::ScanSettingsDialog;
            qobject_cast<QCheckBox*>(d.control(D::ThresholdCheck))->click();
            qobject_cast<QPushButton*>(d.control(D::PreviewButton))->click();
            EXPECT_FALSE(f.scanState().liveMode);
            EXPECT_TRUE(fs::exists(snapshot));
            ASSERT_NE(f.document().Image(), nullptr);
            EXPECT_EQ(f.document().Image()->GetBpp(), 1);  // shown binarised
            qobject_cast<QComboBox*>(d.control(D::SizeList))->setCurrentIndex(3);
            EXPECT_EQ(f.sizeList()->currentIndex(), 3);
            qobject_cast<QComboBox*>(d.control(D::OrientationList))->setCurrentIndex(3);
            EXPECT_TRUE(f.settings().orientation.rotateRight);
        },
        false);
    EXPECT_EQ(f.sizeList()->currentIndex(), 0);
    EXPECT_EQ(f.settings().orientation, Orientation{});
    EXPECT_TRUE(f.scanState().liveMode);
    EXPECT_FALSE(fs::exists(snapshot));
    EXPECT_EQ(f.document().Image(), nullptr);  // the preview never became a picture
    EXPECT_EQ(f.settings().threshold, 0);
    EXPECT_FALSE(fs::exists(programDir.path() / "config.ini"));
}

TEST_F(CopyFrameTest, OkAppliesTheSettingsAndWritesConfig)
{
    CMainFrame& f = makeScanning();
    const fs::path other = programDir.path() / "scans";
    fs::create_directory(other);
    prompter.answerPath(other.string());
    withSettingsDialog(
        f,
        [&](scan::ScanSettingsDialog& d) {
            using D = scan::ScanSettingsDialog;
            qobject_cast<QPushButton*>(d.control(D::Browse))->click();
            qobject_cast<QComboBox*>(d.control(D::SizeList))->setCurrentIndex(7);
            qobject_cast<QComboBox*>(d.control(D::OrientationList))->setCurrentIndex(1);
            qobject_cast<QComboBox*>(d.control(D::FormatList))->setCurrentIndex(3);  // ".tif"
            qobject_cast<QLineEdit*>(d.control(D::IntervalField))->setText("9999");
        },
        true);
    EXPECT_EQ(f.settings().path, other.string() + "/");
    EXPECT_EQ(f.settings().foramt, ".tif");
    EXPECT_EQ(f.settings().intertime, 9999);
    EXPECT_TRUE(f.settings().orientation.upsideDown);
    EXPECT_EQ(f.sizeList()->currentIndex(), 7);
    EXPECT_EQ(f.settings().w, 710);
    const std::string ini = testkit::TempProgramDir::readFile(programDir.path() / "config.ini");
    EXPECT_NE(ini.find("intertime=9999"), std::string::npos) << ini;
    EXPECT_NE(ini.find("foramt=.tif"), std::string::npos) << ini;
    EXPECT_NE(ini.find("size=7"), std::string::npos) << ini;
}

}  // namespace
