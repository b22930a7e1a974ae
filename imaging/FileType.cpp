#include "ImageTypes.h"

#include <array>
#include <cctype>
#include <utility>

namespace vestrel {

namespace {

std::string LowerTail(std::string_view name, std::size_t count)
{
    std::string tail(name.substr(name.size() - count));
    for (char& c : tail) c = char(std::tolower(static_cast<unsigned char>(c)));
    return tail;
}

}  // namespace

int GetFileType(std::string_view fileName)
{
    if (fileName.size() >= 4) {
        const std::string four = LowerTail(fileName, 4);
        if (four == "jpeg") return CXIMAGE_FORMAT_JPG;
        if (four == "tiff") return CXIMAGE_FORMAT_TIF;
        if (four == "wbmp") return CXIMAGE_FORMAT_WBMP;
    }
    if (fileName.size() < 3) return CXIMAGE_FORMAT_UNKNOWN;
    static constexpr std::array<std::pair<std::string_view, int>, 20> kThree{{
        {"pdf", CXIMAGE_FORMAT_PDF}, {"bmp", CXIMAGE_FORMAT_BMP}, {"gif", CXIMAGE_FORMAT_GIF},
        {"jpg", CXIMAGE_FORMAT_JPG}, {"png", CXIMAGE_FORMAT_PNG}, {"ico", CXIMAGE_FORMAT_ICO},
        {"tif", CXIMAGE_FORMAT_TIF}, {"tga", CXIMAGE_FORMAT_TGA}, {"pcx", CXIMAGE_FORMAT_PCX},
        {"wmf", CXIMAGE_FORMAT_WMF}, {"emf", CXIMAGE_FORMAT_WMF}, {"j2k", CXIMAGE_FORMAT_JP2},
        {"jp2", CXIMAGE_FORMAT_JP2}, {"jpc", CXIMAGE_FORMAT_JPC}, {"j2c", CXIMAGE_FORMAT_JPC},
        {"pgx", CXIMAGE_FORMAT_PGX}, {"pnm", CXIMAGE_FORMAT_PNM}, {"pgm", CXIMAGE_FORMAT_PNM},
        {"ppm", CXIMAGE_FORMAT_PNM}, {"ras", CXIMAGE_FORMAT_RAS},
    }};
    const std::string three = LowerTail(fileName, 3);
    for (const auto& [extension, code] : kThree)
        if (three == extension) return code;
    return CXIMAGE_FORMAT_UNKNOWN;
}

}  // namespace vestrel
