// The image history under a session of typical edits on a camera page (2592 x 1944, the
// virtual camera's desk scene with its sensor noise): thirty steps of filters, tone
// changes, right-angle and small free rotations and a deskew, then Back to the start and
// Forward to the end, as fast as the calls return (the packing of the states the steps put
// away runs beside them, as it does when a user clicks quickly). Prints the bytes held, and
// the median and worst time of a push, a Back and a Forward; then one packing and
// unpacking of the last (largest) state and one unpacking of the camera page, alone.
// Goal: at most 150 MB held, Back and Forward each at most 50 ms.
//
//   bench_history [runs]      (default 3 runs; the medians are over all of them)
#include "CxImage.h"
#include "DeskScene.h"
#include "Deskew.h"
#include "ImageHistory.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <time.h>
#include <tuple>
#include <vector>

namespace {

using vestrel::CxImage;
using vestrel::document::ImageHistory;
using Clock = std::chrono::steady_clock;

constexpr int kWidth = 2592, kHeight = 1944;

double Ms(Clock::time_point from) { return std::chrono::duration<double, std::milli>(Clock::now() - from).count(); }

// CPU time of the calling thread: what the window's thread spends, whatever else the
// machine is doing (the wall times swell on a loaded machine).
double ThreadCpuMs()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
}

// CPU time of every thread of the program: an unpacking shares its bands with a helper
// thread. Only meaningful while no history packing runs beside the call.
double ProcessCpuMs()
{
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
}

struct Timing {
    std::vector<double> wall, cpu, allCpu;
};

template <class F>
void Time(Timing& timing, F f)
{
    const auto start = Clock::now();
    const double cpu = ThreadCpuMs();
    const double allCpu = ProcessCpuMs();
    f();
    timing.cpu.push_back(ThreadCpuMs() - cpu);
    timing.allCpu.push_back(ProcessCpuMs() - allCpu);
    timing.wall.push_back(Ms(start));
}

double Median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

double Worst(const std::vector<double>& v) { return v.empty() ? 0 : *std::max_element(v.begin(), v.end()); }

const long kSharpen[9] = {-1, -1, -1, -1, 15, -1, -1, -1, -1};

// The edits of a session, in the order a user might make them; cycled over thirty steps.
const std::vector<std::pair<const char*, std::function<void(CxImage&)>>>& Edits()
{
    static const std::vector<std::pair<const char*, std::function<void(CxImage&)>>> edits = {
        {"deskew", [](CxImage& image) {
             cv::Mat straightened;
             if (vestrel::docproc::Deskew(image.Pixels(), straightened)) image.AdoptMat(straightened);
         }},
        {"brighter", [](CxImage& image) { image.Light(10, 0); }},
        {"sharpen", [](CxImage& image) { image.Filter(kSharpen, 3, 7, 0); }},
        {"rotate right", [](CxImage& image) { image.RotateRight(); }},
        {"more contrast", [](CxImage& image) { image.Light(0, 10); }},
        {"saturation", [](CxImage& image) { image.Saturate(25, 2); }},
        {"denoise", [](CxImage& image) { image.GaussianBlur(1.0f); }},
        {"rotate 3 degrees", [](CxImage& image) { image.Rotate2(3.0f); }},
        {"rotate left", [](CxImage& image) { image.RotateLeft(); }},
        {"darker", [](CxImage& image) { image.Light(-10, 0); }},
    };
    return edits;
}

}  // namespace

int main(int argc, char** argv)
{
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3;
    vestrel::SensorNoise noise;
    cv::Mat frame;
    noise.add(vestrel::DrawDeskScene({kWidth, kHeight}), frame);

    Timing push, back, forward, pack, unpack, unpackPage;
    std::vector<double> held;
    for (int run = 0; run < runs; ++run) {
        auto current = std::make_unique<CxImage>();
        current->CreateFromMat(frame);
        ImageHistory history;
        for (int step = 0; step < ImageHistory::kSlots; ++step) {
            bool kept = false;
            Time(push, [&] { kept = history.Push(current.get()); });
            if (!kept) {
                std::printf("push %d refused\n", step);
                return 1;
            }
            Edits()[step % Edits().size()].second(*current);
        }
        history.FinishPacking();
        held.push_back(double(history.HeldBytes()));
        while (history.CanBack()) Time(back, [&] { history.Back(current); });
        while (history.CanForward()) Time(forward, [&] { history.Forward(current); });
        history.FinishPacking();
        // One state packed and unpacked on this thread, for the record, with no packing
        // beside it (so the CPU time of all threads is this call's).
        std::unique_ptr<vestrel::document::PackedImage> packed;
        Time(pack, [&] { packed = std::make_unique<vestrel::document::PackedImage>(*current); });
        Time(unpack, [&] { current = packed->Unpack(); });
        // And the camera page itself, the picture the goals are set for.
        CxImage page;
        page.CreateFromMat(frame);
        const vestrel::document::PackedImage packedPage(page);
        Time(unpackPage, [&] { current = packedPage.Unpack(); });
    }
    const double raw = double(kWidth) * kHeight * 3 * ImageHistory::kSlots;
    std::printf("History of %d steps on a %d x %d camera page, %d run(s)\n", ImageHistory::kSlots, kWidth,
                kHeight, runs);
    std::printf("  held after 30 steps   %8.1f MB (median; full copies: %.1f MB), budget %.0f MB\n",
                Median(held) / 1e6, raw / 1e6, double(ImageHistory::kDefaultByteBudget) / 1e6);
    // The CPU time of all threads is left out where the history's packing of earlier steps
    // runs beside the call.
    std::printf("  %-10s %14s %14s %14s %18s\n", "", "median wall ms", "worst wall ms", "median cpu ms",
                "all threads cpu ms");
    const std::tuple<const char*, const Timing*, bool> rows[] = {{"push", &push, false},
                                                                 {"Back", &back, false},
                                                                 {"Forward", &forward, false},
                                                                 {"pack one", &pack, true},
                                                                 {"unpack one", &unpack, true},
                                                                 {"unpack page", &unpackPage, true}};
    for (const auto& [name, t, alone] : rows) {
        std::printf("  %-10s %14.1f %14.1f %14.1f", name, Median(t->wall), Worst(t->wall), Median(t->cpu));
        if (alone)
            std::printf(" %18.1f\n", Median(t->allCpu));
        else
            std::printf(" %18s\n", "-");
    }
    return 0;
}
