#include "CommandLine.h"

#include "OptionReader.h"

namespace vestrel {

AppCommandLine ReadAppCommandLine(int argc, const char* const* argv)
{
    const GivenCommandLine given = ReadKnownOptions(
        argc, argv, {{"camera"}, {"screenshot"}, {"timed-scan-report"}, {"startup-report", false}});
    AppCommandLine line;
    for (const auto& [option, value] : given.options) {
        if (option == "startup-report") line.startupReport = true;
        else if (option == "camera" && !line.camera) line.camera = value;
        else if (option == "screenshot" && !line.screenshot) line.screenshot = value;
        else if (option == "timed-scan-report" && !line.timedScanReport) line.timedScanReport = value;
    }
    for (const std::string& word : given.words) {
        if (!word.starts_with('-')) {
            line.file = word;
            break;
        }
    }
    return line;
}

std::string FileArgument(int argc, const char* const* argv) { return ReadAppCommandLine(argc, argv).file; }

}  // namespace vestrel
