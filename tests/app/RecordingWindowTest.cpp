// Video recording in the main window on the virtual camera: the dialogs' answers are
// scripted, the timers' ticks are called with a clock the test moves, and the frames are
// real ones written to real files.

#include "AppTestSupport.h"
#include "CButtonView.h"
#include "CHelperView.h"
#include "CLiveView.h"
#include "CommandIds.h"
#include "RecordDialog.h"
#include "RecordingCommands.h"
#include "RecordingToolWindow.h"

#include <QPushButton>
#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QRadioButton>
#include <QTest>
#include <QThread>
#include <QTimer>

#include <opencv2/videoio.hpp>

namespace vestrel {
namespace {

using namespace cmd;
using testkit::MainFrameTest;
namespace fs = std::filesystem;

struct Video {
    bool opened = false;
    cv::Size size;
    long frames = 0;
};

Video Open(const fs::path& path)
{
    Video v;
    cv::VideoCapture video(path.string(), cv::CAP_FFMPEG);
    v.opened = video.isOpened();
    if (!v.opened) return v;
    v.size = {int(video.get(cv::CAP_PROP_FRAME_WIDTH)), int(video.get(cv::CAP_PROP_FRAME_HEIGHT))};
    for (cv::Mat f; video.read(f);) ++v.frames;
    return v;
}

// Lets the camera deliver frames for a while (real frames, not a timer under test).
void LetFramesArrive(int ms = 700)
{
    for (int waited = 0; waited < ms; waited += 20) {
        QCoreApplication::processEvents();
        QThread::msleep(20);
    }
}

class RecordingWindowTest : public MainFrameTest {
protected:
    // A window on the virtual camera whose record dialog answers `answer` and whose format
    // pages choose 640 x 480.
    CMainFrame& makeRecording(RecordSettings answer)
    {
        CMainFrame& f = make(true);
        RecordingCommands::Seams seams;
        seams.askSettings = [this, answer](const std::vector<std::string>& capabilities, QWidget*) {
            offered = capabilities;
            return std::optional<RecordSettings>(answer);
        };
        seams.formatPages = [&f](QWidget*, const std::function<void()>& start) {
            f.camera()->setFrameSize(640, 480);
            start();
        };
        seams.play = [this](const std::string& path) {
            played = path;
            return playerFound;
        };
        seams.clock = [this] { return clockMs; };
        f.recording().setSeams(seams);
        return f;
    }

    bool enabled(int id) { return StatusOf(id, frame->State()).enabled; }

    std::int64_t clockMs = 5'000'000;
    std::vector<std::string> offered;
    std::string played;
    bool playerFound = true;
};

TEST_F(RecordingWindowTest, AHalfMinuteRecordingCountsDownStopsAtItsEndPlusOneSecondAndRestoresTheCamera)
{
    RecordSettings timed;
    timed.timed = true;
    timed.minutes = 0.5;
    CMainFrame& f = makeRecording(timed);
    int beforeWidth = 0, beforeHeight = 0;
    ASSERT_TRUE(f.camera()->readFrameSize(beforeWidth, beforeHeight));
    ASSERT_NE(beforeWidth, 640);
    const fs::path out = programDir / "Photo/timed.avi";
    prompter.answerPath(out.string());

    f.OnCommand(ID_RECORD);
    ASSERT_EQ(offered.size(), 1u);
    EXPECT_NE(offered[0].find("RGB24:160*120 "), std::string::npos);
    EXPECT_NE(offered[0].find(" 640*480 800*600 1024*768 1280*720 "), std::string::npos);

    RecordingToolWindow* window = f.recording().toolWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->windowTitle(), QString::fromUtf8("正在录制视频中..."));
    EXPECT_TRUE(f.recording().countdownTimer()->isActive());
    EXPECT_EQ(f.recording().countdownTimer()->interval(), 33);
    EXPECT_TRUE(f.recording().watchTimer()->isActive());
    // Scans and size changes wait while recording.
    for (int id : {ID_SCAN, ID_TIMED_SCAN, ID_SIZE_A4, ID_RECORD}) EXPECT_FALSE(enabled(id)) << id;
    EXPECT_FALSE(f.sizeList()->isEnabled());
    EXPECT_FALSE(f.buttonView()->scanButton()->isEnabled());
    EXPECT_TRUE(f.action(ID_RECORD)->isChecked());
    EXPECT_TRUE(enabled(ID_STOP_RECORD));
    // The information pane counts down.
    f.recording().countdownTick();
    EXPECT_EQ(f.helperView()->lineText(0), QStringLiteral("提示：“录制视频”状态"));
    EXPECT_TRUE(f.helperView()->lineText(1).contains(QStringLiteral("录制剩余时间：30秒")))
        << f.helperView()->lineText(1).toStdString();
    EXPECT_EQ(f.scanState().zoomLevel, 0);
    EXPECT_EQ(f.settings().w, 640);
    EXPECT_EQ(f.settings().h, 480);

