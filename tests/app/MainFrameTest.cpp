#include "AppTestSupport.h"

#include "AppMessages.h"
#include "CButtonView.h"
#include "CHelperView.h"
#include "CLiveView.h"
#include "CommandIds.h"
#include "IniFile.h"
#include "ProgramDir.h"
#include "ScanDriver.h"
#include "TestDataPath.h"
#include "VideoFormatDialog.h"

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QTimer>
#include <QComboBox>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>
#include <QToolBar>

#include <gtest/gtest.h>
#include <opencv2/imgcodecs.hpp>

#include <algorithm>
#include <functional>

using namespace vestrel;
using namespace vestrel::cmd;
using testkit::MainFrameTest;
using testkit::WaitFor;

namespace {

TEST_F(MainFrameTest, MenusToolBarsAndSizeListAreBuiltWithTheirRules)
{
    CMainFrame& f = make(false);
    const QList<QAction*> menus = f.menuBar()->actions();
    ASSERT_EQ(menus.size(), 8);
    EXPECT_EQ(menus[0]->text(), QStringLiteral("文件(&F)"));
    EXPECT_EQ(menus[7]->text(), QStringLiteral("帮助(&H)"));
    ASSERT_EQ(f.sizeList()->count(), 9);
    EXPECT_EQ(f.sizeList()->itemText(0), QStringLiteral("全部 "));
    EXPECT_EQ(f.sizeList()->itemText(8), QStringLiteral("预设"));
    EXPECT_EQ(f.windowTitle(), QString::fromUtf8(appmsg::kMainWindowTitle));

    // Built and idle: help and the view switches work; later subsystems wait, disabled.
    EXPECT_TRUE(f.action(ID_HELP_MANUAL)->isEnabled());
    EXPECT_TRUE(f.action(ID_FULL_SCREEN)->isEnabled());
    EXPECT_TRUE(f.action(ID_RESTORE_DEFAULTS)->isEnabled());
    EXPECT_FALSE(f.action(ID_GREY)->isEnabled());
    EXPECT_TRUE(f.action(ID_FILE_OPEN)->isEnabled());
    EXPECT_FALSE(f.action(ID_FILE_SAVE)->isEnabled()) << "no picture yet";
    EXPECT_FALSE(f.action(ID_EDIT_PASTE)->isEnabled());
    EXPECT_FALSE(f.action(ID_SCAN)->isEnabled()) << "no camera: nothing to scan from";
    for (int id : MainToolBar()) {
        if (id != 0 && id != ID_SIZE_LIST) {
            EXPECT_FALSE(f.action(id)->toolTip().isEmpty()) << id;
        }
    }
}

TEST_F(MainFrameTest, LiveStillSwitchFlipsTheViewTheButtonsAndTheRules)
{
    CMainFrame& f = make(true);
    ASSERT_TRUE(f.scanState().liveMode);
    EXPECT_TRUE(f.action(ID_SCAN)->isEnabled());
    EXPECT_TRUE(f.buttonView()->scanButton()->isEnabled());

    f.OnCommand(ID_LIVE_STILL);
    f.updateCommandUi();
    EXPECT_FALSE(f.scanState().liveMode);
    EXPECT_FALSE(f.action(ID_SCAN)->isEnabled());
    EXPECT_FALSE(f.buttonView()->scanButton()->isEnabled());
    EXPECT_FALSE(f.buttonView()->liveShown());
    EXPECT_FALSE(f.liveView()->isVisible());
    EXPECT_FALSE(f.action(ID_FULL_SCREEN)->isEnabled()) << "still view without an image";
    EXPECT_EQ(f.helperView()->lineText(1), QStringLiteral("—— 窗口无图片显示"));

    f.OnCommand(ID_LIVE_STILL);
    f.updateCommandUi();
    EXPECT_TRUE(f.scanState().liveMode);
    EXPECT_TRUE(f.action(ID_SCAN)->isEnabled());
    EXPECT_TRUE(f.liveView()->isVisible());
    EXPECT_TRUE(f.buttonView()->liveShown());
}

// The information pane paints its texts itself; accessibility clients read the same texts,
// and so the buttons' captions, whatever picture a button shows.
TEST_F(MainFrameTest, AccessibilityClientsReadTheInformationAndButtonPanes)
{
    CMainFrame& f = make(false);
    QAccessibleInterface* pane = QAccessible::queryAccessibleInterface(f.helperView());
    ASSERT_NE(pane, nullptr);
    EXPECT_EQ(pane->role(), QAccessible::StaticText);
    const QString live = pane->text(QAccessible::Name);
    ASSERT_FALSE(f.helperView()->lineText(0).isEmpty());
    EXPECT_EQ(live, f.helperView()->lineText(0) + "\n" + f.helperView()->lineText(1));

    f.OnCommand(ID_LIVE_STILL);
    const QString still = pane->text(QAccessible::Name);
    EXPECT_NE(still, live);
    EXPECT_TRUE(still.endsWith(QStringLiteral("—— 窗口无图片显示"))) << still.toStdString();

    QAccessibleInterface* buttons = QAccessible::queryAccessibleInterface(f.buttonView());
    ASSERT_NE(buttons, nullptr);
    QStringList captions;
    for (int i = 0; i < buttons->childCount(); ++i)
        if (QAccessibleInterface* child = buttons->child(i); child && child->role() == QAccessible::Button)
            captions << child->text(QAccessible::Name);
    EXPECT_EQ(captions, (QStringList{"扫描图片", "返回实时", "打开图片库"}));
}

TEST_F(MainFrameTest, AButtonPictureThatCannotBeLoadedIsToldOnceAndTheWindowStarts)
{
    auto told = [&] {
        const auto texts = prompter.texts();
        return std::count(texts.begin(), texts.end(), std::string(appmsg::kButtonImagesFailed));
    };
    make(false);
    EXPECT_TRUE(frame->buttonView()->picturesLoaded());
    EXPECT_EQ(told(), 0);
    frame.reset();

    // A program folder whose live/still picture is damaged.
    const auto icons = programDir.path() / "res" / "icons";
    std::filesystem::remove(icons);  // the link to the shipped pictures
    std::filesystem::create_directories(icons);
    for (const char* name : {"scan.svg", "still-live.svg"})
        std::filesystem::copy_file(std::filesystem::path(VESTREL_SHIPPED_ICONS_DIR) / name, icons / name);
    programDir.writeFile("res/icons/live-still.svg", "<svg cut off");
    CMainFrame& f = make(false);
    EXPECT_EQ(told(), 1);
    EXPECT_FALSE(f.buttonView()->picturesLoaded());
    EXPECT_EQ(f.buttonView()->switchButton()->text(), QStringLiteral("视图切换"));
    f.OnCommand(ID_LIVE_STILL);
    f.OnCommand(ID_LIVE_STILL);
    EXPECT_EQ(told(), 1);
    EXPECT_TRUE(f.buttonView()->liveShown());
}

TEST_F(MainFrameTest, FullScreenOnAndOffGivesBackTheSplittersAndPlacement)
{
    CMainFrame& f = make(false);
    WaitFor([] { return false; }, 100);
    const SplitterSizes before = f.splitterSizes();
    const QRect placement = f.geometry();

    f.OnCommand(ID_FULL_SCREEN);
    WaitFor([] { return false; }, 100);
    EXPECT_TRUE(f.fullScreenMode());
    EXPECT_TRUE(f.action(ID_FULL_SCREEN)->isChecked());
    EXPECT_FALSE(f.mainToolBar()->isVisible());
    EXPECT_EQ(f.splitterSizes().sideColumn, 0);

    f.OnCommand(ID_FULL_SCREEN);
    WaitFor([] { return false; }, 100);
    EXPECT_FALSE(f.fullScreenMode());
    EXPECT_TRUE(f.mainToolBar()->isVisible());
    EXPECT_EQ(f.splitterSizes(), before);
    EXPECT_EQ(f.geometry(), placement);
}

TEST_F(MainFrameTest, DigitalZoomOutsideTheWholeFrameIsRefused)
{
    CMainFrame& f = make(true);
    f.OnCommand(ID_SIZE_A4);
    ASSERT_EQ(f.sizeList()->currentIndex(), 2);
    f.OnCommand(ID_DIGITAL_ZOOM);
    EXPECT_TRUE(prompter.showed(appmsg::kZoomOnlyForAll));
    EXPECT_EQ(f.scanState().zoomLevel, 0);
}

TEST_F(MainFrameTest, APresetDragBecomesTheScanRectangleAndATinyOneChangesNothing)
{
    CMainFrame& f = make(false);
    f.OnCommand(ID_SIZE_PRESET);
    ASSERT_TRUE(f.liveView()->presetDraw());
    f.updateCommandUi();
    EXPECT_TRUE(f.action(ID_SIZE_PRESET)->isChecked());
    const Settings before = f.settings();

    f.liveView()->finishPresetDrag(QPoint(10, 10), QPoint(29, 29));
    EXPECT_EQ(f.settings(), before) << "a 19-pixel rectangle is a click";

    LiveViewGeometry fitted;
    fitted.clientWidth = f.liveView()->width();
    fitted.clientHeight = f.liveView()->height();
    const FrameRect expected = ToFrameRect({100, 150, 500, 450}, fitted);
    ASSERT_GT(expected.right - expected.left, 0);
    f.liveView()->finishPresetDrag(QPoint(100, 150), QPoint(500, 450));
    EXPECT_TRUE(f.settings().presetInForce);
    EXPECT_EQ(f.settings().left, expected.left);
    EXPECT_EQ(f.settings().right, expected.right);
    EXPECT_EQ(f.settings().top, expected.top);
    EXPECT_EQ(f.settings().bottom, expected.bottom);
    EXPECT_TRUE(f.helperView()->lineText(0).contains(QStringLiteral("预设状态")));

    // At actual size the live view is the frame's size and scrolls; a drag is in frame pixels.
    f.OnCommand(ID_ACTUAL_SIZE);
    EXPECT_TRUE(f.action(ID_ACTUAL_SIZE)->isChecked());
    EXPECT_EQ(f.liveView()->size(), QSize(2592, 1944));
    f.liveView()->finishPresetDrag(QPoint(1100, 600), QPoint(1300, 700));
    EXPECT_EQ(f.settings().left, 1100);
    EXPECT_EQ(f.settings().right, 1300);
    EXPECT_EQ(f.settings().top, 1944 - 700);
    EXPECT_EQ(f.settings().bottom, 1944 - 600);
    f.OnCommand(ID_WINDOW_SIZE);
    EXPECT_TRUE(f.action(ID_WINDOW_SIZE)->isChecked());
}

TEST_F(MainFrameTest, AScanThroughTheCommandStoresAFileAndRedrawsTheInformationPane)
{
    CMainFrame& f = make(true);
    ASSERT_TRUE(WaitFor([&] {
        cv::Mat frame;
        return f.camera()->copyNewestFrame(frame);
    }));
    ASSERT_TRUE(WaitFor([&] { return f.helperView()->paintCount() > 0; }));
    const int paintsBefore = f.helperView()->paintCount();

    f.OnCommand(ID_SCAN);
    ASSERT_TRUE(WaitFor([&] { return f.helperView()->paintCount() > paintsBefore; }));
    const auto photo = programDir.path() / "Photo";
    std::vector<std::filesystem::path> stored;
    for (const auto& entry : std::filesystem::directory_iterator(photo)) stored.push_back(entry.path());
    ASSERT_EQ(stored.size(), 1u);
    EXPECT_EQ(stored[0].filename(), "Image0001.jpg");
    EXPECT_GT(std::filesystem::file_size(stored[0]), 10000u);
}

TEST_F(MainFrameTest, EnterOnTheLivePictureScans)
{
    CMainFrame& f = make(true);
    ASSERT_TRUE(WaitFor([&] {
        cv::Mat frame;
        return f.camera()->copyNewestFrame(frame);
    }));
    QTest::keyClick(f.liveView(), Qt::Key_Return);
    EXPECT_TRUE(std::filesystem::exists(programDir.path() / "Photo" / "Image0001.jpg"));
    QTest::keyClick(f.liveView(), Qt::Key_Return);
    EXPECT_TRUE(std::filesystem::exists(programDir.path() / "Photo" / "Image0002.jpg"));
}

TEST_F(MainFrameTest, TimedScanningStartsTimer85AndEscStopsIt)
{
    CMainFrame& f = make(true);
    ASSERT_NE(f.scanDriver(), nullptr);
    f.settings().intertime = 200;
    f.OnCommand(ID_TIMED_SCAN);
    f.updateCommandUi();
    EXPECT_TRUE(f.scanDriver()->timerActive());
    EXPECT_TRUE(f.action(ID_TIMED_SCAN)->isChecked());
    EXPECT_FALSE(f.action(ID_SCAN)->isEnabled());
    EXPECT_FALSE(f.buttonView()->scanButton()->isEnabled());
    EXPECT_EQ(f.helperView()->lineText(0), QStringLiteral("提示：“定时扫描”状态"));

    QTest::keyClick(f.liveView(), Qt::Key_Escape);
    EXPECT_FALSE(f.scanDriver()->timerActive());
    EXPECT_FALSE(f.scanState().timedScanning);
    EXPECT_TRUE(f.action(ID_SCAN)->isEnabled());
}

TEST_F(MainFrameTest, ASecondCameraThatIsNotThereIsToldAndTheMainPictureRunsOn)
{
    CMainFrame& f = make(true);
    f.OnCommand(ID_SECOND_CAMERA);  // the virtual camera has none of the configured USB ids
    EXPECT_TRUE(prompter.showed(appmsg::kNoSecondCamera));
    EXPECT_EQ(f.camera()->secondCamera(), nullptr);
    const std::uint64_t shown = f.camera()->framesShown();
    EXPECT_TRUE(WaitFor([&] { return f.camera()->framesShown() > shown; }));
}

TEST_F(MainFrameTest, ASizeChosenOnTheFormatPageIsWhatTheNextScanAndConfigIniGet)
{
    programDir.writeFile("config.ini", "[Custom]\nlwidth=640\nlheight=480\n");
    CMainFrame& f = make(true);
    ASSERT_TRUE(WaitFor([&] {
        cv::Mat frame;
        return f.camera()->copyNewestFrame(frame) && frame.cols == 640;
    }));

    // The user picks 2592 x 1944 on the format page and presses OK.
    bool chosen = false;
    std::function<void()> choose = [&] {
        if (auto* dialog = qobject_cast<VideoFormatDialog*>(QApplication::activeModalWidget())) {
            dialog->selectSize({2592, 1944});
            dialog->accept();
            chosen = true;
            return;
        }
        QTimer::singleShot(20, choose);
    };
    QTimer::singleShot(0, choose);
    f.OnCommand(ID_VIDEO_FORMAT);
    ASSERT_TRUE(chosen);
    EXPECT_EQ(f.settings().lwidth, 2592);
    EXPECT_EQ(f.settings().lheight, 1944);

    // A scan at once stores the new size, uncropped.
    f.OnCommand(ID_SCAN);
    const auto stored = programDir.path() / "Photo" / "Image0001.jpg";
    ASSERT_TRUE(std::filesystem::exists(stored)) << prompter.texts().size();
    EXPECT_EQ(cv::imread(stored.string()).size(), cv::Size(2592, 1944));

    ASSERT_TRUE(f.SaveConfig());
    IniFile ini(programpath::ConfigFile());
    ASSERT_TRUE(ini.load());
    EXPECT_EQ(ini.readInt("Custom", "lwidth", 0, 4), 2592);
    EXPECT_EQ(ini.readInt("Custom", "lheight", 0, 4), 1944);
}

TEST_F(MainFrameTest, WakingFromTheTrayKeepsFullScreen)
{
    CMainFrame& f = make(false);
    f.OnCommand(ID_FULL_SCREEN);
    WaitFor([] { return false; }, 100);
    ASSERT_TRUE(f.isFullScreen());
    f.hide();  // as into the tray
    f.wake();
    WaitFor([] { return false; }, 100);
    EXPECT_TRUE(f.isVisible());
    EXPECT_TRUE(f.isFullScreen()) << "the window and the frame's own state agree";
    EXPECT_TRUE(f.fullScreenMode());
    EXPECT_TRUE(f.action(ID_FULL_SCREEN)->isChecked());
    EXPECT_FALSE(f.menuBar()->isVisible());

    f.OnCommand(ID_FULL_SCREEN);
    f.hide();
    f.wake();
    WaitFor([] { return false; }, 100);
    EXPECT_FALSE(f.isFullScreen());
    EXPECT_TRUE(f.isMaximized());
    EXPECT_TRUE(f.menuBar()->isVisible());
}

TEST_F(MainFrameTest, OnlyADoubleClickOnTheTrayIconWakesTheWindow)
{
    CMainFrame& f = make(false);
    f.hide();  // as into the tray
    f.OnTrayActivated(QSystemTrayIcon::Trigger);
    QCoreApplication::processEvents();
    EXPECT_FALSE(f.isVisible()) << "a single click";
    f.OnTrayActivated(QSystemTrayIcon::DoubleClick);
    QCoreApplication::processEvents();
    EXPECT_TRUE(f.isVisible());
}

TEST_F(MainFrameTest, DraggingThePresetRectangleHoldsThePictureOnScreen)
{
    CMainFrame& f = make(true);
    ASSERT_TRUE(WaitFor([&] { return f.camera()->framesShown() > 0; }));
    ASSERT_TRUE(f.camera()->videoWindow()->isVisible());
    emit f.liveView()->previewPauseRequested(true);  // the drag begins
    QCoreApplication::processEvents();
    EXPECT_TRUE(f.camera()->videoWindow()->isVisible()) << "the user draws on the picture";
    emit f.liveView()->previewPauseRequested(false);  // and ends
    EXPECT_TRUE(f.camera()->videoWindow()->isVisible());
    const std::uint64_t shown = f.camera()->framesShown();
    EXPECT_TRUE(WaitFor([&] { return f.camera()->framesShown() > shown; })) << "the picture runs on";
}

TEST_F(MainFrameTest, StoredSettingsComeBackIntoTheListTheViewAndThePane)
{
    programDir.writeFile("config.ini",
                         "[Custom]\nsize=8\nh=1944\nw=2592\nleft=100\nright=900\ntop=50\n"
                         "bottom=700\nstate=2\n[Auto]\neraser=1\n");
    CMainFrame& f = make(false);
    EXPECT_EQ(f.sizeList()->currentIndex(), 8);
    EXPECT_TRUE(f.liveView()->presetDraw());
    EXPECT_TRUE(f.settings().presetInForce);
    EXPECT_EQ(f.settings().right, 900);
    EXPECT_TRUE(f.action(ID_ORIENT_LEFT)->isChecked());
    EXPECT_FALSE(f.action(ID_ORIENT_NORMAL)->isChecked());
    EXPECT_TRUE(f.action(ID_SIZE_PRESET)->isChecked());
    EXPECT_EQ(f.helperView()->lineText(0),
              QStringLiteral("动态：  预设状态   左旋90度    注意：在图像显示区域，按住鼠标左键拖动可自定义扫描图像的大小。"));
    EXPECT_EQ(f.helperView()->lineText(1), QStringLiteral("  自动去底色  文件格式：.jpg  分辨率：2592*1944"));

    f.OnCommand(ID_ORIENT_NORMAL);
    f.OnCommand(ID_SIZE_A6);
    EXPECT_TRUE(f.action(ID_ORIENT_NORMAL)->isChecked());
    EXPECT_EQ(f.sizeList()->currentIndex(), 4);
    EXPECT_FALSE(f.liveView()->presetDraw());
    EXPECT_TRUE(f.helperView()->lineText(0).startsWith(QStringLiteral("动态：  A6大小   正常状态")));
}

TEST_F(MainFrameTest, ACancelledBookNameStartsNoTimedScan)
{
    programDir.writeFile("config.ini", "[Name]\nname=1\n");
    CMainFrame& f = make(true);
    f.scanDriver()->setFileNameAnswer([] { return std::optional<std::string>{}; });
    f.OnCommand(ID_TIMED_SCAN);
    EXPECT_FALSE(f.scanDriver()->timerActive());
    EXPECT_FALSE(f.scanState().timedScanning);
    EXPECT_TRUE(f.action(ID_SCAN)->isEnabled());
}

TEST_F(MainFrameTest, RestoreDefaultsThenARestartGivesTheDefaults)
{
    programDir.writeFile("config.ini",
                         "[Custom]\nsize=2\nh=1720\nw=2395\nstate=3\nforamt=.png\n"
                         "[Name]\nname=5\nbookname=novel\n[Auto]\nthreshold=1\ngrayscale=1\n"
                         "[Other]\njpgquality=55\nintertime=900\n");
    {
        CMainFrame& f = make(false);
        ASSERT_EQ(f.sizeList()->currentIndex(), 2);
        ASSERT_TRUE(f.settings().orientation.rotateRight);
        f.OnCommand(ID_RESTORE_DEFAULTS);
        frame.reset();  // the window writes config.ini as it goes
    }
    CMainFrame& again = make(false);
    Settings expected = DefaultSettings(ProgramDir());
    expected.w = expected.lwidth;
    expected.h = expected.lheight;
    EXPECT_EQ(again.settings(), expected);
    EXPECT_EQ(again.sizeList()->currentIndex(), 0);
    IniFile ini(programDir.path() / "config.ini");
    ASSERT_TRUE(ini.load());
    EXPECT_EQ(ini.readInt("Custom", "size", -1, 4), 0);
    EXPECT_EQ(ini.readInt("Custom", "state", -1, 4), 0);
}

}  // namespace

