// bench_scan: what one scan costs.
//   Scan/JpegQ80           newest-frame copy -> chain (no automatic step) -> closed JPEG file
//   OpenCv/ImwriteJpegQ80  the same picture written by cv::imwrite alone (the baseline)
//   OpenCv/ImencodeJpegQ80 the encoder alone, without the file
//   Scan/EveryAutomaticStep/Jpeg, /Png  grey, time stamp, background removal, deskew,
//                          binarisation on, stored as a JPEG or a 1-bit PNG; each step's
//                          mean time shown as a counter (ms)
//   Scan/RoutinesAlone     the routines of those steps called directly on the very
//                          pictures the chain hands them, each one's median a counter (ms):
//                          what a chain step costs beyond its routine is the difference
//   Scan/TimedScan250ms/Jpeg, /Png  a timed scan with every automatic step on, ticking
//                          every 250 ms on a steady schedule (as the window's timer does):
//                          counters give the slowest and the median scan and how many scans
//                          overran their interval, which is a tick the timer had to drop
// The frame is the virtual camera's desk scene at 2592 x 1944 with its sensor noise.
// VESTREL_BENCH_THREADS=1 runs OpenCV's parallel loops, and with them the routines' row
// bands, on one thread: an instruction count (valgrind) of a step is then all its work.

#include "BackgroundCleaning.h"
#include "BackgroundNormalisation.h"
#include "Binarisation.h"
#include "CaptureLink.h"
#include "ConsolePrompter.h"
#include "Deskew.h"
#include "DeskScene.h"
#include "FrameGrabber.h"
#include "ProcessingChain.h"
#include "Scanner.h"
#include "TimedScan.h"

#include <benchmark/benchmark.h>
#include <opencv2/imgcodecs.hpp>
#include <opencv2/imgproc.hpp>

#include <algorithm>
#include <chrono>

#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <map>
#include <optional>
#include <thread>

