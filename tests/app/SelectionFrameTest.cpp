// The main window with the selection: "粘贴" follows what the desktop clipboard holds,
// cut waits for a selection, and remove-paste for a floating paste.

#include "AppTestSupport.h"

#include "CQuorvanDoc.h"
#include "CommandIds.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QImage>

#include <gtest/gtest.h>

using namespace vestrel;
using namespace vestrel::cmd;
using testkit::MainFrameTest;
using testkit::WaitFor;

namespace {

using SelectionFrameTest = MainFrameTest;

TEST_F(SelectionFrameTest, PasteFollowsTheClipboardAndCutAndRemovePasteTheirOwnState)
{
    QGuiApplication::clipboard()->clear();
    CMainFrame& f = makeScanning();
    f.OnCommand(ID_SCAN);
    f.OnCommand(ID_LIVE_STILL);
    ASSERT_NE(f.document().Image(), nullptr);
    f.updateCommandUi();
    EXPECT_FALSE(f.action(ID_EDIT_PASTE)->isEnabled());
    EXPECT_FALSE(f.action(ID_EDIT_CUT)->isEnabled());
    EXPECT_TRUE(f.action(ID_EDIT_COPY)->isEnabled());

    // The clipboard's change enables paste without any command of ours.
    QImage green(6, 4, QImage::Format_RGB32);
    green.fill(qRgb(0, 255, 0));
    QGuiApplication::clipboard()->setImage(green);
    EXPECT_TRUE(WaitFor([&] { return f.action(ID_EDIT_PASTE)->isEnabled(); }, 2000));

    f.OnCommand(ID_RECT_SELECT);
    EXPECT_TRUE(f.action(ID_RECT_SELECT)->isChecked());
    f.document().Image()->SelectionAddRect({0, 0, 5, 5});
    f.updateCommandUi();
    EXPECT_TRUE(f.action(ID_EDIT_CUT)->isEnabled());

    EXPECT_FALSE(f.action(ID_REMOVE_PASTE)->isEnabled());
    f.OnCommand(ID_EDIT_PASTE);
    ASSERT_TRUE(f.document().HasFloatingPaste());
    EXPECT_TRUE(f.action(ID_REMOVE_PASTE)->isEnabled());
    EXPECT_FALSE(f.action(ID_RECT_SELECT)->isChecked()) << "a paste turns the tools off";
    f.OnCommand(ID_REMOVE_PASTE);
    EXPECT_FALSE(f.document().HasFloatingPaste());
    EXPECT_FALSE(f.action(ID_REMOVE_PASTE)->isEnabled());

    f.OnCommand(ID_CROP);
    EXPECT_TRUE(f.action(ID_CROP)->isChecked());
    EXPECT_FALSE(f.action(ID_RECT_SELECT)->isChecked());
}

}  // namespace
