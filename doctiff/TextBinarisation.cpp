#include "TextBinarisation.h"

#include <opencv2/imgproc.hpp>

namespace vestrel::doctiff {

cv::Mat BinariseText(const cv::Mat& gray) {
    // A dot is black when it is clearly darker than its neighbourhood (thin strokes on
    // shaded paper), or dark in absolute terms (the inside of large black areas, where
    // the local mean is as dark as the dot itself). Paper-light dots are always white,
    // so scanner noise on a blank page does not turn into specks.
    cv::Mat localMean;
    cv::blur(gray, localMean, cv::Size(31, 31), cv::Point(-1, -1), cv::BORDER_REPLICATE);
    cv::Mat out(gray.size(), CV_8UC1);
    for (int y = 0; y < gray.rows; ++y) {
        const uint8_t* g = gray.ptr<uint8_t>(y);
        const uint8_t* m = localMean.ptr<uint8_t>(y);
        uint8_t* o = out.ptr<uint8_t>(y);
        for (int x = 0; x < gray.cols; ++x) {
            const int v = g[x];
            const bool black = v < 96 || (v < 200 && v + 20 < m[x]);
            o[x] = black ? 0 : 255;
        }
    }
    return out;
}

}  // namespace vestrel::doctiff
