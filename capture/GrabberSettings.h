#pragma once
// What the frame grabber takes from the scan settings: the scan area for the preview mask
// and the orientation the live picture is turned to.

#include "Settings.h"

namespace vestrel {

struct GrabberSettings {
    // The preset (user-drawn) rectangle. Columns left..right-1; top and bottom count rows
    // from the bottom row of the frame, as config.ini has always kept them, so the rows
    // top..bottom-1 from the bottom are the ones left clear.
    int left = 0;
    int right = 0;
    int top = 0;
    int bottom = 0;
    bool preset = false;  // the preset rectangle is the scan area
    int w = 0;            // scan-area width and height, centred on a 2592 x 1944 frame
    int h = 0;
    Orientation orientation;
    bool operator==(const GrabberSettings&) const = default;
};

GrabberSettings GrabberSettingsFrom(const Settings& settings);

// Left or right turns swap the picture's width and height.
inline bool TurnedSideways(const Orientation& o) { return o.rotateLeft || o.rotateRight; }

}  // namespace vestrel
