#include "TextChecks.h"

#include <algorithm>
#include <array>
#include <cctype>

#include "TextSlots.h"

namespace vestrel::fax {

bool TextFits(const char* text, std::size_t maxChars)
{
    return text != nullptr && BoundedLength(text, maxChars) <= maxChars;
}

bool FaxNumberCharactersValid(std::string_view number)
{
    return std::all_of(number.begin(), number.end(),
                       [](char c) { return (c >= '0' && c <= '9') || c == '-'; });
}

bool DocumentTypeAccepted(std::string_view path)
{
    static constexpr std::array<std::string_view, 8> kAccepted = {
        ".TIF", ".DOC", ".XLS", ".PDF", ".PPT", ".JPG", ".BMP", ".GIF"};
    if (path.size() < 4)
        return false;
    std::string ending(path.substr(path.size() - 4));
    for (char& c : ending)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return std::find(kAccepted.begin(), kAccepted.end(), ending) != kAccepted.end();
}

std::string SendRemoteName(std::string_view jobNo, std::string_view documentPath)
{
    const std::string_view extension =
        documentPath.size() >= 3 ? documentPath.substr(documentPath.size() - 3) : documentPath;
    return "SendFax\\" + std::string(jobNo) + "." + std::string(extension);
}

std::optional<std::string> ReceivedFaxFileName(std::string_view remoteName)
{
    const std::size_t cut = remoteName.find_last_of("\\/");
    const std::string_view name = cut == std::string_view::npos ? remoteName : remoteName.substr(cut + 1);
    if (name.empty() || name == "." || name == "..")
        return std::nullopt;
    for (char c : name) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F)
            return std::nullopt;
    }
    return std::string(name);
}

std::string_view AfterLastBackslash(std::string_view remoteName)
{
    const std::size_t cut = remoteName.find_last_of('\\');
    return cut == std::string_view::npos ? remoteName : remoteName.substr(cut + 1);
}

}  // namespace vestrel::fax
