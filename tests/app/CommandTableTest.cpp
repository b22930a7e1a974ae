#include "CommandIds.h"
#include "CommandLine.h"
#include "CommandTable.h"
#include "MenuLayout.h"

#include <gtest/gtest.h>

#include <set>

using namespace vestrel;
using namespace vestrel::cmd;

namespace {

FrameState AllBuilt()
{
    FrameState s;
    for (int f = 0; f < int(Feature::Count); ++f) s.features.add(Feature(f));
    return s;
}

bool Enabled(int id, const FrameState& s) { return StatusOf(id, s).enabled; }
bool Checked(int id, const FrameState& s) { return StatusOf(id, s).checked; }

TEST(CommandTable, EveryMenuAndToolBarIdHasOneRow)
{
    std::set<int> seen;
    for (const CommandInfo& c : AllCommands()) EXPECT_TRUE(seen.insert(c.id).second) << c.id;

    std::vector<int> ids = CommandIdsOf(MainMenu());
    for (const auto* menu : {&LiveContextMenu(), &DeskewDefaultsMenu(), &TrayMenu()}) {
        const auto more = CommandIdsOf(*menu);
        ids.insert(ids.end(), more.begin(), more.end());
    }
    for (const auto* bar : {&MainToolBar(), &SecondToolBar(), &LeftToolBar()})
        for (int id : *bar)
            if (id != 0) ids.push_back(id);
    for (int id : ids) EXPECT_NE(FindCommand(id), nullptr) << "no rule for " << id;
}

TEST(CommandTable, ACommandOfAnUnbuiltSubsystemIsShownDisabled)
{
    FrameState s = AllBuilt();
    s.liveMode = false;
    s.hasImage = true;
    EXPECT_TRUE(Enabled(ID_CROP, s));
    EXPECT_TRUE(Enabled(ID_GREY, s));
    s.features.built[int(Feature::Selection)] = false;
    EXPECT_FALSE(Enabled(ID_CROP, s));
    EXPECT_TRUE(Enabled(ID_MANUAL_DESKEW, s)) << "its mouse part belongs to the view tools";
    s.features.built[int(Feature::ViewTools)] = false;
    EXPECT_FALSE(Enabled(ID_MANUAL_DESKEW, s));
    EXPECT_FALSE(Enabled(ID_PEN_TOOL, s));
    EXPECT_TRUE(Enabled(ID_GREY, s));
    s.features.built[int(Feature::ImageOperations)] = false;
    EXPECT_FALSE(Enabled(ID_GREY, s));
    EXPECT_FALSE(Enabled(ID_PAN, s));
    EXPECT_FALSE(Enabled(12345, s)) << "unknown ids are never enabled";
}

TEST(CommandTable, WhileAnImageOperationRunsNothingThatTouchesThePictureIsEnabled)
{
    FrameState s = AllBuilt();
    s.liveMode = false;
    s.hasImage = true;
    s.canBack = true;
    s.imageBusy = true;
    for (int id : {ID_GREY, ID_ROTATE, ID_EDIT_UNDO, ID_FILE_OPEN, ID_FILE_NEW, ID_FILE_SAVE, ID_EDIT_PASTE,
                   ID_LIVE_STILL, ID_WINDOW_SIZE, ID_ZOOM_IN, ID_OPEN_LIBRARY})
        EXPECT_FALSE(Enabled(id, s)) << id;
    for (int id : {ID_FULL_SCREEN, ID_APP_ABOUT, ID_WINDOW_RESTORE, ID_APP_EXIT}) EXPECT_TRUE(Enabled(id, s)) << id;
    s.imageBusy = false;
    EXPECT_TRUE(Enabled(ID_EDIT_UNDO, s));
}

TEST(CommandTable, SelectionAndClipboardFollowTheirOwnState)
{
    FrameState s = AllBuilt();
    s.liveMode = false;
    s.hasImage = true;
    for (int id : {ID_RECT_SELECT, ID_FREE_SELECT, ID_CROP, ID_EDIT_COPY}) EXPECT_TRUE(Enabled(id, s)) << id;
    for (int id : {ID_EDIT_CUT, ID_EDIT_PASTE, ID_REMOVE_PASTE}) EXPECT_FALSE(Enabled(id, s)) << id;
    s.hasSelection = true;
    s.clipboardHasPicture = true;
    s.floatingPaste = true;
    for (int id : {ID_EDIT_CUT, ID_EDIT_PASTE, ID_REMOVE_PASTE}) EXPECT_TRUE(Enabled(id, s)) << id;

    // Crop mode checks the crop, not the rectangle selection it works with.
    s.cropTool = true;
    EXPECT_TRUE(Checked(ID_CROP, s));
    EXPECT_FALSE(Checked(ID_RECT_SELECT, s));
    s.cropTool = false;
    s.rectSelectTool = true;
    EXPECT_TRUE(Checked(ID_RECT_SELECT, s));
    EXPECT_FALSE(Checked(ID_FREE_SELECT, s));

    // Without a picture only paste works (the pasted picture opens); live, nothing does.
    s.hasImage = false;
    EXPECT_TRUE(Enabled(ID_EDIT_PASTE, s));
    for (int id : {ID_EDIT_CUT, ID_EDIT_COPY, ID_REMOVE_PASTE, ID_CROP}) EXPECT_FALSE(Enabled(id, s)) << id;
    s.hasImage = true;
    s.liveMode = true;
    for (int id : {ID_EDIT_CUT, ID_EDIT_COPY, ID_EDIT_PASTE, ID_REMOVE_PASTE, ID_CROP, ID_RECT_SELECT})
        EXPECT_FALSE(Enabled(id, s)) << id;
}

TEST(CommandTable, ScanCommandsNeedLiveModeWithoutRecordingOrTimedScan)
{
    FrameState s = AllBuilt();
    for (int id : {ID_SCAN, ID_TIMED_SCAN, ID_DIGITAL_ZOOM, ID_RESTORE_DEFAULTS, ID_SIZE_A4,
                   ID_ORIENT_LEFT, ID_VIDEO_PROPERTIES, ID_VIDEO_FORMAT}) {
        FrameState ready = s;
        EXPECT_TRUE(Enabled(id, ready)) << id;
        FrameState recording = s;
        recording.recording = true;
        EXPECT_FALSE(Enabled(id, recording)) << id;
        FrameState still = s;
        still.liveMode = false;
        EXPECT_FALSE(Enabled(id, still)) << id;
        FrameState timed = s;
        timed.timedScanning = true;
        EXPECT_FALSE(Enabled(id, timed)) << id;
    }
}

TEST(CommandTable, StopScanOnlyWhileATimedScanRunsLive)
{
    FrameState s = AllBuilt();
    EXPECT_FALSE(Enabled(ID_STOP_SCAN, s));
    s.timedScanning = true;
    EXPECT_TRUE(Enabled(ID_STOP_SCAN, s));
    EXPECT_TRUE(Checked(ID_TIMED_SCAN, s));
    s.recording = true;
    EXPECT_FALSE(Enabled(ID_STOP_SCAN, s));
}

TEST(CommandTable, ViewCommandsFollowLiveAndStillState)
{
    FrameState s = AllBuilt();
    EXPECT_TRUE(Enabled(ID_FULL_SCREEN, s));
    EXPECT_FALSE(Checked(ID_FULL_SCREEN, s));
    s.fullScreen = true;
    EXPECT_TRUE(Checked(ID_FULL_SCREEN, s));

    // Live: actual size and window size check each other's opposite.
    EXPECT_TRUE(Checked(ID_WINDOW_SIZE, s));
    EXPECT_FALSE(Checked(ID_ACTUAL_SIZE, s));
    s.actualSize = true;
    EXPECT_TRUE(Checked(ID_ACTUAL_SIZE, s));
    EXPECT_FALSE(Checked(ID_WINDOW_SIZE, s));

    FrameState still = AllBuilt();
    still.liveMode = false;
    EXPECT_FALSE(Enabled(ID_FULL_SCREEN, still)) << "still view without an image";
    EXPECT_FALSE(Enabled(ID_FILE_PRINT, still)) << "no picture to print";
    EXPECT_FALSE(Enabled(ID_FILE_PRINT, AllBuilt()));
    still.hasImage = true;
    EXPECT_TRUE(Enabled(ID_FILE_PRINT, still));
    EXPECT_TRUE(Enabled(ID_FULL_SCREEN, still));
    EXPECT_TRUE(Enabled(ID_LIVE_STILL, still));
    EXPECT_FALSE(Enabled(ID_AUDIO_FORMAT, AllBuilt())) << "always disabled in the menu";
}

TEST(CommandTable, SizeAndOrientationChecksFollowTheStateInForce)
{
    FrameState s = AllBuilt();
    s.sizeEntryInForce = 2;
    for (int entry = 0; entry < 9; ++entry)
        EXPECT_EQ(Checked(kSizeCommands[entry], s), entry == 2) << entry;
    s.sizeEntryInForce = -1;
    for (int id : kSizeCommands) EXPECT_FALSE(Checked(id, s));

    EXPECT_TRUE(Checked(ID_ORIENT_NORMAL, s));
    s.orientation.rotateRight = true;
    EXPECT_FALSE(Checked(ID_ORIENT_NORMAL, s));
    EXPECT_TRUE(Checked(ID_ORIENT_RIGHT, s));
    EXPECT_FALSE(Checked(ID_ORIENT_LEFT, s));
}

TEST(CommandTable, EbookStartWaitsForEverythingElseToBeIdle)
{
    FrameState s = AllBuilt();
    EXPECT_TRUE(Enabled(ID_EBOOK_START, s));
    EXPECT_FALSE(Enabled(ID_EBOOK_STOP, s));
    for (auto busy : {&FrameState::ebookRunning, &FrameState::timedScanning,
                      &FrameState::recording, &FrameState::idCardCopyMode}) {
        FrameState b = s;
        b.*busy = true;
        EXPECT_FALSE(Enabled(ID_EBOOK_START, b));
    }
    s.ebookRunning = true;
    EXPECT_TRUE(Enabled(ID_EBOOK_STOP, s));
}

TEST(CommandTable, DocumentCommandsFollowHistoryZoomAndThePane)
{
    FrameState s = AllBuilt();
    EXPECT_FALSE(Enabled(ID_FILE_NEW, s)) << "live";
    EXPECT_TRUE(Enabled(ID_FILE_OPEN, s)) << "open leaves the live picture itself";
    s.liveMode = false;
    s.hasImage = true;
    EXPECT_TRUE(Enabled(ID_FILE_NEW, s));
    EXPECT_FALSE(Enabled(ID_EDIT_UNDO, s));
    EXPECT_FALSE(Enabled(ID_EDIT_REDO, s));
    s.canBack = true;
    EXPECT_TRUE(Enabled(ID_EDIT_UNDO, s));
    EXPECT_FALSE(Enabled(ID_ZOOM_OUT, s));
    s.canZoomOut = true;
    EXPECT_TRUE(Enabled(ID_ZOOM_OUT, s));

    // The pan tool: only for a picture larger than the pane, never when fitted.
    EXPECT_FALSE(Enabled(ID_PAN, s));
    s.imageOverflows = true;
    s.panTool = true;
    EXPECT_TRUE(Enabled(ID_PAN, s));
    EXPECT_TRUE(Checked(ID_PAN, s));
    EXPECT_TRUE(Checked(ID_ACTUAL_SIZE, s));
    s.fitWindow = true;
    EXPECT_FALSE(Enabled(ID_PAN, s));
    EXPECT_FALSE(Checked(ID_PAN, s));
    EXPECT_TRUE(Checked(ID_WINDOW_SIZE, s));
    EXPECT_FALSE(Checked(ID_ACTUAL_SIZE, s));

    s.liveMode = true;
    EXPECT_FALSE(Enabled(ID_EDIT_UNDO, s)) << "live: the history rests";
}

TEST(CommandTable, CompositionWaitsForTimedScanningAndRecording)
{
    FrameState s = AllBuilt();
    EXPECT_TRUE(Enabled(ID_MAKE_PDF, s));
    s.liveMode = false;
    EXPECT_TRUE(Enabled(ID_MAKE_PDF, s));
    for (auto busy : {&FrameState::timedScanning, &FrameState::recording}) {
        FrameState b = s;
        b.*busy = true;
        EXPECT_FALSE(Enabled(ID_MAKE_PDF, b));
    }
}

TEST(MenuLayout, MenusAndToolBarsHoldEveryItemInOrder)
{
    const auto& menu = MainMenu();
    ASSERT_EQ(menu.size(), 8u);
    const char* titles[] = {"文件(&F)", "编辑(&E)", "视图(&V)", "扫描(&W)",
                            "图像(&I)", "效果(&T)", "工具(&S)", "帮助(&H)"};
    for (std::size_t i = 0; i < 8; ++i) EXPECT_EQ(menu[i].text, titles[i]);

    EXPECT_EQ(CommandIdsOf({menu[0]}),
              (std::vector<int>{57600, 57601, 57603, 57604, 32848, 32849, 57606, 32955, 32890,
                                32910, 32891, 57607, 57665}));
    EXPECT_EQ(CommandIdsOf({menu[3]}),
              (std::vector<int>{32928, 32774, 32775, 32776, 32933, 32777, 32778, 32986}));
    // The scan menu has five separators.
    int separators = 0;
    for (const MenuNode& n : menu[3].items) separators += n.kind == MenuNode::Kind::Separator;
    EXPECT_EQ(separators, 5);
    EXPECT_EQ(menu[5].items.size(), 26u);

    EXPECT_EQ(MainToolBar().size(), 36u);
    EXPECT_EQ(MainToolBar()[10], ID_SIZE_LIST);
    EXPECT_EQ(SecondToolBar(), (std::vector<int>{32935, 0, 32870, 0, 32896, 0, 32777, 0, 32950}));
    EXPECT_EQ(LeftToolBar(), (std::vector<int>{32774, 32775, 32776, 0, 32781, 0, 32792, 32793,
                                               32828, 32791, 32788, 32789, 32822, 32921, 32936}));
    ASSERT_EQ(SizeListLabels().size(), 9u);
    EXPECT_EQ(SizeListLabels()[0], "全部 ");
    EXPECT_EQ(SizeListLabels()[2], "A4 (上端)");
}

}  // namespace

