// Sustained recording from the virtual camera with the live picture running: frames the
// camera sent and the writer wrote per second, frames dropped, CPU time of the writer
// thread, and the file's size per minute. Prints one table row per frame size.
//   QT_QPA_PLATFORM=offscreen build-bench/bench/capture/bench_recording [seconds] [folder]

#include "CVideoCapture.h"
#include "ConsolePrompter.h"
#include "VideoRecorder.h"
#include "VideoWindow.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>
#include <QWidget>

#include <sys/resource.h>

#include <cstdio>
#include <filesystem>
#include <iostream>

namespace {

using namespace vestrel;

double ProcessCpuSeconds()
{
    rusage u{};
    ::getrusage(RUSAGE_SELF, &u);
    return double(u.ru_utime.tv_sec + u.ru_stime.tv_sec) + double(u.ru_utime.tv_usec + u.ru_stime.tv_usec) * 1e-6;
}

void RunEvents(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

bool Measure(const FrameSize& size, int seconds, const std::filesystem::path& folder)
{
    ConsolePrompter prompter(std::cerr);
    CVideoCapture capture(prompter, {"/nonexistent", "/nonexistent", "virtual", false});
    if (!capture.EnumerateDevices() || !capture.SelectDevice(0) || !capture.BuildGraph()) return false;
    QWidget owner;
    owner.resize(1024, 768);
    owner.show();
    VideoWindow window(capture, &owner);
    if (!capture.ApplyFrameSize(size.width, size.height) || !capture.BuildPreview() || !capture.Run()) return false;
    RunEvents(1000);  // the desk is drawn once per size; the stream settles

    const std::filesystem::path path = folder / ("bench-" + std::to_string(size.width) + "x" +
                                                 std::to_string(size.height) + ".avi");
    recording::VideoRecorder recorder;
    recording::RecorderOptions options;
    options.width = size.width;
    options.height = size.height;
    if (!recorder.start(path, options)) {
        std::cerr << recorder.stats().error << '\n';
        return false;
    }
    const std::uint64_t sentAtStart = capture.Grabber().FrameCount();
    const std::uint64_t shownAtStart = window.framesShown();
    const double cpuAtStart = ProcessCpuSeconds();
    QElapsedTimer clock;
    clock.start();
    capture.Grabber().SetSink(&recorder);
    RunEvents(seconds * 1000);
    capture.Grabber().SetSink(nullptr);
    const double elapsed = double(clock.nsecsElapsed()) * 1e-9;
    const std::uint64_t sent = capture.Grabber().FrameCount() - sentAtStart;
    const std::uint64_t shown = window.framesShown() - shownAtStart;
    const double processCpu = ProcessCpuSeconds() - cpuAtStart;
    const recording::RecordingStats stats = recorder.stop();
    capture.Stop();

    std::printf("%5dx%-5d %6.1f %9.1f %9.1f %7llu %8.1f %9.2f %7.0f%% %8.0f%% %9.1f %6.1f\n", size.width,
                size.height, elapsed, double(sent) / elapsed, double(stats.framesWritten) / elapsed,
                static_cast<unsigned long long>(stats.framesDropped), stats.framesPerSecond,
                stats.writerCpuSeconds, 100.0 * stats.writerCpuSeconds / elapsed, 100.0 * processCpu / elapsed,
                double(stats.fileBytes) / elapsed * 60.0 / 1e6, double(shown) / elapsed);
    std::fflush(stdout);
    std::filesystem::remove(path);
    return !stats.failed;
}

}  // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const int seconds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 20;
    const std::filesystem::path folder = argc > 2 ? argv[2] : std::filesystem::temp_directory_path();
    std::printf("Recording from the virtual camera (15 frames/s) for %d s, live picture running.\n", seconds);
    std::printf("%-11s %6s %9s %9s %7s %8s %9s %8s %9s %9s %6s\n", "size", "secs", "sent/s", "written/s",
                "dropped", "file fps", "writer s", "writer", "process", "MB/min", "shown/s");
    bool ok = true;
    for (const FrameSize size : {FrameSize{1280, 720}, FrameSize{2592, 1944}}) ok = Measure(size, seconds, folder) && ok;
    return ok ? 0 : 1;
}
