#include "SourceList.h"

#include <algorithm>
#include <system_error>

namespace vestrel::output {

std::size_t insertionIndex(const std::vector<std::string>& list, const std::string& path)
{
    for (std::size_t i = 0; i < list.size(); ++i)
        if (path.compare(list[i]) <= 0 && list[i].size() >= path.size())
            return i;
    return list.size();
}

void insertSource(std::vector<std::string>& list, const std::string& path)
{
    list.insert(list.begin() + std::ptrdiff_t(insertionIndex(list, path)), path);
}

std::vector<std::string> folderImages(const std::filesystem::path& folder)
{
    static const char* const kExtensions[] = {"jpg", "bmp", "png", "gif", "tiff", "ccitt"};
    std::vector<std::string> images;
    std::error_code error;
    for (std::filesystem::directory_iterator it(folder, error), end; !error && it != end;
         it.increment(error)) {
        if (it->is_directory(error))
            continue;
        const std::string name = it->path().filename().string();
        const auto dot = name.rfind('.');
        if (dot == std::string::npos)
            continue;
        const std::string extension = name.substr(dot + 1);
        if (std::find(std::begin(kExtensions), std::end(kExtensions), extension) !=
            std::end(kExtensions))
            images.push_back((folder / name).string());
    }
    std::sort(images.begin(), images.end());
    return images;
}

}  // namespace vestrel::output
