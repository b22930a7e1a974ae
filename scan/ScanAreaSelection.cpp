#include "ScanAreaSelection.h"

namespace vestrel::scan {

SizeSelection SelectSizeEntry(int index, Settings& s, ScanState& state, CameraFormatControl& camera)
{
    if (index < 0 || index >= kSizeEntryCount) return {};
    const ImageSizeEntry& entry = ImageSizeList()[index];
    state.zoomLevel = 0;
    if (entry.forcesFullFrame) {
        if (!camera.setFrameSize(kFullFrameWidth, kFullFrameHeight)) return {};
        s.lwidth = kFullFrameWidth;
        s.lheight = kFullFrameHeight;
    }
    if (entry.w > 0) {
        s.w = entry.w;
        s.h = entry.h;
    } else {
        s.w = s.lwidth;
        s.h = s.lheight;
    }
    s.size = index;
    SizeSelection result{true, entry.arm, false};
    if (index == kPresetEntry) {
        // Until the user draws, the preset rectangle is the whole frame, not yet in force.
        s.left = 0;
        s.right = s.lwidth;
        s.top = 0;
        s.bottom = s.lheight;
        s.presetInForce = false;
        result.startRectangleDrawing = true;
    } else {
        s.presetInForce = false;
    }
    return result;
}

void ApplyDrawnPreset(const PixelRect& drawn, Settings& s)
{
    s.left = drawn.left;
    s.right = drawn.right;
    s.top = s.lheight - drawn.bottom;
    s.bottom = s.lheight - drawn.top;
    s.presetInForce = true;
}

ArmPosition ApplyStartupSize(Settings& s)
{
    if (s.size <= 0 || s.size >= kSizeEntryCount) {
        s.size = kWholeFrameEntry;
        s.w = s.lwidth;
        s.h = s.lheight;
        s.presetInForce = false;
        return ArmPosition::None;
    }
    return ImageSizeList()[s.size].arm;
}

bool SelectOrientation(OrientationChoice choice, Settings& s, ScanState& state,
                       CameraFormatControl& camera)
{
    state.zoomLevel = 0;
    const bool sideways = choice == OrientationChoice::RotateLeft || choice == OrientationChoice::RotateRight;
    if (sideways && !camera.setRgb24()) return false;
    s.orientation = Orientation{choice == OrientationChoice::UpsideDown,
                                choice == OrientationChoice::RotateLeft,
                                choice == OrientationChoice::RotateRight};
    return true;
}

}  // namespace vestrel::scan
