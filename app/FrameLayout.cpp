#include "FrameLayout.h"

#include <algorithm>

namespace vestrel {

SplitterSizes NormalSplitterSizes(int width, int height)
{
    SplitterSizes s;
    s.imageColumn = std::max(kSmallestPane, width * 19 / 22);
    s.sideColumn = std::max(0, width - s.imageColumn);
    s.imageRow = std::max(kSmallestPane, height * 71 / 88);
    s.infoRow = std::max(0, height - s.imageRow);
    s.buttonRow = kButtonPaneHeight;
    s.libraryRow = std::max(0, height - kButtonPaneHeight);
    return s;
}

SplitterSizes FullScreenSplitterSizes(int width, int height)
{
    SplitterSizes s;
    s.imageColumn = width;
    s.sideColumn = 0;
    s.imageRow = std::max(kSmallestPane, height * 23 / 25);
    s.infoRow = std::max(0, height - s.imageRow);
    s.buttonRow = kButtonPaneHeight;
    s.libraryRow = std::max(0, height - kButtonPaneHeight);
    return s;
}

}  // namespace vestrel
