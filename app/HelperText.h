#pragma once
// What the information pane writes while the live picture is shown: a red label and black
// content on two lines, about the capture settings, timed scanning or recording. The pane
// draws these pieces; the still-picture texts belong to the image document.

#include "Settings.h"

#include <string>
#include <vector>

namespace vestrel {

struct HelperPiece {
    int x = 0;          // left edge in pane pixels
    int line = 0;       // 0 the upper line, 1 the lower
    bool label = false; // drawn red
    std::string text{};
    bool operator==(const HelperPiece&) const = default;
};

struct LiveHelperInput {
    bool timedScanning = false;
    bool recording = false;
    bool recordingLimitSet = false;
    long remainingSeconds = 0;
    int sizeEntry = 0;          // selected entry of the size list
    bool presetState = false;   // the preset rectangle is awaited or drawn
    const Settings* settings = nullptr;  // switches, extension and resolution
};

std::vector<HelperPiece> LiveHelperPieces(const LiveHelperInput& in);

// The short product title drawn at the right of both lines.
inline constexpr const char* kHelperTitle = "维斯泰尔";

}  // namespace vestrel
