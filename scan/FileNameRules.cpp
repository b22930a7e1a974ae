#include "FileNameRules.h"

#include "ScanMessages.h"

#include <algorithm>

namespace vestrel::scan {
namespace {

constexpr std::size_t kMaxNameCharacters = 254;
constexpr std::size_t kMaxFileNameBytes = 255;  // NAME_MAX of Linux file systems
constexpr std::string_view kSpecialCharacters = "/*?<>\"|\\";

// Characters of UTF-8 text: every byte that does not continue a sequence.
std::size_t CharacterCount(std::string_view text)
{
    return static_cast<std::size_t>(std::count_if(text.begin(), text.end(), [](char c) {
        return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    }));
}

FileNameVerdict Refuse(const char* message, bool clearField)
{
    return {false, {}, message, clearField};
}

}  // namespace

FileNameVerdict CheckTypedFileName(std::string_view text, std::string_view extension)
{
    if (text.empty()) return Refuse(messages::kFileNameEmpty, false);
    if (const auto dot = text.find('.'); dot != std::string_view::npos) text = text.substr(0, dot);
    if (text.empty()) return Refuse(messages::kFileNameEmpty, true);
    if (text.find_first_of(kSpecialCharacters) != std::string_view::npos)
        return Refuse(messages::kFileNameSpecialCharacters, true);
    if (CharacterCount(text) > kMaxNameCharacters ||
        text.size() + extension.size() > kMaxFileNameBytes)
        return Refuse(messages::kFileNameTooLong, true);
    return {true, std::string(text), {}, false};
}

}  // namespace vestrel::scan