    LetFramesArrive();
    clockMs += 30'999;
    f.recording().countdownTick();
    EXPECT_TRUE(f.recording().state().Capturing()) << "the end second still records";
    clockMs += 1;
    f.recording().countdownTick();
    EXPECT_FALSE(f.recording().state().Capturing());
    EXPECT_EQ(window->windowTitle(), QString::fromUtf8("录制视频停止"));
    EXPECT_FALSE(f.recording().countdownTimer()->isActive());
    EXPECT_TRUE(window->figures().contains(QStringLiteral("丢弃 0 帧"))) << window->figures().toStdString();

    const recording::RecordingStats stats = f.recording().lastStats();
    EXPECT_GE(stats.framesWritten, 3u);
    const Video v = Open(out);
    ASSERT_TRUE(v.opened);
    EXPECT_EQ(v.size, cv::Size(640, 480));
    EXPECT_EQ(v.frames, long(stats.framesWritten));

    int width = 0, height = 0;
    ASSERT_TRUE(f.camera()->readFrameSize(width, height));
    EXPECT_EQ(width, beforeWidth);
    EXPECT_EQ(height, beforeHeight);
    f.updateCommandUi();
    EXPECT_TRUE(enabled(ID_SCAN));
    EXPECT_TRUE(f.buttonView()->scanButton()->isEnabled());
    EXPECT_FALSE(enabled(ID_STOP_RECORD));
    EXPECT_TRUE(enabled(ID_RECORD_OPEN_ENDED));
    EXPECT_TRUE(enabled(ID_RECORD_PLAY));
    EXPECT_FALSE(enabled(ID_RECORD)) << "until the tool window is closed";
    EXPECT_FALSE(f.scanState().actualSize) << "back to window size";
}

TEST_F(RecordingWindowTest, ClosingTheToolWindowStopsWithinOneWatchTickAndFreesTheRecordCommand)
{
    CMainFrame& f = makeRecording({});
    const fs::path out = programDir / "Photo/closed.avi";
    prompter.answerPath(out.string());
    f.OnCommand(ID_RECORD);
    EXPECT_FALSE(f.recording().countdownTimer()->isActive()) << "open-ended";
    LetFramesArrive(400);

    f.recording().toolWindow()->close();  // its own close box
    f.recording().watchTick();
    EXPECT_FALSE(f.recording().state().Recording());
    EXPECT_EQ(f.recording().toolWindow(), nullptr);
    EXPECT_FALSE(f.recording().watchTimer()->isActive());
    EXPECT_TRUE(enabled(ID_RECORD));
    const Video v = Open(out);
    ASSERT_TRUE(v.opened);
    EXPECT_EQ(v.frames, long(f.recording().lastStats().framesWritten));
    EXPECT_GE(v.frames, 1);
}

TEST_F(RecordingWindowTest, EscStopsRecordAgainUsesTheLastSizeAndPlayTellsAMissingPlayer)
{
    RecordSettings answer;
    answer.width = 640;
    answer.height = 480;
    CMainFrame& f = makeRecording(answer);
    const fs::path first = programDir / "Photo/first";  // the extension is added
    prompter.answerPath(first.string());
    f.OnCommand(ID_RECORD);
    EXPECT_EQ(f.recording().state().Path(), first.string() + ".avi");
    LetFramesArrive(400);
    QTest::keyClick(f.liveView(), Qt::Key_Escape);
    EXPECT_TRUE(f.recording().state().Stopped());
    EXPECT_EQ(f.recording().toolWindow()->windowTitle(), QString::fromUtf8("录制视频停止"));

    const fs::path again = programDir / "Photo/again.avi";
    prompter.answerPath(again.string());
    f.OnCommand(ID_RECORD_OPEN_ENDED);
    EXPECT_TRUE(f.recording().state().Capturing());
    EXPECT_EQ(f.recording().toolWindow()->windowTitle(), QString::fromUtf8("正在录制视频中..."));
    EXPECT_FALSE(enabled(ID_RECORD_PLAY));
    LetFramesArrive(400);
    f.OnCommand(ID_STOP_RECORD);
    const Video v = Open(again);
    ASSERT_TRUE(v.opened);
    EXPECT_EQ(v.size, cv::Size(640, 480));
    EXPECT_GE(v.frames, 1);

    playerFound = false;
    f.OnCommand(ID_RECORD_PLAY);
    EXPECT_EQ(played, again.string());
    EXPECT_TRUE(prompter.showed("没找到播放器"));
    f.OnCommand(ID_RECORD_CLOSE);
    EXPECT_FALSE(f.recording().state().Recording());
    EXPECT_TRUE(Open(first.string() + ".avi").opened);
}

TEST_F(RecordingWindowTest, LosingTheCameraFinishesTheFileWithWhatCameBefore)
{
    CMainFrame& f = makeRecording({});
    const fs::path out = programDir / "Photo/lost.avi";
    prompter.answerPath(out.string());
    f.OnCommand(ID_RECORD);
    LetFramesArrive(400);
    f.recording().deviceLost();
    EXPECT_FALSE(f.recording().state().Capturing());
    const Video v = Open(out);
    ASSERT_TRUE(v.opened);
    EXPECT_EQ(v.frames, long(f.recording().lastStats().framesWritten));
}

TEST_F(RecordingWindowTest, CancellingTheFileDialogRecordsNothing)
{
    CMainFrame& f = makeRecording({});
    prompter.answerPath(std::nullopt);
    f.OnCommand(ID_RECORD);
    EXPECT_FALSE(f.recording().state().Recording());
    EXPECT_EQ(f.recording().toolWindow(), nullptr);
    EXPECT_TRUE(offered.empty());
}

TEST(RecordDialog, FormatsAndSizesFromTheCapabilitiesWith640By480PreselectedAndNoSound)
{
    testkit::TestApp();
    RecordDialog dialog({"YUY2:320*240 640*480 1280*720 ", "MJPG:1920*1080 2592*1944 "});
    ASSERT_EQ(dialog.formatList()->count(), 2);
    EXPECT_EQ(dialog.formatList()->itemText(0), QStringLiteral("YUY2"));
    EXPECT_EQ(dialog.formatList()->itemText(1), QStringLiteral("MJPG"));
    EXPECT_EQ(dialog.sizeList()->count(), 3);
    EXPECT_EQ(dialog.sizeList()->currentText(), QStringLiteral("640*480"));
    EXPECT_FALSE(dialog.soundBox()->isChecked());
    EXPECT_FALSE(dialog.soundBox()->isEnabled());
    EXPECT_FALSE(dialog.minutesField()->isEnabled());
    EXPECT_TRUE(dialog.openEndedButton()->isChecked());
    EXPECT_FALSE(dialog.settings().timed);
    EXPECT_EQ(dialog.settings().width, 640);

    dialog.timedButton()->click();
    EXPECT_TRUE(dialog.minutesField()->isEnabled());
    dialog.minutesField()->setValue(2.5);
    // Another format refills the sizes and takes its first.
    dialog.formatList()->setCurrentIndex(1);
    emit dialog.formatList()->activated(1);
    EXPECT_EQ(dialog.sizeList()->count(), 2);
    EXPECT_EQ(dialog.sizeList()->currentText(), QStringLiteral("1920*1080"));
    const RecordSettings s = dialog.settings();
    EXPECT_EQ(s.formatName, "MJPG");
    EXPECT_EQ(s.width, 1920);
    EXPECT_EQ(s.height, 1080);
    EXPECT_TRUE(s.timed);
    EXPECT_DOUBLE_EQ(s.minutes, 2.5);
    EXPECT_FALSE(s.sound);

    // No 640*480 in the first format: its first size is taken.
    RecordDialog other({"MJPG:1920*1080 "});
    EXPECT_EQ(other.sizeList()->currentText(), QStringLiteral("1920*1080"));
}

}  // namespace
}  // namespace vestrel
