#pragma once
// The listing of the photo folder that the document keeps and the photo library shows:
// every image or PDF file (sub-folders and unknown types left out), oldest first. Only
// names and times: what the names mean to the scan counters is scanning's business
// (CounterRecount.h).

#include <filesystem>
#include <string>
#include <vector>

namespace vestrel {

struct PhotoListing {
    std::vector<std::string> names;  // file names without folder
    std::vector<std::string> times;  // last-write local time of each, "%4d%2d%2d%2d%2d%2d"
};

// Lists `folder`, sorted by last-write time (files written within the same second keep the
// order in which they were written; equal times fall back to the name). A missing or
// unreadable folder lists nothing.
PhotoListing ListPhotoFolder(const std::filesystem::path& folder);

}  // namespace vestrel
