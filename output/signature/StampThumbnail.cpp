#include "StampThumbnail.h"

namespace vestrel::signature {

StampRect StampThumbnailRect(int width, int height)
{
    if (width <= 0 || height <= 0) return {};
    const double ratio = double(height) / double(width);
    StampRect r;
    if (ratio > double(kStampCellHeight) / double(kStampCellWidth)) {
        r.height = kStampCellHeight;
        r.width = static_cast<int>(kStampCellHeight / ratio);
        r.x = (kStampCellWidth - r.width) / 2;
    } else {
        r.width = kStampCellWidth;
        r.height = static_cast<int>(kStampCellWidth * ratio);
        r.y = (kStampCellHeight - r.height) / 2;
    }
    return r;
}

}  // namespace vestrel::signature
