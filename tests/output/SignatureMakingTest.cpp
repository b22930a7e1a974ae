#include "SignatureFile.h"
#include "SignatureMaking.h"
#include "SignatureMessages.h"
#include "TempProgramDir.h"

#include <gtest/gtest.h>

#include <fstream>

namespace vestrel::signature {
namespace {

class SignatureMakingTest : public testkit::ProgramDirTest {
protected:
    std::filesystem::path folder() const { return programDir / "Sign"; }

    // Stands in for the main window's save of the processed picture.
    WriteBmp writer(bool succeed = true)
    {
        return [this, succeed](const std::filesystem::path& path) {
            ++writes;
            if (!succeed) return false;
            std::ofstream(path, std::ios::binary) << picture;
            return true;
        };
    }

    std::vector<std::string> filesInFolder() const
    {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(folder()))
            names.push_back(entry.path().filename().string());
        return names;
    }

    std::string picture = std::string("BM\x36\0\0\0", 6) + std::string(300, '\x7f');
    int writes = 0;
};

TEST_F(SignatureMakingTest, NameIsCutAtItsDotAndTheFileIsStoredScrambled)
{
    const MakeVerdict verdict = ConfirmSignature(folder(), {"sig.final", "pw", "pw"}, writer());
    EXPECT_EQ(verdict.outcome, MakeOutcome::Made);
    EXPECT_STREQ(verdict.message, msg::kEncryptSucceeded);
    EXPECT_EQ(verdict.path, folder() / "sig");
    EXPECT_EQ(filesInFolder(), std::vector<std::string>{"sig"});
    const auto plain = UnlockSignature(folder() / "sig", "pw");
    ASSERT_TRUE(plain.has_value());
    EXPECT_EQ(std::string(plain->begin(), plain->end()), picture);
}

TEST_F(SignatureMakingTest, RulesRefuseInOrderBeforeAnythingIsWritten)
{
    EXPECT_STREQ(ConfirmSignature(folder(), {"", "a", "b"}, writer()).message, msg::kEnterFileName);
    const MakeVerdict special = ConfirmSignature(folder(), {"a|b", "a", "b"}, writer());
    EXPECT_STREQ(special.message, msg::kSpecialCharacters);
    EXPECT_TRUE(special.clearName);
    const MakeVerdict tooLong = ConfirmSignature(folder(), {std::string(300, 'n'), "a", "b"}, writer());
    EXPECT_STREQ(tooLong.message, msg::kNameTooLong);
    EXPECT_TRUE(tooLong.clearName);
    EXPECT_EQ(writes, 0);
}

TEST_F(SignatureMakingTest, PasswordMismatchLeavesNoPlainPictureBehind)
{
    const MakeVerdict verdict = ConfirmSignature(folder(), {"sig", "one", "two"}, writer());
    EXPECT_EQ(verdict.outcome, MakeOutcome::Stay);
    EXPECT_STREQ(verdict.message, msg::kPasswordWrong);
    EXPECT_FALSE(verdict.clearName);
    EXPECT_EQ(writes, 0);
    EXPECT_TRUE(filesInFolder().empty());
}

TEST_F(SignatureMakingTest, BothPasswordsEmptyOpenWithAnEmptyPassword)
{
    ASSERT_EQ(ConfirmSignature(folder(), {"blank", "", ""}, writer()).outcome, MakeOutcome::Made);
    EXPECT_TRUE(UnlockSignature(folder() / "blank", "").has_value());
}

TEST_F(SignatureMakingTest, FailedWriteKeepsTheOldSignatureAndLeavesNothingElse)
{
    ASSERT_EQ(ConfirmSignature(folder(), {"sig", "old", "old"}, writer()).outcome, MakeOutcome::Made);
    const MakeVerdict verdict = ConfirmSignature(folder(), {"sig", "new", "new"}, writer(false));
    EXPECT_EQ(verdict.outcome, MakeOutcome::Failed);
    EXPECT_STREQ(verdict.message, msg::kEncryptFailed);
    EXPECT_EQ(filesInFolder(), std::vector<std::string>{"sig"});
    EXPECT_TRUE(SignaturePasswordMatches(folder() / "sig", "old"));
}

}  // namespace
}  // namespace vestrel::signature
