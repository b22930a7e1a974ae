#include "ImageCompare.h"

#include <cmath>
#include <limits>
#include <opencv2/imgproc.hpp>

namespace vestrel::testkit {

double MaxAbsDiff(const cv::Mat& a, const cv::Mat& b)
{
    if (a.size() != b.size() || a.type() != b.type()) return -1;
    if (a.empty()) return 0;
    return cv::norm(a, b, cv::NORM_INF);
}

double Psnr(const cv::Mat& a, const cv::Mat& b)
{
    if (a.size() != b.size() || a.type() != b.type() || a.empty()) return 0;
    const double l2 = cv::norm(a, b, cv::NORM_L2SQR);
    if (l2 == 0) return std::numeric_limits<double>::infinity();
    const double mse = l2 / (static_cast<double>(a.total()) * a.channels());
    return 10.0 * std::log10(255.0 * 255.0 / mse);
}

::testing::AssertionResult SamePixels(const cv::Mat& a, const cv::Mat& b)
{
    if (a.size() != b.size())
        return ::testing::AssertionFailure() << "sizes differ: " << a.cols << "x" << a.rows
                                             << " against " << b.cols << "x" << b.rows;
    if (a.type() != b.type())
        return ::testing::AssertionFailure() << "types differ: " << a.type() << " against " << b.type();
    const std::size_t rowBytes = a.cols * a.elemSize();
    for (int y = 0; y < a.rows; ++y) {
        const uchar* pa = a.ptr(y);
        const uchar* pb = b.ptr(y);
        for (std::size_t i = 0; i < rowBytes; ++i) {
            if (pa[i] != pb[i])
                return ::testing::AssertionFailure()
                       << "first difference at x " << i / a.elemSize() << ", y " << y << ", channel "
                       << i % a.elemSize() << ": " << int(pa[i]) << " against " << int(pb[i]);
        }
    }
    return ::testing::AssertionSuccess();
}

cv::Mat PatternImage(int width, int height, int type)
{
    cv::Mat bgr(height, width, CV_8UC3);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            bgr.at<cv::Vec3b>(y, x) = cv::Vec3b(uchar(x * 255 / std::max(1, width - 1)),
                                                 uchar(y * 255 / std::max(1, height - 1)),
                                                 uchar((x + y) * 7));
    cv::rectangle(bgr, {width / 8, height / 8, width / 4 + 1, height / 4 + 1}, {0, 0, 0}, cv::FILLED);
    cv::circle(bgr, {width * 2 / 3, height / 2}, std::max(1, std::min(width, height) / 6), {255, 255, 255}, cv::FILLED);
    if (type == CV_8UC3) return bgr;
    cv::Mat out;
    if (type == CV_8UC1) cv::cvtColor(bgr, out, cv::COLOR_BGR2GRAY);
    else if (type == CV_8UC4) cv::cvtColor(bgr, out, cv::COLOR_BGR2BGRA);
    else bgr.convertTo(out, type);
    return out;
}

}  // namespace vestrel::testkit
