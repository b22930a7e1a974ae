#include "MailAddress.h"

#include <gtest/gtest.h>

namespace vestrel::mail {
namespace {

TEST(MailAddress, OkNeedsTheSchemeAndOneMoreCharacter)
{
    EXPECT_FALSE(MailAddressAcceptable("http://"));
    EXPECT_TRUE(MailAddressAcceptable("http://a"));
    EXPECT_FALSE(MailAddressAcceptable("https://"));
    EXPECT_TRUE(MailAddressAcceptable("https://m"));
    EXPECT_TRUE(MailAddressAcceptable("https://mail.example.com/"));
    EXPECT_FALSE(MailAddressAcceptable(""));
    EXPECT_FALSE(MailAddressAcceptable("mail.example.com"));
    EXPECT_FALSE(MailAddressAcceptable("ftp://mail.example.com"));
    EXPECT_FALSE(MailAddressAcceptable("HTTP://mail.example.com"));
}

TEST(MailAddress, PrefixIsJudgedOnlyOnceItCanBeSeen)
{
    // Typing a web address character by character never flags it on the way.
    for (const std::string full : {"https://mail.example.com", "http://mail.example.com"})
        for (std::size_t n = 0; n <= full.size(); ++n)
            EXPECT_FALSE(MailPrefixInvalid(full.substr(0, n))) << full.substr(0, n);
    EXPECT_FALSE(MailPrefixInvalid("abcdef"));  // six characters: not judged yet
    EXPECT_TRUE(MailPrefixInvalid("abcdefg"));
    EXPECT_TRUE(MailPrefixInvalid("mailto:someone"));
    EXPECT_TRUE(MailPrefixInvalid("Http://mail"));
    EXPECT_TRUE(MailPrefixInvalid("httpx://mail"));
}

}  // namespace
}  // namespace vestrel::mail
