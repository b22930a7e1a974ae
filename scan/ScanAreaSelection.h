#pragma once
// Choosing an entry of the image-size list and a picture orientation: the settings, the scan
// state and the camera format change together here; the views (scroll sizes, 1:1 printing,
// rectangle drawing) follow from what these functions return.

#include "ImageSizeList.h"
#include "ScanState.h"
#include "Settings.h"

namespace vestrel::scan {

// The two format switches a size or orientation choice asks of the main camera. Each shows
// its own message on failure and returns false.
class CameraFormatControl {
public:
    virtual ~CameraFormatControl() = default;
    virtual bool setFrameSize(int width, int height) = 0;
    virtual bool setRgb24() = 0;
};

struct SizeSelection {
    bool applied = false;                 // false: the camera refused 2592 x 1944, nothing changed
    ArmPosition arm = ArmPosition::None;  // 1:1 printing on at this position, off for None
    bool startRectangleDrawing = false;   // the preset entry: the still view waits for a drawn rectangle
};

// Selects entry `index` (0..8) from the list, a menu command or the settings dialog. Out of
// range indexes change nothing.
SizeSelection SelectSizeEntry(int index, Settings& settings, ScanState& state,
                              CameraFormatControl& camera);

// The rectangle the user drew in the still view for the preset entry, in top-down pixel
// rows; stored bottom-up, as config.ini has always kept it, and put in force.
void ApplyDrawnPreset(const PixelRect& drawn, Settings& settings);

// After config.ini is loaded: the stored entry is the list's selection with the stored scan
// area (already read by LoadConfig for entries above 0). Entry 0 and an entry out of range
// scan the whole frame. Returns the entry's arm position.
ArmPosition ApplyStartupSize(Settings& settings);

enum class OrientationChoice { Normal, UpsideDown, RotateLeft, RotateRight };

// Sets the orientation. Turning sideways first asks the camera for RGB24 frames; if that
// fails nothing changes and false comes back.
bool SelectOrientation(OrientationChoice choice, Settings& settings, ScanState& state,
                       CameraFormatControl& camera);

}  // namespace vestrel::scan
