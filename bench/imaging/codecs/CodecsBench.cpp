// What our codec layer costs on top of the libraries it wraps, on a camera-sized page
// (2592 x 1944): each of our calls next to the bare OpenCV call doing the same work.
#include "CodecImage.h"

#include <benchmark/benchmark.h>
#include <opencv2/imgcodecs.hpp>
#include <opencv2/imgproc.hpp>

#include <filesystem>
#include <fstream>

namespace {

using namespace vestrel::codecs;

// A page with text lines on a soft background and a little sensor noise, like a scan.
const cv::Mat& Page() {
    static const cv::Mat page = [] {
        cv::Mat bgr(1944, 2592, CV_8UC3);
        for (int y = 0; y < bgr.rows; ++y)
            bgr.row(y).setTo(cv::Scalar(200 + y % 40, 210, 190 + (y / 50) % 30));
        for (int line = 0; line < 40; ++line)
            cv::putText(bgr, "The quick brown fox jumps over the lazy dog 0123456789", {150, 120 + line * 45},
                        cv::FONT_HERSHEY_SIMPLEX, 1.4, {30, 30, 30}, 3);
        cv::Mat noise(bgr.size(), CV_8UC3);
        cv::randn(noise, 0, 4);
        bgr += noise;
        return bgr;
    }();
    return page;
}

CodecImage Colour() {
    CodecImage image;
    image.pixels = Page();
    image.xdpi = image.ydpi = 300;
    return image;
}

CodecImage Bilevel() {
    CodecImage image;
    cv::Mat grey;
    cv::cvtColor(Page(), grey, cv::COLOR_BGR2GRAY);
    image.pixels = (grey > 128) & 1;
    image.bpp = 1;
    image.palette = {{0, 0, 0}, {255, 255, 255}};
    return image;
}

std::filesystem::path Scratch(const char* name) { return std::filesystem::temp_directory_path() / name; }

std::vector<std::uint8_t> FileBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void OursJpegSave(benchmark::State& state) {
    const CodecImage image = Colour();
    EncodeOptions options;
    options.jpegQuality = 80;
    for (auto _ : state) benchmark::DoNotOptimize(Encode(image, Scratch("bench-ours.jpg"), kTypeJpg, options));
}
void OpenCvJpegSave(benchmark::State& state) {
    for (auto _ : state)
        benchmark::DoNotOptimize(cv::imwrite(Scratch("bench-cv.jpg").string(), Page(), {cv::IMWRITE_JPEG_QUALITY, 80}));
}
void OursJpegLoad(benchmark::State& state) {
    EncodeOptions options;
    options.jpegQuality = 80;
    Encode(Colour(), Scratch("bench-load.jpg"), kTypeJpg, options);
    for (auto _ : state) benchmark::DoNotOptimize(Decode(Scratch("bench-load.jpg"), kTypeJpg));
}
void OpenCvJpegLoad(benchmark::State& state) {
    cv::imwrite(Scratch("bench-load-cv.jpg").string(), Page(), {cv::IMWRITE_JPEG_QUALITY, 80});
    for (auto _ : state) benchmark::DoNotOptimize(cv::imread(Scratch("bench-load-cv.jpg").string()));
}
void OursBmpSave(benchmark::State& state) {
    const CodecImage image = Colour();
    for (auto _ : state) benchmark::DoNotOptimize(Encode(image, Scratch("bench-ours.bmp"), kTypeBmp));
}
void OpenCvBmpSave(benchmark::State& state) {
    for (auto _ : state) benchmark::DoNotOptimize(cv::imwrite(Scratch("bench-cv.bmp").string(), Page()));
}
void OursBmpLoad(benchmark::State& state) {
    Encode(Colour(), Scratch("bench-load.bmp"), kTypeBmp);
    for (auto _ : state) benchmark::DoNotOptimize(Decode(Scratch("bench-load.bmp"), kTypeBmp));
}
void OpenCvBmpLoad(benchmark::State& state) {
    cv::imwrite(Scratch("bench-load-cv.bmp").string(), Page());
    for (auto _ : state) benchmark::DoNotOptimize(cv::imread(Scratch("bench-load-cv.bmp").string()));
}
void OursPngSave(benchmark::State& state) {
    const CodecImage image = Colour();
    for (auto _ : state) benchmark::DoNotOptimize(Encode(image, Scratch("bench-ours.png"), kTypePng));
}
void OpenCvPngSave(benchmark::State& state) {
    for (auto _ : state) benchmark::DoNotOptimize(cv::imwrite(Scratch("bench-cv.png").string(), Page()));
}
void OursTiffG4Save(benchmark::State& state) {
    const CodecImage page = Bilevel();
    for (auto _ : state) benchmark::DoNotOptimize(Encode(page, Scratch("bench-g4.tif"), kTypeTif));
    state.counters["bytes"] = static_cast<double>(std::filesystem::file_size(Scratch("bench-g4.tif")));
}
void OursTiffG4Load(benchmark::State& state) {
    Encode(Bilevel(), Scratch("bench-g4-load.tif"), kTypeTif);
    const auto bytes = FileBytes(Scratch("bench-g4-load.tif"));
    for (auto _ : state) benchmark::DoNotOptimize(DecodeMemory(bytes, kTypeTif));
}

}  // namespace

BENCHMARK(OursJpegSave)->Unit(benchmark::kMillisecond);
BENCHMARK(OpenCvJpegSave)->Unit(benchmark::kMillisecond);
BENCHMARK(OursJpegLoad)->Unit(benchmark::kMillisecond);
BENCHMARK(OpenCvJpegLoad)->Unit(benchmark::kMillisecond);
BENCHMARK(OursBmpSave)->Unit(benchmark::kMillisecond);
BENCHMARK(OpenCvBmpSave)->Unit(benchmark::kMillisecond);
BENCHMARK(OursBmpLoad)->Unit(benchmark::kMillisecond);
BENCHMARK(OpenCvBmpLoad)->Unit(benchmark::kMillisecond);
BENCHMARK(OursPngSave)->Unit(benchmark::kMillisecond);
BENCHMARK(OpenCvPngSave)->Unit(benchmark::kMillisecond);
BENCHMARK(OursTiffG4Save)->Unit(benchmark::kMillisecond);
BENCHMARK(OursTiffG4Load)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