TEST(CommandLine, TheFileArgumentSkipsOptionsAndTheirValues)
{
    const char* plain[] = {"vestrel", "/tmp/a.jpg"};
    EXPECT_EQ(FileArgument(2, plain), "/tmp/a.jpg");
    const char* withOptions[] = {"vestrel", "--camera", "virtual", "--startup-report", "b.png"};
    EXPECT_EQ(FileArgument(5, withOptions), "b.png");
    const char* joined[] = {"vestrel", "--camera=file:/x.jpg", "--screenshot", "s.png"};
    EXPECT_EQ(FileArgument(4, joined), "");
}

TEST(CommandTable, ToolChecksFollowTheToolOnAndTheSizesInForce)
{
    FrameState s = AllBuilt();
    s.liveMode = false;
    s.hasImage = true;
    s.eraserSize = 32;
    s.penSize = 6;
    EXPECT_TRUE(Checked(ID_ERASER_50, s)) << "the \"50×\" entry stands for 32 pixels";
    EXPECT_FALSE(Checked(ID_ERASER_10, s));
    EXPECT_TRUE(Checked(ID_PEN_6, s));
    EXPECT_FALSE(Checked(ID_PEN_8, s));
    s.eraserSize = 50;
    EXPECT_FALSE(Checked(ID_ERASER_50, s));
    EXPECT_FALSE(Checked(ID_ADD_TEXT, s));
    s.textTool = true;
    EXPECT_TRUE(Checked(ID_ADD_TEXT, s));
    s.penTool = true;
    EXPECT_TRUE(Checked(ID_PEN_TOOL, s));
    EXPECT_FALSE(Checked(ID_ERASER_TOOL, s));
    s.liveMode = true;
    for (int id : {ID_ERASER_TOOL, ID_PEN_2, ID_ADD_TEXT, ID_SET_FONT, ID_MANUAL_DESKEW})
        EXPECT_FALSE(Enabled(id, s)) << id;
}
