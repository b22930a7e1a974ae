#include "ThumbnailGeometry.h"

#include <algorithm>

namespace vestrel::library {

ThumbnailRect ThumbnailPlacement(int width, int height)
{
    ThumbnailRect rect;
    const double ratio = double(height) / double(width);
    if (ratio > 1.0) {
        rect.width = std::max(1, int(kThumbnailSide / ratio));
        rect.height = kThumbnailSide;
        rect.x = (kThumbnailSide - rect.width) / 2;
    } else {
        rect.width = kThumbnailSide;
        // A strip many times wider than high would round to nothing; keep one row of it.
        rect.height = std::max(1, int(ratio * kThumbnailSide));
        rect.y = (kThumbnailSide - rect.height) / 2;
    }
    return rect;
}

}  // namespace vestrel::library
