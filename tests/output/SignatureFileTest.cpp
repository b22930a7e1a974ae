#include "SignatureFile.h"
#include "SignatureNames.h"
#include "StampThumbnail.h"
#include "TempProgramDir.h"

#include <gtest/gtest.h>
#include <opencv2/imgcodecs.hpp>

#include <fstream>
#include <iterator>

namespace vestrel::signature {
namespace {

std::vector<std::uint8_t> ReadBytes(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class SignatureFileTest : public testkit::ProgramDirTest {
protected:
    // A real BMP of a small signature-like picture, as the make step writes it.
    std::filesystem::path writeSignatureBmp(const std::string& name, int width = 37, int height = 11)
    {
        cv::Mat picture(height, width, CV_8UC3, cv::Scalar(255, 255, 255));
        for (int x = 0; x < width; ++x) picture.at<cv::Vec3b>(x % height, x) = cv::Vec3b(20, 30, 40);
        const auto path = programDir / ("Sign/" + name);
        EXPECT_TRUE(cv::imwrite(path.string() + ".bmp", picture));
        std::filesystem::rename(path.string() + ".bmp", path);
        return path;
    }
};

TEST_F(SignatureFileTest, ScrambleThenUnscrambleGivesTheBmpByteForByte)
{
    const auto path = writeSignatureBmp("sig");
    const auto plain = ReadBytes(path);
    ASSERT_GT(plain.size(), 54u);

    ASSERT_TRUE(EncryptSignature(path, "geheim"));
    const auto scrambled = ReadBytes(path);
    ASSERT_EQ(scrambled.size(), plain.size() + kTagSize);
    EXPECT_NE(std::vector<std::uint8_t>(scrambled.begin(), scrambled.begin() + 2),
              std::vector<std::uint8_t>(plain.begin(), plain.begin() + 2))
        << "the BMP signature must not be readable in the scrambled file";
    // Every body byte is the plain byte under one mask: (length mod 256) xor the key.
    const auto mask = static_cast<std::uint8_t>((plain.size() % 256) ^ SignatureKey("geheim"));
    for (std::size_t i = 0; i < plain.size(); ++i) ASSERT_EQ(scrambled[i], plain[i] ^ mask) << i;
    const char tag[] = {'z', 'a', 'r', 'n', '\0'};
    for (std::size_t i = 0; i < kTagSize; ++i)
        EXPECT_EQ(scrambled[plain.size() + i], std::uint8_t(tag[i]) ^ SignatureKey("geheim"));

    ASSERT_TRUE(DecryptSignature(path, "geheim"));
    EXPECT_EQ(ReadBytes(path), plain);
    EXPECT_FALSE(std::filesystem::exists(path.string() + ".part"));
}

TEST_F(SignatureFileTest, EmptyPasswordsOnBothSidesWorkAsOneSpace)
{
    EXPECT_EQ(SignatureKey(""), SignatureKey(" "));
    const auto path = writeSignatureBmp("blank");
    const auto plain = ReadBytes(path);
    ASSERT_TRUE(EncryptSignature(path, ""));
    EXPECT_TRUE(SignaturePasswordMatches(path, ""));
    EXPECT_TRUE(SignaturePasswordMatches(path, " "));
    ASSERT_TRUE(DecryptSignature(path, ""));
    EXPECT_EQ(ReadBytes(path), plain);
}

TEST_F(SignatureFileTest, WrongPasswordLeavesTheFileByteIdentical)
{
    const auto path = writeSignatureBmp("locked");
    ASSERT_TRUE(EncryptSignature(path, "a"));
    const auto scrambled = ReadBytes(path);
    ASSERT_NE(SignatureKey("a"), SignatureKey("b"));

    EXPECT_FALSE(DecryptSignature(path, "b"));
    EXPECT_FALSE(UnlockSignature(path, "b").has_value());
    EXPECT_FALSE(SignaturePasswordMatches(path, "b"));
    EXPECT_EQ(ReadBytes(path), scrambled);
    EXPECT_TRUE(SignaturePasswordMatches(path, "a"));
}

TEST_F(SignatureFileTest, UnlockingReadsThePictureWithoutMakingTheFileReadable)
{
    const auto path = writeSignatureBmp("memo", 64, 20);
    const auto plain = ReadBytes(path);
    ASSERT_TRUE(EncryptSignature(path, "密码"));
    const auto scrambled = ReadBytes(path);

    const auto unlocked = UnlockSignature(path, "密码");
    ASSERT_TRUE(unlocked.has_value());
    EXPECT_EQ(*unlocked, plain);
    EXPECT_EQ(ReadBytes(path), scrambled);
    const cv::Mat picture = cv::imdecode(*unlocked, cv::IMREAD_COLOR);
    EXPECT_EQ(picture.cols, 64);
    EXPECT_EQ(picture.rows, 20);
}

TEST_F(SignatureFileTest, MissingAndShortFilesAreRefusedAndLeftAlone)
{
    EXPECT_FALSE(DecryptSignature(programDir / "Sign/none", "x"));
    EXPECT_FALSE(SignaturePasswordMatches(programDir / "Sign/none", "x"));
    EXPECT_FALSE(EncryptSignature(programDir / "Sign/none", "x"));
    EXPECT_FALSE(std::filesystem::exists(programDir / "Sign/none"));

    const auto shortFile = programDir.writeFile("Sign/short", "zar");
    EXPECT_FALSE(DecryptSignature(shortFile, " "));
    EXPECT_EQ(testkit::TempProgramDir::readFile(shortFile), "zar");

    // A tag alone is a signature of an empty picture: it unlocks to nothing, never crashes.
    std::vector<std::uint8_t> tagOnly;
    for (const char c : std::string("zarn", 5)) tagOnly.push_back(std::uint8_t(c) ^ SignatureKey("k"));
    const auto unlocked = UnlockSignatureBytes(tagOnly, "k");
    ASSERT_TRUE(unlocked.has_value());
    EXPECT_TRUE(unlocked->empty());
}

TEST(SignatureNames, StoredNameIsCutAtTheFirstDot)
{
    EXPECT_EQ(StoredSignatureName("sig.final"), "sig");
    EXPECT_EQ(StoredSignatureName("a.b.c"), "a");
    EXPECT_EQ(StoredSignatureName("张三"), "张三");
    // Nothing before the dot leaves nothing to store under: refused like an empty name.
    EXPECT_EQ(CheckSignatureName(StoredSignatureName(".hidden")), NameCheck::Empty);
    EXPECT_EQ(CheckSignatureName(""), NameCheck::Empty);
}

TEST(SignatureNames, SpecialCharactersAreRefused)
{
    for (const char* bad : {"a/b", "a*b", "a?b", "a<b", "a>b", "a\"b", "a|b", "a\\b"})
        EXPECT_EQ(CheckSignatureName(bad), NameCheck::SpecialCharacters) << bad;
    EXPECT_EQ(CheckSignatureName("my-sig_2 (new)"), NameCheck::Ok);
}

TEST(SignatureNames, LengthIsCheckedInCharactersAndInBytes)
{
    EXPECT_EQ(CheckSignatureName(std::string(254, 'x')), NameCheck::Ok);
    EXPECT_EQ(CheckSignatureName(std::string(255, 'x')), NameCheck::TooLong);
    std::string chinese;
    for (int i = 0; i < 85; ++i) chinese += "签";  // 85 characters, 255 bytes
    EXPECT_EQ(CheckSignatureName(chinese), NameCheck::Ok);
    chinese += "名";  // 86 characters but 258 bytes: no file system would take it
    EXPECT_EQ(CheckSignatureName(chinese), NameCheck::TooLong);
}

TEST_F(SignatureFileTest, OnlyNamesWithoutADotAreOffered)
{
    programDir.writeFile("Sign/alice", "x");
    programDir.writeFile("Sign/bob.bmp", "x");
    std::filesystem::create_directories(programDir / "Sign/folder");
    EXPECT_EQ(ListSignatureNames(programDir / "Sign"), std::vector<std::string>{"alice"});
    EXPECT_TRUE(ListSignatureNames(programDir / "NoSuchFolder").empty());
}

TEST(StampThumbnail, PictureKeepsItsShapeCentredInTheCell)
{
    EXPECT_EQ(StampThumbnailRect(100, 100), (StampRect{65, 0, 50, 50}));
    EXPECT_EQ(StampThumbnailRect(360, 50), (StampRect{0, 12, 180, 25}));
    EXPECT_EQ(StampThumbnailRect(180, 50), (StampRect{0, 0, 180, 50}));
    EXPECT_EQ(StampThumbnailRect(300, 400), (StampRect{71, 0, 37, 50}));
    EXPECT_EQ(StampThumbnailRect(0, 10), StampRect{});
}

}  // namespace
}  // namespace vestrel::signature
