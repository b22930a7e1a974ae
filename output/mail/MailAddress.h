#pragma once
// The rule for the web-mail address of the mail link: a web address with something after
// its scheme. "https://" counts as well as "http://": almost every web-mail service is
// reached that way now.

#include <string>

namespace vestrel::mail {

inline constexpr const char* kInvalidMailAddress = "无效的邮件链接地址!";

// True while the edited text is known not to begin with a web scheme: once it is long
// enough to show its scheme and the scheme is neither "http://" nor "https://"
// (case-sensitive). Checked after every change of the edit field.
bool MailPrefixInvalid(const std::string& text);

// True when OK may accept `text`: a web scheme followed by at least one more character.
bool MailAddressAcceptable(const std::string& text);

}  // namespace vestrel::mail
