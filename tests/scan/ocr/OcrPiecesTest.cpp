// The pieces of text recognition on their own: names, the document template, the canvas,
// the engine with its word boxes, and the way words find their place on a skewed page.

#include "OcrFiles.h"
#include "OcrTestPages.h"
#include "OdfTextDocument.h"
#include "PageReading.h"
#include "TempProgramDir.h"

#include <gtest/gtest.h>
#include <opencv2/imgproc.hpp>

#include <cmath>

namespace vestrel::ocr {
namespace {

using testkit::Letters;

TEST(OcrFiles, DatedNamesHaveNoLeadingZerosAndNeverReplaceAFile)
{
    std::tm t{};
    t.tm_year = 2026 - 1900;
    t.tm_mon = 0;
    t.tm_mday = 5;
    t.tm_hour = 9;
    t.tm_min = 0;
    t.tm_sec = 7;
    EXPECT_EQ(DatedStem(t), "2026年1月5日9时0分7秒");

    testkit::TempProgramDir dir;
    const auto first = ClaimNewFile(dir.path(), "a", ".txt");
    const auto second = ClaimNewFile(dir.path(), "a", ".txt");
    const auto third = ClaimNewFile(dir.path(), "a", ".txt");
    ASSERT_TRUE(first && second && third);
    EXPECT_EQ(first->filename(), "a.txt");
    EXPECT_EQ(second->filename(), "a_2.txt");
    EXPECT_EQ(third->filename(), "a_3.txt");
    EXPECT_FALSE(ClaimNewFile(dir.path() / "missing", "a", ".txt"));
}

TEST(OcrFiles, ShippedDataComeFromTheProgramFolder)
{
    testkit::TempProgramDir dir;
    EXPECT_FALSE(ShippedFile(kTemplateName));  // nor beside the test program
    testkit::InstallShippedData(dir.path());
    EXPECT_EQ(ShippedFile(kTemplateName), dir / kTemplateName);
    EXPECT_EQ(ShippedFile(kCanvasName), dir / kCanvasName);
}

TEST(OdfTextDocument, LinesBecomeParagraphsOfTheBookmarksStyleAndTextIsEscaped)
{
    const std::string templateXml =
        "<office:text><text:p text:style-name=\"Standard\">Before: "
        "<text:bookmark text:name=\"Text\"/></text:p></office:text>";
    const auto filled = FillTemplate(templateXml, "a < b & c\n\"x\"  >\tz\x01\n\n");
    ASSERT_TRUE(filled);
    EXPECT_EQ(*filled,
              "<office:text><text:p text:style-name=\"Standard\">Before: "
              "<text:bookmark text:name=\"Text\"/>a &lt; b &amp; c</text:p>"
              "<text:p text:style-name=\"Standard\">&quot;x&quot; <text:s text:c=\"1\"/>&gt;"
              "<text:tab/>z</text:p></office:text>");

    // Another bookmark, or one outside a paragraph, is not where the text goes.
    EXPECT_FALSE(FillTemplate("<text:p><text:bookmark text:name=\"Other\"/></text:p>", "x"));
    EXPECT_FALSE(FillTemplate("<text:bookmark text:name=\"Text\"/>", "x"));
    EXPECT_FALSE(FillTemplate("<text:p/><text:bookmark text:name=\"Text\"/>", "x"));
    // The start of a bookmark range counts as the bookmark.
    EXPECT_EQ(FillTemplate("<text:p><text:bookmark-start text:name=\"Text\"/>"
                           "<text:bookmark-end text:name=\"Text\"/></text:p>", "q"),
              "<text:p><text:bookmark-start text:name=\"Text\"/>q"
              "<text:bookmark-end text:name=\"Text\"/></text:p>");
}

TEST(OcrCanvas, SmallPicturesSitAtTheCornerOfACanvasThatHoldsThemWhole)
{
    testkit::TempProgramDir dir;
    testkit::InstallShippedData(dir.path());
    CxImage tall(300, 800, 24);
    tall.Clear(0);
    const CxImage placed = PlaceOnCanvas(tall, dir / kCanvasName);
    EXPECT_EQ(placed.GetWidth(), 600);  // the shipped canvas is 600 x 600
    EXPECT_EQ(placed.GetHeight(), 800);
    EXPECT_EQ(placed.GetPixelColor(299, 799).rgbRed, 0);
    EXPECT_GT(placed.GetPixelColor(300, 10).rgbRed, 240);
    EXPECT_GT(placed.GetPixelColor(599, 799).rgbRed, 240);

    // Without a canvas file: a white one of the smallest size readable.
    const CxImage bare = PlaceOnCanvas(CxImage(100, 50, 8), {});
    EXPECT_EQ(bare.GetWidth(), kSmallestReadSide);
    EXPECT_EQ(bare.GetHeight(), kSmallestReadSide);
}

TEST(TextRecogniser, ReadsAPageAndBoxesEveryWordOnItsInk)
{
    const CxImage picture = testkit::TextPicture(700, 300, {"Harbour master", "Gate 42"}, 40, 60, 40);
    TextRecogniser recogniser;
    ASSERT_TRUE(recogniser.open(testkit::kTestLanguage));
    const auto page = recogniser.recognise(picture.ToGrey(), 300);
    ASSERT_TRUE(page);
    EXPECT_EQ(Letters(page->text), "harbourmastergate42");
    ASSERT_EQ(page->words.size(), 4u);
    const cv::Mat grey = picture.ToGrey();
    for (const RecognisedWord& word : page->words) {
        ASSERT_TRUE((cv::Rect(0, 0, 700, 300) & word.box) == word.box) << word.text;
        double darkest = 0;
        cv::minMaxLoc(grey(word.box), &darkest);
        EXPECT_LT(darkest, 64) << word.text;
    }
    EXPECT_LT(page->words[0].box.x, page->words[1].box.x);  // reading order
    EXPECT_LT(page->words[1].box.y, page->words[2].box.y);

    // Cancelled before it starts: no page.
    std::atomic<bool> cancel{true};
    EXPECT_FALSE(recogniser.recognise(picture.ToGrey(), 300, &cancel));
    EXPECT_FALSE(TextRecogniser().recognise(picture.ToGrey(), 300));  // never opened
    EXPECT_FALSE(TextRecogniser().open("xx_none"));
}

TEST(PageReading, ASkewedPageIsStraightenedAndItsWordsPlacedOnTheSkewedInk)
{
    const CxImage level = testkit::TextPicture(
        900, 700, {"The night train leaves", "from platform nine", "shortly after eleven"}, 60, 150, 36);
    // Turned 4 degrees counter-clockwise, the way a page lies crooked under the camera.
    cv::Mat turned;
    const cv::Mat rotation = cv::getRotationMatrix2D(cv::Point2f(450, 350), 4.0, 1.0);
    cv::warpAffine(level.ToBgr(), turned, rotation, cv::Size(900, 700), cv::INTER_LINEAR,
                   cv::BORDER_CONSTANT, cv::Scalar::all(255));
    CxImage skewed;
    ASSERT_TRUE(skewed.CreateFromMat(turned));

    TextRecogniser recogniser;
    ASSERT_TRUE(recogniser.open(testkit::kTestLanguage));
    const auto page = ReadPicture(recogniser, skewed);
    ASSERT_TRUE(page);
    EXPECT_EQ(Letters(page->text), "thenighttrainleavesfromplatformnineshortlyaftereleven");
    EXPECT_EQ(page->width, 900);
    ASSERT_GE(page->words.size(), 9u);
    for (const PlacedWord& word : page->words) {
        EXPECT_NEAR(word.angleDegrees, 4.0, 0.5) << word.text;
        // Half way along the word and a third of its height above the baseline is ink or
        // close to it in the skewed picture.
        const double a = word.angleDegrees * CV_PI / 180.0;
        const double along = word.length / 2, up = word.height / 3;
        const cv::Point centre(int(word.x + along * std::cos(a) - up * std::sin(a)),
                               int(word.y - along * std::sin(a) - up * std::cos(a)));
        const cv::Rect around = cv::Rect(centre - cv::Point(8, 8), cv::Size(17, 17)) & cv::Rect(0, 0, 900, 700);
        double darkest = 0;
        cv::minMaxLoc(skewed.ToGrey()(around), &darkest);
        EXPECT_LT(darkest, 100) << word.text;
    }
}

}  // namespace
}  // namespace vestrel::ocr
