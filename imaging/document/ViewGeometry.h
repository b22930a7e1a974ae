#pragma once
// How the still picture sits in the image pane: the scale it is drawn at, the scrolled
// extent it covers, where a pane point falls in the picture, and when the picture is too
// big for the pane so that the pan tool makes sense. Plain arithmetic, shared by the view's
// drawing and by every mouse tool that needs a picture pixel.

#include "ImageTypes.h"

namespace vestrel::document {

struct PaneSize {
    int width = 0, height = 0;
};

// Scale of a picture fitted into the pane: the smaller of the two ratios, computed as
// floats each time. 0 for an empty picture.
float FitScale(PaneSize client, int imageWidth, int imageHeight);

// The scrolled area a picture covers at `zoom`: its size times the zoom, truncated.
PaneSize ZoomedExtent(int imageWidth, int imageHeight, float zoom);

// Everything that decides where a pane point lands in the picture.
struct ViewMapping {
    bool fitWindow = false;
    float zoom = 1.0f;      // used when not fitted
    float fitScale = 1.0f;  // used when fitted
    int scrollX = 0, scrollY = 0;  // ignored when fitted: a fitted picture never scrolls
};

// The picture pixel under a pane point: (point + scroll) / zoom, or point / fit scale when
// fitted, truncated toward zero. The result may lie outside the picture; callers that need
// a pixel of it check the bounds themselves.
PixelPoint ClientToImage(const ViewMapping& mapping, int clientX, int clientY);

// Where picture pixel (x, y)'s top-left corner is drawn in the pane: the inverse of
// ClientToImage, as a point with fractions (a pixel covers zoom x zoom pane points).
struct PanePointF {
    double x = 0, y = 0;
};
PanePointF ImageToClient(const ViewMapping& mapping, double imageX, double imageY);

// The pane rectangle, in whole pane points, that covers picture pixels [left, right) x
// [top, bottom): what a tool repaints after changing those pixels.
struct PaneRect {
    int left = 0, top = 0, right = 0, bottom = 0;  // right and bottom exclusive
};
PaneRect ImageRectToClient(const ViewMapping& mapping, int left, int top, int right, int bottom);

// The pan rule: the picture at `zoom` does not fit the pane in width, or else in height.
// Never while the picture is fitted to the pane.
bool PictureOverflows(PaneSize client, int imageWidth, int imageHeight, float zoom, bool fitWindow);

// One axis of a pan drag: where the pane scrolls to while the pointer is at `pointer`,
// having gone down at `mouseAtDown` with the pane scrolled to `scrollAtDown`. A picture
// wider than the pane follows the pointer and stops at either end; one that fits scrolls
// back to 0.
int PanScrollTarget(int mouseAtDown, int scrollAtDown, int pointer, int client, int extent);

}  // namespace vestrel::document
