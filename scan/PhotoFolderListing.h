#pragma once
// The listing of the photo folder that the document keeps and the photo library shows:
// every image or PDF file (sub-folders and unknown types left out), oldest first. Listing
// the folder is also what recomputes the naming counters from the names found in it.

#include "ScanState.h"

#include <filesystem>
#include <string>
#include <vector>

namespace vestrel::scan {

struct PhotoListing {
    std::vector<std::string> names;  // file names without folder
    std::vector<std::string> times;  // last-write local time of each, "%4d%2d%2d%2d%2d%2d"
};

// Lists `folder`, sorted by last-write time (files written within the same second keep the
// order in which they were written; equal times fall back to the name). Resets the serial,
// odd and even counters and raises them from the names: "Image" + up to five characters
// read as a number for the serial counter; `bookname` + five characters for the odd
// counter (modes 4 and 6, odd numbers) and the even counter (modes 5 and 6, even numbers).
// The book counter is left alone. A missing or unreadable folder lists nothing.
PhotoListing ListPhotoFolder(const std::filesystem::path& folder, const std::string& bookname,
                             int namingMode, ScanCounters& counters);

// Raises the counters for one name, as the listing does for every file.
void RaiseCountersFromName(const std::string& name, const std::string& bookname, int namingMode,
                           ScanCounters& counters);

}  // namespace vestrel::scan
