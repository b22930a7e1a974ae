#include "TextSlots.h"

#include <cstring>

namespace vestrel::fax {

void CopyToSlot(char* slot, std::size_t size, std::string_view text)
{
    if (size == 0)
        return;
    const std::size_t length = text.size() < size - 1 ? text.size() : size - 1;
    std::memcpy(slot, text.data(), length);
    std::memset(slot + length, 0, size - length);
}

std::string_view SlotText(const char* slot, std::size_t size)
{
    return std::string_view(slot, ::strnlen(slot, size));
}

std::size_t BoundedLength(const char* text, std::size_t limit)
{
    return ::strnlen(text, limit + 1);
}

}  // namespace vestrel::fax
