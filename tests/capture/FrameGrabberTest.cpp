// The frame grabber: the newest frame is always the camera's own picture, the preview
// carries the mask and the turn, and a reader never sees parts of two frames.

#include "FrameGrabber.h"
#include "FrameTurning.h"
#include "ImageCompare.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

namespace vestrel {
namespace {

using testkit::PatternImage;
using testkit::SamePixels;

GrabberSettings presetLeftTurn()
{
    GrabberSettings s;
    s.preset = true;
    s.left = 500;
    s.right = 2000;
    s.top = 100;
    s.bottom = 1500;
    s.orientation.rotateLeft = true;
    return s;
}

TEST(FrameGrabber, NewestFrameIsUnchangedWhilePreviewIsMaskedAndTurned)
{
    CFrameGrabber grabber;
    grabber.SetSettings(presetLeftTurn());
    const cv::Mat camera = PatternImage(2592, 1944);
    cv::Mat sample = camera.clone();
    grabber.OnFrame(sample, 42);

    cv::Mat last;
    std::int64_t when = 0;
    ASSERT_TRUE(grabber.CopyLastFrame(last, &when));
    EXPECT_EQ(when, 42);
    EXPECT_TRUE(SamePixels(last, camera)) << "the scan copy carries neither mask nor turn";
    EXPECT_EQ(grabber.LastFrameBytes(), std::size_t(2592) * 1944 * 3);
    EXPECT_EQ(grabber.LastFrameSize(), (FrameSize{2592, 1944}));

    cv::Mat preview, expected;
    std::uint64_t seen = 0;
    ASSERT_TRUE(grabber.CopyPreviewIfNewer(preview, seen));
    EXPECT_EQ(preview.cols, 1944);
    EXPECT_EQ(preview.rows, 2592);
    MaskAndTurn(camera, expected, presetLeftTurn());
    EXPECT_TRUE(SamePixels(preview, expected));
    EXPECT_FALSE(grabber.CopyPreviewIfNewer(preview, seen)) << "no newer preview yet";
}

TEST(FrameGrabber, PassThroughShowsTheFrameUnchanged)
{
    CFrameGrabber grabber;
    grabber.SetSettings(presetLeftTurn());
    grabber.SetPassThrough(true);
    const cv::Mat camera = PatternImage(640, 480);
    cv::Mat sample = camera.clone();
    grabber.OnFrame(sample, 1);
    cv::Mat preview;
    ASSERT_TRUE(grabber.CopyPreview(preview));
    EXPECT_TRUE(SamePixels(preview, camera));
}

TEST(FrameGrabber, NothingToReadBeforeTheFirstFrame)
{
    CFrameGrabber grabber;
    cv::Mat out;
    EXPECT_FALSE(grabber.CopyLastFrame(out));
    EXPECT_EQ(grabber.LastFrameBytes(), 0u);
    std::uint64_t seq = 0;
    EXPECT_FALSE(grabber.CopyPreviewIfNewer(out, seq));
}

// A producer thread sends frames that are each one flat value, changing size now and
// then; readers on this thread must always get one flat frame whose size fits its value.
TEST(FrameGrabber, ReadersNeverSeeATornFrame)
{
    CFrameGrabber grabber;
    GrabberSettings s;
    s.orientation.upsideDown = true;
    grabber.SetSettings(s);
    std::atomic<bool> stop{false};
    std::thread producer([&] {
        cv::Mat sample;
        for (int n = 0; !stop; ++n) {
            const int value = n % 250;
            const cv::Size size = (value % 2) ? cv::Size(320, 240) : cv::Size(352, 288);
            sample.create(size, CV_8UC3);  // the grabber may have handed back another buffer
            sample.setTo(cv::Scalar::all(value));
            grabber.OnFrame(sample, n);
        }
    });
    int checked = 0;
    cv::Mat last;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (checked < 2000 && std::chrono::steady_clock::now() < deadline) {
        if (!grabber.CopyLastFrame(last)) continue;
        const int value = last.at<cv::Vec3b>(0, 0)[0];
        const cv::Size expected = (value % 2) ? cv::Size(320, 240) : cv::Size(352, 288);
        ASSERT_EQ(last.size(), expected);
        double lo = 0, hi = 0;
        cv::minMaxLoc(last.reshape(1), &lo, &hi);
        ASSERT_EQ(lo, hi) << "a frame mixed from two pictures";
        ++checked;
    }
    stop = true;
    producer.join();
    EXPECT_EQ(checked, 2000);
    EXPECT_GT(grabber.FrameCount(), 1u);
}

}  // namespace
}  // namespace vestrel
