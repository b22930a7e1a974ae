#pragma once
// The free-hand outline as it is drawn over the picture: each segment between two
// consecutive points, mapped to the pane, is walked pixel by pixel, and a counter running
// 1 to 8 makes the pixels at counts 1-4 white and 5-8 black, so that the outline shows on
// any picture. The counter starts again at every redraw.

#include "CQuorvanDoc.h"
#include "ViewGeometry.h"

#include <span>
#include <vector>

namespace vestrel::selection {

struct OutlinePixel {
    int x = 0, y = 0;  // pane point
    bool white = false;
    bool operator==(const OutlinePixel&) const = default;
};

// The pixels of the outline through `points` (picture pixels) as `mapping` draws them.
std::vector<OutlinePixel> LassoOutline(std::span<const document::LassoPoint> points,
                                       const document::ViewMapping& mapping);

}  // namespace vestrel::selection
