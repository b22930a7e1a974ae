// The recording's file and writer: what players read back from the AVI (size, frames in
// order, rate), the OpenDML parts of a long recording, files of a killed program, drops
// counted when the encoder is behind, and write failures.

#include "AviFile.h"
#include "Capabilities.h"
#include "TempProgramDir.h"
#include "VideoRecorder.h"

#include <gtest/gtest.h>
#include <linux/videodev2.h>
#include <opencv2/imgcodecs.hpp>
#include <opencv2/videoio.hpp>

#include <fstream>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace vestrel::recording {
namespace {

namespace fs = std::filesystem;

// Frame `i` is one flat colour that survives JPEG, so the order of frames can be read back.
cv::Mat NumberedFrame(int i, cv::Size size)
{
    return cv::Mat(size, CV_8UC3, cv::Scalar((i * 40) % 250, (i * 90) % 250, (i * 20) % 250));
}

std::vector<std::uint8_t> Jpeg(const cv::Mat& frame)
{
    std::vector<std::uint8_t> bytes;
    cv::imencode(".jpg", frame, bytes, {cv::IMWRITE_JPEG_QUALITY, 90});
    return bytes;
}

bool SameColour(const cv::Mat& a, const cv::Mat& b)
{
    const cv::Scalar d = cv::mean(a) - cv::mean(b);
    return std::abs(d[0]) < 6 && std::abs(d[1]) < 6 && std::abs(d[2]) < 6;
}

struct ReadBack {
    bool opened = false;
    cv::Size size;
    double fps = 0;
    double countInHeader = 0;
    std::vector<cv::Mat> frames;
};

ReadBack Read(const fs::path& path, int api = cv::CAP_FFMPEG)
{
    ReadBack r;
    cv::VideoCapture video(path.string(), api);
    r.opened = video.isOpened();
    if (!r.opened) return r;
    r.size = {int(video.get(cv::CAP_PROP_FRAME_WIDTH)), int(video.get(cv::CAP_PROP_FRAME_HEIGHT))};
    r.fps = video.get(cv::CAP_PROP_FPS);
    r.countInHeader = video.get(cv::CAP_PROP_FRAME_COUNT);
    for (cv::Mat f; video.read(f);) r.frames.push_back(f.clone());
    return r;
}

std::uint32_t Le32(const std::string& bytes, std::size_t at)
{
    std::uint32_t v = 0;
    for (int i = 3; i >= 0; --i) v = (v << 8) | std::uint8_t(bytes[at + std::size_t(i)]);
    return v;
}

// The file's top-level RIFF parts: their form types and whole sizes.
std::vector<std::pair<std::string, std::uint64_t>> RiffParts(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), {});
    std::vector<std::pair<std::string, std::uint64_t>> parts;
    std::size_t at = 0;
    while (at + 12 <= bytes.size() && bytes.compare(at, 4, "RIFF") == 0) {
        const std::uint64_t size = Le32(bytes, at + 4) + 8ull;
        parts.push_back({bytes.substr(at + 8, 4), size});
        at += size;
    }
    if (at != bytes.size()) parts.push_back({"trailing", bytes.size() - at});
    return parts;
}

TEST(AviFile, PlayersReadEveryFrameInOrderWithTheSizeAndRate)
{
    testkit::TempProgramDir dir;
    const fs::path path = dir / "clip.avi";
    const cv::Size size(320, 240);
    AviFile file;
    ASSERT_TRUE(file.open(path, {size.width, size.height, 12.5}));
    for (int i = 0; i < 10; ++i) ASSERT_TRUE(file.writeFrame(Jpeg(NumberedFrame(i, size))));
    ASSERT_TRUE(file.close());
    EXPECT_EQ(file.parts(), 1);

    // Both the FFmpeg reader and OpenCV's own (which needs the old index) take it.
    for (int api : {cv::CAP_FFMPEG, cv::CAP_OPENCV_MJPEG}) {
        const ReadBack r = Read(path, api);
        ASSERT_TRUE(r.opened) << api;
        EXPECT_EQ(r.size, size);
        EXPECT_NEAR(r.fps, 12.5, 0.01);
        EXPECT_EQ(r.countInHeader, 10);
        ASSERT_EQ(r.frames.size(), 10u) << api;
        for (int i = 0; i < 10; ++i) EXPECT_TRUE(SameColour(r.frames[std::size_t(i)], NumberedFrame(i, size))) << i;
    }
    const auto parts = RiffParts(path);
    ASSERT_EQ(parts.size(), 1u);
    EXPECT_EQ(parts[0].first, "AVI ");
}

