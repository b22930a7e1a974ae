#include "VideoWindowPlacement.h"

#include <algorithm>
#include <cstdint>

namespace vestrel {
namespace {

int clampLevel(int level) { return std::clamp(level, 0, kMaxZoomLevel); }

// a * b / c on whole pixels, cut towards zero; 0 when c is not positive.
int scaled(std::int64_t a, std::int64_t b, std::int64_t c)
{
    return c > 0 ? int(a * b / c) : 0;
}

}  // namespace

VideoWindowRect LayoutVideoWindow(int W, int H, bool sideways, bool topOffset)
{
    W = std::max(W, 0);
    H = std::max(H, 0);
    VideoWindowRect r;
    r.top = topOffset ? kSecondCameraTopOffset : 0;
    if (!sideways) {
        r.width = std::min(W, scaled(H, 4, 3));
        r.height = std::min(scaled(W, 3, 4), H);
    } else {
        r.width = std::min(scaled(H, 3, 4), W);
        r.height = std::min(H, scaled(W, 4, 3));
    }
    return r;
}

VideoWindowRect ActualSizeVideoWindow(int frameWidth, int frameHeight, bool sideways)
{
    VideoWindowRect r;
    r.width = sideways ? frameHeight : frameWidth;
    r.height = sideways ? frameWidth : frameHeight;
    return r;
}

VideoWindowRect ZoomVideoWindowActualSize(int level, int frameWidth, int frameHeight, bool sideways)
{
    const int z = clampLevel(level);
    VideoWindowRect r;
    if (!sideways) {
        r = {-200 * z, -150 * z, frameWidth + 400 * z, frameHeight + 300 * z};
    } else {
        r = {-150 * z, -200 * z, frameHeight + 300 * z, frameWidth + 400 * z};
    }
    r.forwardsInput = z == 0;
    return r;
}

VideoWindowRect ZoomVideoWindowFitted(int level, int W, int H, int frameWidth, int frameHeight,
                                      bool sideways, bool topOffset)
{
    const int z = clampLevel(level);
    const VideoWindowRect box = LayoutVideoWindow(W, H, sideways, topOffset);
    // Turned sideways, the picture's width is the frame's height: 150 and 300 go with the
    // box width, 200 and 400 with the box height.
    const int shownWidth = sideways ? frameHeight : frameWidth;
    const int shownHeight = sideways ? frameWidth : frameHeight;
    const int growX = sideways ? 150 : 200;
    const int growY = sideways ? 200 : 150;
    VideoWindowRect r;
    r.left = -scaled(std::int64_t(growX) * z, box.width, shownWidth);
    r.top = -scaled(std::int64_t(growY) * z, box.height, shownHeight);
    r.width = scaled(box.width, shownWidth + 2 * growX * z, shownWidth);
    r.height = scaled(box.height, shownHeight + 2 * growY * z, shownHeight);
    return r;
}

}  // namespace vestrel
