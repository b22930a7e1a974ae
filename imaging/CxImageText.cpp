// Text on the picture: DrawString and DrawStringEx over the FreeType renderer.
#include "CxImage.h"
#include "ImageInternal.h"
#include "text/TextRenderer.h"

#include <opencv2/imgproc.hpp>

#include <cmath>

namespace vestrel {

using namespace imaging_detail;

namespace {

constexpr int kDefaultPixelSize = 12;
constexpr const char* kDefaultFace = "宋体";

// A rectangle with corners rounded by `radius`, as a 0/255 mask of its own size.
cv::Mat RoundedRectMask(cv::Size size, int radius)
{
    cv::Mat mask(size, CV_8UC1, cv::Scalar(255));
    radius = std::min({radius, size.width / 2, size.height / 2});
    if (radius <= 0) return mask;
    mask.setTo(cv::Scalar(0));
    cv::rectangle(mask, cv::Rect(radius, 0, size.width - 2 * radius, size.height), cv::Scalar(255), cv::FILLED);
    cv::rectangle(mask, cv::Rect(0, radius, size.width, size.height - 2 * radius), cv::Scalar(255), cv::FILLED);
    for (const cv::Point centre : {cv::Point(radius, radius), cv::Point(size.width - 1 - radius, radius),
                                   cv::Point(radius, size.height - 1 - radius),
                                   cv::Point(size.width - 1 - radius, size.height - 1 - radius)})
        cv::circle(mask, centre, radius, cv::Scalar(255), cv::FILLED);
    return mask;
}

}  // namespace

void CxImage::InitTextInfo(CXTEXTINFO* info)
{
    if (info == nullptr) return;
    *info = CXTEXTINFO{};
    info->lfFaceName = kDefaultFace;
    info->lfHeight = kDefaultPixelSize;
}

bool CxImage::DrawString(int x, int y, const std::string& text, RGBQUAD colour, const std::string& font, int size,
                         int weight, bool italic, bool underline, bool setAlpha, PixelRect* drawnBox)
{
    CXTEXTINFO info;
    InitTextInfo(&info);
    info.text = text;
    if (!font.empty()) info.lfFaceName = font;
    info.lfHeight = size;
    info.lfWeight = weight;
    info.lfItalic = italic;
    info.lfUnderline = underline;
    info.fcolor = RGBQUADtoRGB(colour);
    return DrawTextBlock(x, y, info, setAlpha, drawnBox);
}

bool CxImage::DrawStringEx(int x, int y, const CXTEXTINFO* info, PixelRect* drawnBox)
{
    if (info == nullptr) return Fail("no text information");
    return DrawTextBlock(x, y, *info, false, drawnBox);
}

bool CxImage::DrawTextBlock(int x, int y, const CXTEXTINFO& info, bool setAlpha, PixelRect* drawnBox)
{
    if (drawnBox != nullptr) *drawnBox = PixelRect{};
    if (!IsValid()) return Fail("no picture");
    const std::vector<std::u32string> lines = text::SplitLines(info.text);
    if (std::all_of(lines.begin(), lines.end(), [](const std::u32string& l) { return l.empty(); }) && !info.opaque)
        return Fail("no text to draw");

    text::TextStyle style;
    style.family = info.lfFaceName.empty() ? kDefaultFace : info.lfFaceName;
    style.pixelSize = info.lfHeight == 0 ? kDefaultPixelSize : std::abs(info.lfHeight);
    style.weight = info.lfWeight;
    style.italic = info.lfItalic;
    style.underline = info.lfUnderline;
    style.smooth = info.smooth;
    style.alignment = info.align == TextAlign::Centre  ? text::Alignment::Centre
                      : info.align == TextAlign::Right ? text::Alignment::Right
                                                       : text::Alignment::Left;
    text::RenderedText rendered;
    std::string error;
    if (!text::RenderText(lines, style, rendered, error)) return Fail(error);

    const RGBQUAD textColour = RGBtoRGBQUAD(info.fcolor);
    const RGBQUAD backColour = RGBtoRGBQUAD(info.bcolor);
    const bool grey = [](RGBQUAD a, RGBQUAD b) {
        return a.rgbRed == a.rgbGreen && a.rgbGreen == a.rgbBlue && b.rgbRed == b.rgbGreen && b.rgbGreen == b.rgbBlue;
    }(textColour, backColour);
    // Palette pictures other than grey ones get text without soft edges, in the nearest
    // palette colour, so they keep their depth.
    const bool blendPlane = m_bpp == 24 || (IsGreyRamp() && grey);

    const cv::Rect picture(0, 0, GetWidth(), GetHeight());
    const cv::Rect blockRect(x, y, rendered.block.width, rendered.block.height);
    const cv::Rect textRect(x - rendered.origin.x, y - rendered.origin.y, rendered.coverage.cols, rendered.coverage.rows);
    cv::Rect drawn;

    return Guarded(m_lastError, [&] {
        // Paints `colour` over the pixels of `area` with the weights of `weights` (0..255).
        const auto paint = [&](const cv::Rect& area, const cv::Mat& weights, RGBQUAD colour) {
            const cv::Rect clipped = area & picture;
            if (clipped.empty()) return;
            drawn = drawn.empty() ? clipped : (drawn | clipped);
            for (int row = clipped.y; row < clipped.y + clipped.height; ++row) {
                const std::uint8_t* w = weights.ptr(row - area.y);
                for (int col = clipped.x; col < clipped.x + clipped.width; ++col) {
                    const int a = w[col - area.x];
                    if (a == 0) continue;
                    if (setAlpha) AlphaSet(col, row, std::max<std::uint8_t>(AlphaGet(col, row), std::uint8_t(a)));
                    if (!blendPlane) {
                        if (a >= 128) SetPixelColor(col, row, colour, false);
                        continue;
                    }
                    const auto mix = [a](int top, int under) { return std::uint8_t((top * a + under * (255 - a) + 127) / 255); };
                    if (m_bpp == 24) {
                        cv::Vec3b& p = m_pixels.at<cv::Vec3b>(row, col);
                        p = cv::Vec3b(mix(colour.rgbBlue, p[0]), mix(colour.rgbGreen, p[1]), mix(colour.rgbRed, p[2]));
                    } else {
                        std::uint8_t& p = m_pixels.at<std::uint8_t>(row, col);
                        p = mix(colour.rgbRed, p);
                    }
                }
            }
        };
        if (info.opaque && !blockRect.empty()) {
            const int radius = int(std::lround(blockRect.height * std::clamp(info.b_round, 0, 100) / 100.0));
            cv::Mat weights = RoundedRectMask(blockRect.size(), radius);
            const double opacity = std::clamp(double(info.b_opacity), 0.0, 1.0);
            weights.convertTo(weights, CV_8UC1, opacity);
            paint(blockRect, weights, backColour);
        }
        if (info.b_outline > 0 && !blockRect.empty()) {
            const int width = std::min(info.b_outline, 1000);
            const cv::Rect frame(blockRect.x - width, blockRect.y - width, blockRect.width + 2 * width,
                                 blockRect.height + 2 * width);
            cv::Mat weights(frame.size(), CV_8UC1, cv::Scalar(255));
            weights(cv::Rect(width, width, blockRect.width, blockRect.height)).setTo(cv::Scalar(0));
            paint(frame, weights, textColour);
        }
        paint(textRect, rendered.coverage, textColour);
        if (drawnBox != nullptr && !drawn.empty())
            *drawnBox = PixelRect{drawn.x, drawn.y, drawn.x + drawn.width, drawn.y + drawn.height};
        return true;
    });
}

}  // namespace vestrel
