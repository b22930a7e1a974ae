#pragma once
// The command line of vestrel-scan:
//   vestrel-scan [--home DIR] [--camera SPEC] [--count N] [--interval MS] [--name TEXT] [--ebook]

#include <optional>
#include <string>

namespace vestrel::tools {

struct ScanCommandLine {
    std::optional<std::string> home;      // program folder instead of the executable's
    std::optional<std::string> camera;    // "virtual", "file:PATH"; else $VESTREL_CAMERA or the first camera
    int count = 1;                        // scans to make; more than one is a timed scan
    std::optional<int> intervalMs;        // timed-scan period; config.ini's intertime when absent
    std::optional<std::string> name;      // the typed name of naming mode 1
    bool ebook = false;                   // the run's pages go into one e-book PDF
};

inline constexpr const char* kScanUsage =
    "usage: vestrel-scan [--home DIR] [--camera SPEC] [--count N] [--interval MS] [--name TEXT] [--ebook]";

// Nothing, with `error` set, for an unknown option, a missing value or a bad number.
std::optional<ScanCommandLine> ParseScanCommandLine(int argc, const char* const* argv, std::string& error);

}  // namespace vestrel::tools
