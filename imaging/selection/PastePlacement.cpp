#include "PastePlacement.h"

#include <algorithm>

namespace vestrel::selection {
namespace {

int Limit(int picture, int paste, float scale)
{
    return std::max(0, int(float(picture - paste) * scale));
}

}  // namespace

PastePoint MergeCell(PastePoint at, float scale)
{
    if (!(scale > 0)) return {};
    return {int(float(at.x) / scale), int(float(at.y) / scale)};
}

PastePoint ClampMark(PastePoint wanted, PictureSize picture, PictureSize mark, float scale)
{
    return {std::clamp(wanted.x, 0, Limit(picture.width, mark.width, scale)),
            std::clamp(wanted.y, 0, Limit(picture.height, mark.height, scale))};
}

}  // namespace vestrel::selection
