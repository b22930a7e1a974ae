// Selection mask, transparent colour or index, alpha channel, and pasting one picture
// onto another.
#include "CxImage.h"
#include "ImageInternal.h"

#include <opencv2/imgproc.hpp>

namespace vestrel {

using namespace imaging_detail;

// ---- Selection --------------------------------------------------------------------------

bool CxImage::SelectionAddRect(const PixelRect& rect, std::uint8_t level)
{
    if (!IsValid()) return Fail("no picture");
    const cv::Rect wanted(rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top);
    const cv::Rect kept = wanted & cv::Rect(0, 0, GetWidth(), GetHeight());
    if (rect.empty() || kept.empty()) return Fail("the rectangle holds no pixel of the picture");
    return Guarded(m_lastError, [&] {
        if (m_selection.empty()) m_selection = cv::Mat::zeros(m_pixels.size(), CV_8UC1);
        m_selection(kept).setTo(cv::Scalar(level));
        return true;
    });
}

bool CxImage::SelectionAddPolygon(const std::vector<PixelPoint>& points, std::uint8_t level)
{
    return SelectionAddPolygon(points.data(), int(points.size()), level);
}

bool CxImage::SelectionAddPolygon(const PixelPoint* points, int count, std::uint8_t level)
{
    if (!IsValid()) return Fail("no picture");
    if (points == nullptr || count < 3) return Fail("a polygon needs three points");
    return Guarded(m_lastError, [&] {
        // Points far outside cannot matter to the mask; keeping them near the picture keeps
        // OpenCV's fixed-point edge arithmetic in range.
        std::vector<cv::Point> outline;
        outline.reserve(std::size_t(count));
        const int w = GetWidth(), h = GetHeight();
        for (int i = 0; i < count; ++i)
            outline.emplace_back(std::clamp(points[i].x, -w - 1, 2 * w + 1), std::clamp(points[i].y, -h - 1, 2 * h + 1));
        cv::Mat mask = m_selection.empty() ? cv::Mat::zeros(m_pixels.size(), CV_8UC1) : m_selection;
        const std::vector<std::vector<cv::Point>> polygons{outline};
        cv::fillPoly(mask, polygons, cv::Scalar(level));
        cv::polylines(mask, polygons, true, cv::Scalar(level));
        if (cv::countNonZero(mask) == 0) return Fail("the polygon holds no pixel of the picture");
        m_selection = mask;
        return true;
    });
}

bool CxImage::SelectionClear()
{
    if (!m_selection.empty()) m_selection.setTo(cv::Scalar(0));
    return true;
}

bool CxImage::SelectionDelete()
{
    m_selection.release();
    return true;
}

bool CxImage::SelectionIsValid() const
{
    return !m_selection.empty() && cv::countNonZero(m_selection) > 0;
}

bool CxImage::SelectionIsInside(int x, int y) const
{
    if (m_selection.empty() || x < 0 || y < 0 || x >= m_selection.cols || y >= m_selection.rows) return false;
    return m_selection.at<std::uint8_t>(y, x) != 0;
}

bool CxImage::SelectionGetBox(PixelRect& box) const
{
    if (!SelectionIsValid()) return false;
    const cv::Rect r = cv::boundingRect(m_selection);
    box = PixelRect{r.x, r.y, r.x + r.width, r.y + r.height};
    return true;
}

// ---- Transparency -----------------------------------------------------------------------

void CxImage::SetTransIndex(long index)
{
    m_transIndex = index < 0 ? -1 : index;
    if (m_bpp > 0 && m_bpp < 24 && m_transIndex >= long(m_palette.size())) m_transIndex = -1;
}

void CxImage::SetTransColor(RGBQUAD colour)
{
    colour.rgbReserved = 0;
    m_transColor = colour;
    if (m_bpp > 0 && m_bpp < 24) {
        for (std::size_t i = 0; i < m_palette.size(); ++i)
            if (m_palette[i].rgbRed == colour.rgbRed && m_palette[i].rgbGreen == colour.rgbGreen &&
                m_palette[i].rgbBlue == colour.rgbBlue) {
                m_transIndex = long(i);
                return;
            }
        return;
    }
    if (m_transIndex < 0) m_transIndex = 0;
}

RGBQUAD CxImage::GetTransColor() const
{
    if (m_bpp > 0 && m_bpp < 24 && m_transIndex >= 0 && m_transIndex < long(m_palette.size())) {
        RGBQUAD colour = m_palette[std::size_t(m_transIndex)];
        colour.rgbReserved = 0;
        return colour;
    }
    return m_transColor;
}

bool CxImage::IsTransparentAt(int x, int y) const
{
    if (!IsValid() || x < 0 || y < 0 || x >= GetWidth() || y >= GetHeight()) return true;
    if (!m_alpha.empty() && m_alpha.at<std::uint8_t>(y, x) == 0) return true;
    if (m_transIndex < 0) return false;
    if (m_bpp < 24) return m_pixels.at<std::uint8_t>(y, x) == m_transIndex;
    const cv::Vec3b& p = m_pixels.at<cv::Vec3b>(y, x);
    return p[0] == m_transColor.rgbBlue && p[1] == m_transColor.rgbGreen && p[2] == m_transColor.rgbRed;
}

// ---- Alpha ------------------------------------------------------------------------------

bool CxImage::AlphaCreate()
{
    if (!IsValid()) return Fail("no picture");
    if (m_alpha.empty()) m_alpha = cv::Mat(m_pixels.size(), CV_8UC1, cv::Scalar(255));
    return true;
}

void CxImage::AlphaDelete()
{
    m_alpha.release();
}

std::uint8_t CxImage::AlphaGet(int x, int y) const
{
    if (m_alpha.empty() || x < 0 || y < 0 || x >= m_alpha.cols || y >= m_alpha.rows) return 255;
    return m_alpha.at<std::uint8_t>(y, x);
}

void CxImage::AlphaSet(int x, int y, std::uint8_t level)
{
    if (!IsValid() || x < 0 || y < 0 || x >= GetWidth() || y >= GetHeight()) return;
    if (m_alpha.empty() && !AlphaCreate()) return;
    m_alpha.at<std::uint8_t>(y, x) = level;
}

bool CxImage::AlphaSet(std::uint8_t level)
{
    if (!AlphaCreate()) return false;
    m_alpha.setTo(cv::Scalar(level));
    return true;
}

// ---- Pasting ----------------------------------------------------------------------------

bool CxImage::MixFrom(const CxImage& source, int x, int y)
{
    if (!IsValid() || !source.IsValid()) return Fail("no picture");
    const cv::Rect placed(x, y, source.GetWidth(), source.GetHeight());
    const cv::Rect overlap = placed & cv::Rect(0, 0, GetWidth(), GetHeight());
    if (overlap.empty()) return true;  // entirely outside: nothing to paste
    return Guarded(m_lastError, [&] {
        const cv::Rect from = overlap - cv::Point(x, y);
        const bool plain = !source.IsTransparent() && source.m_alpha.empty();
        if (plain && m_bpp == 24) {
            source.ToBgr()(from).copyTo(m_pixels(overlap));
            if (!m_alpha.empty()) m_alpha(overlap).setTo(cv::Scalar(255));
            return true;
        }
        if (plain && m_bpp == source.m_bpp && m_palette == source.m_palette) {
            source.m_pixels(from).copyTo(m_pixels(overlap));
            if (!m_alpha.empty()) m_alpha(overlap).setTo(cv::Scalar(255));
            return true;
        }
        for (int row = 0; row < overlap.height; ++row) {
            for (int col = 0; col < overlap.width; ++col) {
                const int sx = from.x + col, sy = from.y + row;
                if (source.IsTransparentAt(sx, sy)) continue;
                const RGBQUAD s = source.GetPixelColor(sx, sy);
                const int dx = overlap.x + col, dy = overlap.y + row;
                const int a = s.rgbReserved;
                RGBQUAD out = s;
                if (a < 255) {
                    const RGBQUAD d = GetPixelColor(dx, dy);
                    const auto mix = [a](int top, int under) { return std::uint8_t((top * a + under * (255 - a) + 127) / 255); };
                    out = RGBQUAD{mix(s.rgbBlue, d.rgbBlue), mix(s.rgbGreen, d.rgbGreen), mix(s.rgbRed, d.rgbRed), 0};
                }
                SetPixelColor(dx, dy, out, false);
                if (!m_alpha.empty()) {
                    std::uint8_t& da = m_alpha.at<std::uint8_t>(dy, dx);
                    da = std::uint8_t(a + da * (255 - a) / 255);
                }
            }
        }
        return true;
    });
}

}  // namespace vestrel
