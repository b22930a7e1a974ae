// How many frames per second the video window shows from the virtual camera at
// 2592 x 1944, and how much of the UI thread that takes. Prints one table.
//   QT_QPA_PLATFORM=offscreen build-bench/bench/capture/bench_capture_window [seconds]

#include "CVideoCapture.h"
#include "ConsolePrompter.h"
#include "VideoWindow.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <QWidget>

#include <cstdio>
#include <ctime>
#include <iostream>

namespace {

double threadCpuSeconds()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) * 1e-9;
}

}  // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const int seconds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    vestrel::ConsolePrompter prompter(std::cerr);
    vestrel::CVideoCapture capture(prompter, {"/nonexistent", "/nonexistent", "virtual", false});
    if (!capture.EnumerateDevices() || !capture.SelectDevice(0) || !capture.BuildGraph()) return 1;

    QWidget owner;
    owner.resize(1024, 768);
    owner.show();
    vestrel::VideoWindow window(capture, &owner);
    if (!capture.BuildPreview() || !capture.Run()) return 1;

    std::uint64_t framesAtStart = 0, shownAtStart = 0;
    double cpuAtStart = 0;
    QElapsedTimer clock;
    // Measure after a second of warm-up (the desk is drawn once per frame size).
    QTimer::singleShot(1000, [&] {
        framesAtStart = capture.Grabber().FrameCount();
        shownAtStart = window.framesShown();
        cpuAtStart = threadCpuSeconds();
        clock.start();
    });
    QTimer::singleShot(1000 + seconds * 1000, [&] {
        // Timers fire late on a busy machine: divide by the time that really passed.
        const double elapsed = double(clock.nsecsElapsed()) * 1e-9;
        const double delivered = double(capture.Grabber().FrameCount() - framesAtStart) / elapsed;
        const double shown = double(window.framesShown() - shownAtStart) / elapsed;
        const double busy = 100.0 * (threadCpuSeconds() - cpuAtStart) / elapsed;
        std::printf("%-44s %10s\n", "virtual camera 2592 x 1944, window 1024 x 768", "");
        std::printf("%-44s %10.1f\n", "frames delivered per second", delivered);
        std::printf("%-44s %10.1f\n", "frames shown per second", shown);
        std::printf("%-44s %9.1f%%\n", "UI thread busy", busy);
        app.quit();
    });
    const int rc = app.exec();
    capture.ReleaseGraph();
    return rc;
}
