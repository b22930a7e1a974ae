// The text angle by projection profiles: seen along the right angle, the ink of a page
// piles up into sharp peaks (the lines) and empty valleys (the gaps between them); at any
// other angle the lines smear into each other. The sum of the squared profile measures how
// sharp the peaks are; its maximum over the angles is the text angle.

#include "Deskew.h"

#include "GreyPicture.h"
#include "InkMask.h"
#include "NoThrow.h"

#include <opencv2/core/utility.hpp>
#include <opencv2/imgproc.hpp>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

namespace vestrel::docproc {
namespace {

constexpr int kWorkingLongSide = 1400;    // the angle is measured on a copy about this size
constexpr double kSearchLimit = 21.0;     // degrees either way, a little past the largest skew
constexpr double kCoarseStep = 0.5;       // degrees
constexpr double kFineStep = 0.05;        // degrees
constexpr size_t kCoarseStride = 4;       // the coarse search looks at every fourth ink pixel
constexpr double kMinInkShare = 0.002;    // less ink than this is a blank page
constexpr int kMinMarks = 12;             // fewer marks than this is not a text page
constexpr double kMinConfidence = 1.5;    // peak over median of the profile sharpness
constexpr double kLargestMarkShare = 0.01;  // a mark larger than this share is no character

struct InkPoints {
    std::vector<cv::Point2f> points;
    int marks = 0;
};

// The ink pixels of the text-sized marks, centred on the picture's middle.
InkPoints TextInk(const cv::Mat& ink)
{
    cv::Mat labels, stats, centroids;
    const int count = cv::connectedComponentsWithStats(ink, labels, stats, centroids, 8, CV_32S);
    const double largest = ink.total() * kLargestMarkShare;
    const int bigSide = std::min(ink.cols, ink.rows) / 5;
    std::vector<uchar> keep(count, 0);
    InkPoints result;
    for (int label = 1; label < count; ++label) {
        const int area = stats.at<int>(label, cv::CC_STAT_AREA);
        const int width = stats.at<int>(label, cv::CC_STAT_WIDTH);
        const int height = stats.at<int>(label, cv::CC_STAT_HEIGHT);
        // Specks are noise; blobs large both ways are pictures or the desk, not text.
        if (area < 3 || area > largest || (width > bigSide && height > bigSide))
            continue;
        keep[label] = 1;
        ++result.marks;
    }
    const float cx = ink.cols / 2.0f;
    const float cy = ink.rows / 2.0f;
    for (int y = 0; y < labels.rows; ++y) {
        const int* row = labels.ptr<int>(y);
        for (int x = 0; x < labels.cols; ++x)
            if (row[x] > 0 && keep[row[x]])
                result.points.emplace_back(x - cx, y - cy);
    }
    return result;
}

// Sharpness of the ink's profile across lines tilted by `degrees`.
class ProfileSharpness {
public:
    // Uses every `stride`-th ink pixel: the coarse search needs only a sample of them.
    ProfileSharpness(const std::vector<cv::Point2f>& points, cv::Size size, size_t stride = 1)
        : points_(points), stride_(std::max<size_t>(1, stride)),
          offset_(std::hypot(size.width, size.height) / 2.0 + 2.0),
          binCount_(static_cast<size_t>(2 * offset_) + 4)
    {
    }

    double operator()(double degrees) const
    {
        const double radians = degrees * std::numbers::pi / 180.0;
        const float s = static_cast<float>(std::sin(radians));
        const float c = static_cast<float>(std::cos(radians));
        std::vector<double> bins(binCount_, 0.0);
        // Each pixel is shared between the two nearest bins, so the sum changes smoothly
        // with the angle and its peak can be located between the steps.
        for (size_t i = 0; i < points_.size(); i += stride_) {
            const cv::Point2f& p = points_[i];
            const double across = p.x * s + p.y * c + offset_;
            const auto bin = static_cast<size_t>(across);
            const double share = across - bin;
            bins[bin] += 1.0 - share;
            bins[bin + 1] += share;
        }
        double sum = 0;
        for (const double b : bins)
            sum += b * b;
        return sum;
    }

