#pragma once
// Eraser and pen strokes on the picture: a square brush stamped at every integer point of
// the straight line between two pointer positions, so that a quick move leaves no gap
// however far the pointer jumped between two mouse events.

#include "CQuorvanDoc.h"
#include "CxImage.h"
#include "ImageTypes.h"

#include <functional>

namespace vestrel::tools {

// Every integer point from `from` to `to`, both included, in order (a DDA walk: one step
// along the longer axis, the shorter one rounded).
void WalkLine(PixelPoint from, PixelPoint to, const std::function<void(PixelPoint)>& visit);

// The pixels a brush of side `side` covers when stamped at `at`: the point lies at the
// square's centre (for an even side just below and right of it), so a 1-pixel brush
// covers the pixel under the pointer.
PixelRect BrushBox(PixelPoint at, int side);

// Paints the brush's square into `image`, cut to the picture; palette pictures take the
// nearest entry, and an alpha channel becomes opaque there. Returns the pixels changed
// (empty when the square lies outside).
PixelRect StampBrush(CxImage& image, PixelPoint at, const document::StrokeBrush& brush);

// The smallest rectangle holding both (an empty one counts as nothing).
PixelRect Unite(const PixelRect& a, const PixelRect& b);

// One stroke: the point where the button went down, then each pointer position. Each call
// paints and says which pixels it changed, for the pane to repaint only those.
class BrushStroke {
public:
    // Stamps the brush at the first point. A transparent colour of the picture goes, so
    // that the marks show whatever colour they have.
    PixelRect begin(CxImage& image, PixelPoint at, const document::StrokeBrush& brush);
    // Stamps along the line from the last point to `at`.
    PixelRect extend(CxImage& image, PixelPoint at, const document::StrokeBrush& brush);
    bool active() const { return active_; }
    void end() { active_ = false; }

private:
    PixelPoint last_;
    bool active_ = false;
};

}  // namespace vestrel::tools
