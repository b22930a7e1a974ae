#pragma once
// One picture read as text: cleaned and straightened the way a stored scan is (the engine
// reads an uneven, askew camera page far worse than a clean level one), recognised, and
// every word carried back to where it stands in the picture as it was given, so a text
// layer laid over that picture covers the words.

#include "CxImage.h"
#include "TextRecogniser.h"

#include <opencv2/core.hpp>

#include <atomic>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace vestrel::ocr {

struct PreparedPicture {
    cv::Mat grey;      // 8-bit, what the engine reads
    cv::Mat toSource;  // 2 x 3 CV_64F: a pixel of `grey` to its place in the source picture
};

// Grey, background removed, straightened. Never fails for a valid picture: a step with
// nothing to do (a blank canvas has no angle) leaves the picture as it was.
PreparedPicture PrepareForRecognition(const CxImage& picture);

// A word on the source picture: its baseline starts at (x, y) (pixels, top-down) and runs
// `length` pixels at `angleDegrees` (counter-clockwise as seen on screen); the word is
// `height` pixels high.
struct PlacedWord {
    std::string text;
    double x = 0, y = 0;
    double length = 0, height = 0;
    double angleDegrees = 0;
};

struct ReadPage {
    std::string text;
    std::vector<PlacedWord> words;
    int width = 0, height = 0;  // of the source picture
};

std::vector<PlacedWord> PlaceInSource(const std::vector<RecognisedWord>& words,
                                      const cv::Mat& toSource);

// The resolution a picture is read at: its own, or the camera page's 300 dpi.
int ReadingDpi(const CxImage& picture);

// Prepares and reads `picture`; nothing when the engine fails or is cancelled.
std::optional<ReadPage> ReadPicture(TextRecogniser& recogniser, const CxImage& picture,
                                    const std::atomic<bool>* cancel = nullptr,
                                    const std::function<void(int)>& progress = {});

}  // namespace vestrel::ocr
