// The capture object driving the virtual camera: the stream states, frame sizes,
// controls, the file camera, and the loss of the device.

#include "CVideoCapture.h"
#include "CaptureMessages.h"
#include "DeskScene.h"
#include "ImageCompare.h"
#include "ScriptedPrompter.h"
#include "TempProgramDir.h"

#include <gtest/gtest.h>
#include <linux/videodev2.h>
#include <opencv2/imgcodecs.hpp>
#include <opencv2/imgproc.hpp>

#include <atomic>
#include <chrono>
#include <set>
#include <thread>

namespace vestrel {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using testkit::ScriptedPrompter;

// Waits (up to 5 s) until the grabber has seen more than `count` frames.
bool waitForFrames(const CVideoCapture& capture, std::uint64_t count)
{
    for (int i = 0; i < 500 && capture.Grabber().FrameCount() <= count; ++i) std::this_thread::sleep_for(10ms);
    return capture.Grabber().FrameCount() > count;
}

class VirtualCamera : public testkit::ProgramDirTest {
protected:
    // No sysfs here: only the virtual camera is listed.
    CaptureOptions options(const std::string& spec) const { return {programDir / "nosys", programDir / "nodev", spec, false}; }

    bool open(CVideoCapture& capture)
    {
        return capture.EnumerateDevices() && capture.SelectDevice(0) && capture.BuildGraph();
    }
    ScriptedPrompter prompter;
};

TEST_F(VirtualCamera, StreamsTheDeskAtTheDefaultSizeThroughEveryState)
{
    CVideoCapture capture(prompter, options("virtual"));
    ASSERT_TRUE(open(capture));
    EXPECT_EQ(capture.State(), StreamState::GraphBuilt);
    EXPECT_EQ(capture.FormatSize(), (FrameSize{2592, 1944}));
    ASSERT_TRUE(capture.BuildPreview());
    ASSERT_TRUE(capture.Run());
    ASSERT_TRUE(waitForFrames(capture, 1));

    cv::Mat frame;
    ASSERT_TRUE(capture.Grabber().CopyLastFrame(frame));
    EXPECT_EQ(frame.size(), cv::Size(2592, 1944));
    // The page is bright paper with dark print on it; the desk around it is darker.
    const DeskSceneLayout layout = DeskLayout(frame.size());
    const cv::Rect pageCore(cv::Point(layout.page.center) - cv::Point(300, 400), cv::Size(600, 800));
    cv::Mat grey;
    cv::cvtColor(frame(pageCore), grey, cv::COLOR_BGR2GRAY);
    double lo = 0, hi = 0;
    cv::minMaxLoc(grey, &lo, &hi);
    EXPECT_GT(hi, 220);
    EXPECT_LT(lo, 100) << "text on the page";
    EXPECT_LT(cv::mean(frame(cv::Rect(0, 0, 100, 100)))[1], 150) << "the desk in the corner";

    ASSERT_TRUE(capture.ShowPreview(false));
    EXPECT_EQ(capture.State(), StreamState::Paused);
    const std::uint64_t paused = capture.Grabber().FrameCount();
    std::this_thread::sleep_for(200ms);
    EXPECT_EQ(capture.Grabber().FrameCount(), paused) << "no frames while paused";
    ASSERT_TRUE(capture.ShowPreview(true));
    EXPECT_TRUE(waitForFrames(capture, paused));

    ASSERT_TRUE(capture.RestartPreview());
    EXPECT_EQ(capture.State(), StreamState::Running);
    capture.ReleaseGraph();
    EXPECT_EQ(capture.State(), StreamState::NoGraph);
    EXPECT_TRUE(prompter.shown().empty());
}

TEST(DeskScene, NoiseIsSmallAndDiffersFromFrameToFrame)
{
    const cv::Mat scene = DrawDeskScene({320, 240});
    EXPECT_TRUE(testkit::SamePixels(scene, DrawDeskScene({320, 240}))) << "the same size draws the same desk";
    SensorNoise noise;
    cv::Mat first, second;
    noise.add(scene, first);
    noise.add(scene, second);
    cv::Mat diff;
    cv::subtract(first, scene, diff);
    double lo = 0, hi = 0;
    cv::minMaxLoc(diff.reshape(1), &lo, &hi);
    EXPECT_EQ(lo, 0);
    EXPECT_EQ(hi, SensorNoise::kNoiseSpan);
    EXPECT_GT(testkit::MaxAbsDiff(first, second), 0) << "each frame has its own noise";
    EXPECT_LE(testkit::MaxAbsDiff(first, scene), SensorNoise::kNoiseSpan);
}

TEST_F(VirtualCamera, FrameSizeChangesAndRefusals)
{
    CVideoCapture capture(prompter, options("virtual"));
    ASSERT_TRUE(open(capture));
    ASSERT_TRUE(capture.BuildPreview());
    ASSERT_TRUE(capture.Run());
    ASSERT_TRUE(capture.SetFrameSize(640, 480));
    EXPECT_EQ(capture.State(), StreamState::Running);
    const std::uint64_t before = capture.Grabber().FrameCount();
    ASSERT_TRUE(waitForFrames(capture, before));
    // Frames of the old size may still be the newest for a moment; wait for the new one.
    for (int i = 0; i < 100 && capture.Grabber().LastFrameSize() != FrameSize{640, 480}; ++i)
        std::this_thread::sleep_for(20ms);
    EXPECT_EQ(capture.Grabber().LastFrameSize(), (FrameSize{640, 480}));
    EXPECT_TRUE(capture.SetRgb24()) << "frames already arrive as BGR";

    // A size the camera cannot do is told once; the picture runs on at the size it had,
    // through every later pause and return to the live picture.
    EXPECT_FALSE(capture.SetFrameSize(100000, 480));
    EXPECT_EQ(prompter.texts(), std::vector<std::string>{capturemsg::kSetFormatFailed});
    EXPECT_EQ(capture.State(), StreamState::Running);
    EXPECT_EQ(capture.FormatSize(), (FrameSize{640, 480}));
    ASSERT_TRUE(waitForFrames(capture, capture.Grabber().FrameCount()));
    EXPECT_EQ(capture.Grabber().LastFrameSize(), (FrameSize{640, 480}));
    EXPECT_TRUE(capture.ShowPreview(false));
    EXPECT_TRUE(capture.ShowPreview(true));
    EXPECT_EQ(prompter.texts(), std::vector<std::string>{capturemsg::kSetFormatFailed});

    prompter.clear();
    capture.ReleaseGraph();
    EXPECT_FALSE(capture.SetFrameSize(640, 480));
    EXPECT_FALSE(capture.ReadFrameSize());
    EXPECT_FALSE(capture.CheckDevicePresent());
    EXPECT_EQ(prompter.texts(), (std::vector<std::string>{capturemsg::kReadFormatFailed,
                                                          capturemsg::kReadFormatFailed,
                                                          capturemsg::kVideoDeviceMissing}));
}

TEST_F(VirtualCamera, FormatsAndControls)
{
    CVideoCapture capture(prompter, options("virtual"));
    EXPECT_TRUE(capture.Formats().empty());
    ASSERT_TRUE(open(capture));
    const auto formats = capture.Formats();
    ASSERT_EQ(formats.size(), 1u);
    EXPECT_EQ(FourccText(formats[0].fourcc), "BGR3");
    EXPECT_NE(std::find(formats[0].sizes.begin(), formats[0].sizes.end(), FrameSize{640, 480}), formats[0].sizes.end());

    ASSERT_TRUE(capture.SetFrameSize(320, 240));
    cv::Mat normal, brighter;
    ASSERT_TRUE(waitForFrames(capture, 0));
    ASSERT_TRUE(capture.Grabber().CopyLastFrame(normal));
    EXPECT_FALSE(capture.SetControl(V4L2_CID_BRIGHTNESS, 1000)) << "out of range";
    ASSERT_TRUE(capture.SetControl(V4L2_CID_BRIGHTNESS, 40));
    const auto controls = capture.Controls();
    const auto b = std::find_if(controls.begin(), controls.end(), [](const CameraControl& c) { return c.id == V4L2_CID_BRIGHTNESS; });
    ASSERT_NE(b, controls.end());
    EXPECT_EQ(b->value, 40);
    const std::uint64_t seen = capture.Grabber().FrameCount();
    ASSERT_TRUE(waitForFrames(capture, seen + 1));
    ASSERT_TRUE(capture.Grabber().CopyLastFrame(brighter));
    EXPECT_NEAR(cv::mean(brighter)[1] - cv::mean(normal)[1], 40, 6);
}

TEST_F(VirtualCamera, FileCameraShowsEachImageUntilAScanTakesItInNameOrder)
{
    const fs::path folder = programDir / "pictures";
    fs::create_directories(folder);
    ASSERT_TRUE(cv::imwrite((folder / "a.png").string(), cv::Mat(60, 80, CV_8UC3, cv::Scalar(10, 20, 30))));
    ASSERT_TRUE(cv::imwrite((folder / "c.png").string(), cv::Mat(60, 80, CV_8UC3, cv::Scalar(200, 100, 50))));
    programDir.writeFile("pictures/b.png", "not a picture");  // skipped
    CVideoCapture capture(prompter, options("file:" + folder.string()));
    ASSERT_TRUE(open(capture));
    ASSERT_TRUE(capture.SetFrameSize(160, 120));

    // The live picture stays on the first image, frame after frame.
    for (int i = 0; i < 4; ++i) {
        ASSERT_TRUE(waitForFrames(capture, capture.Grabber().FrameCount()));
        cv::Mat frame;
        ASSERT_TRUE(capture.Grabber().CopyLastFrame(frame));
        ASSERT_EQ(frame.size(), cv::Size(160, 120));
        EXPECT_EQ(frame.at<cv::Vec3b>(60, 80)[0], 10) << "frame " << i;
    }
    // Scans taken back to back store each image once, in name order, then start again.
    std::vector<int> taken;
    for (int i = 0; i < 5; ++i) {
        cv::Mat frame;
        ASSERT_TRUE(capture.Grabber().TakeFrameForScan(frame));
        taken.push_back(frame.at<cv::Vec3b>(60, 80)[0]);
    }
    EXPECT_EQ(taken, (std::vector<int>{10, 200, 10, 200, 10}));
    EXPECT_TRUE(prompter.shown().empty());
}

TEST_F(VirtualCamera, AfterASizeSwitchNoScanGetsAFrameOfTheOldSize)
{
    CVideoCapture capture(prompter, options("virtual"));
    ASSERT_TRUE(open(capture));
    ASSERT_TRUE(capture.SetFrameSize(640, 480));
    ASSERT_TRUE(waitForFrames(capture, capture.Grabber().FrameCount()));
    for (const FrameSize size : {FrameSize{320, 240}, FrameSize{800, 600}}) {
        ASSERT_TRUE(capture.SetFrameSize(size.width, size.height));
        cv::Mat frame;
        ASSERT_TRUE(capture.Grabber().TakeFrameForScan(frame));  // at once
        EXPECT_EQ(frame.size(), cv::Size(size.width, size.height));
    }
    // Paused, the last frame stays for scans and the picture.
    ASSERT_TRUE(capture.Pause());
    cv::Mat kept;
    EXPECT_TRUE(capture.Grabber().TakeFrameForScan(kept));
    EXPECT_EQ(kept.size(), cv::Size(800, 600));
}

TEST_F(VirtualCamera, FileCameraWithoutImagesCannotBeBound)
{
    fs::create_directories(programDir / "empty");
    CVideoCapture capture(prompter, options("file:" + (programDir / "empty").string()));
    ASSERT_TRUE(capture.EnumerateDevices());
    ASSERT_TRUE(capture.SelectDevice(0));
    EXPECT_FALSE(capture.BuildGraph());
    EXPECT_EQ(prompter.texts(), std::vector<std::string>{capturemsg::kBindFailed});
}

TEST_F(VirtualCamera, LosingTheDeviceRaisesTheEventOnce)
{
    const fs::path folder = programDir / "camera";
    fs::create_directories(folder);
    ASSERT_TRUE(cv::imwrite((folder / "page.png").string(), testkit::PatternImage(64, 48)));
    CVideoCapture capture(prompter, options("file:" + folder.string()));
    std::atomic<int> lost{0};
    capture.SetDeviceLostHandler([&] { ++lost; });
    ASSERT_TRUE(open(capture));
    ASSERT_TRUE(capture.SetFrameSize(64, 48));
    ASSERT_TRUE(waitForFrames(capture, 0));
    fs::remove_all(folder);  // unplugged
    for (int i = 0; i < 200 && lost == 0; ++i) std::this_thread::sleep_for(10ms);
    EXPECT_EQ(lost, 1);
    EXPECT_TRUE(capture.DeviceLost());
    cv::Mat last;
    EXPECT_TRUE(capture.Grabber().CopyLastFrame(last)) << "the last frame stays readable";
    capture.ReleaseGraph();
    EXPECT_EQ(lost, 1);

    // Plugged in again: the device opens and streams as before.
    fs::create_directories(folder);
    ASSERT_TRUE(cv::imwrite((folder / "page.png").string(), testkit::PatternImage(64, 48)));
    ASSERT_TRUE(capture.BuildGraph());
    EXPECT_FALSE(capture.DeviceLost());
    ASSERT_TRUE(capture.SetFrameSize(32, 24));
    const std::uint64_t seen = capture.Grabber().FrameCount();
    EXPECT_TRUE(waitForFrames(capture, seen));
    EXPECT_TRUE(prompter.shown().empty());
}

}  // namespace
}  // namespace vestrel
