#include "FrameBitmap.h"
#include "NewFile.h"
#include "TempProgramDir.h"

#include <gtest/gtest.h>
#include <opencv2/imgcodecs.hpp>

#include <cstring>
#include <fstream>

namespace vestrel::scan {
namespace {

namespace fs = std::filesystem;

std::uint32_t U32(const std::vector<std::uint8_t>& b, std::size_t at)
{
    return std::uint32_t(b[at]) | std::uint32_t(b[at + 1]) << 8 | std::uint32_t(b[at + 2]) << 16 |
           std::uint32_t(b[at + 3]) << 24;
}

TEST(FrameBitmap, HeadersAreTheClassicFiftyFourBytes)
{
    cv::Mat frame(2, 4, CV_8UC3, cv::Scalar(1, 2, 3));
    frame.at<cv::Vec3b>(0, 0) = {10, 20, 30};   // top-left
    frame.at<cv::Vec3b>(1, 3) = {40, 50, 60};   // bottom-right
    const std::vector<std::uint8_t> b = FrameBitmapBytes(frame);
    ASSERT_EQ(b.size(), 54u + 24u);
    EXPECT_EQ(b[0], 'B');
    EXPECT_EQ(b[1], 'M');
    EXPECT_EQ(U32(b, 2), 78u);    // file size = pixel bytes + 54
    EXPECT_EQ(U32(b, 6), 0u);     // reserved
    EXPECT_EQ(U32(b, 10), 54u);   // pixel offset
    EXPECT_EQ(U32(b, 14), 40u);   // info header size
    EXPECT_EQ(U32(b, 18), 4u);    // width
    EXPECT_EQ(U32(b, 22), 2u);    // height, positive: bottom row first
    EXPECT_EQ(b[26] | b[27] << 8, 1);   // planes
    EXPECT_EQ(b[28] | b[29] << 8, 24);  // bits per pixel
    for (std::size_t at = 30; at < 54; at += 4) EXPECT_EQ(U32(b, at), 0u) << "field at " << at;
    // The bottom row comes first in the file.
    EXPECT_EQ(b[54 + 9], 40);
    EXPECT_EQ(b[54 + 12], 10);
}

TEST(FrameBitmap, OddWidthsGetPaddedRowsAndReadBackExactly)
{
    testkit::TempProgramDir dir;
    cv::Mat frame(3, 5, CV_8UC3);
    cv::randu(frame, 0, 255);
    const std::vector<std::uint8_t> b = FrameBitmapBytes(frame);
    EXPECT_EQ(b.size(), 54u + 3 * 16);
    const fs::path p = dir / "odd.bmp";
    ASSERT_TRUE(WriteFrameBitmap(p, frame));
    const cv::Mat back = cv::imread(p.string(), cv::IMREAD_UNCHANGED);
    ASSERT_FALSE(back.empty());
    EXPECT_EQ(cv::norm(back, frame, cv::NORM_INF), 0.0);
    EXPECT_TRUE(FrameBitmapBytes(cv::Mat()).empty());
    EXPECT_TRUE(FrameBitmapBytes(cv::Mat(2, 2, CV_8UC1)).empty());
}

TEST(NewFile, AppearsWholeOrNotAtAllAndNeverReplaces)
{
    testkit::TempProgramDir dir;
    const fs::path target = dir / "Photo/scan.jpg";
    std::string error;
    EXPECT_EQ(StoreNewFile(target, [](const fs::path& p) { return bool(std::ofstream(p) << "one"); }),
              NewFileResult::Stored);
    EXPECT_EQ(testkit::TempProgramDir::readFile(target), "one");

    EXPECT_EQ(StoreNewFile(target, [](const fs::path& p) { return bool(std::ofstream(p) << "two"); }),
              NewFileResult::TargetExists);
    EXPECT_EQ(testkit::TempProgramDir::readFile(target), "one");

    const fs::path failed = dir / "Photo/failed.jpg";
    EXPECT_EQ(StoreNewFile(failed,
                           [](const fs::path& p) {
                               std::ofstream(p) << "half";
                               return false;
                           },
                           &error),
              NewFileResult::Failed);
    EXPECT_FALSE(fs::exists(failed));
    EXPECT_EQ(std::distance(fs::directory_iterator(dir / "Photo"), fs::directory_iterator()), 1)
        << "no scratch file stays behind";

    EXPECT_EQ(StoreNewFile(dir / "missing/x.jpg", [](const fs::path&) { return true; }, &error),
              NewFileResult::Failed);
    EXPECT_FALSE(error.empty());
}

}  // namespace
}  // namespace vestrel::scan
