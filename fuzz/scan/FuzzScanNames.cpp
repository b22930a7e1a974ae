// Text that reaches the scanner from outside: what a user types into the file-name dialog
// and the names of whatever files lie in the photo folder.

#include "FileNameRules.h"
#include "CounterRecount.h"

#include <cstddef>
#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    const vestrel::scan::FileNameVerdict verdict = vestrel::scan::CheckTypedFileName(text, ".jpg");
    if (verdict.accepted && (verdict.name.empty() || verdict.name.find('/') != std::string::npos))
        __builtin_trap();

    // The first bytes pick the book name and the mode; the rest is a file name.
    const std::size_t split = size > 0 ? data[0] % 8 : 0;
    const std::string bookname = text.substr(text.empty() ? 0 : 1, split);
    vestrel::scan::ScanCounters counters;
    for (int mode = 0; mode <= 7; ++mode)
        vestrel::scan::RaiseCountersFromName(text, bookname, mode, counters);
    return 0;
}
