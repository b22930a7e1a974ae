#include "PresetRect.h"

#include <algorithm>
#include <cstdlib>

namespace vestrel {
namespace {

bool TurnedSideways(const Orientation& o) { return o.rotateLeft || o.rotateRight; }

// The extent of the fitted picture along one client axis.
struct ShownBox {
    int width = 0, height = 0;
};

ShownBox FittedBox(const LiveViewGeometry& g)
{
    const int w = g.clientWidth, h = g.clientHeight;
    if (TurnedSideways(g.orientation))
        return {std::min(w, int(0.75 * h)), std::min(h, w * 4 / 3)};
    return {std::min(w, h * 4 / 3), std::min(h, int(0.75 * w))};
}

// Client coordinate c along one axis onto frame dimension `frameDim`; `shown` is the
// fitted extent of that axis, `scroll` the scroll position used at actual size.
int Onto(int c, int frameDim, int shown, int scroll, bool actualSize)
{
    if (actualSize) return std::clamp(c + scroll, 0, frameDim);
    if (shown <= 0) return 0;
    const int clamped = std::clamp(c, 0, shown);
    return int(static_cast<long long>(clamped) * frameDim / shown);
}

}  // namespace

bool IsPresetDrag(const ClientRect& r)
{
    return std::abs(r.y2 - r.y1) > kSmallestPresetDrag || std::abs(r.x2 - r.x1) > kSmallestPresetDrag;
}

FrameRect ToFrameRect(const ClientRect& in, const LiveViewGeometry& g)
{
    const int x1 = std::min(in.x1, in.x2), x2 = std::max(in.x1, in.x2);
    const int y1 = std::min(in.y1, in.y2), y2 = std::max(in.y1, in.y2);
    const int W = g.frameWidth, H = g.frameHeight;
    const ShownBox box = FittedBox(g);
    // x runs along the box width, y along its height, whatever frame axis they land on.
    auto xOnto = [&](int c, int dim) { return Onto(c, dim, box.width, g.scrollX, g.actualSize); };
    auto yOnto = [&](int c, int dim) { return Onto(c, dim, box.height, g.scrollY, g.actualSize); };

    const Orientation& o = g.orientation;
    if (o.rotateRight) return {yOnto(y1, W), yOnto(y2, W), xOnto(x1, H), xOnto(x2, H)};
    if (o.rotateLeft) return {W - yOnto(y2, W), W - yOnto(y1, W), H - xOnto(x2, H), H - xOnto(x1, H)};
    if (o.upsideDown) return {W - xOnto(x2, W), W - xOnto(x1, W), yOnto(y1, H), yOnto(y2, H)};
    return {xOnto(x1, W), xOnto(x2, W), H - yOnto(y2, H), H - yOnto(y1, H)};
}

}  // namespace vestrel
