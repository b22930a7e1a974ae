#pragma once
// Where the video window sits inside its owner: fitted to the owner's client area, at the
// frame's own size, or digitally zoomed. Pure functions of the client size, the frame
// size, the turn, the zoom level and the top offset; results are cut to whole pixels.

namespace vestrel {

// The second camera's window starts this far below the top of its dialog, leaving room
// for the dialog's controls.
inline constexpr int kSecondCameraTopOffset = 33;
inline constexpr int kMaxZoomLevel = 6;

struct VideoWindowRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    bool forwardsInput = true;  // mouse and keys go on to the owner window
    bool operator==(const VideoWindowRect&) const = default;
};

// Window-size mode: a 4:3 box (3:4 when turned sideways) as large as the client allows.
VideoWindowRect LayoutVideoWindow(int clientWidth, int clientHeight, bool turnedSideways,
                                  bool topOffset);

// Actual-size mode: the frame's own size, exchanged when turned sideways.
VideoWindowRect ActualSizeVideoWindow(int frameWidth, int frameHeight, bool turnedSideways);

// Digital zoom at `level` 0..6 (clamped) in actual-size mode; the window forwards input
// to its owner only at level 0.
VideoWindowRect ZoomVideoWindowActualSize(int level, int frameWidth, int frameHeight,
                                          bool turnedSideways);

// Digital zoom at `level` 0..6 (clamped) in window-size mode: the fitted box of
// LayoutVideoWindow grown by the zoom and moved so that its middle stays in place.
VideoWindowRect ZoomVideoWindowFitted(int level, int clientWidth, int clientHeight,
                                      int frameWidth, int frameHeight, bool turnedSideways,
                                      bool topOffset);

}  // namespace vestrel
