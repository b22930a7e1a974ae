#pragma once
// Where the floating paste sits. Its place is kept as the view keeps it: the top-left in
// scrolled pane points (pane points when the picture is fitted), so that it stays over the
// same pixels while the pane scrolls; `scale` is the zoom, or the fit scale when fitted.

namespace vestrel::selection {

struct PastePoint {
    int x = 0, y = 0;
    bool operator==(const PastePoint&) const = default;
};

struct PictureSize {
    int width = 0, height = 0;
};

// The picture pixel the paste's top-left covers, where a merge puts it.
PastePoint MergeCell(PastePoint at, float scale);

// A mark under the pointer: its top-left at `wanted`, kept inside the picture
// (0 .. (picture - mark) x scale each way). A mark just turned is kept inside the same way.
PastePoint ClampMark(PastePoint wanted, PictureSize picture, PictureSize mark, float scale);

}  // namespace vestrel::selection
