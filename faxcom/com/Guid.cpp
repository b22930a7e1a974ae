#include "Guid.h"

#include <cctype>
#include <cstdio>
#include <cstring>

namespace vestrel::com {

bool SameGuid(const GUID& a, const GUID& b)
{
    return std::memcmp(&a, &b, sizeof(GUID)) == 0;
}

std::string FormatGuid(const GUID& g)
{
    char text[40];
    std::snprintf(text, sizeof text, "{%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}", g.Data1,
                  g.Data2, g.Data3, g.Data4[0], g.Data4[1], g.Data4[2], g.Data4[3], g.Data4[4], g.Data4[5],
                  g.Data4[6], g.Data4[7]);
    return text;
}

std::optional<GUID> ParseGuid(std::string_view text)
{
    // {XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}: 38 characters, dashes at fixed places.
    if (text.size() != 38 || text.front() != '{' || text.back() != '}')
        return std::nullopt;
    std::string digits;
    for (std::size_t i = 1; i + 1 < text.size(); ++i) {
        const char c = text[i];
        if (i == 9 || i == 14 || i == 19 || i == 24) {
            if (c != '-')
                return std::nullopt;
            continue;
        }
        if (!std::isxdigit(static_cast<unsigned char>(c)))
            return std::nullopt;
        digits += c;
    }
    auto hex = [&](std::size_t at, std::size_t count) {
        return static_cast<uint32_t>(std::stoul(digits.substr(at, count), nullptr, 16));
    };
    GUID guid{};
    guid.Data1 = hex(0, 8);
    guid.Data2 = static_cast<uint16_t>(hex(8, 4));
    guid.Data3 = static_cast<uint16_t>(hex(12, 4));
    for (std::size_t i = 0; i < 8; ++i)
        guid.Data4[i] = static_cast<uint8_t>(hex(16 + 2 * i, 2));
    return guid;
}

}  // namespace vestrel::com
