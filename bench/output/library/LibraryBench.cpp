// Prints a table: the document's RefreshLibrary with the pane's rebuild on a photo folder
// of 5,000 JPEG scans of 2592 x 1944, in list mode (until the list is laid out and
// painted), and in thumbnail mode until the 6 default thumbnails, then 60, are made; and
// how many thumbnails a refresh after one new scan decodes (the others come from the cache).
//   bench_library [work folder] [--keep]
// The scans are copies of a few page-like camera frames, each with its own last-write
// time; the folder is made once per run (under the work folder, default the system's
// temporary folder) and removed afterwards unless --keep is given. Run offscreen:
//   QT_QPA_PLATFORM=offscreen bench_library

#include "CQuorvanDoc.h"
#include "CThumbViewerView.h"
#include "ConsolePrompter.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>

#include <opencv2/imgcodecs.hpp>
#include <opencv2/imgproc.hpp>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <string>
#include <thread>
#include <vector>

namespace fs = std::filesystem;
using namespace vestrel;

namespace {

constexpr int kScans = 5000;
constexpr int kDistinctFrames = 8;
constexpr int kRuns = 9;

// A page seen by the camera: paper with uneven light, lines of text, a little sensor noise.
std::vector<uchar> cameraFrame(int seed)
{
    cv::Mat frame(1944, 2592, CV_8UC3);
    for (int y = 0; y < frame.rows; ++y)
        frame.row(y).setTo(cv::Scalar(200 + y % 30, 210 + y % 25, 215 + (y + seed) % 20));
    for (int line = 0; line < 40; ++line)
        cv::putText(frame, "Line " + std::to_string(line) + " of page " + std::to_string(seed),
                    cv::Point(150, 100 + line * 45), cv::FONT_HERSHEY_SIMPLEX, 1.2, cv::Scalar(30, 30, 30), 2);
    cv::Mat noise(frame.size(), CV_8UC3);
    cv::randn(noise, cv::Scalar::all(0), cv::Scalar::all(4));
    frame += noise;
    std::vector<uchar> jpeg;
    cv::imencode(".jpg", frame, jpeg, {cv::IMWRITE_JPEG_QUALITY, 85});
    return jpeg;
}

std::uintmax_t makeScans(const fs::path& folder)
{
    fs::create_directories(folder);
    std::vector<std::vector<uchar>> frames;
    for (int i = 0; i < kDistinctFrames; ++i) frames.push_back(cameraFrame(i));
    const auto now = fs::file_time_type::clock::now();
    std::uintmax_t bytes = 0;
    for (int i = 0; i < kScans; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "Image%04d.jpg", i + 1);
        const fs::path file = folder / name;
        const auto& jpeg = frames[std::size_t(i % kDistinctFrames)];
        if (std::FILE* out = std::fopen(file.c_str(), "wb")) {
            std::fwrite(jpeg.data(), 1, jpeg.size(), out);
            std::fclose(out);
        }
        // One scan a second, the last one now.
        fs::last_write_time(file, now - std::chrono::seconds(kScans - i));
        bytes += jpeg.size();
    }
    return bytes;
}

struct Figures {
    double best = 0, median = 0, worst = 0;
};

Figures summarise(std::vector<double> ms)
{
    std::sort(ms.begin(), ms.end());
    return {ms.front(), ms[ms.size() / 2], ms.back()};
}

void printRow(const char* what, const Figures& f, const char* goal)
{
    std::printf("%-52s %8.1f %8.1f %8.1f   %s\n", what, f.best, f.median, f.worst, goal);
}

}  // namespace

