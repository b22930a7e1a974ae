#include "FileType.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <string>
#include <utility>

namespace vestrel::scan {
namespace {

bool EndsWithNoCase(std::string_view name, std::string_view tail)
{
    if (name.size() < tail.size()) return false;
    const auto end = name.substr(name.size() - tail.size());
    return std::equal(end.begin(), end.end(), tail.begin(), [](char a, char b) {
        return std::tolower(static_cast<unsigned char>(a)) == b;
    });
}

}  // namespace

int GetFileType(std::string_view name)
{
    static constexpr std::array<std::pair<std::string_view, int>, 3> four{{
        {"jpeg", 3}, {"tiff", 6}, {"wbmp", 9}}};
    for (const auto& [tail, code] : four) {
        if (EndsWithNoCase(name, tail)) return code;
    }
    static constexpr std::array<std::pair<std::string_view, int>, 20> three{{
        {"pdf", kFileTypePdf}, {"bmp", 1}, {"gif", 2}, {"jpg", 3}, {"png", 4}, {"ico", 5},
        {"tif", 6}, {"tga", 7}, {"pcx", 8}, {"wmf", 10}, {"emf", 10}, {"j2k", 11},
        {"jp2", 11}, {"jpc", 12}, {"j2c", 12}, {"pgx", 13}, {"pnm", 14}, {"pgm", 14},
        {"ppm", 14}, {"ras", 15}}};
    for (const auto& [tail, code] : three) {
        if (EndsWithNoCase(name, tail)) return code;
    }
    return 0;
}

}  // namespace vestrel::scan
