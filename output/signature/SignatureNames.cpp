#include "SignatureNames.h"

#include <algorithm>
#include <system_error>

namespace vestrel::signature {
namespace {

constexpr std::size_t kMaxCharacters = 254;
constexpr std::size_t kMaxBytes = 255;  // what a Linux file system holds in one name

std::size_t Utf8Characters(const std::string& text)
{
    std::size_t count = 0;
    for (const char c : text)
        if ((static_cast<unsigned char>(c) & 0xC0u) != 0x80u) ++count;
    return count;
}

}  // namespace

std::string StoredSignatureName(const std::string& typed)
{
    return typed.substr(0, typed.find('.'));
}

NameCheck CheckSignatureName(const std::string& stored)
{
    if (stored.empty()) return NameCheck::Empty;
    if (stored.find_first_of("/*?<>\"|\\") != std::string::npos) return NameCheck::SpecialCharacters;
    if (Utf8Characters(stored) > kMaxCharacters || stored.size() > kMaxBytes) return NameCheck::TooLong;
    return NameCheck::Ok;
}

std::vector<std::string> ListSignatureNames(const std::filesystem::path& folder)
{
    std::vector<std::string> names = ListStampNames(folder);
    std::erase_if(names, [](const std::string& name) { return name.find('.') != std::string::npos; });
    return names;
}

std::vector<std::string> ListStampNames(const std::filesystem::path& folder)
{
    std::vector<std::string> names;
    std::error_code error;
    for (std::filesystem::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        std::error_code typeError;
        if (it->is_directory(typeError)) continue;
        names.push_back(it->path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

}  // namespace vestrel::signature
