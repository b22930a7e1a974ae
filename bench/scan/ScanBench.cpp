// bench_scan: what one scan costs.
//   Scan/JpegQ80           newest-frame copy -> chain (no automatic step) -> closed JPEG file
//   OpenCv/ImwriteJpegQ80  the same picture written by cv::imwrite alone (the baseline)
//   OpenCv/ImencodeJpegQ80 the encoder alone, without the file
//   Scan/EveryAutomaticStep  grey, time stamp, background removal, deskew, binarisation
//                          on, each step's mean time shown as a counter (ms)
// The frame is the virtual camera's desk scene at 2592 x 1944 with its sensor noise.

#include "CaptureLink.h"
#include "DeskScene.h"
#include "FrameGrabber.h"
#include "ProcessingChain.h"
#include "Scanner.h"

#include <benchmark/benchmark.h>
#include <opencv2/imgcodecs.hpp>

#include <cstdlib>
#include <filesystem>
#include <map>

namespace vestrel::scan {
namespace {

namespace fs = std::filesystem;

constexpr int kWidth = 2592;
constexpr int kHeight = 1944;
constexpr int kQuality = 80;

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

void EveryAutomaticStep(benchmark::State& state)
{
    BenchFolder folder;
    GrabberFrameSource frames(FullFrameGrabber());
    Settings settings;
    settings.jpgquality = kQuality;
    settings.grayscale = 1;
    settings.addtime = 1;
    settings.eraser = 1;
    settings.incline = 1;
    settings.threshold = 1;
    std::map<std::string, double> totalMs;
    const StepObserver observer = [&](std::string_view step, std::chrono::nanoseconds t) {
        totalMs[std::string(step)] += std::chrono::duration<double, std::milli>(t).count();
    };
    const ChainInput input{&settings, 0, LocalTimeNow(), ChainKind::MainCamera};
    const fs::path target = folder.path / "Image0001.jpg";
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
BENCHMARK(EveryAutomaticStep)->Name("Scan/EveryAutomaticStep")->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace
}  // namespace vestrel::scan

BENCHMARK_MAIN();
