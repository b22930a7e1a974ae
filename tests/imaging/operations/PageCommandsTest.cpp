#include "BackgroundCleaning.h"
#include "OperationTestSupport.h"

#include <gtest/gtest.h>

namespace vestrel::operations::test {
namespace {

using PageCommandsTest = OperationTest;

TEST_F(PageCommandsTest, BinariseOnAGreyPictureDoesNothingAndRecordsNothing)
{
    auto grey = TestPicture();
    grey->GrayScale();
    doc->SetImage(std::move(grey));
    const auto before = Shown();
    EXPECT_FALSE(commands->Binarise());
    EXPECT_FALSE(commands->Busy());
    EXPECT_EQ(doc->History().Position(), 0);
    EXPECT_EQ(Shown(), before);
}

TEST_F(PageCommandsTest, BinariseMakesAPaletteColourPictureBlackAndWhiteAndBackGivesItBack)
{
    auto page = PagePicture(200, 150, 0);
    page->DecreaseBpp(8, false);  // a colour palette picture: it is raised first
    doc->SetImage(std::move(page));
    const auto before = Shown();
    ASSERT_TRUE(commands->Binarise());
    commands->Wait();
    const CxImage& result = *doc->Image();
    EXPECT_TRUE(result.IsGrayScale());
    for (int y = 0; y < result.GetHeight(); y += 7)
        for (int x = 0; x < result.GetWidth(); x += 5) {
            const auto v = result.GetPixelColor(x, y).rgbRed;
            ASSERT_TRUE(v == 0 || v == 255);
        }
    EXPECT_EQ(doc->Backup().Dump(), before);
    doc->OnBack();
    EXPECT_EQ(Shown(), before);
}

TEST_F(PageCommandsTest, BackgroundRemovalOfASmallPictureStillCleansIt)
{
    // Under 40 pixels the normalisation leaves the picture alone; the cleaning runs all
    // the same.
    doc->SetImage(TestPicture(36, 30));
    doc->Image()->SelectionAddRect({0, 0, 5, 5});
    cv::Mat expected = doc->Image()->Pixels().clone();
    ASSERT_TRUE(docproc::CleanBackground(expected));
    ASSERT_TRUE(commands->RemoveBackground());
    commands->Wait();
    EXPECT_EQ(cv::norm(doc->Image()->Pixels(), expected, cv::NORM_INF), 0);
    EXPECT_FALSE(doc->Image()->SelectionIsValid());
    EXPECT_EQ(doc->History().Position(), 1);
}

TEST_F(PageCommandsTest, DeskewStraightensATurnedPageAndLeavesABlankOneWithItsStep)
{
    doc->SetImage(PagePicture(400, 300, 4.0));
    const auto turned = Shown();
    ASSERT_TRUE(commands->AutoDeskew());
    commands->Wait();
    EXPECT_NE(Shown(), turned);
    EXPECT_GT(doc->Image()->GetWidth(), 400);  // the canvas grows to hold the turned page

    auto blank = std::make_unique<CxImage>(120, 90, 24);
    blank->Clear(230);
    doc->SetImage(std::move(blank));
    doc->ClearHistory();
    const auto before = Shown();
    ASSERT_TRUE(commands->AutoDeskew());
    commands->Wait();
    EXPECT_EQ(Shown(), before);
    EXPECT_EQ(doc->History().Position(), 1);
}

TEST_F(PageCommandsTest, ManualDeskewStartsTheToolFittedWithTheHandleInPlace)
{
    doc->SetImage(TestPicture());
    doc->Image()->SelectionAddRect({0, 0, 9, 9});
    doc->SelectTool(document::Tool::Pan);
    viewSize = {800, 500};
    ASSERT_TRUE(commands->StartManualDeskew());
    EXPECT_TRUE(doc->ToolOn(document::Tool::Deskew));
    EXPECT_TRUE(doc->IsFitWindow());
    EXPECT_FALSE(doc->ToolOn(document::Tool::Pan));
    EXPECT_FALSE(doc->Image()->SelectionIsValid());
    EXPECT_EQ(doc->History().Position(), 1);
    EXPECT_EQ(handle, std::make_pair(400.0f, 150.0f));
    EXPECT_EQ(scrollResets, 1);
    EXPECT_EQ(doc->Backup().Dump(), Shown());
}

}  // namespace
}  // namespace vestrel::operations::test
