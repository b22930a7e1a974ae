#include "ViewGeometry.h"

#include <algorithm>
#include <cmath>

namespace vestrel::document {

float FitScale(PaneSize client, int imageWidth, int imageHeight)
{
    if (imageWidth <= 0 || imageHeight <= 0) return 0.0f;
    return std::min(float(client.width) / float(imageWidth), float(client.height) / float(imageHeight));
}

PaneSize ZoomedExtent(int imageWidth, int imageHeight, float zoom)
{
    return {int(float(imageWidth) * zoom), int(float(imageHeight) * zoom)};
}

PixelPoint ClientToImage(const ViewMapping& m, int clientX, int clientY)
{
    if (m.fitWindow) {
        if (m.fitScale <= 0.0f) return {};
        return {int(float(clientX) / m.fitScale), int(float(clientY) / m.fitScale)};
    }
    if (m.zoom <= 0.0f) return {};
    return {int(float(clientX + m.scrollX) / m.zoom), int(float(clientY + m.scrollY) / m.zoom)};
}

PanePointF ImageToClient(const ViewMapping& m, double imageX, double imageY)
{
    if (m.fitWindow) return {imageX * m.fitScale, imageY * m.fitScale};
    return {imageX * m.zoom - m.scrollX, imageY * m.zoom - m.scrollY};
}

PaneRect ImageRectToClient(const ViewMapping& m, int left, int top, int right, int bottom)
{
    const PanePointF a = ImageToClient(m, left, top);
    const PanePointF b = ImageToClient(m, right, bottom);
    // Outward to whole points, and one more for the smoothing of a scaled-down drawing.
    return {int(std::floor(a.x)) - 1, int(std::floor(a.y)) - 1, int(std::ceil(b.x)) + 1,
            int(std::ceil(b.y)) + 1};
}

bool PictureOverflows(PaneSize client, int imageWidth, int imageHeight, float zoom, bool fitWindow)
{
    if (fitWindow) return false;
    return float(client.width) < float(imageWidth) * zoom ||
           float(client.height) < float(imageHeight) * zoom;
}

int PanScrollTarget(int mouseAtDown, int scrollAtDown, int pointer, int client, int extent)
{
    if (client >= extent) return 0;
    return std::clamp(mouseAtDown + scrollAtDown - pointer, 0, extent - client);
}

}  // namespace vestrel::document
