#pragma once
// Where a stamp's picture goes in its 180 × 50 thumbnail cell: as large as the cell allows
// with its shape kept, centred along the side it does not fill.

namespace vestrel::signature {

inline constexpr int kStampCellWidth = 180;
inline constexpr int kStampCellHeight = 50;

struct StampRect {
    int x = 0, y = 0, width = 0, height = 0;
    bool operator==(const StampRect&) const = default;
};

// The rectangle, in the cell, of a `width` × `height` stamp. An empty picture gets an
// empty rectangle.
StampRect StampThumbnailRect(int width, int height);

}  // namespace vestrel::signature
