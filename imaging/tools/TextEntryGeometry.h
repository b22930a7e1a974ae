#pragma once
// The text tool's entry box grows with what is typed: as wide as its widest line plus
// room for 200 more pixels, and one line taller than its lines.

#include <string_view>

namespace vestrel::tools {

inline constexpr int kTextEntryId = 1012;  // the box's control id, kept as its object name
inline constexpr int kTextEntryStart = 200; // the box's side when it opens

struct EntrySize {
    int width = 0, height = 0;
    bool operator==(const EntrySize&) const = default;
};

// Line feeds in `text`.
int LineFeeds(std::string_view text);

// The box for text whose widest line measures `widestLine` pixels in a font of
// `lineHeight` pixels per line.
EntrySize GrownEntrySize(int widestLine, int lineHeight, int lineFeeds);

}  // namespace vestrel::tools
