#include "RecordingName.h"

#include <cstdio>
#include <string>

namespace vestrel::recording {

std::filesystem::path FreeRecordingPath(const std::filesystem::path& folder, const std::tm& when)
{
    char stem[32];
    std::snprintf(stem, sizeof stem, "%02d-%02d-%02d-%02d-%02d-%02d", when.tm_year % 100, when.tm_mon + 1,
                  when.tm_mday, when.tm_hour, when.tm_min, when.tm_sec);
    std::filesystem::path path = folder / (std::string(stem) + ".avi");
    std::error_code ec;
    for (int n = 2; std::filesystem::exists(path, ec) || ec; ++n) {
        if (ec) return path;  // the folder cannot be looked at: opening the file will say why
        path = folder / (std::string(stem) + "-" + std::to_string(n) + ".avi");
    }
    return path;
}

}  // namespace vestrel::recording
