#pragma once
// The command line of vestrel-scan:
//   vestrel-scan [--home DIR] [--camera SPEC] [--count N] [--interval MS] [--name TEXT] [--ebook]
//   vestrel-scan --id-copy [--home DIR] [--camera SPEC] [--interval MS]

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
    // One two-sided ID-card copy: the front, then the back after --interval ms (without it,
    // when Enter is pressed).
    bool idCopy = false;
};

inline constexpr const char* kScanUsage =
    "usage: vestrel-scan [--home DIR] [--camera SPEC] [--count N] [--interval MS] [--name TEXT] [--ebook]\n"
    "       vestrel-scan --id-copy [--home DIR] [--camera SPEC] [--interval MS]";

// Nothing, with `error` set, for an unknown option, a missing value, a bad number, or
// --count, --name or --ebook with --id-copy (a copy is one card, named by its time).
std::optional<ScanCommandLine> ParseScanCommandLine(int argc, const char* const* argv, std::string& error);

}  // namespace vestrel::tools
