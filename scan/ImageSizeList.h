#pragma once
// The image-size list: nine entries, each a scan area in pixels of a 2592 x 1944 frame, the
// camera-arm position that 1:1 printing uses, and whether choosing it forces that frame
// size. Plus the geometry that turns the settings into the rectangle a scan keeps.

#include "ImageTypes.h"
#include "Settings.h"

#include <array>
#include <string_view>

namespace vestrel::scan {

enum class ArmPosition { None, Top, Middle, Bottom };

inline constexpr int kWholeFrameEntry = 0;
inline constexpr int kPresetEntry = 8;
inline constexpr int kSizeEntryCount = 9;
inline constexpr int kFullFrameWidth = 2592;
inline constexpr int kFullFrameHeight = 1944;

struct ImageSizeEntry {
    std::string_view label;     // text in the tool bar's size list
    int commandId;              // menu command selecting the entry
    std::string_view menuText;  // empty when the entry has no menu item
    int w, h;                   // scan area; 0 x 0 for the whole frame and for the preset
    ArmPosition arm;
    bool forcesFullFrame;       // choosing it switches the camera to 2592 x 1944
};

const std::array<ImageSizeEntry, kSizeEntryCount>& ImageSizeList();

// The part of a frame of the given size that a scan keeps: the preset rectangle while it is
// in force (its top and bottom count rows from the bottom, as config.ini keeps them), else
// the centred w x h area. The result is cut to the frame; an area that misses the frame
// entirely, or a scan area of no size (a fresh config.ini has w = h = 0), keeps the whole
// frame, so a scan never comes out empty.
PixelRect ScanAreaRect(const Settings& settings, int frameWidth, int frameHeight);

// The entry whose check mark the size commands show, or -1 for none: an entry of 1..7 when
// its w and h match and no preset is in force, 0 when w x h is the whole frame and no
// preset is in force, 8 while the preset is in force.
int CheckedSizeEntry(const Settings& settings);

}  // namespace vestrel::scan