    // The sharpness at every angle. The angles are independent, so both cores share them;
    // each angle's sum is added up in the same order as alone.
    std::vector<double> at(const std::vector<double>& angles) const
    {
        std::vector<double> scores(angles.size());
        cv::parallel_for_(cv::Range(0, static_cast<int>(angles.size())), [&](const cv::Range& range) {
            for (int i = range.start; i < range.end; ++i)
                scores[i] = (*this)(angles[i]);
        });
        return scores;
    }

private:
    const std::vector<cv::Point2f>& points_;
    size_t stride_;
    double offset_;
    size_t binCount_;
};

double MedianOf(std::vector<double> values)
{
    std::nth_element(values.begin(), values.begin() + values.size() / 2, values.end());
    return values[values.size() / 2];
}

SkewMeasurement Measure(const cv::Mat& picture)
{
    // May share the caller's pixels: only read, the reduction goes to a picture of its own.
    cv::Mat grey = detail::GreyOf(picture);
    const int longSide = std::max(grey.cols, grey.rows);
    if (longSide > kWorkingLongSide) {
        const double scale = static_cast<double>(kWorkingLongSide) / longSide;
        cv::Mat reduced;
        cv::resize(grey, reduced, cv::Size(), scale, scale, cv::INTER_AREA);
        grey = reduced;
    }
    const cv::Mat ink = detail::InkMask(grey);
    const InkPoints text = TextInk(ink);
    SkewMeasurement result;
    if (text.marks < kMinMarks || text.points.size() < grey.total() * kMinInkShare)
        return result;

    const ProfileSharpness coarseSharpness(text.points, grey.size(), kCoarseStride);
    const ProfileSharpness sharpness(text.points, grey.size());
    std::vector<double> coarseAngles;
    for (double angle = -kSearchLimit; angle <= kSearchLimit + 1e-9; angle += kCoarseStep)
        coarseAngles.push_back(angle);
    const std::vector<double> coarse = coarseSharpness.at(coarseAngles);
    double bestAngle = 0;
    double bestScore = -1;
    for (size_t i = 0; i < coarse.size(); ++i) {
        if (coarse[i] > bestScore) {
            bestScore = coarse[i];
            bestAngle = coarseAngles[i];
        }
    }
    const double fineFrom = bestAngle - kCoarseStep;
    const int fineSteps = static_cast<int>(std::lround(2 * kCoarseStep / kFineStep));
    std::vector<double> fineAngles(fineSteps + 1);
    for (int i = 0; i <= fineSteps; ++i)
        fineAngles[i] = fineFrom + i * kFineStep;
    const std::vector<double> fine = sharpness.at(fineAngles);
    int bestFine = 0;
    for (int i = 0; i <= fineSteps; ++i) {
        if (fine[i] > fine[bestFine])
            bestFine = i;
    }
    double angle = fineFrom + bestFine * kFineStep;
    if (bestFine > 0 && bestFine < fineSteps) {
        // Vertex of the parabola through the best step and its neighbours.
        const double left = fine[bestFine - 1];
        const double middle = fine[bestFine];
        const double right = fine[bestFine + 1];
        const double curvature = left - 2 * middle + right;
        if (curvature < 0)
            angle += 0.5 * (left - right) / curvature * kFineStep;
    }

    result.angleDegrees = angle;
    result.confidence = coarseSharpness(angle) / std::max(MedianOf(coarse), 1.0);
    result.reliable = result.confidence >= kMinConfidence && std::abs(angle) <= kMaxSkewDegrees;
    return result;
}

}  // namespace

SkewMeasurement MeasureSkew(const cv::Mat& picture)
{
    if (!detail::IsAcceptedPicture(picture))
        return {};
    return detail::NoThrow(SkewMeasurement{}, [&] { return Measure(picture); });
}

}  // namespace vestrel::docproc
