#pragma once
// The pane sizes of the main window: the normal layout (image pane 19/22 of the screen
// width, live picture 71/88 of its height, button pane 150 pixels high) and the full-screen
// one (the image pane alone, 23/25 of the screen height).

namespace vestrel {

struct SplitterSizes {
    int imageColumn = 0, sideColumn = 0;   // main splitter
    int imageRow = 0, infoRow = 0;         // left splitter
    int buttonRow = 0, libraryRow = 0;     // right splitter
    bool operator==(const SplitterSizes&) const = default;
};

inline constexpr int kButtonPaneHeight = 150;
inline constexpr int kSmallestPane = 10;

// `width` x `height` is the screen; the second of each pair takes what is left of it.
SplitterSizes NormalSplitterSizes(int width, int height);
SplitterSizes FullScreenSplitterSizes(int width, int height);

}  // namespace vestrel
