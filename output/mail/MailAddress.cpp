#include "MailAddress.h"

#include <algorithm>
#include <string_view>

namespace vestrel::mail {
namespace {

constexpr std::string_view kHttp = "http://";
constexpr std::string_view kHttps = "https://";

// True when `text` could still become, or already begins with, `scheme`.
bool AgreesWith(std::string_view text, std::string_view scheme)
{
    const std::size_t n = std::min(text.size(), scheme.size());
    return text.substr(0, n) == scheme.substr(0, n);
}

}  // namespace

bool MailPrefixInvalid(const std::string& text)
{
    // Up to six characters nothing is judged yet: the user is still typing the scheme.
    if (text.size() <= 6) return false;
    return !AgreesWith(text, kHttp) && !AgreesWith(text, kHttps);
}

bool MailAddressAcceptable(const std::string& text)
{
    const std::string_view t = text;
    if (t.starts_with(kHttps)) return t.size() > kHttps.size();
    if (t.starts_with(kHttp)) return t.size() > kHttp.size();
    return false;
}

}  // namespace vestrel::mail
