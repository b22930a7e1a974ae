// Colour models: COLORREF and RGBQUAD, HSL on a 0..255 scale, channel split and combine.
#include "CxImage.h"
#include "ImageInternal.h"

#include <opencv2/imgproc.hpp>

#include <cmath>

namespace vestrel {

using namespace imaging_detail;

RGBQUAD CxImage::RGBtoRGBQUAD(COLORREF colour)
{
    return MakeRgbQuad(int(colour & 0xFF), int((colour >> 8) & 0xFF), int((colour >> 16) & 0xFF));
}

COLORREF CxImage::RGBQUADtoRGB(RGBQUAD colour)
{
    return MakeColorRef(colour.rgbRed, colour.rgbGreen, colour.rgbBlue);
}

RGBQUAD CxImage::RGBtoHSL(RGBQUAD colour)
{
    const double r = colour.rgbRed / 255.0, g = colour.rgbGreen / 255.0, b = colour.rgbBlue / 255.0;
    const double high = std::max({r, g, b}), low = std::min({r, g, b});
    const double l = (high + low) / 2;
    double h = 0, s = 0;
    if (high > low) {
        const double d = high - low;
        s = l > 0.5 ? d / (2 - high - low) : d / (high + low);
        if (high == r)
            h = (g - b) / d + (g < b ? 6 : 0);
        else if (high == g)
            h = (b - r) / d + 2;
        else
            h = (r - g) / d + 4;
        h /= 6;
    }
    RGBQUAD hsl;
    int hue = int(std::lround(h * 255));
    if (hue >= 255) hue = 0;  // a full turn is red again
    hsl.rgbRed = Clamp8(hue);
    hsl.rgbGreen = Clamp8(int(std::lround(s * 255)));
    hsl.rgbBlue = Clamp8(int(std::lround(l * 255)));
    return hsl;
}

namespace {

double HueToChannel(double p, double q, double t)
{
    if (t < 0) t += 1;
    if (t > 1) t -= 1;
    if (t < 1.0 / 6) return p + (q - p) * 6 * t;
    if (t < 1.0 / 2) return q;
    if (t < 2.0 / 3) return p + (q - p) * (2.0 / 3 - t) * 6;
    return p;
}

}  // namespace

RGBQUAD CxImage::HSLtoRGB(RGBQUAD hsl)
{
    const double h = hsl.rgbRed / 255.0, s = hsl.rgbGreen / 255.0, l = hsl.rgbBlue / 255.0;
    if (s == 0) {
        const auto v = Clamp8(int(std::lround(l * 255)));
        return RGBQUAD{v, v, v, 0};
    }
    const double q = l < 0.5 ? l * (1 + s) : l + s - l * s;
    const double p = 2 * l - q;
    return MakeRgbQuad(int(std::lround(HueToChannel(p, q, h + 1.0 / 3) * 255)),
                       int(std::lround(HueToChannel(p, q, h) * 255)),
                       int(std::lround(HueToChannel(p, q, h - 1.0 / 3) * 255)));
}

RGBQUAD CxImage::HSLtoRGB(COLORREF hsl)
{
    return HSLtoRGB(RGBtoRGBQUAD(hsl));
}

bool CxImage::SplitRGB(CxImage* red, CxImage* green, CxImage* blue) const
{
    if (!IsValid()) return Fail("no picture");
    return Guarded(m_lastError, [&] {
        std::vector<cv::Mat> channels;
        cv::split(ToBgr(), channels);
        CxImage* targets[3] = {blue, green, red};
        for (int k = 0; k < 3; ++k) {
            if (targets[k] == nullptr) continue;
            if (!targets[k]->AdoptMat(channels[std::size_t(k)])) return false;
            targets[k]->m_xdpi = m_xdpi;
            targets[k]->m_ydpi = m_ydpi;
        }
        return true;
    });
}

bool CxImage::Combine(const CxImage* first, const CxImage* second, const CxImage* third, const CxImage* alpha,
                      ColorSpace space)
{
    if (first == nullptr || second == nullptr || third == nullptr || !first->IsValid() || !second->IsValid() ||
        !third->IsValid())
        return Fail("three channel pictures are needed");
    const cv::Size size(first->GetWidth(), first->GetHeight());
    for (const CxImage* part : {second, third, alpha})
        if (part != nullptr && (!part->IsValid() || cv::Size(part->GetWidth(), part->GetHeight()) != size))
            return Fail("the channel pictures differ in size");
    if (space != CS_RGB && space != CS_HSL && space != CS_YUV) return Fail("unknown colour model");
    return Guarded(m_lastError, [&] {
        const cv::Mat a = first->ToGrey(), b = second->ToGrey(), c = third->ToGrey();
        cv::Mat bgr;
        if (space == CS_RGB) {
            cv::merge(std::vector<cv::Mat>{c, b, a}, bgr);
        } else if (space == CS_YUV) {
            cv::Mat yuv;
            cv::merge(std::vector<cv::Mat>{a, b, c}, yuv);
            cv::cvtColor(yuv, bgr, cv::COLOR_YUV2BGR);
        } else {
            bgr.create(size, CV_8UC3);
            for (int y = 0; y < size.height; ++y)
                for (int x = 0; x < size.width; ++x) {
                    const RGBQUAD rgb = HSLtoRGB(RGBQUAD{c.at<std::uint8_t>(y, x), b.at<std::uint8_t>(y, x),
                                                         a.at<std::uint8_t>(y, x), 0});
                    bgr.at<cv::Vec3b>(y, x) = cv::Vec3b(rgb.rgbBlue, rgb.rgbGreen, rgb.rgbRed);
                }
        }
        const double xdpi = first->m_xdpi, ydpi = first->m_ydpi;
        cv::Mat alphaPlane = alpha != nullptr ? alpha->ToGrey() : cv::Mat();
        if (!AdoptMat(bgr)) return false;
        m_alpha = alphaPlane;
        m_xdpi = xdpi;
        m_ydpi = ydpi;
        return true;
    });
}

}  // namespace vestrel
