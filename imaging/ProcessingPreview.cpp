#include "ProcessingPreview.h"

#include <algorithm>

namespace vestrel {

bool ApplyProcessingPreview(CxImage& image, int threshold, int strength)
{
    if (!image.IsValid()) return false;
    if (strength > 0) {
        const int step = 5 * strength;
        image.Light(0, step);
        // Each plane on its own, so a palette picture comes back as a colour picture with
        // every channel raised.
        CxImage red, green, blue;
        if (image.SplitRGB(&red, &green, &blue)) {
            red.Light(step);
            green.Light(step);
            blue.Light(step);
            image.Combine(&red, &green, &blue);
        }
        image.Light(0, step);
    }
    if (threshold >= 0) image.Threshold(static_cast<std::uint8_t>(std::min(threshold, 255)));
    return true;
}

}  // namespace vestrel
