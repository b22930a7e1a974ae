#pragma once
// The manual deskew: a handle the user drags around the fitted picture; the picture turns
// so that the line from the pane's centre to the handle stands upright.

#include "CxImage.h"

namespace vestrel::tools {

struct HandlePoint {
    float x = 0, y = 0;
};

// Where the handle starts: half the pane's width across, three tenths of its height down.
HandlePoint StartingHandle(int clientWidth, int clientHeight);

// The turn, in degrees clockwise, for the handle at `handle` in a pane of the given size:
// the handle straight above the centre is 0, to its right positive. The factor is the
// one the program has always used, a hair off 180/pi, so stored results stay the same.
float DeskewAngle(HandlePoint handle, int clientWidth, int clientHeight);

// The handle is grabbed when the pointer lies inside the ellipse bounded by the handle
// +/- 10 pane pixels, the bounds cut to the pane.
bool HandleHit(HandlePoint handle, int pointerX, int pointerY, int clientWidth, int clientHeight);

// The picture kept before the tool started, turned by `degrees` (bilinear, the corners
// grey 200, grown to hold the whole turned picture). False, leaving `out` alone, when the
// turn fails.
bool TurnedFromBackup(const CxImage& backup, float degrees, CxImage& out);

}  // namespace vestrel::tools
