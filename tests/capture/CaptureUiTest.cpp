// The camera's widgets on the virtual camera, offscreen: the video window follows its
// owner and paints frames, the second camera's dialog and the property and format pages.

#include "CVideoCapture.h"
#include "CaptureMessages.h"
#include "QtTestApp.h"
#include "ScriptedPrompter.h"
#include "SecondCameraDialog.h"
#include "TempProgramDir.h"
#include "VideoFormatDialog.h"
#include "VideoPropertiesDialog.h"
#include "VideoWindow.h"

#include <QApplication>
#include <QComboBox>
#include <QListWidget>
#include <QPushButton>
#include <QMouseEvent>
#include <QSpinBox>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>
#include <linux/videodev2.h>

#include <chrono>
#include <thread>

namespace vestrel {
namespace {

using namespace std::chrono_literals;

class CaptureUi : public testkit::ProgramDirTest {
protected:
    void SetUp() override
    {
        testkit::TestApp();
        ASSERT_TRUE(capture.EnumerateDevices());
        ASSERT_TRUE(capture.SelectDevice(0));
        ASSERT_TRUE(capture.BuildGraph());
    }
    testkit::ScriptedPrompter prompter;
    CVideoCapture capture{prompter, {programDir / "nosys", programDir / "nodev", "virtual", false}};
};

TEST_F(CaptureUi, VideoWindowFitsItsOwnerTurnsAndPaintsFrames)
{
    QWidget owner;
    owner.resize(1000, 600);
    owner.show();
    VideoWindow window(capture, &owner);
    EXPECT_EQ(window.geometry(), QRect(0, 0, 800, 600));
    GrabberSettings turned;
    turned.orientation.rotateLeft = true;
    capture.Grabber().SetSettings(turned);
    window.relayout();
    EXPECT_EQ(window.geometry(), QRect(0, 0, 450, 600));
    window.setMode(VideoWindow::Mode::ActualSize);
    window.setZoomLevel(6);
    EXPECT_EQ(window.geometry(), QRect(-900, -1200, 1944 + 1800, 2592 + 2400));
    EXPECT_FALSE(window.forwardsInput());
    window.setMode(VideoWindow::Mode::FitWindow);
    window.setZoomLevel(0);
    owner.resize(640, 480);  // the owner's resize re-places the window by itself
    EXPECT_EQ(window.geometry(), QRect(0, 0, 360, 480));

    ASSERT_TRUE(capture.SetFrameSize(320, 240));
    for (int i = 0; i < 200 && !window.pollFrame(); ++i) std::this_thread::sleep_for(10ms);
    window.grab();
    EXPECT_EQ(window.framesShown(), 1u);
    const QImage shown = window.grab().toImage();
    EXPECT_EQ(shown.size(), QSize(360, 480));
    EXPECT_NE(shown.pixel(180, 240), QColor(Qt::black).rgb()) << "a picture, not the empty window";
}

// Records the mouse presses that reach it.
class PressRecorder : public QWidget {
public:
    std::vector<QPoint> presses;

protected:
    void mousePressEvent(QMouseEvent* e) override { presses.push_back(e->position().toPoint()); }
};

TEST_F(CaptureUi, VideoWindowPassesClicksToItsOwnerUnlessZoomedAtActualSize)
{
    PressRecorder owner;
    owner.resize(640, 480);
    owner.show();
    capture.SetTopOffset(true);  // the window sits 33 pixels down: positions move with it
    VideoWindow window(capture, &owner);
    ASSERT_EQ(window.pos(), QPoint(0, 33));
    QTest::mouseClick(&window, Qt::LeftButton, {}, QPoint(10, 20));
    ASSERT_EQ(owner.presses.size(), 1u);
    EXPECT_EQ(owner.presses[0], QPoint(10, 53));

    window.setMode(VideoWindow::Mode::ActualSize);
    window.setZoomLevel(3);
    QTest::mouseClick(&window, Qt::LeftButton, {}, QPoint(1000, 1000));
    EXPECT_EQ(owner.presses.size(), 1u) << "a zoomed actual-size window keeps its input";
}

TEST_F(CaptureUi, SecondCameraDialogSizesShrinkAndClose)
{
    auto* dialog = new SecondCameraDialog(capture, nullptr);
    QStringList sizes;
    for (int i = 0; i < dialog->sizeBox()->count(); ++i) sizes << dialog->sizeBox()->itemText(i);
    EXPECT_EQ(sizes, (QStringList{"160*120", "176*144", "320*240", "352*288", "640*480"}));
    EXPECT_EQ(dialog->sizeBox()->currentText(), "640*480");
    EXPECT_EQ(dialog->windowTitle(), QString::fromUtf8("视频 2"));

    int scans = 0;
    dialog->setScanHook([&] { ++scans; });
    dialog->scanButton()->click();
    EXPECT_EQ(scans, 1);

    ASSERT_TRUE(dialog->chooseSize("176*144"));
    EXPECT_EQ(capture.FormatSize(), (FrameSize{176, 144}));
    EXPECT_FALSE(dialog->chooseSize("176x144"));

    const QSize normal = dialog->size();
    dialog->toggleMini();
    EXPECT_EQ(dialog->size(), QSize(65, 60));
    EXPECT_EQ(dialog->miniButton()->text(), QString::fromUtf8("窗体恢复"));
    dialog->toggleMini();
    EXPECT_EQ(dialog->size(), normal);
    EXPECT_EQ(dialog->miniButton()->text(), QString::fromUtf8("窗体缩小"));

    dialog->close();  // deletes itself and closes the camera
    EXPECT_EQ(capture.State(), StreamState::NoGraph);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

TEST_F(CaptureUi, SecondCameraWithoutItsIdsLeavesAMessageAndNoDialog)
{
    CVideoCapture second(prompter, {programDir / "nosys", programDir / "nodev", "virtual", false});
    QWidget pane;
    EXPECT_EQ(OpenSecondCamera(second, prompter, "18ec", "3299", &pane), nullptr);
    EXPECT_EQ(prompter.texts(), std::vector<std::string>{capturemsg::kNoSecondCamera});
    EXPECT_TRUE(second.TopOffset());
    EXPECT_TRUE(second.Grabber().PassThrough());
}

TEST_F(CaptureUi, PropertyPageChangesAndRestoresControls)
{
    VideoPropertiesDialog dialog(capture, nullptr);
    EXPECT_EQ(dialog.windowTitle(), QString::fromUtf8("视频属性"));
    QSpinBox* brightness = nullptr;
    for (QSpinBox* spin : dialog.findChildren<QSpinBox*>())
        if (spin->minimum() == -64) brightness = spin;
    ASSERT_NE(brightness, nullptr);
    brightness->setValue(25);
    auto valueOf = [&](std::uint32_t id) {
        for (const CameraControl& c : capture.Controls())
            if (c.id == id) return c.value;
        return -1000;
    };
    EXPECT_EQ(valueOf(V4L2_CID_BRIGHTNESS), 25);
    dialog.restoreDefaults();
    EXPECT_EQ(valueOf(V4L2_CID_BRIGHTNESS), 0);
    EXPECT_EQ(brightness->value(), 0);
}

TEST_F(CaptureUi, FormatPageOffersTheCameraSizes)
{
    VideoFormatDialog dialog(capture.Formats(), capture.FormatSize(), nullptr);
    EXPECT_EQ(dialog.windowTitle(), QString::fromUtf8("视频格式"));
    ASSERT_TRUE(dialog.chosenSize().has_value());
    EXPECT_EQ(*dialog.chosenSize(), (FrameSize{2592, 1944}));
    dialog.selectSize({640, 480});
    EXPECT_EQ(*dialog.chosenSize(), (FrameSize{640, 480}));
}

// libv4l2 picks the camera's own format for the size asked, so the page offers the sizes
// of all formats together and no choice of format that would not be applied.
TEST(VideoFormatPage, OffersEverySizeOnceAndNoFormatChoice)
{
    testkit::TestApp();
    const PixelFormatInfo yuyv{V4L2_PIX_FMT_YUYV, "YUYV 4:2:2", false, {{640, 480}, {1280, 720}}};
    const PixelFormatInfo mjpeg{V4L2_PIX_FMT_MJPEG, "Motion-JPEG", false, {{1920, 1080}, {640, 480}}};
    const PixelFormatInfo bgr{V4L2_PIX_FMT_BGR24, "BGR3", true, {{640, 480}, {1280, 720}, {1920, 1080}}};
    VideoFormatDialog dialog({bgr, yuyv, mjpeg}, {1280, 720}, nullptr);
    EXPECT_TRUE(dialog.findChildren<QComboBox*>().isEmpty());
    QStringList sizes, makers;
    for (int i = 0; i < dialog.sizeList()->count(); ++i) {
        sizes << dialog.sizeList()->item(i)->text();
        makers << dialog.sizeList()->item(i)->toolTip();
    }
    EXPECT_EQ(sizes, (QStringList{"640*480", "1280*720", "1920*1080"}));
    EXPECT_EQ(makers, (QStringList{"YUYV, MJPG, BGR3", "YUYV, BGR3", "MJPG, BGR3"}));
    EXPECT_EQ(dialog.chosenSize(), (FrameSize{1280, 720}));  // the current size to start
    dialog.selectSize({1920, 1080});  // a size only the second format makes
    EXPECT_EQ(dialog.chosenSize(), (FrameSize{1920, 1080}));

    // A format that takes any size adds the typed size, which a listed choice fills in.
    const PixelFormatInfo anySize{V4L2_PIX_FMT_GREY, "Greyscale", false, {}};
    VideoFormatDialog typed({yuyv, anySize}, {800, 600}, nullptr);
    auto boxes = typed.findChildren<QSpinBox*>();
    ASSERT_EQ(boxes.size(), 2);
    EXPECT_FALSE(boxes[0]->isHidden());
    EXPECT_EQ(typed.chosenSize(), (FrameSize{800, 600}));
    typed.sizeList()->setCurrentRow(1);
    EXPECT_EQ(typed.chosenSize(), (FrameSize{1280, 720}));
    boxes[0]->setValue(1000);
    EXPECT_EQ(typed.chosenSize(), (FrameSize{1000, 720}));
}

}  // namespace
}  // namespace vestrel
