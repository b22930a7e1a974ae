#include "TextEntryGeometry.h"

#include <algorithm>

namespace vestrel::tools {

int LineFeeds(std::string_view text)
{
    return int(std::count(text.begin(), text.end(), '\n'));
}

EntrySize GrownEntrySize(int widestLine, int lineHeight, int lineFeeds)
{
    return {std::max(0, widestLine) + 200, std::max(1, lineHeight) * (std::max(0, lineFeeds) + 2)};
}

}  // namespace vestrel::tools
