#pragma once
// What the information pane writes: a red label and black content on two lines. On the
// live picture it tells the capture settings, timed scanning or recording; on the still
// picture the current file, the active tool's hint, or the zoom and the 1:1 print state.
// The pane draws these pieces.

#include "CQuorvanDoc.h"
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

// What the still picture's texts depend on: the image document's state, and the main
// window's full screen and the view's 1:1 printing.
struct StillHelperInput {
    bool hasImage = false;
    std::string fileDir{};   // with its trailing '/'
    std::string fileName{};
    float zoom = 1.0f;
    bool fitWindow = false;
    bool panTool = false;
    bool eraserTool = false;
    bool penTool = false;
    bool cropTool = false;
    bool freeSelect = false;
    bool rectSelect = false;
    bool pasting = false;
    bool textTool = false;
    bool fullScreen = false;
    bool print11 = false;   // 1:1 printing on
    int printPos = 0;       // camera position of 1:1 printing: 1 top, 2 middle, 3 bottom
};

std::vector<HelperPiece> StillHelperPieces(const StillHelperInput& in);

// The input taken from the image document.
StillHelperInput StillHelperInputOf(const document::CQuorvanDoc& doc, bool fullScreen,
                                    bool print11 = false, int printPos = 0);

// The short product title drawn at the right of both lines.
inline constexpr const char* kHelperTitle = "维斯泰尔";

}  // namespace vestrel
