#include "BrushStroke.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace vestrel::tools {

void WalkLine(PixelPoint from, PixelPoint to, const std::function<void(PixelPoint)>& visit)
{
    const int dx = to.x - from.x;
    const int dy = to.y - from.y;
    const int steps = std::max(std::abs(dx), std::abs(dy));
    if (steps == 0) {
        visit(from);
        return;
    }
    const double stepX = double(dx) / steps;
    const double stepY = double(dy) / steps;
    for (int i = 0; i <= steps; ++i)
        visit({from.x + int(std::lround(stepX * i)), from.y + int(std::lround(stepY * i))});
}

PixelRect BrushBox(PixelPoint at, int side)
{
    side = std::max(1, side);
    const int left = at.x - side / 2;
    const int top = at.y - side / 2;
    return {left, top, left + side, top + side};
}

PixelRect StampBrush(CxImage& image, PixelPoint at, const document::StrokeBrush& brush)
{
    if (!image.IsValid()) return {};
    const PixelRect box = BrushBox(at, brush.side);
    const PixelRect cut{std::max(box.left, 0), std::max(box.top, 0), std::min(box.right, image.GetWidth()),
                        std::min(box.bottom, image.GetHeight())};
    if (cut.empty()) return {};
    const cv::Rect area(cut.left, cut.top, cut.width(), cut.height());
    const RGBQUAD colour = CxImage::RGBtoRGBQUAD(brush.colour);
    cv::Mat pixels = image.Pixels()(area);
    if (image.GetBpp() == 24)
        pixels.setTo(cv::Scalar(colour.rgbBlue, colour.rgbGreen, colour.rgbRed));
    else
        pixels.setTo(cv::Scalar(image.GetNearestIndex(colour)));
    if (image.AlphaIsValid())
        for (int y = cut.top; y < cut.bottom; ++y)
            for (int x = cut.left; x < cut.right; ++x) image.AlphaSet(x, y, 255);
    return cut;
}

PixelRect Unite(const PixelRect& a, const PixelRect& b)
{
    if (a.empty()) return b;
    if (b.empty()) return a;
    return {std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
            std::max(a.bottom, b.bottom)};
}

PixelRect BrushStroke::begin(CxImage& image, PixelPoint at, const document::StrokeBrush& brush)
{
    image.SetTransIndex(-1);
    last_ = at;
    active_ = true;
    return StampBrush(image, at, brush);
}

PixelRect BrushStroke::extend(CxImage& image, PixelPoint at, const document::StrokeBrush& brush)
{
    if (!active_) return {};
    image.SetTransIndex(-1);
    PixelRect changed;
    WalkLine(last_, at, [&](PixelPoint p) { changed = Unite(changed, StampBrush(image, p, brush)); });
    last_ = at;
    return changed;
}

}  // namespace vestrel::tools
