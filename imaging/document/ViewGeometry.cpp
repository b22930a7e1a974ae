#include "ViewGeometry.h"

#include <algorithm>

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
