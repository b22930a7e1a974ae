#pragma once
// Which files the pane shows: the newest first, in the thumbnail grid only as many as the
// thumbnail count allows (only those get a picture made), in list mode every file.

#include <optional>
#include <string>
#include <vector>

namespace vestrel::library {

inline constexpr int kDefaultThumbnailCount = 6;
inline constexpr int kMinThumbnailCount = 1;
inline constexpr int kMaxThumbnailCount = 65536;

// `oldestFirst` is the document's sorted listing.
std::vector<std::string> ShownNames(const std::vector<std::string>& oldestFirst, bool listMode,
                                    int thumbnailCount);

// The thumbnail count typed into its dialog: a whole number from 1 to 65536, blanks
// around it allowed. Nothing for anything else.
std::optional<int> ParseThumbnailCount(const std::string& text);

}  // namespace vestrel::library
