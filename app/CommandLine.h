#pragma once
// The program's command line: options for developers and the camera, and the standard file
// argument (a file name opens that image as the current document). The program refuses no
// command line: options it does not know are passed over, as are words with a leading dash.

#include <optional>
#include <string>

namespace vestrel {

struct AppCommandLine {
    std::string file;                             // empty when none
    std::optional<std::string> camera;            // --camera SPEC
    bool startupReport = false;                   // --startup-report
    std::optional<std::string> timedScanReport;   // --timed-scan-report SECONDS
    std::optional<std::string> screenshot;        // --screenshot PNG
};

// Options that take a value take the next argument unless written as --option=value. An
// option given twice keeps its first value, as the program always has.
AppCommandLine ReadAppCommandLine(int argc, const char* const* argv);

// The first argument that is neither an option nor the value of one; empty when none.
std::string FileArgument(int argc, const char* const* argv);

}  // namespace vestrel
