#include "ResolutionSettings.h"

#include "CxImage.h"

#include <cmath>
#include <cstdlib>

namespace vestrel::operations {

ResolutionSettings InitialResolution(int width, int height)
{
    ResolutionSettings s;
    s.originalWidth = width;
    s.originalHeight = height;
    s.newWidth = int(width * s.factor + 0.5f);
    s.newHeight = int(height * s.factor + 0.5f);
    return s;
}

std::optional<NewSize> SizeForFactorText(const std::string& text, int originalWidth, int originalHeight)
{
    if (!text.empty() && text.back() == '.') return std::nullopt;
    if (!text.empty() && text.back() == '0' && text.find('.') != std::string::npos) return std::nullopt;
    const double factor = std::fabs(std::atof(text.c_str()));
    // A factor so large that the size would not fit an int is no size at all.
    const double width = factor * originalWidth, height = factor * originalHeight;
    if (!(width < 2147483647.0) || !(height < 2147483647.0)) return NewSize{0, 0};
    return NewSize{int(width), int(height)};
}

bool UsableNewSize(int width, int height)
{
    return width > 0 && height > 0 && std::int64_t(width) * height <= CxImage::kMaxPixels;
}

}  // namespace vestrel::operations
