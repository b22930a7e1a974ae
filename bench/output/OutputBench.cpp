// Prints a table: merging 20 JPEG scans of 2592 x 1944 with our writer and with libharu
// (HPDF_LoadJpegImageFromFile) in the same run, the output size against the JPEGs, and
// the resident memory of an e-book after page 200 minus after page 10.
//   bench_output [work folder]

#include "EBook.h"
#include "PdfDocument.h"
#include "ConsolePrompter.h"

#include <hpdf.h>
#include <opencv2/imgcodecs.hpp>
#include <opencv2/imgproc.hpp>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <fstream>
#include <string>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

namespace {

// A page-like camera frame: paper, lines of "text", a little sensor noise.
std::vector<fs::path> makeScans(const fs::path& folder, int count)
{
    std::vector<fs::path> scans;
    cv::Mat noise(1944, 2592, CV_8UC3);
    for (int i = 0; i < count; ++i) {
        cv::Mat frame(1944, 2592, CV_8UC3, cv::Scalar(225, 230, 235));
        for (int line = 0; line < 40; ++line)
            cv::putText(frame, "Line " + std::to_string(line) + " of scan " + std::to_string(i),
                        cv::Point(150, 100 + line * 45), cv::FONT_HERSHEY_SIMPLEX, 1.2,
                        cv::Scalar(30, 30, 30), 2);
        cv::randn(noise, cv::Scalar::all(0), cv::Scalar::all(12));
        frame += noise;
        scans.push_back(folder / ("scan" + std::to_string(i) + ".jpg"));
        cv::imwrite(scans.back().string(), frame, {cv::IMWRITE_JPEG_QUALITY, 80});
    }
    return scans;
}

double seconds(const std::chrono::steady_clock::time_point& start)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

bool mergeOurs(const std::vector<fs::path>& scans, const fs::path& output)
{
    vestrel::pdf::PdfDocument document;
    if (document.begin_document(output) == -1)
        return false;
    for (const auto& scan : scans) {
        const int image = document.load_image("auto", scan);
        document.begin_page_ext(0, 0);
        document.fit_image(image, 0, 0, "adjustpage");
        document.close_image(image);
        document.end_page_ext();
    }
    return document.end_document();
}

void onHaruError(HPDF_STATUS error, HPDF_STATUS detail, void*)
{
    std::fprintf(stderr, "libharu error %04X (%u)\n", unsigned(error), unsigned(detail));
}

bool mergeHaru(const std::vector<fs::path>& scans, const fs::path& output)
{
    HPDF_Doc pdf = HPDF_New(onHaruError, nullptr);
    if (!pdf)
        return false;
    for (const auto& scan : scans) {
        HPDF_Image image = HPDF_LoadJpegImageFromFile(pdf, scan.c_str());
        HPDF_Page page = HPDF_AddPage(pdf);
        const HPDF_REAL width = HPDF_REAL(HPDF_Image_GetWidth(image));
        const HPDF_REAL height = HPDF_REAL(HPDF_Image_GetHeight(image));
        HPDF_Page_SetWidth(page, width);
        HPDF_Page_SetHeight(page, height);
        HPDF_Page_DrawImage(page, image, 0, 0, width, height);
    }
    const bool saved = HPDF_SaveToFile(pdf, output.c_str()) == HPDF_OK;
    HPDF_Free(pdf);
    return saved;
}

template <typename Merge>
double bestOf(int runs, Merge merge)
{
    double best = 1e9;
    for (int run = 0; run < runs; ++run) {
        const auto start = std::chrono::steady_clock::now();
        if (!merge())
            return -1;
        best = std::min(best, seconds(start));
    }
    return best;
}

long residentKiB()
{
    long pages = 0, resident = 0;
    std::ifstream("/proc/self/statm") >> pages >> resident;
    return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

}  // namespace

int main(int argc, char** argv)
{
    const fs::path folder = argc > 1 ? fs::path(argv[1]) : fs::temp_directory_path() / "vestrel-bench-output";
    fs::create_directories(folder);
    const auto scans = makeScans(folder, 20);
    std::uintmax_t jpegBytes = 0;
    for (const auto& scan : scans)
        jpegBytes += fs::file_size(scan);

    const fs::path ours = folder / "ours.pdf", haru = folder / "haru.pdf";
    // Interleaved so both see the same page cache.
    double oursTime = 1e9, haruTime = 1e9;
    for (int round = 0; round < 3; ++round) {
        oursTime = std::min(oursTime, bestOf(3, [&] { return mergeOurs(scans, ours); }));
        haruTime = std::min(haruTime, bestOf(3, [&] { return mergeHaru(scans, haru); }));
    }
    std::printf("%-44s %12s\n", "measure", "value");
    std::printf("%-44s %12.1f\n", "20 JPEGs 2592x1944, MB", double(jpegBytes) / 1e6);
    std::printf("%-44s %12.4f\n", "merge, ours, s (best of 9)", oursTime);
    std::printf("%-44s %12.4f\n", "merge, libharu, s (best of 9)", haruTime);
    std::printf("%-44s %12.2f\n", "ours / libharu (goal <= 1.2)", oursTime / haruTime);
    std::printf("%-44s %12.3f\n", "ours: PDF size over JPEGs, % (goal <= 1)",
                100.0 * (double(fs::file_size(ours)) / double(jpegBytes) - 1));
    std::printf("%-44s %12.3f\n", "libharu: PDF size over JPEGs, %",
                100.0 * (double(fs::file_size(haru)) / double(jpegBytes) - 1));

    vestrel::ConsolePrompter prompter(std::cerr);
    vestrel::output::EBook book;
    book.start();
    long after10 = 0, after200 = 0;
    const auto start = std::chrono::steady_clock::now();
    for (int page = 1; page <= 200; ++page) {
        if (!book.addPage(folder, "book.pdf", scans[std::size_t(page) % scans.size()], prompter)) {
            std::fprintf(stderr, "e-book page %d failed\n", page);
            return 1;
        }
        if (page == 10)
            after10 = residentKiB();
    }
    after200 = residentKiB();
    const double bookTime = seconds(start);
    book.finish();
    std::printf("%-44s %12ld\n", "e-book RSS after page 10, KiB", after10);
    std::printf("%-44s %12ld\n", "e-book RSS after page 200, KiB", after200);
    std::printf("%-44s %12ld\n", "e-book growth 10 -> 200, KiB (goal <= 2048)", after200 - after10);
    std::printf("%-44s %12.1f\n", "e-book 200 pages, ms per page", bookTime * 1000 / 200);
    std::printf("%-44s %12.1f\n", "e-book file, MB", double(fs::file_size(folder / "book.pdf")) / 1e6);
    return 0;
}
