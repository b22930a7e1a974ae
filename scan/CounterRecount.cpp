#include "CounterRecount.h"

#include "FileNaming.h"
#include "IniFile.h"
#include "PhotoFolderListing.h"

#include <algorithm>

namespace vestrel::scan {
namespace {

constexpr std::size_t kNumberChars = 5;

}  // namespace

void RaiseCountersFromName(const std::string& name, const std::string& bookname, int namingMode,
                           ScanCounters& c)
{
    static const std::string kSerialPrefix = "Image";
    if (name.starts_with(kSerialPrefix)) {
        const int n = AtoiRules(std::string_view(name).substr(kSerialPrefix.size(), kNumberChars));
        c.serial = std::max(c.serial, n);
    }
    if (name.starts_with(bookname)) {
        const int n = AtoiRules(std::string_view(name).substr(bookname.size(), kNumberChars));
        const int mode = EffectiveNamingMode(namingMode);
        const bool odd = n % 2 != 0;
        if (odd && (mode == kNameOdd || mode == kNameSequential)) c.odd = std::max(c.odd, n);
        if (!odd && (mode == kNameEven || mode == kNameSequential)) c.even = std::max(c.even, n);
    }
}

void RecountFromNames(const std::vector<std::string>& names, const std::string& bookname,
                      int namingMode, ScanCounters& counters)
{
    counters.serial = 0;
    counters.odd = -1;
    counters.even = 0;
    for (const std::string& name : names) RaiseCountersFromName(name, bookname, namingMode, counters);
}

void RecountFromFolder(const std::filesystem::path& folder, const std::string& bookname,
                       int namingMode, ScanCounters& counters)
{
    RecountFromNames(ListPhotoFolder(folder).names, bookname, namingMode, counters);
}

}  // namespace vestrel::scan
