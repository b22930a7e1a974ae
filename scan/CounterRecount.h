#pragma once
// The naming counters are never stored: they are recounted from the names in the photo
// folder whenever its listing changes, by whoever owns them (the main window, the scanner
// on its own, vestrel-scan).

#include "ScanState.h"

#include <filesystem>
#include <string>
#include <vector>

namespace vestrel::scan {

// Raises the counters for one name: "Image" + up to five characters read as a number for
// the serial counter; `bookname` + five characters for the odd counter (modes 4 and 6, odd
// numbers) and the even counter (modes 5 and 6, even numbers).
void RaiseCountersFromName(const std::string& name, const std::string& bookname, int namingMode,
                           ScanCounters& counters);

// Resets the serial, odd and even counters and raises them from `names`. The book counter
// is left alone.
void RecountFromNames(const std::vector<std::string>& names, const std::string& bookname,
                      int namingMode, ScanCounters& counters);

// The same from the listing of `folder` (a missing folder resets them).
void RecountFromFolder(const std::filesystem::path& folder, const std::string& bookname,
                       int namingMode, ScanCounters& counters);

}  // namespace vestrel::scan
