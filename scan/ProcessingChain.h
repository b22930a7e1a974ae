#pragma once
// The processing chain of a stored scan: from the newest camera frame to the file in the
// photo folder, in a fixed order:
//    1 file type from the extension (unknown: the raw bitmap is stored)
//    2 the frame as an image          3 digital zoom: enlarge by 400z x 300z
//    4 crop (zoom centre, preset rectangle or centred scan area)
//    5 turn                           6 grey
//    7 date and time stamp            8 background removal (normalise 250, clean 1.05/8.0)
//    9 deskew                        10 JPEG: 24 bits, no transparency, `jpgquality`
//   11 binarisation, or grey for TIFF 12 save in the format of the extension
// The second camera's chain leaves out 8, 9 and the binarisation of 11.
//
// Everything happens in memory: the old program wrote the frame as a bitmap first and
// re-read it (and went through scratch files for deskew and binarisation); the file that
// comes out is the same without those round trips, except that a JPEG is compressed once
// instead of twice. The file appears whole or not at all and never replaces another.

#include "CxImage.h"
#include "NewFile.h"
#include "Settings.h"

#include <opencv2/core.hpp>

#include <chrono>
#include <ctime>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

namespace vestrel::scan {

enum class ChainKind { MainCamera, SecondCamera };

struct ChainInput {
    const Settings* settings = nullptr;  // crop, turn and automatic processing
    int zoomLevel = 0;                   // the main window's digital zoom, 0..6
    std::tm localTime{};                 // for the date stamp
    ChainKind kind = ChainKind::MainCamera;
    // Off for a picture that is laid out already (the two-sided ID-card page): no digital
    // zoom and no crop. Zoom only enlarges so that the crop can cut the centre back out;
    // on its own it would stretch the page out of its proportions.
    bool cropToScanArea = true;
};

// Told the name and duration of every step that ran (benchmarks, diagnostics).
using StepObserver = std::function<void(std::string_view step, std::chrono::nanoseconds time)>;

// The stamp's text: MM/DD/YY directly followed by HH:MM:SS.
std::string TimeStampText(const std::tm& localTime);

// Steps 2 to 11 on a CV_8UC3 frame (top row first) for a file of type `type`; the result is
// ready to be saved. `image` takes over the frame's pixel buffer and may change it in
// place: pass a frame of your own (the scanner's copy of the newest one). False only when the
// frame is no picture at all.
bool ProcessScan(const cv::Mat& frame, int type, const ChainInput& input, CxImage& image,
                 const StepObserver* observer = nullptr);

struct StoredScan {
    NewFileResult result = NewFileResult::Failed;
    bool rawBitmap = false;  // the file holds the frame as an uncompressed bitmap
    std::string error;       // what went wrong, when not stored
};

// The whole chain into `target`. An extension of unknown type stores the raw bitmap under
// that name, as does a format the image library cannot write, so a scan is never lost for
// want of an encoder.
StoredScan StoreScan(const cv::Mat& frame, const std::filesystem::path& target,
                     const ChainInput& input, const StepObserver* observer = nullptr);

}  // namespace vestrel::scan
