#include "BackgroundNormalisation.h"
#include "ImageCompare.h"

#include <gtest/gtest.h>
#include <opencv2/core.hpp>
#include <opencv2/imgproc.hpp>

#include <array>

using vestrel::docproc::NormaliseBackground;
using vestrel::testkit::SamePixels;

namespace {

// Paper levels of the ten block columns (or rows) of the hand-made pictures below: rising,
// falling, above the target, and dark enough to hit the gain limit.
constexpr std::array<int, 10> kBlockLevels{130, 141, 150, 139, 200, 180, 181, 230, 120, 100};

// Grid cells of the hand-made pictures hold 120 everywhere except their sample pixel (the
// bottom-left pixel of each cell, grid anchored at the bottom-left corner), which carries
// the level of its block. What a cell becomes therefore shows the level the routine gave it.
cv::Mat SampledPicture(int width, int height, bool levelsAlongColumns)
{
    cv::Mat picture(height, width, CV_8UC1, cv::Scalar(120));
    const int gridWidth = width / 4;
    const int gridHeight = height / 4;
    for (int gy = 0; gy < gridHeight; ++gy) {
        for (int gx = 0; gx < gridWidth; ++gx) {
            const int block = levelsAlongColumns ? gx * 10 / gridWidth : gy * 10 / gridHeight;
            picture.at<uchar>(height - 1 - 4 * gy, 4 * gx) = static_cast<uchar>(kBlockLevels[block]);
        }
    }
    return picture;
}

// What a pixel of 120 becomes in each grid cell along the varying direction: 120 times
// min(250 / level, 2), where the levels between block centres come from slopes of a fifth.
constexpr std::array<int, 50> kExpectedCells{
    230, 230, 230, 227, 223, 220, 217, 212, 211, 208, 205, 202, 200, 204, 206, 209, 212,
    215, 198, 184, 171, 160, 150, 153, 156, 159, 163, 166, 166, 166, 166, 166, 165, 157,
    150, 142, 136, 130, 144, 161, 182, 211, 240, 240, 240, 240, 240, 240, 240, 240};

TEST(BackgroundNormalisation, ExactValuesAlongTheColumns)
{
    // 202 x 161: 50 x 40 cells, two spare columns on the right and one spare row on top.
    const cv::Mat original = SampledPicture(202, 161, true);
    cv::Mat picture = original.clone();
    ASSERT_TRUE(NormaliseBackground(picture));

    for (int row = 1; row < 161; ++row) {
        if ((160 - row) % 4 == 0)
            continue;  // rows of sample pixels
        for (int gx = 0; gx < 50; ++gx)
            for (int k = 0; k < 4; ++k)
                ASSERT_EQ(picture.at<uchar>(row, 4 * gx + k), kExpectedCells[gx])
                    << "row " << row << ", cell column " << gx;
    }
    EXPECT_TRUE(SamePixels(picture.row(0), original.row(0)));
    EXPECT_TRUE(SamePixels(picture.colRange(200, 202), original.colRange(200, 202)));
}

TEST(BackgroundNormalisation, ExactValuesAlongTheRowsCountFromTheBottom)
{
    // 162 x 202: 40 x 50 cells; the two top rows and two right columns are spare.
    const cv::Mat original = SampledPicture(162, 202, false);
    cv::Mat picture = original.clone();
    ASSERT_TRUE(NormaliseBackground(picture));

    for (int gy = 0; gy < 50; ++gy)
        for (int k = 0; k < 4; ++k)
            ASSERT_EQ(picture.at<uchar>(201 - 4 * gy - k, 1), kExpectedCells[gy]) << "cell row " << gy;
    EXPECT_TRUE(SamePixels(picture.rowRange(0, 2), original.rowRange(0, 2)));
    EXPECT_TRUE(SamePixels(picture.colRange(160, 162), original.colRange(160, 162)));
}

TEST(BackgroundNormalisation, ColourChannelsShareTheGainOfTheirGreyLevel)
{
    // BGR (100, 150, 200) is grey 159: gain 250 / 159 on every channel, red saturating.
    cv::Mat picture(160, 200, CV_8UC3, cv::Scalar(100, 150, 200));
    ASSERT_TRUE(NormaliseBackground(picture));
    EXPECT_TRUE(SamePixels(picture, cv::Mat(160, 200, CV_8UC3, cv::Scalar(157, 235, 255))));
}

TEST(BackgroundNormalisation, PicturesUnderFortyPixelsAreLeftAlone)
{
    for (const cv::Size size : {cv::Size(39, 400), cv::Size(400, 39), cv::Size(3, 3)}) {
        const cv::Mat original = vestrel::testkit::PatternImage(size.width, size.height) / 2;
        cv::Mat picture = original.clone();
        EXPECT_TRUE(NormaliseBackground(picture)) << size;
        EXPECT_TRUE(SamePixels(picture, original)) << size;
    }
    // 40 x 40 is the smallest picture with a block grid.
    cv::Mat smallest(40, 40, CV_8UC1, cv::Scalar(100));
    ASSERT_TRUE(NormaliseBackground(smallest));
    EXPECT_EQ(smallest.at<uchar>(20, 20), 200);
}

TEST(BackgroundNormalisation, SmallPicturesAreBrightenedNotDimmed)
{
    // 120 x 100 is a grid of 750 cells, whose share of paper truncates to no sample at all.
    // Each block's brightest sample still counts as its paper.
    cv::Mat picture(100, 120, CV_8UC1, cv::Scalar(125));
    ASSERT_TRUE(NormaliseBackground(picture));
    EXPECT_TRUE(SamePixels(picture, cv::Mat(100, 120, CV_8UC1, cv::Scalar(250))));
}

TEST(BackgroundNormalisation, BlockWithoutPaperKeepsLevelZeroAndItsCentreCell)
{
    // 200 x 160: 50 x 40 cells, blocks of 5 x 4 cells, centres at cell (2 + 5j, 2 + 4i).
    // The samples of block (row 4, column 4) are all black, so its level is 0.
    cv::Mat picture(160, 200, CV_8UC1, cv::Scalar(125));
    for (int gy = 16; gy < 20; ++gy)
        for (int gx = 20; gx < 25; ++gx)
            picture.at<uchar>(159 - 4 * gy, 4 * gx) = 0;
    const cv::Mat original = picture.clone();
    ASSERT_TRUE(NormaliseBackground(picture));

    // The centre cell (22, 18) keeps its pixels; its neighbours get a low level from the
    // interpolation towards 0 and are doubled.
    const cv::Rect centre(4 * 22, 159 - 4 * 18 - 3, 4, 4);
    EXPECT_TRUE(SamePixels(picture(centre), original(centre)));
    EXPECT_EQ(picture.at<uchar>(159 - 4 * 18 - 1, 4 * 21 + 1), 250);
    EXPECT_EQ(picture.at<uchar>(159 - 4 * 17 - 1, 4 * 22 + 1), 250);
    // Far from it the paper of 125 is doubled as well.
    EXPECT_EQ(picture.at<uchar>(10, 10), 250);
}

TEST(BackgroundNormalisation, GainIsAtMostTwo)
{
    cv::Mat dark(300, 400, CV_8UC3, cv::Scalar(30, 60, 90));
    cv::circle(dark, {200, 150}, 60, cv::Scalar(10, 20, 40), cv::FILLED);
    cv::Mat expected = dark * 2;
    ASSERT_TRUE(NormaliseBackground(dark));
    EXPECT_TRUE(SamePixels(dark, expected));
}

TEST(BackgroundNormalisation, SpareColumnsAndTopRowsAreNeverTouched)
{
    // 203 x 162: three spare columns on the right, two spare rows on top.
    const cv::Mat original = vestrel::testkit::PatternImage(203, 162) / 2;
    cv::Mat picture = original.clone();
    ASSERT_TRUE(NormaliseBackground(picture));
    EXPECT_TRUE(SamePixels(picture.colRange(200, 203), original.colRange(200, 203)));
    EXPECT_TRUE(SamePixels(picture.rowRange(0, 2), original.rowRange(0, 2)));
    EXPECT_GT(vestrel::testkit::MaxAbsDiff(picture.rowRange(2, 162).colRange(0, 200),
                                           original.rowRange(2, 162).colRange(0, 200)),
              50);
}

TEST(BackgroundNormalisation, RefusesWhatItCannotNormalise)
{
    cv::Mat empty;
    EXPECT_FALSE(NormaliseBackground(empty));

    for (const int type : {CV_8UC4, CV_16UC1, CV_32FC3, CV_8UC2}) {
        cv::Mat picture(100, 100, type, cv::Scalar::all(7));
        const cv::Mat original = picture.clone();
        EXPECT_FALSE(NormaliseBackground(picture)) << type;
        EXPECT_EQ(cv::norm(picture, original, cv::NORM_INF), 0) << type;
    }
    cv::Mat picture(100, 100, CV_8UC3, cv::Scalar::all(100));
    for (const int level : {0, -5, 256}) {
        EXPECT_FALSE(NormaliseBackground(picture, level)) << level;
        EXPECT_EQ(picture.at<cv::Vec3b>(50, 50), cv::Vec3b(100, 100, 100));
    }
}

}  // namespace
