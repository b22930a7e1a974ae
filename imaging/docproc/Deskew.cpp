#include "Deskew.h"

#include "GreyPicture.h"
#include "NoThrow.h"

#include <opencv2/imgproc.hpp>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

namespace vestrel::docproc {
namespace {

constexpr double kLevelEnough = 0.05;  // degrees; turning less only softens the picture

// Per-channel median of the outermost pixels: the colour that surrounded the page.
cv::Scalar EdgeColour(const cv::Mat& picture)
{
    const int channels = picture.channels();
    std::vector<cv::Mat> edges{picture.row(0), picture.row(picture.rows - 1), picture.col(0).t(),
                               picture.col(picture.cols - 1).t()};
    cv::Mat edge;
    cv::hconcat(edges, edge);
    edge = edge.reshape(1, static_cast<int>(edge.total()));
    cv::Scalar colour;
    for (int c = 0; c < channels; ++c) {
        std::vector<double> values;
        edge.col(c).convertTo(values, CV_64F);
        std::nth_element(values.begin(), values.begin() + values.size() / 2, values.end());
        colour[c] = values[values.size() / 2];
    }
    return colour;
}

cv::Mat Turned(const cv::Mat& source, double degrees)
{
    const double radians = degrees * std::numbers::pi / 180.0;
    const double c = std::abs(std::cos(radians));
    const double s = std::abs(std::sin(radians));
    const cv::Size size(static_cast<int>(std::ceil(source.cols * c + source.rows * s)),
                        static_cast<int>(std::ceil(source.cols * s + source.rows * c)));
    const cv::Point2f centre((source.cols - 1) / 2.0f, (source.rows - 1) / 2.0f);
    cv::Mat transform = cv::getRotationMatrix2D(centre, degrees, 1.0);
    transform.at<double>(0, 2) += (size.width - source.cols) / 2.0;
    transform.at<double>(1, 2) += (size.height - source.rows) / 2.0;
    cv::Mat turned;
    cv::warpAffine(source, turned, transform, size, cv::INTER_LINEAR, cv::BORDER_CONSTANT,
                   EdgeColour(source));
    return turned;
}

}  // namespace

int Deskew(const cv::Mat& source, cv::Mat& straightened)
{
    const SkewMeasurement skew = MeasureSkew(source);
    if (!skew.reliable || std::abs(skew.angleDegrees) < kLevelEnough)
        return 0;
    return detail::NoThrow(0, [&] {
        // Turning by the opposite of the text angle levels the lines.
        straightened = Turned(source, -skew.angleDegrees);
        return 1;
    });
}

}  // namespace vestrel::docproc
