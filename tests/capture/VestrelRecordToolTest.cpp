// vestrel-record end to end: the real executable on the virtual camera, in a fresh program
// folder; its outputs are a contract for scripts.

#include "RecordingName.h"
#include "TempProgramDir.h"

#include <gtest/gtest.h>
#include <opencv2/videoio.hpp>

#include <fcntl.h>
#include <poll.h>
#include <regex>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace vestrel::recording {
namespace {

namespace fs = std::filesystem;

// A running vestrel-record: its standard output is read line by line, its standard error
// goes to a file.
class ToolProcess {
public:
    ToolProcess(const testkit::TempProgramDir& dir, std::vector<std::string> arguments)
        : errFile_(dir / "temp/record-stderr.txt")
    {
        std::vector<std::string> args = {VESTREL_RECORD_TOOL, "--home", dir.path().string(), "--camera", "virtual"};
        args.insert(args.end(), arguments.begin(), arguments.end());
        std::vector<char*> argv;
        for (std::string& a : args) argv.push_back(a.data());
        argv.push_back(nullptr);
        int out[2];
        if (::pipe(out) != 0) return;
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
        posix_spawn_file_actions_addclose(&actions, out[0]);
        posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, errFile_.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (posix_spawn(&pid_, argv[0], &actions, nullptr, argv.data(), environ) != 0) pid_ = -1;
        posix_spawn_file_actions_destroy(&actions);
        ::close(out[1]);
        out_ = out[0];
    }
    ~ToolProcess()
    {
        if (pid_ > 0) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, nullptr, 0);
        }
        if (out_ >= 0) ::close(out_);
    }

    // The next line of standard output; empty at its end or after 30 s.
    std::string readLine()
    {
        std::string line;
        char c = 0;
        pollfd p{out_, POLLIN, 0};
        while (::poll(&p, 1, 30000) > 0 && ::read(out_, &c, 1) == 1 && c != '\n') line += c;
        return line;
    }
    void signal(int sig) { ::kill(pid_, sig); }
    // The exit status, or -1 when it ended by a signal.
    int wait()
    {
        int status = 0;
        ::waitpid(pid_, &status, 0);
        pid_ = -1;
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    std::string errors() const { return testkit::TempProgramDir::readFile(errFile_); }
    std::string restOfOutput()
    {
        std::string rest;
        char buf[256];
        for (ssize_t n; (n = ::read(out_, buf, sizeof buf)) > 0;) rest.append(buf, std::size_t(n));
        return rest;
    }

private:
    fs::path errFile_;
    pid_t pid_ = -1;
    int out_ = -1;
};

struct Summary {
    bool found = false;
    long frames = 0, dropped = 0;
    double fps = 0;
};

Summary LastSummary(const std::string& errors)
{
    static const std::regex line(R"(frames=(\d+) dropped=(\d+) fps=([0-9.]+)\n$)");
    std::smatch m;
    Summary s;
    if (!std::regex_search(errors, m, line)) return s;
    s.found = true;
    s.frames = std::stol(m[1]);
    s.dropped = std::stol(m[2]);
    s.fps = std::stod(m[3]);
    return s;
}

struct Video {
    bool opened = false;
    cv::Size size;
    double countInHeader = 0;
    long frames = 0;
};

Video Open(const fs::path& path)
{
    Video v;
    cv::VideoCapture video(path.string(), cv::CAP_FFMPEG);
    v.opened = video.isOpened();
    if (!v.opened) return v;
    v.size = {int(video.get(cv::CAP_PROP_FRAME_WIDTH)), int(video.get(cv::CAP_PROP_FRAME_HEIGHT))};
    v.countInHeader = video.get(cv::CAP_PROP_FRAME_COUNT);
    for (cv::Mat f; video.read(f);) ++v.frames;
    return v;
}

TEST(VestrelRecordTool, TimedRecordingPrintsItsPathAndItsFiguresAndThePlayableFileMatchesThem)
{
    testkit::TempProgramDir dir;
    const fs::path out = dir / "clip.avi";
    ToolProcess tool(dir, {"--size", "640x480", "--seconds", "2", "--out", out.string()});
    EXPECT_EQ(tool.readLine(), out.string());
    ASSERT_EQ(tool.wait(), 0) << tool.errors();
    EXPECT_EQ(tool.restOfOutput(), "");  // the path once, nothing else
    const Summary s = LastSummary(tool.errors());
    ASSERT_TRUE(s.found) << tool.errors();
    // The virtual camera sends 15 a second; a loaded machine may give fewer, never many more.
    EXPECT_GE(s.frames, 10);
    EXPECT_LE(s.frames, 34);
    EXPECT_GT(s.fps, 5.0);
    EXPECT_LT(s.fps, 17.0);
    const Video v = Open(out);
    ASSERT_TRUE(v.opened);
    EXPECT_EQ(v.size, cv::Size(640, 480));
    EXPECT_EQ(v.frames, s.frames);
    EXPECT_EQ(v.countInHeader, double(s.frames));
}

