#pragma once
// The command line of vestrel-record:
//   vestrel-record [--home DIR] [--camera SPEC] [--size WxH] [--seconds S] [--out FILE.avi]

#include "CaptureTypes.h"

#include <optional>
#include <string>

namespace vestrel::tools {

struct RecordCommandLine {
    std::optional<std::string> home;     // program folder instead of the executable's
    std::optional<std::string> camera;   // "virtual", "file:PATH", "/dev/videoN"; else the first camera
    std::optional<FrameSize> size;       // one the camera offers; else its current size
    std::optional<double> seconds;       // how long; until SIGINT or SIGTERM when absent
    std::optional<std::string> out;      // the file; else a new one in the photo folder
};

inline constexpr const char* kRecordUsage =
    "usage: vestrel-record [--home DIR] [--camera SPEC] [--size WxH] [--seconds S] [--out FILE.avi]";

// Nothing, with `error` set, for an unknown option, a missing value, a size that is not
// WxH or a length that is not a positive number of seconds.
std::optional<RecordCommandLine> ParseRecordCommandLine(int argc, const char* const* argv, std::string& error);

}  // namespace vestrel::tools
