#include "FileNameRules.h"
#include "ScanMessages.h"

#include <gtest/gtest.h>

namespace vestrel::scan {
namespace {

TEST(FileNameRules, AcceptsAndCutsBeforeTheFirstDot)
{
    EXPECT_EQ(CheckTypedFileName("合同第一页").name, "合同第一页");
    const FileNameVerdict v = CheckTypedFileName("report.v2.jpg");
    EXPECT_TRUE(v.accepted);
    EXPECT_EQ(v.name, "report");
}

TEST(FileNameRules, RefusesEmptyAndSpecialCharactersWithTheirMessages)
{
    FileNameVerdict v = CheckTypedFileName("");
    EXPECT_FALSE(v.accepted);
    EXPECT_EQ(v.message, messages::kFileNameEmpty);
    EXPECT_FALSE(v.clearField);
    v = CheckTypedFileName(".jpg");
    EXPECT_FALSE(v.accepted);
    EXPECT_EQ(v.message, messages::kFileNameEmpty);
    for (const char* bad : {"a/b", "a*b", "a?b", "a<b", "a>b", "a\"b", "a|b", "a\\b"}) {
        v = CheckTypedFileName(bad);
        EXPECT_FALSE(v.accepted) << bad;
        EXPECT_EQ(v.message, messages::kFileNameSpecialCharacters) << bad;
        EXPECT_TRUE(v.clearField);
    }
    // A special character after the first dot is cut away with the extension.
    EXPECT_TRUE(CheckTypedFileName("name.a/b").accepted);
}

TEST(FileNameRules, TwoHundredFiftyFourCharactersPassTwoHundredFiftyFiveDoNot)
{
    EXPECT_TRUE(CheckTypedFileName(std::string(254, 'a')).accepted);
    const FileNameVerdict v = CheckTypedFileName(std::string(255, 'a'));
    EXPECT_FALSE(v.accepted);
    EXPECT_EQ(v.message, messages::kFileNameTooLong);
}

TEST(FileNameRules, NameMustFitALinuxFileNameWithItsExtension)
{
    EXPECT_TRUE(CheckTypedFileName(std::string(251, 'a'), ".jpg").accepted);
    EXPECT_EQ(CheckTypedFileName(std::string(252, 'a'), ".jpg").message, messages::kFileNameTooLong);
    std::string chinese;
    for (int i = 0; i < 83; ++i) chinese += "页";  // 249 bytes
    EXPECT_TRUE(CheckTypedFileName(chinese, ".jpg").accepted);
    chinese += "页";  // 252 bytes
    EXPECT_EQ(CheckTypedFileName(chinese, ".jpg").message, messages::kFileNameTooLong);
}

}  // namespace
}  // namespace vestrel::scan
