// Neighbourhood filters: convolution, erosion and dilation, Gaussian blur, red-eye.
#include "ColourFunction.h"
#include "ImageInternal.h"

#include <opencv2/imgproc.hpp>

#include <cmath>

namespace vestrel {

using namespace imaging_detail;

bool CxImage::Filter(const long* kernel, long size, long divisor, long offset)
{
    if (!IsValid()) return Fail("no picture");
    if (kernel == nullptr || size < 1 || size > 25 || size % 2 == 0)
        return Fail("the kernel must be odd-sized, 1 to 25");
    if (!RaiseForFiltering()) return false;
    return Guarded(m_lastError, [&] {
        const double scale = 1.0 / double(divisor == 0 ? 1 : divisor);
        cv::Mat weights(static_cast<int>(size), static_cast<int>(size), CV_32F);
        for (int i = 0; i < size * size; ++i) weights.at<float>(i / int(size), i % int(size)) = float(double(kernel[i]) * scale);
        cv::Mat result;
        cv::filter2D(m_pixels, result, -1, weights, cv::Point(-1, -1), double(offset), cv::BORDER_REPLICATE);
        ReplacePixels(result);
        return true;
    });
}

namespace {

bool ValidSquare(int size)
{
    return size >= 1 && size <= 255;
}

}  // namespace

bool CxImage::Erode(int size)
{
    if (!IsValid()) return Fail("no picture");
    if (!ValidSquare(size)) return Fail("size must be 1 to 255");
    if (!RaiseForFiltering()) return false;
    return Guarded(m_lastError, [&] {
        cv::Mat result;
        cv::erode(m_pixels, result, cv::getStructuringElement(cv::MORPH_RECT, {size, size}), cv::Point(-1, -1), 1,
                  cv::BORDER_REPLICATE);
        ReplacePixels(result);
        return true;
    });
}

bool CxImage::Dilate(int size)
{
    if (!IsValid()) return Fail("no picture");
    if (!ValidSquare(size)) return Fail("size must be 1 to 255");
    if (!RaiseForFiltering()) return false;
    return Guarded(m_lastError, [&] {
        cv::Mat result;
        cv::dilate(m_pixels, result, cv::getStructuringElement(cv::MORPH_RECT, {size, size}), cv::Point(-1, -1), 1,
                   cv::BORDER_REPLICATE);
        ReplacePixels(result);
        return true;
    });
}

bool CxImage::GaussianBlur(float radius)
{
    if (!IsValid()) return Fail("no picture");
    if (!(radius > 0) || radius > 200) return Fail("radius must be above 0 and at most 200");
    if (!RaiseForFiltering()) return false;
    return Guarded(m_lastError, [&] {
        cv::Mat result;
        cv::GaussianBlur(m_pixels, result, cv::Size(0, 0), double(radius), double(radius), cv::BORDER_REPLICATE);
        ReplacePixels(result);
        return true;
    });
}

bool CxImage::RedEyeRemove(float strength)
{
    if (!std::isfinite(strength)) return Fail("strength is not a number");
    const float part = std::clamp(strength, 0.0f, 1.0f);
    return ApplyColourFunction([part](std::uint8_t& b, std::uint8_t& g, std::uint8_t& r) {
        const int others = (int(g) + int(b)) / 2;
        if (2 * int(r) > 3 * int(g) && 2 * int(r) > 3 * int(b))
            r = Clamp8(int(std::lround(r - part * (r - others))));
    });
}

}  // namespace vestrel
