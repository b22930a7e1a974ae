#include "OptionReader.h"

#include <gtest/gtest.h>

#include <vector>

using vestrel::DoubleDash;
using vestrel::GivenCommandLine;
using vestrel::OptionSpec;
using vestrel::ReadOptions;

namespace {

const std::vector<OptionSpec> kKnown = {{"home"}, {"count"}, {"ebook", false}};

struct Reading {
    std::optional<GivenCommandLine> line;
    std::string error;
};

Reading Read(std::vector<const char*> arguments, DoubleDash doubleDash = DoubleDash::IsAWord)
{
    arguments.insert(arguments.begin(), "tool");
    Reading reading;
    reading.line = ReadOptions(int(arguments.size()), arguments.data(), kKnown, doubleDash, reading.error);
    return reading;
}

std::vector<std::string> Values(const GivenCommandLine& line)
{
    std::vector<std::string> values;
    for (const auto& option : line.options) values.push_back(option.name + "=" + option.value);
    return values;
}

TEST(OptionReader, BothSpellingsInOrderAndEveryRepeat)
{
    const Reading r = Read({"--count=3", "--ebook", "--home", "/a", "--count", "5", "--home="});
    ASSERT_TRUE(r.line) << r.error;
    EXPECT_EQ(Values(*r.line), (std::vector<std::string>{"count=3", "ebook=", "home=/a", "count=5", "home="}));
    EXPECT_TRUE(r.line->words.empty());
}

TEST(OptionReader, AValueIsTakenWhateverItLooksLike)
{
    const Reading r = Read({"--home", "--ebook", "--count", "-1", "--home", "--", "--count", "-", "--home", "--x=y"});
    ASSERT_TRUE(r.line) << r.error;
    EXPECT_EQ(Values(*r.line), (std::vector<std::string>{"home=--ebook", "count=-1", "home=--", "count=-", "home=--x=y"}));
    EXPECT_TRUE(r.line->words.empty());
}

TEST(OptionReader, SingleDashWordsAndDoubleDashAreWordsUnlessItEndsTheOptions)
{
    Reading r = Read({"-home", "x", "-", "--", "--ebook"});
    ASSERT_TRUE(r.line) << r.error;
    EXPECT_EQ(r.line->words, (std::vector<std::string>{"-home", "x", "-", "--"}));
    EXPECT_EQ(Values(*r.line), (std::vector<std::string>{"ebook="}));

    r = Read({"-h", "--ebook", "--", "--count=2", "-x", "--bogus"}, DoubleDash::EndsOptions);
    ASSERT_TRUE(r.line) << r.error;
    EXPECT_EQ(r.line->words, (std::vector<std::string>{"-h", "--count=2", "-x", "--bogus"}));
    EXPECT_EQ(Values(*r.line), (std::vector<std::string>{"ebook="}));
}

TEST(OptionReader, RefusalsNameTheOption)
{
    const std::vector<std::pair<std::vector<const char*>, std::string>> cases = {
        {{"--bogus", "x"}, "unknown option --bogus"},
        {{"--Home", "x"}, "unknown option --Home"},
        {{"--=x"}, "unknown option --"},
        {{"--ebook", "--count"}, "--count needs a value"},
        {{"--home", "a", "--home"}, "--home needs a value"},
        {{"--ebook=yes"}, "--ebook takes no value"},
        {{"--ebook="}, "--ebook takes no value"},
    };
    for (const auto& [arguments, message] : cases) {
        const Reading r = Read(arguments);
        EXPECT_FALSE(r.line) << message;
        EXPECT_EQ(r.error, message);
    }
    // "--ebook=yes" as the value of --home is a value, not a flag given one.
    const Reading value = Read({"--home", "--ebook=yes"});
    ASSERT_TRUE(value.line) << value.error;
    EXPECT_EQ(Values(*value.line), (std::vector<std::string>{"home=--ebook=yes"}));
}

TEST(OptionReader, BytesComeBackUnchanged)
{
    // Latin-1 and broken UTF-8 file names, as a Linux file system allows them.
    const Reading r = Read({"--home", "/tmp/caf\xe9", "--count=\xff\xfe", "\xe5\x90\x88\xe5\x90\x8c.jpg", "-\x80"});
    ASSERT_TRUE(r.line) << r.error;
    EXPECT_EQ(Values(*r.line), (std::vector<std::string>{"home=/tmp/caf\xe9", "count=\xff\xfe"}));
    EXPECT_EQ(r.line->words, (std::vector<std::string>{"\xe5\x90\x88\xe5\x90\x8c.jpg", "-\x80"}));
}

}  // namespace
