#include "LibraryItems.h"

#include <algorithm>
#include <charconv>

namespace vestrel::library {

std::vector<std::string> ShownNames(const std::vector<std::string>& oldestFirst, bool listMode,
                                    int thumbnailCount)
{
    std::size_t count = oldestFirst.size();
    if (!listMode) count = std::min(count, std::size_t(std::max(thumbnailCount, 0)));
    return std::vector<std::string>(oldestFirst.rbegin(), oldestFirst.rbegin() + std::ptrdiff_t(count));
}

std::optional<int> ParseThumbnailCount(const std::string& text)
{
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string::npos) return std::nullopt;
    const auto last = text.find_last_not_of(" \t");
    const char* begin = text.data() + first;
    const char* end = text.data() + last + 1;
    if (*begin == '+') ++begin;
    int value = 0;
    const auto [stop, error] = std::from_chars(begin, end, value);
    if (error != std::errc() || stop != end || begin == end) return std::nullopt;
    if (value < kMinThumbnailCount || value > kMaxThumbnailCount) return std::nullopt;
    return value;
}

}  // namespace vestrel::library
