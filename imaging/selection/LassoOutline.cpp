#include "LassoOutline.h"

#include <cmath>
#include <cstdlib>

namespace vestrel::selection {
namespace {

struct PanePoint {
    int x = 0, y = 0;
};

PanePoint ToPane(const document::LassoPoint& p, const document::ViewMapping& mapping)
{
    const document::PanePointF f = document::ImageToClient(mapping, p.x, p.y);
    return {int(std::lround(f.x)), int(std::lround(f.y))};
}

}  // namespace

std::vector<OutlinePixel> LassoOutline(std::span<const document::LassoPoint> points,
                                       const document::ViewMapping& mapping)
{
    std::vector<OutlinePixel> pixels;
    int counter = 0;
    for (std::size_t i = 1; i < points.size(); ++i) {
        const PanePoint from = ToPane(points[i - 1], mapping), to = ToPane(points[i], mapping);
        // Bresenham's walk: every pixel of the segment once, its first one included.
        const int dx = std::abs(to.x - from.x), dy = -std::abs(to.y - from.y);
        const int sx = from.x < to.x ? 1 : -1, sy = from.y < to.y ? 1 : -1;
        int error = dx + dy, x = from.x, y = from.y;
        while (true) {
            counter = counter % 8 + 1;
            pixels.push_back({x, y, counter <= 4});
            if (x == to.x && y == to.y) break;
            const int twice = 2 * error;
            if (twice >= dy) error += dy, x += sx;
            if (twice <= dx) error += dx, y += sy;
        }
    }
    return pixels;
}

}  // namespace vestrel::selection
