#include "DeskewHandle.h"

#include <algorithm>
#include <cmath>

namespace vestrel::tools {
namespace {

constexpr double kDegreesPerRadian = 57.297469361769856;
constexpr float kHandleReach = 10.0f;

}  // namespace

HandlePoint StartingHandle(int clientWidth, int clientHeight)
{
    return {0.5f * float(clientWidth), 0.3f * float(clientHeight)};
}

float DeskewAngle(HandlePoint handle, int clientWidth, int clientHeight)
{
    const double across = double(handle.x) - 0.5 * clientWidth;
    const double up = 0.5 * clientHeight - double(handle.y);
    return float(std::atan2(across, up) * kDegreesPerRadian);
}

bool HandleHit(HandlePoint handle, int pointerX, int pointerY, int clientWidth, int clientHeight)
{
    const float left = std::max(0.0f, handle.x - kHandleReach);
    const float top = std::max(0.0f, handle.y - kHandleReach);
    const float right = std::min(float(clientWidth), handle.x + kHandleReach);
    const float bottom = std::min(float(clientHeight), handle.y + kHandleReach);
    const float rx = (right - left) / 2, ry = (bottom - top) / 2;
    if (rx <= 0 || ry <= 0) return false;
    const float cx = (left + right) / 2, cy = (top + bottom) / 2;
    const float nx = (float(pointerX) - cx) / rx, ny = (float(pointerY) - cy) / ry;
    return nx * nx + ny * ny <= 1.0f;
}

bool TurnedFromBackup(const CxImage& backup, float degrees, CxImage& out)
{
    CxImage turned(backup);
    RGBQUAD grey = MakeRgbQuad(200, 200, 200, 200);
    if (!turned.Rotate2(degrees, CxImage::IM_BILINEAR, CxImage::OM_BACKGROUND, &grey, true, false)) return false;
    out = std::move(turned);
    return true;
}

}  // namespace vestrel::tools
