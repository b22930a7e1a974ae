// Speed of the image class on a camera-sized picture (2592 x 1944, 24 bits), each call
// next to the OpenCV primitive nearest to it, measured in the same run. The goal is every
// CxImage call within twice its primitive.
#include "CxImage.h"

#include <benchmark/benchmark.h>
#include <opencv2/imgcodecs.hpp>
#include <opencv2/imgproc.hpp>

#include <filesystem>
#include <unistd.h>

namespace {

using vestrel::CxImage;

constexpr int kWidth = 2592, kHeight = 1944;

// A desk scene: a lit page with lines of text, a card, and a little sensor noise.
const cv::Mat& Scene()
{
    static const cv::Mat scene = [] {
        cv::Mat picture(kHeight, kWidth, CV_8UC3);
        for (int y = 0; y < kHeight; ++y)
            for (int x = 0; x < kWidth; ++x)
                picture.at<cv::Vec3b>(y, x) = cv::Vec3b(uchar(90 + x * 60 / kWidth), uchar(100 + y * 50 / kHeight), 110);
        cv::rectangle(picture, cv::Rect(300, 200, 1900, 1500), cv::Scalar(235, 238, 240), cv::FILLED);
        for (int line = 0; line < 30; ++line)
            cv::putText(picture, "The quick brown fox jumps over the lazy dog 0123456789", cv::Point(360, 280 + line * 45),
                        cv::FONT_HERSHEY_SIMPLEX, 1.2, cv::Scalar(30, 30, 30), 2);
        cv::rectangle(picture, cv::Rect(1700, 1300, 540, 340), cv::Scalar(180, 140, 90), cv::FILLED);
        cv::Mat noise(picture.size(), CV_8UC3);
        cv::randn(noise, cv::Scalar::all(0), cv::Scalar::all(3));
        cv::add(picture, noise, picture);
        return picture;
    }();
    return scene;
}

CxImage SceneImage()
{
    CxImage image;
    image.CreateFromMat(Scene());
    return image;
}

std::filesystem::path ScratchDir()
{
    return std::filesystem::temp_directory_path() / ("vestrel-bench-imaging-" + std::to_string(getpid()));
}

std::filesystem::path ScratchFile(const std::string& name)
{
    std::filesystem::create_directories(ScratchDir());
    return ScratchDir() / name;
}

const std::filesystem::path& JpegFile()
{
    static const std::filesystem::path path = [] {
        const auto file = ScratchFile("scene.jpg");
        cv::imwrite(file.string(), Scene(), {cv::IMWRITE_JPEG_QUALITY, 80});
        return file;
    }();
    return path;
}

// Runs `op` on a fresh copy of the scene each iteration; the copy is not timed.
template <class Op>
void OnFreshCopy(benchmark::State& state, Op op)
{
    const CxImage original = SceneImage();
    for (auto _ : state) {
        state.PauseTiming();
        CxImage image(original);
        state.ResumeTiming();
        benchmark::DoNotOptimize(op(image));
    }
}

template <class Op>
void OnFreshMat(benchmark::State& state, Op op)
{
    for (auto _ : state) {
        state.PauseTiming();
        cv::Mat picture = Scene().clone();
        state.ResumeTiming();
        op(picture);
        benchmark::DoNotOptimize(picture.data);
    }
}

void CxImage_JpegLoad(benchmark::State& state)
{
    for (auto _ : state) {
        CxImage image;
        benchmark::DoNotOptimize(image.Load(JpegFile(), vestrel::CXIMAGE_FORMAT_JPG));
    }
}
void OpenCv_imread(benchmark::State& state)
{
    for (auto _ : state) benchmark::DoNotOptimize(cv::imread(JpegFile().string()).data);
}

void CxImage_JpegSaveQ80(benchmark::State& state)
{
    CxImage image = SceneImage();
    image.SetJpegQualityF(80);
    const auto path = ScratchFile("save.jpg");
    for (auto _ : state) benchmark::DoNotOptimize(image.Save(path, vestrel::CXIMAGE_FORMAT_JPG));
}
void OpenCv_imwriteQ80(benchmark::State& state)
{
    const auto path = ScratchFile("save-cv.jpg");
    for (auto _ : state) benchmark::DoNotOptimize(cv::imwrite(path.string(), Scene(), {cv::IMWRITE_JPEG_QUALITY, 80}));
}

void CxImage_RotateLeft(benchmark::State& state)
{
    CxImage image = SceneImage();
    CxImage turned;
    for (auto _ : state) benchmark::DoNotOptimize(image.RotateLeft(&turned));
}
void OpenCv_rotate(benchmark::State& state)
{
    cv::Mat turned;
    for (auto _ : state) {
        cv::rotate(Scene(), turned, cv::ROTATE_90_COUNTERCLOCKWISE);
        benchmark::DoNotOptimize(turned.data);
    }
}

void CxImage_Rotate2By3Degrees(benchmark::State& state)
{
    OnFreshCopy(state, [](CxImage& image) { return image.Rotate2(3.0f, CxImage::IM_BILINEAR); });
}
void OpenCv_warpAffine(benchmark::State& state)
{
    // The same turn and output size as Rotate2.
    const double r = 3.0 * CV_PI / 180.0;
    const cv::Size size(int(std::ceil(kWidth * std::cos(r) + kHeight * std::sin(r))),
                        int(std::ceil(kWidth * std::sin(r) + kHeight * std::cos(r))));
    cv::Mat matrix = cv::getRotationMatrix2D(cv::Point2f((kWidth - 1) / 2.0f, (kHeight - 1) / 2.0f), -3.0, 1.0);
    matrix.at<double>(0, 2) += (size.width - kWidth) / 2.0;
    matrix.at<double>(1, 2) += (size.height - kHeight) / 2.0;
    cv::Mat turned;
    for (auto _ : state) {
        cv::warpAffine(Scene(), turned, matrix, size, cv::INTER_LINEAR, cv::BORDER_CONSTANT, cv::Scalar::all(255));
        benchmark::DoNotOptimize(turned.data);
    }
}

void CxImage_GrayScale(benchmark::State& state)
{
    OnFreshCopy(state, [](CxImage& image) { return image.GrayScale(); });
}
void OpenCv_cvtColor(benchmark::State& state)
{
    cv::Mat grey;
    for (auto _ : state) {
        cv::cvtColor(Scene(), grey, cv::COLOR_BGR2GRAY);
        benchmark::DoNotOptimize(grey.data);
    }
}

void CxImage_Light(benchmark::State& state)
{
    OnFreshCopy(state, [](CxImage& image) { return image.Light(10, 10); });
}
void OpenCv_LUT(benchmark::State& state)
{
    cv::Mat table(1, 256, CV_8UC1);
    for (int i = 0; i < 256; ++i) table.at<uchar>(i) = cv::saturate_cast<uchar>((i - 128) * 1.1 + 138);
    cv::Mat out;
    for (auto _ : state) {
        cv::LUT(Scene(), table, out);
        benchmark::DoNotOptimize(out.data);
    }
}

void CxImage_Filter3x3(benchmark::State& state)
{
    static const long sharpen[9] = {-1, -1, -1, -1, 15, -1, -1, -1, -1};
    OnFreshCopy(state, [](CxImage& image) { return image.Filter(sharpen, 3, 7, 0); });
}
void OpenCv_filter2D(benchmark::State& state)
{
    cv::Mat kernel = (cv::Mat_<float>(3, 3) << -1, -1, -1, -1, 15, -1, -1, -1, -1) / 7.0f;
    cv::Mat out;
    for (auto _ : state) {
        cv::filter2D(Scene(), out, -1, kernel, cv::Point(-1, -1), 0, cv::BORDER_REPLICATE);
        benchmark::DoNotOptimize(out.data);
    }
}

void CxImage_ResampleTo100Mode1(benchmark::State& state)
{
    CxImage image = SceneImage();
    CxImage small;
    for (auto _ : state) benchmark::DoNotOptimize(image.Resample(100, 100, 1, &small));
}
void OpenCv_resizeNearest(benchmark::State& state)
{
    cv::Mat small;
    for (auto _ : state) {
        cv::resize(Scene(), small, cv::Size(100, 100), 0, 0, cv::INTER_NEAREST);
        benchmark::DoNotOptimize(small.data);
    }
}

}  // namespace

