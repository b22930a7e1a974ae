#include "BackgroundCleaning.h"
#include "Binarisation.h"
#include "Deskew.h"
#include "TempProgramDir.h"

#include <gtest/gtest.h>
#include <opencv2/imgproc.hpp>

#include <filesystem>

using namespace vestrel::docproc;

namespace {

// A page of text lines, turned counter-clockwise by `degrees`, under light that falls off.
cv::Mat TextPage(double degrees)
{
    cv::Mat page(900, 1200, CV_8UC3, cv::Scalar(225, 230, 235));
    for (int y = 200; y < 720; y += 34)
        cv::putText(page, "the quick brown fox jumps over 1234 lazy dogs", {250, y}, cv::FONT_HERSHEY_SIMPLEX,
                    0.8, cv::Scalar(30, 30, 30), 2, cv::LINE_AA);
    cv::warpAffine(page, page, cv::getRotationMatrix2D({600, 450}, degrees, 1.0), page.size(),
                   cv::INTER_LINEAR, cv::BORDER_REPLICATE);
    for (int x = 0; x < page.cols; ++x)
        page.col(x) *= 1.0 - 0.4 * x / page.cols;
    return page;
}

TEST(Binarisation, OnlyBlackAndWhiteWithTheTextInk)
{
    const cv::Mat page = TextPage(0);
    cv::Mat blackWhite;
    ASSERT_TRUE(Binarise(page, blackWhite));
    ASSERT_EQ(blackWhite.type(), CV_8UC1);
    ASSERT_EQ(blackWhite.size(), page.size());
    EXPECT_EQ(cv::countNonZero((blackWhite != 0) & (blackWhite != 255)), 0);
    // Ink inside the text block, white paper outside it despite the darker right side.
    EXPECT_GT(cv::countNonZero(blackWhite(cv::Rect(250, 180, 700, 540)) == 0), 20000);
    EXPECT_EQ(cv::countNonZero(blackWhite(cv::Rect(0, 760, 1200, 140)) == 0), 0);

    cv::Mat untouched(1, 1, CV_8UC1, cv::Scalar(9));
    EXPECT_FALSE(Binarise(cv::Mat(), untouched));
    EXPECT_FALSE(Binarise(cv::Mat(10, 10, CV_32FC1), untouched));
    EXPECT_EQ(untouched.at<uchar>(0, 0), 9);
}

TEST(Deskew, FindsAKnownAngleAndTurnsThePageLevel)
{
    const SkewMeasurement skew = MeasureSkew(TextPage(6.0));
    ASSERT_TRUE(skew.reliable);
    EXPECT_NEAR(skew.angleDegrees, 6.0, 0.2);

    cv::Mat straight;
    ASSERT_NE(Deskew(TextPage(-4.5), straight), 0);
    EXPECT_EQ(straight.type(), CV_8UC3);
    EXPECT_NEAR(MeasureSkew(straight).angleDegrees, 0.0, 0.2);
}

TEST(Deskew, LeavesBlankPagesAndPhotographsAlone)
{
    cv::Mat blank(900, 1200, CV_8UC3, cv::Scalar(225, 230, 235));
    cv::randn(blank, cv::Scalar::all(225), cv::Scalar::all(4));
    cv::Mat photo(900, 1200, CV_8UC3);
    cv::resize(cv::Mat(3, 4, CV_8UC3, cv::Scalar(40, 200, 90)) + cv::Scalar(0, 0, 0), photo, photo.size());
    cv::circle(photo, {500, 400}, 300, cv::Scalar(20, 30, 200), cv::FILLED);
    cv::Mat out(1, 1, CV_8UC1, cv::Scalar(5));
    EXPECT_EQ(Deskew(blank, out), 0);
    EXPECT_EQ(Deskew(photo, out), 0);
    EXPECT_EQ(Deskew(cv::Mat(), out), 0);
    EXPECT_EQ(out.at<uchar>(0, 0), 5);
}

TEST(BackgroundCleaning, WhitensPaperAndKeepsStrokes)
{
    cv::Mat page = TextPage(0);
    cv::Mat before;
    cv::cvtColor(page, before, cv::COLOR_BGR2GRAY);
    ASSERT_TRUE(CleanBackground(page, kCleaningContrast, kCleaningNoiseLevel));
    cv::Mat after;
    cv::cvtColor(page, after, cv::COLOR_BGR2GRAY);
    EXPECT_GE(cv::mean(after(cv::Rect(0, 760, 1200, 140)))[0], 250);
    EXPECT_LT(cv::countNonZero(after(cv::Rect(250, 180, 700, 540)) < 100), 
              cv::countNonZero(before(cv::Rect(250, 180, 700, 540)) < 120) + 1);
    EXPECT_GT(cv::countNonZero(after(cv::Rect(250, 180, 700, 540)) < 100), 10000);

    cv::Mat grey(10, 10, CV_16UC1, cv::Scalar(7));
    EXPECT_FALSE(CleanBackground(grey));
    EXPECT_FALSE(CleanBackground(page, 0.0, 8.0));
}

TEST(Docproc, NoRoutineWritesAFile)
{
    vestrel::testkit::TempProgramDir dir;
    const auto previous = std::filesystem::current_path();
    std::filesystem::current_path(dir.path());
    auto count = [&] {
        return std::distance(std::filesystem::recursive_directory_iterator(dir.path()),
                             std::filesystem::recursive_directory_iterator());
    };
    const auto entries = count();
    cv::Mat page = TextPage(3.0);
    cv::Mat out;
    Binarise(page, out);
    Deskew(page, out);
    CleanBackground(page);
    EXPECT_EQ(count(), entries);
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "temp.bmp"));
    std::filesystem::current_path(previous);
}

}  // namespace
