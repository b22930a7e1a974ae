// Tone corrections: channel tables (negative, brightness and contrast, gamma, shifts,
// solarize) and colour functions (saturation, colorize, threshold to a colour).
#include "ColourFunction.h"
#include "ImageInternal.h"

#include <opencv2/imgproc.hpp>

#include <array>
#include <cmath>
#include <cstring>

namespace vestrel {

using namespace imaging_detail;

namespace {

using Table = std::array<std::uint8_t, 256>;

Table MakeTable(auto function)
{
    Table table{};
    for (int i = 0; i < 256; ++i) table[i] = Clamp8(function(i));
    return table;
}

Table GammaTable(float gamma)
{
    return MakeTable([gamma](int c) {
        return int(std::lround(255.0 * std::pow(c / 255.0, 1.0 / double(gamma))));
    });
}

}  // namespace

bool CxImage::ApplyChannelTables(const std::uint8_t* blue, const std::uint8_t* green, const std::uint8_t* red)
{
    if (!IsValid()) return Fail("no picture");
    const bool sameTables = std::memcmp(blue, green, 256) == 0 && std::memcmp(blue, red, 256) == 0;
    if (IsGreyRamp() && sameTables) {
        return Guarded(m_lastError, [&] {
            cv::Mat table(1, 256, CV_8UC1, const_cast<std::uint8_t*>(blue));
            cv::Mat result;
            cv::LUT(m_pixels, table, result);
            ReplacePixels(result);
            return true;
        });
    }
    if (m_bpp < 24 && !SelectionIsValid()) {
        for (RGBQUAD& entry : m_palette) {
            entry.rgbBlue = blue[entry.rgbBlue];
            entry.rgbGreen = green[entry.rgbGreen];
            entry.rgbRed = red[entry.rgbRed];
        }
        return true;
    }
    if (m_bpp < 24 && !IncreaseBpp(24)) return false;
    return Guarded(m_lastError, [&] {
        cv::Mat table;
        if (sameTables) {
            table = cv::Mat(1, 256, CV_8UC1, const_cast<std::uint8_t*>(blue));
        } else {
            table.create(1, 256, CV_8UC3);
            for (int i = 0; i < 256; ++i) table.at<cv::Vec3b>(0, i) = cv::Vec3b(blue[i], green[i], red[i]);
        }
        if (!SelectionIsValid()) {
            cv::LUT(m_pixels, table, m_pixels);  // a table reads each byte once: safe in place
            return true;
        }
        cv::Mat result;
        cv::LUT(m_pixels, table, result);
        ReplacePixels(result);
        return true;
    });
}

bool CxImage::Negative()
{
    const Table t = MakeTable([](int c) { return 255 - c; });
    return ApplyChannelTables(t.data(), t.data(), t.data());
}

bool CxImage::Light(int brightness, int contrast)
{
    brightness = std::clamp(brightness, -255, 255);
    contrast = std::clamp(contrast, -100, 100);
    const Table t = MakeTable([&](int c) {
        return int(std::lround((c - 128) * (100.0 + contrast) / 100.0)) + 128 + brightness;
    });
    return ApplyChannelTables(t.data(), t.data(), t.data());
}

bool CxImage::Gamma(float gamma)
{
    if (!(gamma > 0) || !std::isfinite(gamma)) return Fail("gamma must be above 0");
    const Table t = GammaTable(gamma);
    return ApplyChannelTables(t.data(), t.data(), t.data());
}

bool CxImage::GammaRGB(float gammaRed, float gammaGreen, float gammaBlue)
{
    for (float g : {gammaRed, gammaGreen, gammaBlue})
        if (!(g > 0) || !std::isfinite(g)) return Fail("gamma must be above 0");
    const Table r = GammaTable(gammaRed), g = GammaTable(gammaGreen), b = GammaTable(gammaBlue);
    return ApplyChannelTables(b.data(), g.data(), r.data());
}

bool CxImage::ShiftRGB(int red, int green, int blue)
{
    const Table r = MakeTable([&](int c) { return c + std::clamp(red, -255, 255); });
    const Table g = MakeTable([&](int c) { return c + std::clamp(green, -255, 255); });
    const Table b = MakeTable([&](int c) { return c + std::clamp(blue, -255, 255); });
    return ApplyChannelTables(b.data(), g.data(), r.data());
}

bool CxImage::Solarize(std::uint8_t level, bool linkedChannels)
{
    if (!linkedChannels) {
        const Table t = MakeTable([level](int c) { return c > level ? 255 - c : c; });
        return ApplyChannelTables(t.data(), t.data(), t.data());
    }
    return ApplyColourFunction([level](std::uint8_t& b, std::uint8_t& g, std::uint8_t& r) {
        if (Luminance(r, g, b) > level) {
            b = std::uint8_t(255 - b);
            g = std::uint8_t(255 - g);
            r = std::uint8_t(255 - r);
        }
    });
}

bool CxImage::Saturate(int amount, int method)
{
    amount = std::clamp(amount, -255, 255);
    if (method == 1) {
        return ApplyColourFunction([amount](std::uint8_t& b, std::uint8_t& g, std::uint8_t& r) {
            RGBQUAD hsl = RGBtoHSL(RGBQUAD{b, g, r, 0});
            if (hsl.rgbGreen == 0) return;  // grey has no hue to strengthen
            hsl.rgbGreen = Clamp8(hsl.rgbGreen + amount);
            const RGBQUAD out = HSLtoRGB(hsl);
            b = out.rgbBlue;
            g = out.rgbGreen;
            r = out.rgbRed;
        });
    }
    amount = std::max(amount, -100);  // -100 is grey; below that colours would turn over
    return ApplyColourFunction([amount](std::uint8_t& b, std::uint8_t& g, std::uint8_t& r) {
        const int l = Luminance(r, g, b);
        const auto move = [&](std::uint8_t c) { return Clamp8(l + (int(c) - l) * (100 + amount) / 100); };
        b = move(b);
        g = move(g);
        r = move(r);
    });
}

bool CxImage::Colorize(std::uint8_t hue, std::uint8_t saturation, float blend)
{
    if (!std::isfinite(blend)) return Fail("blend is not a number");
    const float part = std::clamp(blend, 0.0f, 1.0f);
    return ApplyColourFunction([=](std::uint8_t& b, std::uint8_t& g, std::uint8_t& r) {
        RGBQUAD hsl = RGBtoHSL(RGBQUAD{b, g, r, 0});
        hsl.rgbRed = hue;
        hsl.rgbGreen = saturation;
        const RGBQUAD tint = HSLtoRGB(hsl);
        const auto mix = [part](std::uint8_t original, std::uint8_t tinted) {
            return Clamp8(int(std::lround(original + (int(tinted) - int(original)) * part)));
        };
        b = mix(b, tint.rgbBlue);
        g = mix(g, tint.rgbGreen);
        r = mix(r, tint.rgbRed);
    });
}

bool CxImage::Threshold2(std::uint8_t level, bool direct, RGBQUAD background, bool setAlpha)
{
    if (!IsValid()) return Fail("no picture");
    const bool greyBackground = background.rgbRed == background.rgbGreen && background.rgbGreen == background.rgbBlue;
    if (m_bpp < 24 && !(IsGreyRamp() && greyBackground) && !IncreaseBpp(24)) return false;
    return Guarded(m_lastError, [&] {
        const cv::Mat grey = ToGrey();
        cv::Mat hit;
        cv::compare(grey, cv::Scalar(level), hit, direct ? cv::CMP_LT : cv::CMP_GE);
        if (SelectionIsValid()) cv::bitwise_and(hit, m_selection, hit);
        if (m_bpp == 24)
            m_pixels.setTo(cv::Scalar(background.rgbBlue, background.rgbGreen, background.rgbRed), hit);
        else
            m_pixels.setTo(cv::Scalar(background.rgbRed), hit);
        if (setAlpha) {
            if (m_alpha.empty()) AlphaCreate();
            m_alpha.setTo(cv::Scalar(0), hit);
        }
        return true;
    });
}

}  // namespace vestrel
