#include "CaptureTypes.h"

namespace vestrel {

std::string FourccText(std::uint32_t fourcc)
{
    std::string text;
    for (int i = 0; i < 4; ++i) {
        const char c = char((fourcc >> (8 * i)) & 0xff);
        text += (c >= 32 && c < 127) ? c : '?';
    }
    return text;
}

}  // namespace vestrel
