#pragma once
// Where a picture lands in its thumbnail square: scaled to touch two opposite sides of the
// 90-pixel square and centred along the other direction, as the library pane has always
// drawn them (a 400 x 300 scan becomes 90 x 67 at y 11).

namespace vestrel::library {

inline constexpr int kThumbnailSide = 90;

struct ThumbnailRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    bool operator==(const ThumbnailRect&) const = default;
};

// The drawn rectangle of a width x height picture (both above 0) inside the square. The
// scaled side is cut to whole pixels, never below one.
ThumbnailRect ThumbnailPlacement(int width, int height);

}  // namespace vestrel::library
