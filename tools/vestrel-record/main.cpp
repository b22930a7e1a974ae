// vestrel-record: a video recording without windows. It opens the first camera (or
// --camera SPEC) at --size or at its current size, records Motion-JPEG into an AVI file
// for --seconds or until SIGINT/SIGTERM, and finishes the file properly either way.
//
// Standard output: the file's path, once, when the recording starts. Standard error, at
// the end: "frames=N dropped=M fps=F". Exit status 0 when the file is finished; 1 for a
// bad command line, a missing camera, a size the camera does not offer or an output that
// cannot be written (nothing is left behind then), a write error or the camera lost on
// the way (the file then holds what came before).

#include "CVideoCapture.h"
#include "CaptureMessages.h"
#include "ConsolePrompter.h"
#include "ProgramDir.h"
#include "RecordCommandLine.h"
#include "RecordingName.h"
#include "Settings.h"
#include "VideoRecorder.h"

#include <atomic>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <iostream>
#include <thread>

#include <csignal>
#include <pthread.h>

namespace vestrel::tools {
namespace {

constexpr int kExitFinished = 0;
constexpr int kExitFailed = 1;
// How long to wait for the camera's first picture of the chosen size.
constexpr auto kFirstFrameWait = std::chrono::seconds(20);
constexpr auto kPoll = std::chrono::milliseconds(100);

bool Offers(const std::vector<PixelFormatInfo>& formats, const FrameSize& size)
{
    for (const PixelFormatInfo& f : formats) {
        if (f.sizes.empty()) return true;  // a camera that takes any size
        for (const FrameSize& s : f.sizes)
            if (s == size) return true;
    }
    return false;
}

std::string SizeText(const FrameSize& s) { return std::to_string(s.width) + "x" + std::to_string(s.height); }

// Opens the camera of `spec` (the first one without), at `wanted` when given, and waits for
// its first picture. The size recorded, or nothing once the reason has been told.
std::optional<FrameSize> OpenCamera(CVideoCapture& capture, Prompter& prompter, const std::string& spec,
                                    const std::optional<FrameSize>& wanted)
{
    if (!capture.EnumerateDevices()) return std::nullopt;
    int index = spec.empty() ? 0 : -1;
    for (std::size_t i = 0; i < capture.Devices().size() && index < 0; ++i)
        if (capture.Devices()[i].location == spec) index = int(i);
    if (index < 0) {
        prompter.message("vestrel-record: no camera \"" + spec + "\"");
        return std::nullopt;
    }
    if (!capture.SelectDevice(index) || !capture.BuildGraph()) return std::nullopt;
    if (wanted) {
        if (!Offers(capture.Formats(), *wanted)) {
            std::string offered;
            for (const PixelFormatInfo& f : capture.Formats())
                for (const FrameSize& s : f.sizes) offered += " " + SizeText(s);
            prompter.message("vestrel-record: the camera does not offer " + SizeText(*wanted) +
                             " (it offers" + offered + ")");
            return std::nullopt;
        }
        if (!capture.ApplyFrameSize(wanted->width, wanted->height)) return std::nullopt;
    }
    if (!capture.BuildPreview() || !capture.Run() || !capture.ReadFrameSize()) return std::nullopt;
    const FrameSize size = capture.FormatSize();
    const auto deadline = std::chrono::steady_clock::now() + kFirstFrameWait;
    while (std::chrono::steady_clock::now() < deadline) {
        if (capture.Grabber().FrameCount() > 0 && capture.Grabber().LastFrameSize() == size) return size;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    prompter.message("vestrel-record: the camera sends no picture");
    return std::nullopt;
}

std::filesystem::path OutputPath(const RecordCommandLine& line, const Settings& settings)
{
    if (line.out) return *line.out;
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    ::localtime_r(&now, &local);
    return recording::FreeRecordingPath(settings.path, local);
}

int Run(int argc, const char* const* argv)
{
    // SIGINT and SIGTERM are taken by the main thread alone, as an order to finish the file;
    // the camera's and the writer's threads, started later, inherit the blocked mask.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);

    ConsolePrompter prompter(std::cerr);
    std::string error;
    const std::optional<RecordCommandLine> line = ParseRecordCommandLine(argc, argv, error);
    if (!line) {
        std::cerr << "vestrel-record: " << error << '\n' << kRecordUsage << '\n';
        return kExitFailed;
    }
    if (line->home) ::setenv("VESTREL_HOME", line->home->c_str(), 1);
    const std::filesystem::path programDir = ProgramDir();
    Settings settings = DefaultSettings(programDir);
    LoadConfig(programpath::ConfigFile(), programDir, settings);

    CaptureOptions options;
    options.cameraSpec = CameraSpecOrEnvironment(line->camera);
    CVideoCapture capture(prompter, options);
    std::atomic<bool> deviceLost{false};
    capture.SetDeviceLostHandler([&deviceLost] { deviceLost = true; });
    const std::optional<FrameSize> size = OpenCamera(capture, prompter, options.cameraSpec, line->size);
    if (!size) return kExitFailed;

    const std::filesystem::path path = OutputPath(*line, settings);
    recording::RecorderOptions recorderOptions;
    recorderOptions.width = size->width;
    recorderOptions.height = size->height;
    recorderOptions.replaceExisting = false;
    recording::VideoRecorder recorder;
    if (!recorder.start(path, recorderOptions)) {
        prompter.message("vestrel-record: " + recorder.stats().error);
        return kExitFailed;
    }
    capture.Grabber().SetSink(&recorder);
    std::cout << path.string() << '\n' << std::flush;

    using clock = std::chrono::steady_clock;
    const auto end = line->seconds
                         ? clock::now() + std::chrono::duration_cast<clock::duration>(
                                              std::chrono::duration<double>(*line->seconds))
                         : clock::time_point::max();
    bool lost = false;
    for (;;) {
        const auto left = end - clock::now();
        if (left <= clock::duration::zero()) break;
        const auto wait = std::min<clock::duration>(left, kPoll);
        const auto ns = std::chrono::duration_cast<std::chrono::nanoseconds>(wait).count();
        const timespec timeout{time_t(ns / 1'000'000'000), long(ns % 1'000'000'000)};
        if (::sigtimedwait(&stopSignals, nullptr, &timeout) > 0) break;
        if (recorder.failed()) break;
        if (deviceLost) {
            lost = true;
            break;
        }
    }
    capture.Grabber().SetSink(nullptr);
    const recording::RecordingStats stats = recorder.stop();
    capture.Stop();

    char summary[96];
    std::snprintf(summary, sizeof summary, "frames=%llu dropped=%llu fps=%.2f",
                  static_cast<unsigned long long>(stats.framesWritten),
                  static_cast<unsigned long long>(stats.framesDropped), stats.framesPerSecond);
    if (stats.failed) prompter.message("vestrel-record: " + stats.error);
    if (lost) prompter.message(capturemsg::kDeviceRemoved);
    std::cerr << summary << '\n' << std::flush;
    return stats.failed || lost ? kExitFailed : kExitFinished;
}

}  // namespace
}  // namespace vestrel::tools

int main(int argc, char** argv) { return vestrel::tools::Run(argc, argv); }
