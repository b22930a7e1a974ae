#include "ProgramDir.h"

#include <cstdlib>
#include <system_error>

namespace vestrel {

std::filesystem::path ProgramDir()
{
    if (const char* home = std::getenv("VESTREL_HOME"); home && *home) return home;
    std::error_code ec;
    const auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec) return std::filesystem::current_path(ec);
    return exe.parent_path();
}

namespace programpath {
std::filesystem::path ConfigFile() { return ProgramDir() / "config.ini"; }
std::filesystem::path PhotoDir() { return ProgramDir() / "Photo" / ""; }
std::filesystem::path TempDir() { return ProgramDir() / "temp" / ""; }
std::filesystem::path ThumbTempDir() { return ProgramDir() / "temp" / "temp" / ""; }
std::filesystem::path SignDir() { return ProgramDir() / "Sign" / ""; }
std::filesystem::path StampDir() { return ProgramDir() / "Stamp" / ""; }
std::filesystem::path OcrDir() { return ProgramDir() / "OCR" / ""; }
std::filesystem::path PdfDir() { return ProgramDir() / "PDF" / ""; }
// The shutter sound ships inside the program folder, not beside the current directory:
// a program started from elsewhere still finds it.
std::filesystem::path ShutterSound() { return ProgramDir() / "res" / "sound.wav"; }
}  // namespace programpath

}  // namespace vestrel
