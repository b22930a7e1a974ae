#pragma once
// Scores of a processed page against its ground truth.

#include <opencv2/core.hpp>

namespace vestrel::bench {

struct BinaryScore {
    double fMeasure = 0;  // harmonic mean of ink precision and recall
    double psnr = 0;      // dB, black-and-white picture against the true one
};

// `blackWhite`: 0 ink, 255 paper. `ink`: 255 where the ground truth has ink.
BinaryScore ScoreBinary(const cv::Mat& blackWhite, const cv::Mat& ink);

struct BackgroundScore {
    double deviation = 0;  // standard deviation of the paper, grey levels
    double contrast = 0;   // mean paper level minus mean level inside the strokes
};

// Grey statistics of `picture` on paper well away from the ink, and inside the strokes.
BackgroundScore ScoreBackground(const cv::Mat& picture, const cv::Mat& ink);

}  // namespace vestrel::bench