int main(int argc, char** argv)
{
    if (!std::getenv("QT_QPA_PLATFORM")) ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    fs::path work = fs::temp_directory_path();
    bool keep = false;
    for (int i = 1; i < argc; ++i) {
        if (std::string(argv[i]) == "--keep") keep = true;
        else work = argv[i];
    }
    const fs::path home = work / "vestrel-library-bench";
    ::setenv("VESTREL_HOME", home.c_str(), 1);
    fs::create_directories(home / "temp" / "temp");

    QElapsedTimer made;
    made.start();
    const auto bytes = makeScans(home / "Photo");
    std::printf("%d JPEG scans of 2592 x 1944 (%.0f KB each on average) written in %.1f s to %s\n", kScans,
                double(bytes) / kScans / 1024.0, made.elapsed() / 1000.0, (home / "Photo").c_str());

    ConsolePrompter prompter(std::cerr);
    document::CQuorvanDoc doc(prompter);
    library::CThumbViewerView view(doc, prompter, {});
    view.resize(260, 700);
    view.show();
    QCoreApplication::processEvents();

    const auto timed = [](auto&& step) {
        std::vector<double> ms;
        for (int run = 0; run < kRuns; ++run) {
            QCoreApplication::processEvents();
            QElapsedTimer t;
            t.start();
            step();
            ms.push_back(double(t.nsecsElapsed()) / 1e6);
        }
        return summarise(ms);
    };

    std::printf("\n%-52s %8s %8s %8s   %s\n", "ms (warm page cache)", "best", "median", "worst", "goal");
    printRow("RefreshLibrary alone (listing 5,000 files)", timed([&] { doc.RefreshLibrary(); }), "");

    view.OnListDisplay();
    printRow("list mode: RefreshLibrary + rebuild", timed([&] { doc.RefreshLibrary(); }), "");
    printRow("list mode: ... + layout and first paint", timed([&] {
                 doc.RefreshLibrary();
                 view.doItemsLayout();
                 view.viewport()->repaint();
             }),
             "100");
    if (int(view.entryNames().size()) != kScans) std::printf("  (the list shows %zu entries!)\n", view.entryNames().size());

    // Until the pictures are made, on a real event loop that wakes as each one is handed back.
    const auto untilThumbnails = [&] {
        QEventLoop loop;
        QObject::connect(&view, &library::CThumbViewerView::thumbnailsMade, &loop, &QEventLoop::quit);
        doc.RefreshLibrary();
        if (view.pendingThumbnails() > 0) loop.exec();
        view.viewport()->repaint();
    };
    // The longest stretch the user-interface thread is busy in one go while 60 are made:
    // the refresh itself, or handling what the workers hand back.
    const auto longestBusy = [&] {
        double longest = 0;
        const auto busy = [&longest](auto&& step) {
            QElapsedTimer t;
            t.start();
            step();
            longest = std::max(longest, double(t.nsecsElapsed()) / 1e6);
        };
        busy([&] { doc.RefreshLibrary(); });
        while (view.pendingThumbnails() > 0) {
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
            busy([] { QCoreApplication::processEvents(); });
        }
        return longest;
    };

    view.OnThumbnailDisplay();
    while (view.pendingThumbnails() > 0) QCoreApplication::processEvents();
    printRow("thumbnail mode, 6: refresh until the 6 are made", timed(untilThumbnails), "150");
    // What a scan costs the pane: one new file, the five others unchanged since the last refresh.
    {
        const auto source = home / "Photo" / "Image0001.jpg";
        const fs::path scan = home / "Photo" / "Scan0001.jpg";
        const int before = view.thumbnailDecodes();
        QElapsedTimer t;
        t.start();
        fs::copy_file(source, scan, fs::copy_options::overwrite_existing);
        untilThumbnails();
        const double ms = double(t.nsecsElapsed()) / 1e6;
        std::printf("%-52s %8.1f   decoded %d thumbnail(s) for 6 shown\n", "one new scan: copy it, refresh until the 6 are made",
                    ms, view.thumbnailDecodes() - before);
        fs::remove(scan);
    }
    view.setThumbnailCount(60);
    while (view.pendingThumbnails() > 0) QCoreApplication::processEvents();
    printRow("thumbnail mode, 60: refresh until the 60 are made", timed(untilThumbnails), "");
    std::printf("%-52s %8.1f\n", "longest the UI thread is held while 60 are made", longestBusy());

    int withPicture = 0;
    for (int row = 0; row < int(view.entryNames().size()); ++row) withPicture += !view.thumbnailAt(row).isNull();
    std::printf("\n%d of %zu thumbnails made\n", withPicture, view.entryNames().size());

    if (!keep) fs::remove_all(home);
    return 0;
}
