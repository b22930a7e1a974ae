#include "PictureSource.h"

#include "ProgramDir.h"

#include <system_error>

namespace vestrel::library {

bool TakesPdfThumbnail(const std::string& name)
{
    return name.size() >= 3 && name.compare(name.size() - 3, 3, "pdf") == 0;
}

std::filesystem::path PdfThumbnailFile(const std::string& name)
{
    return programpath::ThumbTempDir() / (name.substr(0, name.find('.')) + ".jpg");
}

std::filesystem::path PictureSource(const std::string& photoDir, const std::string& name)
{
    const std::filesystem::path file = std::filesystem::path(photoDir) / name;
    if (!TakesPdfThumbnail(name)) return file;
    const auto thumbnail = PdfThumbnailFile(name);
    std::error_code error;
    return std::filesystem::is_regular_file(thumbnail, error) ? thumbnail : file;
}

}  // namespace vestrel::library
