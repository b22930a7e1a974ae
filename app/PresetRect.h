#pragma once
// The preset scan rectangle the user drags on the live picture, turned into frame pixels.
// The live picture is shown either fitted into the pane's 4:3 box or at its own size with
// scrolling; the turn state decides which client axis maps onto which frame axis. Rows of
// `top` and `bottom` are counted from the bottom of the frame, as config.ini has always
// kept them.

#include "Settings.h"

namespace vestrel {

struct ClientRect {
    int x1 = 0, y1 = 0, x2 = 0, y2 = 0;  // drag start and end in pane client pixels
};

struct LiveViewGeometry {
    int clientWidth = 0, clientHeight = 0;
    int scrollX = 0, scrollY = 0;       // only used at actual size
    bool actualSize = false;
    int frameWidth = 2592, frameHeight = 1944;  // lwidth x lheight
    Orientation orientation;
};

struct FrameRect {
    int left = 0, right = 0, top = 0, bottom = 0;
    bool operator==(const FrameRect&) const = default;
};

// A drag no more than this many pixels high and wide is taken for a click.
inline constexpr int kSmallestPresetDrag = 19;

// True when the rectangle is large enough to become the preset rectangle.
bool IsPresetDrag(const ClientRect& r);

// The rectangle in frame pixels; the corners may come in any order.
FrameRect ToFrameRect(const ClientRect& r, const LiveViewGeometry& g);

}  // namespace vestrel