TEST(AviFile, ALongRecordingGoesOnInOpenDmlPartsNoneLargerThanTheLimit)
{
    testkit::TempProgramDir dir;
    const fs::path path = dir / "long.avi";
    const cv::Size size(160, 120);
    AviFormat format{size.width, size.height, 15.0};
    format.partLimit = 20000;  // a handful of frames a part, as 1 GB holds a few minutes
    AviFile file;
    ASSERT_TRUE(file.open(path, format));
    const int count = 40;
    for (int i = 0; i < count; ++i) ASSERT_TRUE(file.writeFrame(Jpeg(NumberedFrame(i, size))));
    ASSERT_TRUE(file.close());
    EXPECT_GE(file.parts(), 3);

    const auto parts = RiffParts(path);
    ASSERT_EQ(int(parts.size()), file.parts());
    EXPECT_EQ(parts[0].first, "AVI ");
    for (std::size_t i = 0; i < parts.size(); ++i) {
        if (i > 0) {
            EXPECT_EQ(parts[i].first, "AVIX");
        }
        EXPECT_LE(parts[i].second, format.partLimit);
    }
    const ReadBack r = Read(path);
    ASSERT_TRUE(r.opened);
    EXPECT_EQ(r.countInHeader, count);  // the whole recording, not the first part's frames
    ASSERT_EQ(r.frames.size(), std::size_t(count));
    for (int i = 0; i < count; ++i) EXPECT_TRUE(SameColour(r.frames[std::size_t(i)], NumberedFrame(i, size))) << i;
}

// Writes frames in a child process until it is killed with SIGKILL once `killAfter` frames
// are in, as a program that dies mid-recording; the count written is then read back.
void WriteUntilKilled(const fs::path& path, const AviFormat& format, int killAfter)
{
    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        ::close(ready[0]);
        AviFile file;
        if (!file.open(path, format)) ::_exit(1);
        const cv::Size size(format.width, format.height);
        for (int i = 0;; ++i) {
            if (!file.writeFrame(Jpeg(NumberedFrame(i, size)))) ::_exit(1);
            if (i + 1 == killAfter && ::write(ready[1], "k", 1) != 1) ::_exit(1);
        }
    }
    ::close(ready[1]);
    char c = 0;
    ASSERT_EQ(::read(ready[0], &c, 1), 1);
    ::close(ready[0]);
    ::kill(child, SIGKILL);
    int status = 0;
    ::waitpid(child, &status, 0);
    ASSERT_TRUE(WIFSIGNALED(status));
}

TEST(AviFile, AFileLeftByAKilledProgramPlaysUpToItsLastWholeFrame)
{
    testkit::TempProgramDir dir;
    const cv::Size size(160, 120);
    for (const std::uint64_t limit : {std::uint64_t(1) << 30, std::uint64_t(20000)}) {
        SCOPED_TRACE(limit);
        const fs::path path = dir / ("killed" + std::to_string(limit) + ".avi");
        AviFormat format{size.width, size.height, 15.0};
        format.partLimit = limit;
        WriteUntilKilled(path, format, 25);
        const ReadBack r = Read(path);
        ASSERT_TRUE(r.opened);
        EXPECT_EQ(r.size, size);
        ASSERT_GE(r.frames.size(), 25u);
        // The headers count the frames that were whole when the program died; a kill
        // between a frame's data and the header update leaves that one frame uncounted,
        // which a reader going by the chunks still plays.
        const double whole = double(r.frames.size());
        EXPECT_TRUE(r.countInHeader == whole || r.countInHeader == whole - 1)
            << r.countInHeader << " counted, " << whole << " whole";
        for (std::size_t i = 0; i < r.frames.size(); ++i)
            EXPECT_TRUE(SameColour(r.frames[i], NumberedFrame(int(i), size))) << i;
    }
}