TEST(VestrelRecordTool, WithoutOutANewFileInThePhotoFolderAtTheCamerasSize)
{
    testkit::TempProgramDir dir;
    ToolProcess tool(dir, {"--seconds", "0.5"});
    const fs::path path = tool.readLine();
    ASSERT_EQ(tool.wait(), 0) << tool.errors();
    EXPECT_EQ(path.parent_path(), dir / "Photo");
    EXPECT_TRUE(std::regex_match(path.filename().string(), std::regex(R"(\d\d-\d\d-\d\d-\d\d-\d\d-\d\d\.avi)")))
        << path;
    const Video v = Open(path);
    ASSERT_TRUE(v.opened);
    EXPECT_EQ(v.size, cv::Size(2592, 1944));  // the virtual camera's size at its start
}

TEST(VestrelRecordTool, SigtermAndSigintFinishTheFileAndExitZero)
{
    for (const int sig : {SIGTERM, SIGINT}) {
        testkit::TempProgramDir dir;
        const fs::path out = dir / "open-ended.avi";
        ToolProcess tool(dir, {"--size", "640x480", "--out", out.string()});
        ASSERT_EQ(tool.readLine(), out.string());
        ::usleep(700'000);
        tool.signal(sig);
        ASSERT_EQ(tool.wait(), 0) << sig << tool.errors();
        const Summary s = LastSummary(tool.errors());
        ASSERT_TRUE(s.found) << tool.errors();
        EXPECT_GE(s.frames, 1);
        const Video v = Open(out);
        ASSERT_TRUE(v.opened);
        EXPECT_EQ(v.frames, s.frames);
    }
}

TEST(VestrelRecordTool, AKilledRecordingStillOpensWithTheFramesItsHeadersCount)
{
    testkit::TempProgramDir dir;
    const fs::path out = dir / "killed.avi";
    ToolProcess tool(dir, {"--size", "1280x720", "--out", out.string()});
    ASSERT_EQ(tool.readLine(), out.string());
    ::usleep(1'200'000);
    tool.signal(SIGKILL);
    EXPECT_EQ(tool.wait(), -1);
    const Video v = Open(out);
    ASSERT_TRUE(v.opened);
    EXPECT_EQ(v.size, cv::Size(1280, 720));
    EXPECT_GE(v.frames, 1);
    EXPECT_EQ(v.countInHeader, double(v.frames));
}

TEST(VestrelRecordTool, ASizeNotOfferedAMissingCameraOrAnUnwritableOutputExitOneAndLeaveNoFile)
{
    testkit::TempProgramDir dir;
    const fs::path out = dir / "never.avi";
    {
        ToolProcess tool(dir, {"--size", "1000x700", "--seconds", "1", "--out", out.string()});
        EXPECT_EQ(tool.wait(), 1);
        EXPECT_NE(tool.errors().find("does not offer 1000x700"), std::string::npos) << tool.errors();
        EXPECT_EQ(tool.restOfOutput(), "");
    }
    {
        ToolProcess tool(dir, {"--camera", "/dev/video-none", "--seconds", "1", "--out", out.string()});
        EXPECT_EQ(tool.wait(), 1);
        EXPECT_NE(tool.errors().find("没有找到视频采集设备！"), std::string::npos) << tool.errors();
    }
    const fs::path unwritable = dir / "no-such-folder/x.avi";
    {
        ToolProcess tool(dir, {"--size", "640x480", "--seconds", "1", "--out", unwritable.string()});
        EXPECT_EQ(tool.wait(), 1);
        EXPECT_NE(tool.errors().find("no-such-folder"), std::string::npos) << tool.errors();
    }
    {
        ToolProcess tool(dir, {"--size", "640x480", "--seconds", "x"});
        EXPECT_EQ(tool.wait(), 1);
        EXPECT_NE(tool.errors().find("usage: vestrel-record"), std::string::npos);
    }
    EXPECT_FALSE(fs::exists(out));
    EXPECT_FALSE(fs::exists(unwritable));
    EXPECT_TRUE(fs::is_empty(dir / "Photo"));
}

TEST(VestrelRecordTool, AnExistingFileIsNeverOverwritten)
{
    testkit::TempProgramDir dir;
    dir.writeFile("Photo/keep.avi", "precious");
    ToolProcess tool(dir, {"--seconds", "1", "--out", (dir / "Photo/keep.avi").string()});
    EXPECT_EQ(tool.wait(), 1);
    EXPECT_EQ(testkit::TempProgramDir::readFile(dir / "Photo/keep.avi"), "precious");

    // The default name moves aside for a recording made in the same second.
    std::tm when{};
    when.tm_year = 126;
    when.tm_mon = 11;
    when.tm_mday = 8;
    when.tm_hour = 9;
    when.tm_min = 5;
    when.tm_sec = 7;
    const fs::path first = FreeRecordingPath(dir / "Photo", when);
    EXPECT_EQ(first.filename(), "26-12-08-09-05-07.avi");
    dir.writeFile("Photo/26-12-08-09-05-07.avi", "x");
    dir.writeFile("Photo/26-12-08-09-05-07-2.avi", "x");
    EXPECT_EQ(FreeRecordingPath(dir / "Photo", when).filename(), "26-12-08-09-05-07-3.avi");
}

}  // namespace
}  // namespace vestrel::recording
