// Crop, resample, right-angle turns, mirror, flip and free rotation.
#include "CxImage.h"
#include "ImageInternal.h"

#include <opencv2/imgproc.hpp>

#include <cmath>

namespace vestrel {

using namespace imaging_detail;

CxImage CxImage::WithPlanes(cv::Mat pixels, cv::Mat alpha, cv::Mat selection) const
{
    CxImage result;
    result.m_pixels = std::move(pixels);
    result.m_alpha = std::move(alpha);
    result.m_selection = std::move(selection);
    result.m_bpp = m_bpp;
    result.m_palette = m_palette;
    result.m_transIndex = m_transIndex;
    result.m_transColor = m_transColor;
    result.m_xdpi = m_xdpi;
    result.m_ydpi = m_ydpi;
    result.m_frameCount = m_frameCount;
    result.m_frame = m_frame;
    result.m_type = m_type;
    result.m_jpegQuality = m_jpegQuality;
    return result;
}

bool CxImage::Deliver(CxImage&& result, CxImage* destination)
{
    if (destination != nullptr && destination != this)
        *destination = std::move(result);
    else
        *this = std::move(result);
    return true;
}

bool CxImage::RaiseForFiltering()
{
    if (m_bpp == 24 || IsGreyRamp()) return true;
    return IncreaseBpp(24);
}

bool CxImage::Crop(int left, int top, int right, int bottom, CxImage* destination)
{
    return Crop(PixelRect{left, top, right, bottom}, destination);
}

bool CxImage::Crop(const PixelRect& rect, CxImage* destination)
{
    if (!IsValid()) return Fail("no picture");
    const cv::Rect wanted(rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top);
    const cv::Rect kept = wanted & cv::Rect(0, 0, GetWidth(), GetHeight());
    if (rect.empty() || kept.empty()) return Fail("the rectangle holds no pixel of the picture");
    return Guarded(m_lastError, [&] {
        return Deliver(WithPlanes(m_pixels(kept).clone(), m_alpha.empty() ? cv::Mat() : m_alpha(kept).clone(),
                                  m_selection.empty() ? cv::Mat() : m_selection(kept).clone()),
                       destination);
    });
}

bool CxImage::Resample(int newWidth, int newHeight, int mode, CxImage* destination)
{
    if (!IsValid()) return Fail("no picture");
    if (!SizeAllowed(newWidth, newHeight, kMaxPixels)) return Fail("new size out of range");
    CxImage raised;
    const CxImage* source = this;
    if (mode != 1 && m_bpp < 24 && !IsGreyRamp()) {
        raised.Copy(*this, true, false, true);
        if (!raised.IncreaseBpp(24)) return Fail(raised.GetLastError());
        source = &raised;
    }
    return Guarded(m_lastError, [&] {
        const cv::Size size(newWidth, newHeight);
        int interpolation = cv::INTER_NEAREST;
        if (mode == 2)
            interpolation = cv::INTER_LINEAR;
        else if (mode != 1)
            interpolation = newWidth * newHeight < GetWidth() * GetHeight() ? cv::INTER_AREA : cv::INTER_CUBIC;
        cv::Mat pixels, alpha;
        cv::resize(source->m_pixels, pixels, size, 0, 0, interpolation);
        if (!source->m_alpha.empty()) cv::resize(source->m_alpha, alpha, size, 0, 0, interpolation);
        return Deliver(source->WithPlanes(pixels, alpha, cv::Mat()), destination);
    });
}

namespace {

cv::Mat Rotated(const cv::Mat& plane, int code)
{
    if (plane.empty()) return {};
    cv::Mat out;
    cv::rotate(plane, out, code);
    return out;
}

cv::Mat Flipped(const cv::Mat& plane, int code)
{
    if (plane.empty()) return {};
    cv::Mat out;
    cv::flip(plane, out, code);
    return out;
}

}  // namespace

bool CxImage::RotateLeft(CxImage* destination)
{
    if (!IsValid()) return Fail("no picture");
    return Guarded(m_lastError, [&] {
        constexpr int code = cv::ROTATE_90_COUNTERCLOCKWISE;
        CxImage result = WithPlanes(Rotated(m_pixels, code), Rotated(m_alpha, code), Rotated(m_selection, code));
        std::swap(result.m_xdpi, result.m_ydpi);
        return Deliver(std::move(result), destination);
    });
}

bool CxImage::RotateRight(CxImage* destination)
{
    if (!IsValid()) return Fail("no picture");
    return Guarded(m_lastError, [&] {
        constexpr int code = cv::ROTATE_90_CLOCKWISE;
        CxImage result = WithPlanes(Rotated(m_pixels, code), Rotated(m_alpha, code), Rotated(m_selection, code));
        std::swap(result.m_xdpi, result.m_ydpi);
        return Deliver(std::move(result), destination);
    });
}

bool CxImage::Rotate180(CxImage* destination)
{
    if (!IsValid()) return Fail("no picture");
    return Guarded(m_lastError, [&] {
        constexpr int code = cv::ROTATE_180;
        return Deliver(WithPlanes(Rotated(m_pixels, code), Rotated(m_alpha, code), Rotated(m_selection, code)),
                       destination);
    });
}

bool CxImage::Mirror()
{
    if (!IsValid()) return Fail("no picture");
    return Guarded(m_lastError, [&] {
        m_pixels = Flipped(m_pixels, 1);
        m_alpha = Flipped(m_alpha, 1);
        m_selection = Flipped(m_selection, 1);
        return true;
    });
}

bool CxImage::Flip()
{
    if (!IsValid()) return Fail("no picture");
    return Guarded(m_lastError, [&] {
        m_pixels = Flipped(m_pixels, 0);
        m_alpha = Flipped(m_alpha, 0);
        m_selection = Flipped(m_selection, 0);
        return true;
    });
}

bool CxImage::Rotate2(float angle, InterpolationMethod interpolation, OverflowMethod overflow,
                      RGBQUAD* replacementColour, bool optimizeRightAngles, bool keepOriginalSize)
{
    if (!IsValid()) return Fail("no picture");
    if (!std::isfinite(angle)) return Fail("the angle is not a number");
    double turn = std::fmod(double(angle), 360.0);
    if (turn < 0) turn += 360.0;
    if (turn == 0) {
        SelectionDelete();
        return true;
    }
    const bool square = GetWidth() == GetHeight();
    if (optimizeRightAngles && (turn == 90 || turn == 180 || turn == 270) && (!keepOriginalSize || square || turn == 180)) {
        const bool turned = turn == 90 ? RotateRight() : turn == 180 ? Rotate180() : RotateLeft();
        if (turned) SelectionDelete();
        return turned;
    }
    if (interpolation != IM_NEAREST_NEIGHBOUR && !RaiseForFiltering()) return false;

    const RGBQUAD replacement = replacementColour ? *replacementColour : RGBQUAD{255, 255, 255, 0};
    RGBQUAD fill = replacement;
    if (overflow == OM_BACKGROUND && IsTransparent()) fill = GetTransColor();

    return Guarded(m_lastError, [&] {
        const double w = GetWidth(), h = GetHeight();
        const cv::Point2f centre(float((w - 1) / 2), float((h - 1) / 2));
        // OpenCV turns counter-clockwise for positive angles; ours turn clockwise on screen.
        cv::Mat matrix = cv::getRotationMatrix2D(centre, -double(angle), 1.0);
        cv::Size size(GetWidth(), GetHeight());
        if (!keepOriginalSize) {
            const double radians = double(angle) * CV_PI / 180.0;
            const double c = std::fabs(std::cos(radians)), s = std::fabs(std::sin(radians));
            const double newWidth = std::ceil(w * c + h * s - 1e-6);
            const double newHeight = std::ceil(w * s + h * c - 1e-6);
            if (!SizeAllowed(std::int64_t(newWidth), std::int64_t(newHeight), kMaxPixels)) return Fail("turned picture too large");
            size = cv::Size(int(newWidth), int(newHeight));
            matrix.at<double>(0, 2) += (newWidth - 1) / 2 - centre.x;
            matrix.at<double>(1, 2) += (newHeight - 1) / 2 - centre.y;
        }
        int flags = cv::INTER_LINEAR;
        if (interpolation == IM_NEAREST_NEIGHBOUR) flags = cv::INTER_NEAREST;
        if (interpolation == IM_BICUBIC) flags = cv::INTER_CUBIC;
        int border = cv::BORDER_CONSTANT;
        if (overflow == OM_REPEAT) border = cv::BORDER_REPLICATE;
        if (overflow == OM_MIRROR) border = cv::BORDER_REFLECT;
        if (overflow == OM_WRAP) border = cv::BORDER_WRAP;

        cv::Scalar borderValue;
        if (m_bpp == 24)
            borderValue = cv::Scalar(fill.rgbBlue, fill.rgbGreen, fill.rgbRed);
        else if (IsGreyRamp() && interpolation != IM_NEAREST_NEIGHBOUR)
            borderValue = cv::Scalar(Luminance(fill.rgbRed, fill.rgbGreen, fill.rgbBlue));
        else
            borderValue = cv::Scalar(GetNearestIndex(fill));

        cv::Mat pixels, alpha;
        cv::warpAffine(m_pixels, pixels, matrix, size, flags, border, borderValue);
        cv::Mat sourceAlpha = m_alpha;
        if (overflow == OM_TRANSPARENT && sourceAlpha.empty())
            sourceAlpha = cv::Mat(m_pixels.size(), CV_8UC1, cv::Scalar(255));
        if (!sourceAlpha.empty())
            cv::warpAffine(sourceAlpha, alpha, matrix, size, flags, border,
                           cv::Scalar(overflow == OM_TRANSPARENT ? 0 : 255));
        return Deliver(WithPlanes(pixels, alpha, cv::Mat()), nullptr);
    });
}

}  // namespace vestrel