TEST(VideoRecorder, TheFileRateIsTheRateTheFramesCameAt)
{
    testkit::TempProgramDir dir;
    const fs::path path = dir / "rate.avi";
    const cv::Size size(160, 120);
    VideoRecorder recorder;
    RecorderOptions options{size.width, size.height, 30.0};
    options.queueFrames = 64;  // nothing is dropped: only the rate is looked at
    ASSERT_TRUE(recorder.start(path, options));
    // 21 frames 80 ms apart (12.5 a second), whatever the nominal rate says.
    for (int i = 0; i <= 20; ++i) recorder.OnFrame(NumberedFrame(i, size), 1'000'000 + i * 80'000);
    const RecordingStats stats = recorder.stop();
    EXPECT_FALSE(stats.failed) << stats.error;
    EXPECT_EQ(stats.framesWritten, 21u);
    EXPECT_EQ(stats.framesDropped, 0u);
    EXPECT_NEAR(stats.framesPerSecond, 12.5, 0.01);
    const ReadBack r = Read(path);
    ASSERT_TRUE(r.opened);
    EXPECT_NEAR(r.fps, 12.5, 0.01);
    EXPECT_EQ(r.frames.size(), 21u);
}

TEST(VideoRecorder, FramesThatFindTheQueueFullOrHaveAnotherSizeAreDroppedAndCounted)
{
    testkit::TempProgramDir dir;
    const fs::path path = dir / "drops.avi";
    const cv::Size size(1280, 960);  // slow enough to encode that a burst outruns it
    VideoRecorder recorder;
    RecorderOptions options{size.width, size.height, 15.0};
    options.queueFrames = 1;
    ASSERT_TRUE(recorder.start(path, options));
    cv::Mat frame(size, CV_8UC3);
    cv::randu(frame, 0, 255);
    const int burst = 30;
    for (int i = 0; i < burst; ++i) recorder.OnFrame(frame, i * 1000);
    recorder.OnFrame(NumberedFrame(0, {320, 240}), burst * 1000);
    const RecordingStats stats = recorder.stop();
    EXPECT_FALSE(stats.failed);
    EXPECT_GE(stats.framesDropped, 1u);
    EXPECT_EQ(stats.framesWritten + stats.framesDropped, std::uint64_t(burst + 1));
    EXPECT_EQ(Read(path).frames.size(), stats.framesWritten);
    // Once stopped it takes nothing more.
    recorder.OnFrame(frame, 0);
    EXPECT_EQ(recorder.stats().framesDropped, stats.framesDropped);
}

TEST(VideoRecorder, AnUnwritablePlaceFailsAtOnceAndAFullDiskStopsWithTheFileIntact)
{
    testkit::TempProgramDir dir;
    VideoRecorder cannot;
    EXPECT_FALSE(cannot.start(dir / "no/such/folder/x.avi", {160, 120}));
    EXPECT_TRUE(cannot.stats().failed);
    EXPECT_FALSE(cannot.stats().error.empty());

    // A file-size limit stands for a full disk, in a child so the limit stays there.
    const fs::path path = dir / "full.avi";
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        ::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{60000, 60000};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        VideoRecorder recorder;
        RecorderOptions options{160, 120, 15.0};
        options.queueFrames = 1000;
        if (!recorder.start(path, options)) ::_exit(10);
        cv::Mat noise(120, 160, CV_8UC3);
        for (int i = 0; i < 200; ++i) {
            cv::randu(noise, 0, 255);
            recorder.OnFrame(noise, i * 66'000);
        }
        const RecordingStats stats = recorder.stop();
        ::_exit(stats.failed && recorder.failed() && stats.framesWritten > 0 && stats.framesWritten < 200 ? 0 : 11);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
    ASSERT_EQ(WEXITSTATUS(status), 0);
    const ReadBack r = Read(path);
    ASSERT_TRUE(r.opened);
    EXPECT_GT(r.frames.size(), 0u);
    EXPECT_LE(fs::file_size(path), 60000u);
}

TEST(Capabilities, TheListNamesTheCamerasOwnFormatsWithTheirSizes)
{
    std::vector<PixelFormatInfo> formats(4);
    formats[0].fourcc = V4L2_PIX_FMT_YUYV;
    formats[0].sizes = {{640, 480}, {1280, 720}};
    formats[1].fourcc = V4L2_PIX_FMT_MJPEG;
    formats[1].sizes = {{1920, 1080}};
    formats[2].fourcc = V4L2_PIX_FMT_NV12;  // no name of its own
    formats[2].sizes = {{320, 240}};
    formats[3].fourcc = V4L2_PIX_FMT_BGR24;  // made by the conversion library: not the camera's
    formats[3].emulated = true;
    formats[3].sizes = {{640, 480}};
    EXPECT_EQ(CapabilityList(formats),
              (std::vector<std::string>{"YUY2:640*480 1280*720 ", "MJPG:1920*1080 ", "UNKNOWTPYE:320*240 "}));

    // Only converted formats: they are what there is.
    EXPECT_EQ(CapabilityList({formats[3]}), std::vector<std::string>{"RGB24:640*480 "});
    EXPECT_EQ(FormatName(V4L2_PIX_FMT_UYVY), "UYVY :");
}

TEST(Capabilities, TheDialogSplitsEntriesAndSizesAndFallsBackTo640By480)
{
    EXPECT_EQ(CapabilityName("YUY2:640*480 1280*720 "), "YUY2");
    EXPECT_EQ(CapabilitySizes("YUY2:640*480  1280*720 "), (std::vector<std::string>{"640*480", "1280*720"}));
    EXPECT_TRUE(CapabilitySizes("UNKNOWTPYE:").empty());
    EXPECT_EQ(ParseRecordSize("1280*720"), (FrameSize{1280, 720}));
    for (const char* bad : {"", "1280", "1280*", "*720", "1*2*3", "a*b", "-5*10", "0*480"})
        EXPECT_EQ(ParseRecordSize(bad), (FrameSize{640, 480})) << bad;
}

}  // namespace
}  // namespace vestrel::recording
