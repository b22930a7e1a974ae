#include "MarkImage.h"
#include "SignatureFile.h"
#include "TempProgramDir.h"

#include <gtest/gtest.h>
#include <opencv2/imgcodecs.hpp>

#include <fstream>
#include <iterator>

namespace vestrel::signature {
namespace {

std::string ReadFile(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// A red square on white, written in the format the extension of `saveAs` names.
void WriteRedSquare(const std::filesystem::path& saveAs, int width, int height)
{
    cv::Mat picture(height, width, CV_8UC3, cv::Scalar(255, 255, 255));
    picture(cv::Rect(width / 4, height / 4, width / 2, height / 2)).setTo(cv::Scalar(0, 0, 255));
    ASSERT_TRUE(cv::imwrite(saveAs.string(), picture));
}

class MarkImageTest : public testkit::ProgramDirTest {};

TEST_F(MarkImageTest, SignatureUnlocksInMemoryWithWhiteTransparent)
{
    const auto bmp = programDir / "Sign/sig.bmp";
    WriteRedSquare(bmp, 40, 20);
    const auto path = programDir / "Sign/sig";
    std::filesystem::rename(bmp, path);
    ASSERT_TRUE(EncryptSignature(path, "pw"));
    const std::string scrambled = ReadFile(path);

    CxImage mark;
    ASSERT_TRUE(LoadSignatureMark(path, "pw", mark));
    EXPECT_EQ(mark.GetWidth(), 40);
    EXPECT_EQ(mark.GetHeight(), 20);
    EXPECT_TRUE(mark.IsTransparentAt(0, 0));
    EXPECT_FALSE(mark.IsTransparentAt(20, 10));
    EXPECT_EQ(ReadFile(path), scrambled);

    CxImage untouched;
    EXPECT_FALSE(LoadSignatureMark(path, "wrong", untouched));
    EXPECT_FALSE(untouched.IsValid());
}

TEST_F(MarkImageTest, ScrambledNonPictureIsRefused)
{
    const auto path = programDir.writeFile("Sign/text", "not a bitmap at all, only words");
    ASSERT_TRUE(EncryptSignature(path, "pw"));
    CxImage mark;
    EXPECT_FALSE(LoadSignatureMark(path, "pw", mark));
}

TEST_F(MarkImageTest, StampsAreReadByContentWhateverTheirName)
{
    for (const char* format : {"png", "jpg", "bmp"}) {
        const auto written = programDir / (std::string("Stamp/seal.") + format);
        WriteRedSquare(written, 100, 100);
        const auto misnamed = programDir / (std::string("Stamp/seal-") + format + ".bmp");
        std::filesystem::rename(written, misnamed);
        CxImage mark;
        ASSERT_TRUE(LoadStampMark(misnamed, mark)) << format;
        EXPECT_TRUE(mark.IsTransparentAt(1, 1)) << format;
        EXPECT_FALSE(mark.IsTransparentAt(50, 50)) << format;
    }
}

TEST_F(MarkImageTest, StampThumbnailIsDrawnInItsPlaceOnWhite)
{
    const auto path = programDir / "Stamp/seal.png";
    WriteRedSquare(path, 100, 100);
    const CxImage thumbnail = MakeStampThumbnail(path);
    ASSERT_EQ(thumbnail.GetWidth(), 180);
    ASSERT_EQ(thumbnail.GetHeight(), 50);
    const cv::Mat cell = thumbnail.ToBgr();
    // Drawn 50 × 50 at x 65: its red middle lies around (90, 25), white beside it.
    EXPECT_EQ(cell.at<cv::Vec3b>(25, 90), cv::Vec3b(0, 0, 255));
    EXPECT_EQ(cell.at<cv::Vec3b>(25, 60), cv::Vec3b(255, 255, 255));
    EXPECT_EQ(cell.at<cv::Vec3b>(25, 120), cv::Vec3b(255, 255, 255));
    // Red fills x 78..101 (the middle half of 65..115, its edges blended).
    EXPECT_EQ(cell.at<cv::Vec3b>(25, 79), cv::Vec3b(0, 0, 255));
    EXPECT_EQ(cell.at<cv::Vec3b>(25, 101), cv::Vec3b(0, 0, 255));
    EXPECT_EQ(cell.at<cv::Vec3b>(25, 75), cv::Vec3b(255, 255, 255));

    const CxImage blank = MakeStampThumbnail(programDir / "Stamp/missing.png");
    ASSERT_EQ(blank.GetWidth(), 180);
    EXPECT_EQ(cv::countNonZero(blank.ToGrey() != 255), 0);
}

}  // namespace
}  // namespace vestrel::signature
