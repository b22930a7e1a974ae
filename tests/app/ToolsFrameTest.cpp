// The still view's tools in the main window: the size pop-ups and their checks, a pen
// stroke through real mouse events, the text box closed by the live/still switch, and the
// deskew tool's double click in full screen.

#include "AppTestSupport.h"

#include "CQuorvanDoc.h"
#include "CQuorvanView.h"
#include "CommandIds.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QPlainTextEdit>
#include <QTest>

#include <gtest/gtest.h>

using namespace vestrel;
using namespace vestrel::cmd;
using testkit::MainFrameTest;

namespace {

class ToolsFrameTest : public MainFrameTest {
protected:
    // A window without a camera showing a white 600 x 400 picture at its own size.
    CMainFrame& makeWithPicture()
    {
        CMainFrame& f = make(false);
        const std::filesystem::path file = photo("white.png");
        std::filesystem::create_directories(file.parent_path());
        CxImage white(600, 400, 24);
        white.Clear(255);
        EXPECT_TRUE(white.Save(file, CXIMAGE_FORMAT_PNG));
        f.openFile(file.string());
        EXPECT_NE(f.document().Image(), nullptr);
        f.updateCommandUi();
        return f;
    }
    QWidget* pane(CMainFrame& f) { return f.stillView()->viewport(); }
};

TEST_F(ToolsFrameTest, TheSizeMenusPopUpAndTheirChecksFollowTheSizes)
{
    CMainFrame& f = makeWithPicture();
    ASSERT_TRUE(f.action(ID_ERASER_TOOL)->isEnabled());
    EXPECT_TRUE(f.action(ID_ERASER_5)->isChecked());  // the eraser starts at 5

    f.OnCommand(ID_ERASER_TOOL);
    QWidget* popup = QApplication::activePopupWidget();
    ASSERT_NE(popup, nullptr) << "pop-up 219 at the eraser button";
    EXPECT_EQ(qobject_cast<QMenu*>(popup)->actions().size(), 4);
    popup->close();
    EXPECT_TRUE(f.action(ID_ERASER_TOOL)->isChecked());

    f.OnCommand(ID_ERASER_50);
    EXPECT_EQ(f.document().EraserSize(), 32);
    EXPECT_TRUE(f.action(ID_ERASER_50)->isChecked());
    EXPECT_FALSE(f.action(ID_ERASER_5)->isChecked());

    // The pen's size entry asks for the colour; Cancel keeps black.
    prompter.answerColour(std::nullopt);
    f.OnCommand(ID_PEN_8);
    EXPECT_TRUE(f.action(ID_PEN_8)->isChecked());
    EXPECT_TRUE(f.action(ID_PEN_TOOL)->isChecked());
    EXPECT_FALSE(f.action(ID_ERASER_TOOL)->isChecked());
    EXPECT_EQ(f.document().PenColour(), 0u);
}

TEST_F(ToolsFrameTest, APenStrokeOnTheStillViewIsOneStepBack)
{
    CMainFrame& f = makeWithPicture();
    prompter.answerColour(Colour{255, 0, 0});
    f.OnCommand(ID_PEN_2);
    QTest::mousePress(pane(f), Qt::LeftButton, {}, QPoint(20, 20));
    QTest::mouseMove(pane(f), QPoint(200, 120));
    QTest::mouseRelease(pane(f), Qt::LeftButton, {}, QPoint(200, 120));
    const PixelPoint middle = f.stillView()->imagePointAt(QPoint(110, 70));
    const RGBQUAD drawn = f.document().Image()->GetPixelColor(middle.x, middle.y);
    EXPECT_EQ(drawn.rgbRed, 255);
    EXPECT_EQ(drawn.rgbGreen, 0);
    f.updateCommandUi();
    ASSERT_TRUE(f.action(ID_EDIT_UNDO)->isEnabled());
    f.OnCommand(ID_EDIT_UNDO);
    EXPECT_EQ(f.document().Image()->GetPixelColor(middle.x, middle.y).rgbGreen, 255);
}

TEST_F(ToolsFrameTest, TheLiveStillSwitchClosesTheTextBoxWithoutPlacingItsText)
{
    CMainFrame& f = makeWithPicture();
    f.OnCommand(ID_ADD_TEXT);
    EXPECT_TRUE(f.action(ID_ADD_TEXT)->isChecked());
    QTest::mouseClick(pane(f), Qt::LeftButton, {}, QPoint(40, 40));
    auto* box = pane(f)->findChild<QPlainTextEdit*>(QStringLiteral("1012"));
    ASSERT_NE(box, nullptr);
    QTest::keyClicks(box, "abc");
    f.OnCommand(ID_LIVE_STILL);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(pane(f)->findChild<QPlainTextEdit*>(QStringLiteral("1012")), nullptr);
    EXPECT_EQ(f.document().History().Position(), 0);
}

TEST_F(ToolsFrameTest, ADoubleClickWithTheDeskewToolLeavesFullScreenFirst)
{
    CMainFrame& f = makeWithPicture();
    f.OnCommand(ID_MANUAL_DESKEW);
    ASSERT_TRUE(f.document().ToolOn(document::Tool::Deskew));
    f.OnCommand(ID_FULL_SCREEN);
    ASSERT_TRUE(f.fullScreenMode());
    QTest::mouseDClick(pane(f), Qt::LeftButton, {}, QPoint(30, 30));
    EXPECT_FALSE(f.fullScreenMode());
    EXPECT_TRUE(f.document().ToolOn(document::Tool::Deskew));
    QTest::mouseDClick(pane(f), Qt::LeftButton, {}, QPoint(30, 30));
    EXPECT_FALSE(f.document().ToolOn(document::Tool::Deskew));
    EXPECT_FALSE(f.document().IsFitWindow());
}

}  // namespace
