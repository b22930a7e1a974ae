#pragma once
// The rectangle tracker of the rectangle selection as plain geometry: where its eight
// handles sit (outside the rectangle, so that they never hide a selected pixel), what a
// pane point hits, and how a drag of a handle or of the inside changes the rectangle.
// Coordinates are scrolled pane points (the picture's top-left is 0, 0 at any scroll).

namespace vestrel::selection {

struct TrackRect {
    int left = 0, top = 0, right = 0, bottom = 0;  // right and bottom exclusive
    bool empty() const { return right <= left || bottom <= top; }
    bool operator==(const TrackRect&) const = default;
};

// The parts of the tracker a point can hit; each has its own cursor.
enum class TrackHit { Outside, TopLeft, Top, TopRight, Right, BottomRight, Bottom, BottomLeft, Left, Inside };

inline constexpr int kHandleSize = 7;

// The corners put in order (a rubber band may be drawn in any direction).
TrackRect Normalised(TrackRect rect);
// The rectangle spanned by two points, both inside it.
TrackRect Spanned(int x0, int y0, int x1, int y1);
// The square of handle `hit` (a corner or an edge), as a rectangle.
TrackRect HandleRect(const TrackRect& rect, TrackHit hit);
// What (x, y) hits: a handle first, then the inside. An empty rectangle hits nothing.
TrackHit HitTest(const TrackRect& rect, int x, int y);
// The rectangle after dragging `hit` by (dx, dy): the inside moves it, a handle moves the
// edges it belongs to. The result may be inverted; Normalised puts it right.
TrackRect Dragged(const TrackRect& rect, TrackHit hit, int dx, int dy);

}  // namespace vestrel::selection
