#include "FileNaming.h"

#include <algorithm>
#include <cstdio>
#include <system_error>

namespace vestrel::scan {
namespace {

// Enough for every realistic folder; a bound so a folder that somehow answers "taken" for
// everything cannot keep a scan looping.
constexpr int kMaxNameTries = 100000;

std::string TwoDigits(int v)
{
    char buf[16];
    std::snprintf(buf, sizeof buf, "%02d", v % 100);
    return buf;
}

}  // namespace

int EffectiveNamingMode(int storedMode)
{
    return storedMode >= kNameCustom && storedMode <= kNameSequential ? storedMode : kNameSerial;
}

std::string PadNumber(int n)
{
    // 1 to 999 are padded to four digits; 0, negatives and larger numbers stay as they are.
    std::string digits = std::to_string(n);
    if (n >= 1 && n <= 999) digits.insert(0, 4 - digits.size(), '0');
    return digits;
}

std::string TimeName(const std::tm& t)
{
    return TwoDigits(t.tm_year + 1900) + "-" + TwoDigits(t.tm_mon + 1) + "-" + TwoDigits(t.tm_mday) +
           "-" + TwoDigits(t.tm_hour) + "-" + TwoDigits(t.tm_min) + "-" + TwoDigits(t.tm_sec);
}

bool IsNumberedName(const NamingInput& in)
{
    switch (EffectiveNamingMode(in.mode)) {
    case kNameCustom: return in.bookScanning;
    case kNameTime: return false;
    default: return true;
    }
}

std::string NextGeneratedName(const NamingInput& in, ScanCounters& c)
{
    switch (EffectiveNamingMode(in.mode)) {
    case kNameCustom: {
        // The number is taken before the counter grows: the first page of a book ends in "0".
        const int n = c.book++;
        return in.timedBookName + PadNumber(n);
    }
    case kNameTime: return TimeName(in.localTime);
    case kNameOdd: c.odd += 2; return in.bookname + PadNumber(c.odd);
    case kNameEven: c.even += 2; return in.bookname + PadNumber(c.even);
    case kNameSequential:
        if (c.odd < c.even) c.odd = c.even + 1;
        else c.even = c.odd + 1;
        return in.bookname + PadNumber(std::max(c.odd, c.even));
    case kNameSerial:
    default: ++c.serial; return "Image" + PadNumber(c.serial);
    }
}

std::optional<std::string> FreeName(std::string name, const NamingInput& in, ScanCounters& c,
                                    const std::function<bool(const std::string&)>& taken)
{
    if (!taken(name)) return name;
    if (IsNumberedName(in)) {
        for (int i = 0; i < kMaxNameTries; ++i) {
            name = NextGeneratedName(in, c);
            if (!taken(name)) return name;
        }
        return std::nullopt;
    }
    for (int i = 2; i < kMaxNameTries; ++i) {
        std::string candidate = name + "_" + std::to_string(i);
        if (!taken(candidate)) return candidate;
    }
    return std::nullopt;
}

std::function<bool(const std::string&)> TakenInFolder(const std::filesystem::path& folder,
                                                      const std::string& extension)
{
    return [folder, extension](const std::string& name) {
        // A name whose existence cannot be checked counts as free: the write that follows
        // never replaces a file anyway, and reports why it failed.
        std::error_code ec;
        return std::filesystem::exists(folder / (name + extension), ec);
    };
}

}  // namespace vestrel::scan
