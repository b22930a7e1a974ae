#pragma once
// Everything the enable and check rules of the main window look at, gathered in one plain
// struct so that a rule is a function of it and can be tested without a window.

#include "Settings.h"

namespace vestrel {

// The subsystems whose commands the main window routes. A command whose subsystem is not
// part of this build stays in its menu, disabled.
enum class Feature {
    Frame,           // the main window itself: view switches, tray, help, defaults
    Capture,         // the live camera picture and the second camera
    CaptureDialogs,  // the camera's property and format dialogs
    Scanning,        // size list and orientation
    ScanStore,       // the scan command and timed scanning: frames stored as files
    ScanSettings,    // the scan-settings dialog and the scan interval
    Recording,       // video recording
    Document,        // the image document: open, save, history, zoom, the pan tool
    Clipboard,       // cut, copy, paste and the floating paste
    Printing,
    Library,         // the photo-library pane
    Pdf,             // PDF composition and the e-book
    Signatures,      // signature files and stamps
    Mail,            // mail link and the fax web page
    TextRecognition,
    IdCardCopy,
    ImageOperations,  // the effects and corrections of the "图像" and "效果" menus
    Selection,        // the rectangle and free-hand selections and the crop
    ViewTools,        // the still view's eraser, pen, text, font and manual deskew
    Count
};

struct FeatureSet {
    bool built[int(Feature::Count)] = {};
    bool has(Feature f) const { return built[int(f)]; }
    FeatureSet& add(Feature f) { built[int(f)] = true; return *this; }
};

struct FrameState {
    FeatureSet features;
    bool liveMode = true;          // the image pane shows the camera
    bool recording = false;        // frames are being written to a recording
    bool recordingOpen = false;    // a recording's tool window is open (stopped or not)
    bool recordingStopped = false; // its recording has been stopped
    bool recordNoStopNeeded = false; // stopped or played: closing it stops nothing
    bool timedScanning = false;
    bool hasImage = false;         // the document holds a current image
    bool canBack = false;          // the document's history allows Back
    bool canForward = false;
    bool canZoomIn = false;        // below the largest zoom, not fitted
    bool canZoomOut = false;
    bool fitWindow = false;        // the still image is fitted to the pane
    bool panTool = false;
    bool textTool = false;
    bool eraserTool = false;
    bool penTool = false;
    int eraserSize = 5;            // the eraser's and the pen's square side
    int penSize = 4;
    bool imageOverflows = false;   // at its zoom the image does not fit the still pane
    bool fullScreen = false;
    bool actualSize = false;       // the live picture is shown at its own size
    bool secondCameraOpen = false;
    bool idCardCopyMode = false;
    int idCardCopyStep = 1;        // 1: the next side is a front, 2: a back
    bool ebookRunning = false;
    bool printPreview = false;     // the position-adjusting print preview is open
    bool print11 = false;          // 1:1 printing on
    int printPos = 0;              // its camera arm position: 1 top, 2 middle, 3 bottom
    bool imageBusy = false;        // an image operation is changing the picture
    bool hasSelection = false;     // the picture has selected pixels
    bool floatingPaste = false;    // a pasted picture floats over the picture
    bool clipboardHasPicture = false;  // the desktop clipboard holds a picture to paste
    bool rectSelectTool = false;   // the rectangle selection is on (not crop mode)
    bool freeSelectTool = false;
    bool cropTool = false;         // crop mode
    int sizeEntryInForce = 0;      // entry whose scan area is in force, -1 for none
    Orientation orientation;
};

// No recording runs, the live picture is shown and no timed scan runs.
inline bool ScanReady(const FrameState& s)
{
    return !s.recording && s.liveMode && !s.timedScanning;
}

}  // namespace vestrel
