#include "FaxPage.h"

#include "Binarisation.h"

#include <opencv2/imgproc.hpp>

#include <algorithm>
#include <cmath>
#include <vector>

namespace vestrel::doctiff {

cv::Mat FitToFaxPage(const SourcePage& page, const FaxPageFormat& format) {
    const cv::Mat& src = page.gray;
    double xr = page.xResolution, yr = page.yResolution;
    if (xr <= 0 || yr <= 0) xr = yr = 1;  // only the proportion matters then
    const double widthInches = src.cols / xr, heightInches = src.rows / yr;
    const double scale = std::min(format.width / format.xResolution / widthInches,
                                  format.height / format.yResolution / heightInches);
    const int outW = std::clamp(static_cast<int>(std::lround(widthInches * scale * format.xResolution)),
                                1, format.width);
    const int outH = std::clamp(static_cast<int>(std::lround(heightInches * scale * format.yResolution)),
                                1, format.height);
    cv::Mat canvas(format.height, format.width, CV_8UC1, cv::Scalar(255));
    cv::Mat target = canvas(cv::Rect((format.width - outW) / 2, (format.height - outH) / 2, outW, outH));
    if (outW == src.cols && outH == src.rows) {
        src.copyTo(target);
    } else {
        // Area averaging only where linear interpolation would skip source dots; it costs
        // four times as much at the usual camera-to-fax scale of about 2:3.
        const bool halvingOrMore = outW * 2 <= src.cols || outH * 2 <= src.rows;
        const bool growing = outW > src.cols && outH > src.rows;
        cv::resize(src, target, target.size(), 0, 0,
                   halvingOrMore ? cv::INTER_AREA : growing ? cv::INTER_CUBIC : cv::INTER_LINEAR);
    }
    return canvas;
}

bool LooksLikePhotograph(const cv::Mat& gray) {
    // Print is paper and ink with a thin fringe of edge greys; a photograph spreads over
    // the middle tones and covers a good part of the page. Judged at full resolution:
    // shrunk, text strokes themselves turn grey.
    cv::Mat histogram;
    const int channels[] = {0};
    const int bins[] = {256};
    const float range[] = {0, 256};
    const float* ranges[] = {range};
    cv::calcHist(&gray, 1, channels, cv::Mat(), histogram, 1, bins, ranges);
    double mid = 0, nonWhite = 0;
    for (int v = 0; v < 235; ++v) {
        nonWhite += histogram.at<float>(v);
        if (v >= 48 && v < 208) mid += histogram.at<float>(v);
    }
    return mid > 0.6 * nonWhite && mid > 0.15 * static_cast<double>(gray.total());
}

cv::Mat DitherPhotograph(const cv::Mat& gray) {
    const int w = gray.cols, h = gray.rows;
    // Two rows of accumulated error, in sixteenths, are all Floyd-Steinberg needs.
    std::vector<int> current(static_cast<size_t>(w) + 2, 0), next(static_cast<size_t>(w) + 2, 0);
    cv::Mat out(gray.size(), CV_8UC1);
    for (int y = 0; y < h; ++y) {
        const uint8_t* in = gray.ptr<uint8_t>(y);
        uint8_t* o = out.ptr<uint8_t>(y);
        std::fill(next.begin(), next.end(), 0);
        for (int x = 0; x < w; ++x) {
            const int value = in[x] * 16 + current[static_cast<size_t>(x) + 1];
            const int chosen = value >= 128 * 16 ? 255 : 0;
            o[x] = static_cast<uint8_t>(chosen);
            const int err = value - chosen * 16;
            current[static_cast<size_t>(x) + 2] += err * 7 / 16;
            next[static_cast<size_t>(x)] += err * 3 / 16;
            next[static_cast<size_t>(x) + 1] += err * 5 / 16;
            next[static_cast<size_t>(x) + 2] += err / 16;
        }
        std::swap(current, next);
    }
    return out;
}

cv::Mat FaxBlackAndWhite(const cv::Mat& fitted, bool sourceWasBilevel) {
    if (sourceWasBilevel) {
        cv::Mat out;
        cv::threshold(fitted, out, 127, 255, cv::THRESH_BINARY);
        return out;
    }
    if (LooksLikePhotograph(fitted)) return DitherPhotograph(fitted);
    cv::Mat blackWhite;
    if (!docproc::Binarise(fitted, blackWhite)) return {};
    return blackWhite;
}

}  // namespace vestrel::doctiff