BENCHMARK(CxImage_JpegLoad)->Unit(benchmark::kMillisecond);
BENCHMARK(OpenCv_imread)->Unit(benchmark::kMillisecond);
BENCHMARK(CxImage_JpegSaveQ80)->Unit(benchmark::kMillisecond);
BENCHMARK(OpenCv_imwriteQ80)->Unit(benchmark::kMillisecond);
BENCHMARK(CxImage_RotateLeft)->Unit(benchmark::kMillisecond);
BENCHMARK(OpenCv_rotate)->Unit(benchmark::kMillisecond);
BENCHMARK(CxImage_Rotate2By3Degrees)->Unit(benchmark::kMillisecond);
BENCHMARK(OpenCv_warpAffine)->Unit(benchmark::kMillisecond);
BENCHMARK(CxImage_GrayScale)->Unit(benchmark::kMillisecond);
BENCHMARK(OpenCv_cvtColor)->Unit(benchmark::kMillisecond);
BENCHMARK(CxImage_Light)->Unit(benchmark::kMillisecond);
BENCHMARK(OpenCv_LUT)->Unit(benchmark::kMillisecond);
BENCHMARK(CxImage_Filter3x3)->Unit(benchmark::kMillisecond);
BENCHMARK(OpenCv_filter2D)->Unit(benchmark::kMillisecond);
BENCHMARK(CxImage_ResampleTo100Mode1)->Unit(benchmark::kMillisecond);
BENCHMARK(OpenCv_resizeNearest)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::error_code ignored;
    std::filesystem::remove_all(ScratchDir(), ignored);
    return 0;
}
