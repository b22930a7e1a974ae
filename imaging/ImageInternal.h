#pragma once
// Helpers shared by the files of CxImage; not part of its interface.

#include "ImageTypes.h"

#include <opencv2/core.hpp>

#include <algorithm>
#include <cstdint>
#include <exception>
#include <string>
#include <vector>

namespace vestrel::imaging_detail {

// 2^bpp entries from black to white.
std::vector<RGBQUAD> GreyPalette(int bpp);

inline std::uint8_t Clamp8(int value)
{
    return std::uint8_t(std::clamp(value, 0, 255));
}

// Luminance with the usual weights, in integers: (R*299 + G*587 + B*114 + 500) / 1000.
inline std::uint8_t Luminance(int red, int green, int blue)
{
    return std::uint8_t((red * 299 + green * 587 + blue * 114 + 500) / 1000);
}

inline bool SizeAllowed(std::int64_t width, std::int64_t height, std::int64_t maxPixels)
{
    return width > 0 && height > 0 && width <= maxPixels && height <= maxPixels &&
           width * height <= maxPixels;
}

// A resolution we keep: finite and at most a million dots per inch; anything else is
// "unknown" (0), the way a file without resolution reads.
inline double UsableDpi(double dpi)
{
    return dpi > 0 && dpi <= 1e6 ? dpi : 0;
}

// The palette expanded: BGR picture of the indices.
cv::Mat ExpandPalette(const cv::Mat& indices, const std::vector<RGBQUAD>& palette);

// Runs an OpenCV-using step, turning any exception into false with the message.
template <class Step>
bool Guarded(std::string& error, Step step)
{
    try {
        return step();
    } catch (const cv::Exception& e) {
        error = e.what();
    } catch (const std::exception& e) {
        error = e.what();
    }
    return false;
}

}  // namespace vestrel::imaging_detail
