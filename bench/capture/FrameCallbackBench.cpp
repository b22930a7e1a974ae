// The grabber's frame callback on a 2592 x 1944 frame for each orientation, next to one
// memcpy and one cv::rotate of the same frame, and the virtual camera's delivered rate.
//   build-bench/bench/capture/bench_capture

#include "CVideoCapture.h"
#include "FrameGrabber.h"
#include "FrameTurning.h"
#include "ConsolePrompter.h"

#include <benchmark/benchmark.h>
#include <opencv2/core.hpp>
#include <opencv2/imgproc.hpp>

#include <chrono>
#include <cstring>
#include <iostream>
#include <thread>

namespace vestrel {
namespace {

const cv::Size kFrame(2592, 1944);

cv::Mat cameraFrame()
{
    cv::Mat m(kFrame, CV_8UC3);
    cv::randu(m, cv::Scalar::all(0), cv::Scalar::all(255));
    return m;
}

// The scan area of an A4 page on the full frame: a centred mask of four bands.
GrabberSettings scanArea(int state)
{
    GrabberSettings s;
    s.w = 1880;
    s.h = 1330;
    ApplyState(state, s.orientation);
    return s;
}

void BM_Memcpy(benchmark::State& state)
{
    const cv::Mat in = cameraFrame();
    cv::Mat out(kFrame, CV_8UC3);
    for (auto _ : state) {
        std::memcpy(out.data, in.data, in.total() * in.elemSize());
        benchmark::DoNotOptimize(out.data);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_Memcpy)->Unit(benchmark::kMillisecond);

void BM_CvRotate90(benchmark::State& state)
{
    const cv::Mat in = cameraFrame();
    cv::Mat out;
    for (auto _ : state) {
        cv::rotate(in, out, cv::ROTATE_90_COUNTERCLOCKWISE);
        benchmark::DoNotOptimize(out.data);
    }
}
BENCHMARK(BM_CvRotate90)->Unit(benchmark::kMillisecond);

void BM_MaskInPlace(benchmark::State& state)
{
    cv::Mat frame = cameraFrame();
    const GrabberSettings s = scanArea(0);
    for (auto _ : state) {
        PaintMask(frame, s);
        benchmark::DoNotOptimize(frame.data);
    }
}
BENCHMARK(BM_MaskInPlace)->Unit(benchmark::kMillisecond);

// The whole callback: the newest-frame hand-over plus the masked (and turned) preview.
// Arg: the orientation state, 0 none, 1 upside down, 2 left, 3 right.
void BM_FrameCallback(benchmark::State& state)
{
    CFrameGrabber grabber;
    grabber.SetSettings(scanArea(int(state.range(0))));
    const cv::Mat camera = cameraFrame();
    cv::Mat sample = camera.clone();
    std::int64_t t = 0;
    for (auto _ : state) {
        // The camera writes the next frame into whatever buffer it got back; the write
        // is the driver's work, not the callback's, so it is left out of the timing.
        state.PauseTiming();
        sample.create(kFrame, CV_8UC3);
        state.ResumeTiming();
        grabber.OnFrame(sample, ++t);
    }
}
BENCHMARK(BM_FrameCallback)->Arg(0)->Arg(1)->Arg(2)->Arg(3)->Unit(benchmark::kMillisecond);

// Frames the virtual camera delivers per second at 2592 x 1944, over three seconds.
void BM_VirtualCameraRate(benchmark::State& state)
{
    ConsolePrompter prompter(std::cerr);
    CVideoCapture capture(prompter, {"/nonexistent", "/nonexistent", "virtual", false});
    if (!capture.EnumerateDevices() || !capture.SelectDevice(0) || !capture.BuildGraph() ||
        !capture.BuildPreview() || !capture.Run()) {
        state.SkipWithError("the virtual camera did not start");
        return;
    }
    capture.Grabber().SetSettings(scanArea(2));
    std::this_thread::sleep_for(std::chrono::milliseconds(300));  // past the first frame
    double fps = 0;
    for (auto _ : state) {
        const std::uint64_t before = capture.Grabber().FrameCount();
        const auto start = std::chrono::steady_clock::now();
        std::this_thread::sleep_for(std::chrono::seconds(3));
        const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        fps = double(capture.Grabber().FrameCount() - before) / seconds;
        state.SetIterationTime(seconds);
    }
    state.counters["frames_per_second"] = fps;
}
BENCHMARK(BM_VirtualCameraRate)->UseManualTime()->Iterations(1)->Unit(benchmark::kSecond);

}  // namespace
}  // namespace vestrel

BENCHMARK_MAIN();
