#include "TrackerGeometry.h"

#include <algorithm>
#include <utility>

namespace vestrel::selection {
namespace {

bool Holds(const TrackRect& r, int x, int y)
{
    return x >= r.left && x < r.right && y >= r.top && y < r.bottom;
}

bool MovesLeft(TrackHit h) { return h == TrackHit::TopLeft || h == TrackHit::Left || h == TrackHit::BottomLeft; }
bool MovesRight(TrackHit h) { return h == TrackHit::TopRight || h == TrackHit::Right || h == TrackHit::BottomRight; }
bool MovesTop(TrackHit h) { return h == TrackHit::TopLeft || h == TrackHit::Top || h == TrackHit::TopRight; }
bool MovesBottom(TrackHit h)
{
    return h == TrackHit::BottomLeft || h == TrackHit::Bottom || h == TrackHit::BottomRight;
}

}  // namespace

TrackRect Normalised(TrackRect r)
{
    if (r.right < r.left) std::swap(r.left, r.right);
    if (r.bottom < r.top) std::swap(r.top, r.bottom);
    return r;
}

TrackRect Spanned(int x0, int y0, int x1, int y1)
{
    return {std::min(x0, x1), std::min(y0, y1), std::max(x0, x1) + 1, std::max(y0, y1) + 1};
}

TrackRect HandleRect(const TrackRect& r, TrackHit hit)
{
    constexpr int s = kHandleSize;
    const int midX = (r.left + r.right) / 2 - s / 2, midY = (r.top + r.bottom) / 2 - s / 2;
    int x = midX, y = midY;
    if (MovesLeft(hit)) x = r.left - s;
    if (MovesRight(hit)) x = r.right;
    if (MovesTop(hit)) y = r.top - s;
    if (MovesBottom(hit)) y = r.bottom;
    return {x, y, x + s, y + s};
}

TrackHit HitTest(const TrackRect& rect, int x, int y)
{
    if (rect.empty()) return TrackHit::Outside;
    for (TrackHit hit : {TrackHit::TopLeft, TrackHit::TopRight, TrackHit::BottomRight, TrackHit::BottomLeft,
                         TrackHit::Top, TrackHit::Right, TrackHit::Bottom, TrackHit::Left})
        if (Holds(HandleRect(rect, hit), x, y)) return hit;
    return Holds(rect, x, y) ? TrackHit::Inside : TrackHit::Outside;
}

TrackRect Dragged(const TrackRect& rect, TrackHit hit, int dx, int dy)
{
    TrackRect r = rect;
    if (hit == TrackHit::Inside) return {r.left + dx, r.top + dy, r.right + dx, r.bottom + dy};
    if (MovesLeft(hit)) r.left += dx;
    if (MovesRight(hit)) r.right += dx;
    if (MovesTop(hit)) r.top += dy;
    if (MovesBottom(hit)) r.bottom += dy;
    return r;
}

}  // namespace vestrel::selection