namespace {

TEST_F(MainFrameTest, WithoutAnyCameraTheStartSaysSoAndGoesNoFurther)
{
    CaptureOptions options;
    options.sysfsRoot = programDir.path() / "no-sys";
    options.devRoot = programDir.path() / "no-dev";
    options.watchDeviceRemoval = false;
    std::filesystem::create_directories(options.sysfsRoot / "class" / "video4linux");
    std::filesystem::create_directories(options.devRoot);
    CameraLink camera(prompter, options);
    EXPECT_FALSE(camera.open());
    EXPECT_TRUE(prompter.showed(appmsg::kNoCaptureDevice)) << ::testing::PrintToString(prompter.texts());
}

TEST_F(MainFrameTest, AFailedDeviceEventRegistrationIsToldOnceAsTheWindowIsCreated)
{
    CaptureOptions options;
    options.cameraSpec = "virtual";
    options.deviceEventSource = "no-such-udev-source";  // fails as a machine without udev
    auto link = std::make_unique<CameraLink>(prompter, options);
    ASSERT_TRUE(link->open());
    auto count = [&] {
        const auto texts = prompter.texts();
        return std::count(texts.begin(), texts.end(), std::string(appmsg::kDeviceNotifyFailed));
    };
    EXPECT_EQ(count(), 0);  // opening a camera registers nothing
    frame = std::make_unique<CMainFrame>(prompter, std::move(link));
    EXPECT_EQ(count(), 1);
    // The window starts all the same, and opening cameras later says nothing more.
    ASSERT_TRUE(frame->startCamera());
    frame->OnCommand(ID_SECOND_CAMERA);
    EXPECT_TRUE(prompter.showed(appmsg::kNoSecondCamera));
    EXPECT_EQ(count(), 1) << ::testing::PrintToString(prompter.texts());
}

}  // namespace