namespace vestrel::scan {
namespace {

namespace fs = std::filesystem;

constexpr int kWidth = 2592;
constexpr int kHeight = 1944;
constexpr int kQuality = 80;

const bool kThreadsChosen = [] {
    const char* threads = std::getenv("VESTREL_BENCH_THREADS");
    if (threads) cv::setNumThreads(std::atoi(threads));
    return threads != nullptr;
}();

struct BenchFolder {
    BenchFolder()
    {
        std::string pattern = (fs::temp_directory_path() / "vestrel-bench-scan-XXXXXX").string();
        if (::mkdtemp(pattern.data())) path = pattern;
    }
    ~BenchFolder()
    {
        std::error_code ec;
        fs::remove_all(path, ec);
    }
    fs::path path;
};

// A grabber holding one desk-scene frame, as the capture thread leaves it.
CFrameGrabber& FullFrameGrabber()
{
    static CFrameGrabber grabber;
    static bool filled = false;
    if (!filled) {
        const cv::Mat scene = DrawDeskScene({kWidth, kHeight});
        SensorNoise noise;
        cv::Mat frame;
        noise.add(scene, frame);
        grabber.OnFrame(frame, 1);
        filled = true;
    }
    return grabber;
}

cv::Mat FullFrame()
{
    cv::Mat frame;
    FullFrameGrabber().CopyLastFrame(frame);
    return frame;
}

void ScanJpegQ80(benchmark::State& state)
{
    BenchFolder folder;
    GrabberFrameSource frames(FullFrameGrabber());
    Settings settings;
    settings.jpgquality = kQuality;
    const ChainInput input{&settings, 0, {}, ChainKind::MainCamera};
    const fs::path target = folder.path / "Image0001.jpg";
    for (auto _ : state) {
        cv::Mat frame;
        frames.copyNewestFrame(frame);
        const StoredScan stored = StoreScan(frame, target, input);
        if (stored.result != NewFileResult::Stored) state.SkipWithError("scan not stored");
        state.PauseTiming();
        fs::remove(target);
        state.ResumeTiming();
    }
}
BENCHMARK(ScanJpegQ80)->Name("Scan/JpegQ80")->Unit(benchmark::kMillisecond);

void ImwriteJpegQ80(benchmark::State& state)
{
    BenchFolder folder;
    const cv::Mat frame = FullFrame();
    const fs::path target = folder.path / "opencv.jpg";
    for (auto _ : state) {
        cv::imwrite(target.string(), frame, {cv::IMWRITE_JPEG_QUALITY, kQuality});
        state.PauseTiming();
        fs::remove(target);
        state.ResumeTiming();
    }
}
BENCHMARK(ImwriteJpegQ80)->Name("OpenCv/ImwriteJpegQ80")->Unit(benchmark::kMillisecond);

void ImencodeJpegQ80(benchmark::State& state)
{
    const cv::Mat frame = FullFrame();
    std::vector<std::uint8_t> bytes;
    for (auto _ : state) {
        cv::imencode(".jpg", frame, bytes, {cv::IMWRITE_JPEG_QUALITY, kQuality});
        benchmark::DoNotOptimize(bytes.data());
    }
}
BENCHMARK(ImencodeJpegQ80)->Name("OpenCv/ImencodeJpegQ80")->Unit(benchmark::kMillisecond);

Settings EveryStepOn()
{
    Settings settings;
    settings.jpgquality = kQuality;
    settings.grayscale = 1;
    settings.addtime = 1;
    settings.eraser = 1;
    settings.incline = 1;
    settings.threshold = 1;
    return settings;
}

void EveryAutomaticStep(benchmark::State& state, const char* extension)
{
    BenchFolder folder;
    GrabberFrameSource frames(FullFrameGrabber());
    const Settings settings = EveryStepOn();
    std::map<std::string, double> totalMs;
    const StepObserver observer = [&](std::string_view step, std::chrono::nanoseconds t) {
        totalMs[std::string(step)] += std::chrono::duration<double, std::milli>(t).count();
    };
    const ChainInput input{&settings, 0, LocalTimeNow(), ChainKind::MainCamera};
    const fs::path target = folder.path / (std::string("Image0001") + extension);
    for (auto _ : state) {
        cv::Mat frame;
        frames.copyNewestFrame(frame);
        const StoredScan stored = StoreScan(frame, target, input, &observer);
        if (stored.result != NewFileResult::Stored) state.SkipWithError("scan not stored");
        state.PauseTiming();
        fs::remove(target);
        state.ResumeTiming();
    }
    for (const auto& [step, ms] : totalMs)
        state.counters[step + " ms"] = ms / static_cast<double>(state.iterations());
}
BENCHMARK_CAPTURE(EveryAutomaticStep, Jpeg, ".jpg")->Name("Scan/EveryAutomaticStep/Jpeg")->Unit(benchmark::kMillisecond)->Iterations(7);
BENCHMARK_CAPTURE(EveryAutomaticStep, Png, ".png")->Name("Scan/EveryAutomaticStep/Png")->Unit(benchmark::kMillisecond)->Iterations(7);

double MedianMs(std::vector<double> times)
{
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

template <class Work>
double TimeMs(Work work)
{
    const auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

// The chain's pictures between its steps, made once, then each routine timed alone on the
// picture its step receives.
void RoutinesAlone(benchmark::State& state)
{
    Settings greyAndStamp = EveryStepOn();
    greyAndStamp.eraser = greyAndStamp.incline = greyAndStamp.threshold = 0;
    CxImage stamped;
    const ChainInput input{&greyAndStamp, 0, LocalTimeNow(), ChainKind::MainCamera};
    if (!ProcessScan(FullFrame(), CXIMAGE_FORMAT_PNG, input, stamped)) {
        state.SkipWithError("no chain picture");
        return;
    }
    const cv::Mat grey = stamped.ToGrey();
    cv::Mat cleaned = grey.clone();
    docproc::NormaliseBackground(cleaned, docproc::kBackgroundTargetLevel);
    docproc::CleanBackground(cleaned, docproc::kCleaningContrast, docproc::kCleaningNoiseLevel);
    cv::Mat straight;
    if (docproc::Deskew(cleaned, straight) == 0) straight = cleaned;
    cv::Mat blackWhite;
    docproc::Binarise(straight, blackWhite);

    std::vector<double> removal, deskew, binarise, oneBit;
    for (auto _ : state) {
        cv::Mat work = grey.clone();
        removal.push_back(TimeMs([&] {
            docproc::NormaliseBackground(work, docproc::kBackgroundTargetLevel);
            docproc::CleanBackground(work, docproc::kCleaningContrast, docproc::kCleaningNoiseLevel);
        }));
        cv::Mat out;
        deskew.push_back(TimeMs([&] { docproc::Deskew(cleaned, out); }));
        binarise.push_back(TimeMs([&] { docproc::Binarise(straight, out); }));
        // The floor of the 1-bit reduction: one threshold pass over the grey picture.
        oneBit.push_back(TimeMs([&] { cv::threshold(blackWhite, out, 127, 1, cv::THRESH_BINARY); }));
        benchmark::DoNotOptimize(out.data);
    }
    state.counters["background removal ms"] = MedianMs(removal);
    state.counters["deskew ms"] = MedianMs(deskew);
    state.counters["binarisation ms"] = MedianMs(binarise);
    state.counters["threshold to 1 bit ms"] = MedianMs(oneBit);
}
BENCHMARK(RoutinesAlone)->Name("Scan/RoutinesAlone")->Unit(benchmark::kMillisecond)->Iterations(7);

// The file-name dialog of a timed scan whose naming mode never asks.
class NoFileNames final : public FileNameSource {
public:
    std::optional<std::string> askFileName() override { return std::nullopt; }
};

// Ticks on a steady 250 ms schedule. A scan still running when the next tick is due makes
// the timer drop that tick; the schedule itself goes on.
void TimedScan250ms(benchmark::State& state, const char* extension)
{
    constexpr auto kPeriod = std::chrono::milliseconds(250);
    constexpr int kTicks = 20;
    BenchFolder folder;
    Settings settings = EveryStepOn();
    settings.path = (folder.path / "").string();
    settings.foramt = extension;
    settings.intertime = static_cast<int>(kPeriod.count());
    ScanState scanState;
    ConsolePrompter prompter(std::cerr);
    NoFileNames names;
    GrabberFrameSource frames(FullFrameGrabber());
    Scanner scanner(settings, scanState, prompter, frames, names);
    std::vector<double> scanMs;
    int overran = 0;
    for (auto _ : state) {
        if (!StartTimedScan(settings, scanState, names).started) {
            state.SkipWithError("timed scan not started");
            break;
        }
        auto due = std::chrono::steady_clock::now();
        for (int tick = 0; tick < kTicks; ++tick) {
            due += kPeriod;
            std::this_thread::sleep_until(due);
            const auto start = std::chrono::steady_clock::now();
            const ScanOutcome outcome = TimedScanTick(scanner, scanState);
            const auto end = std::chrono::steady_clock::now();
            if (outcome.status != ScanStatus::Stored) state.SkipWithError("scan not stored");
            scanMs.push_back(std::chrono::duration<double, std::milli>(end - start).count());
            if (end > due + kPeriod) ++overran;
            // A late scan's next tick comes at the first due time after it ended.
            while (due + kPeriod < end) due += kPeriod;
        }
        StopTimedScan(scanState);
    }
    if (scanMs.empty()) return;
    state.counters["scans"] = static_cast<double>(scanMs.size());
    state.counters["overran (dropped ticks)"] = overran;
    state.counters["slowest scan ms"] = *std::max_element(scanMs.begin(), scanMs.end());
    state.counters["median scan ms"] = MedianMs(scanMs);
}
BENCHMARK_CAPTURE(TimedScan250ms, Jpeg, ".jpg")->Name("Scan/TimedScan250ms/Jpeg")->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK_CAPTURE(TimedScan250ms, Png, ".png")->Name("Scan/TimedScan250ms/Png")->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace
}  // namespace vestrel::scan

BENCHMARK_MAIN();
