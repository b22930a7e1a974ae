// The two-sided ID-card copy: where the two sides land on the page, which part of the frame
// a side is, the refusal of large areas, the page file across the two steps, and the scan
// command handing its requests to the copy.

#include "IdCardCopier.h"
#include "ScanFixture.h"
#include "ScanMessages.h"

#include <opencv2/imgcodecs.hpp>
#include <opencv2/imgproc.hpp>

namespace vestrel::scan {
namespace {

namespace fs = std::filesystem;
using testing::ScanTest;

const cv::Vec3b kWhite(255, 255, 255);
const cv::Vec3b kRed(0, 0, 255);     // BGR
const cv::Vec3b kGreen(0, 200, 0);
const cv::Vec3b kBlue(255, 0, 0);

class IdCardCopyTest : public ScanTest {
protected:
    IdCardCopyTest() : copier(settings, prompter, frames)
    {
        copier.setClock([this] { return clock; });
        settings.foramt = ".png";
        settings.lwidth = 1000;
        settings.lheight = 800;
        useIdCardEntry();
    }
    void useIdCardEntry()
    {
        settings.w = 710;
        settings.h = 450;
        settings.presetInForce = false;
    }
    // A blue desk with the centred w x h area in `colour`.
    void deliverCard(const cv::Vec3b& colour)
    {
        cv::Mat frame(settings.lheight, settings.lwidth, CV_8UC3, cv::Scalar(kBlue));
        const cv::Rect area((settings.lwidth - settings.w) / 2, (settings.lheight - settings.h) / 2,
                            settings.w, settings.h);
        frame(area).setTo(cv::Scalar(colour));
        deliver(frame);
    }
    std::vector<fs::path> photoFiles() const
    {
        std::vector<fs::path> files;
        for (const auto& e : fs::directory_iterator(photo())) files.push_back(e.path().filename());
        return files;
    }

    IdCardCopier copier;
};

// Rows [top, top + height) of column x all have `colour`, and the rows just outside do not.
void ExpectBand(const cv::Mat& page, int x, int top, int height, const cv::Vec3b& colour)
{
    EXPECT_EQ(page.at<cv::Vec3b>(top, x), colour) << "first row " << top;
    EXPECT_EQ(page.at<cv::Vec3b>(top + height - 1, x), colour) << "last row " << top + height - 1;
    EXPECT_NE(page.at<cv::Vec3b>(top - 1, x), colour) << "row above " << top - 1;
    EXPECT_NE(page.at<cv::Vec3b>(top + height, x), colour) << "row below " << top + height;
}

TEST(IdCardPage, IdCardSidesSitCentredThirtyPixelsApart)
{
    // Lower edges 650 and 1130 above the page's bottom: top rows 2200 - 650 - 450 and
    // 2200 - 1130 - 450.
    EXPECT_EQ(CardPlacement(CardSide::Front, 710, 450), (PixelPoint{445, 1100}));
    EXPECT_EQ(CardPlacement(CardSide::Back, 710, 450), (PixelPoint{445, 620}));
    // The largest card: both sides still on the page, 40 pixels from its bottom and 10
    // from its top.
    EXPECT_EQ(CardPlacement(CardSide::Front, 1200, 1060), (PixelPoint{200, 1100}));
    EXPECT_EQ(CardPlacement(CardSide::Back, 1200, 1060), (PixelPoint{200, 10}));
    EXPECT_TRUE(FitsCopyPage({0, 0, 1200, 1060}));
    EXPECT_FALSE(FitsCopyPage({0, 0, 1201, 1060}));
    EXPECT_FALSE(FitsCopyPage({0, 0, 1200, 1061}));
}

TEST_F(IdCardCopyTest, FrontAndBackLandOnOnePageFile)
{
    deliverCard(kRed);
    const CopyStepOutcome front = copier.step();
    ASSERT_EQ(front.status, CopyStepStatus::FrontPlaced) << front.message;
    EXPECT_EQ(front.path, photo() / "26-01-03-09-05-07.png");
    EXPECT_EQ(copier.nextSide(), CardSide::Back);
    cv::Mat page = cv::imread(front.path.string());
    ASSERT_EQ(page.size(), cv::Size(1600, 2200));
    ExpectBand(page, 445, 1100, 450, kRed);
    EXPECT_EQ(page.at<cv::Vec3b>(1300, 444), kWhite);
    EXPECT_EQ(page.at<cv::Vec3b>(1300, 445 + 710), kWhite);
    EXPECT_EQ(page.at<cv::Vec3b>(800, 800), kWhite);  // the back's place is still empty

    clock.tm_sec = 30;  // the back comes later; it keeps the page's name
    deliverCard(kGreen);
    const CopyStepOutcome back = copier.step();
    ASSERT_EQ(back.status, CopyStepStatus::BackPlaced) << back.message;
    EXPECT_EQ(back.path, front.path);
    EXPECT_EQ(photoFiles(), std::vector<fs::path>{"26-01-03-09-05-07.png"});
    page = cv::imread(back.path.string());
    ExpectBand(page, 445, 620, 450, kGreen);
    ExpectBand(page, 445, 1100, 450, kRed);
    EXPECT_EQ(page.at<cv::Vec3b>(1085, 800), kWhite);  // the 30-pixel gap
    // A back taken by the scan command keeps the step: a further back replaces it.
    EXPECT_EQ(copier.nextSide(), CardSide::Back);
    deliverCard(kBlue);
    ASSERT_EQ(copier.step().status, CopyStepStatus::BackPlaced);
    page = cv::imread(back.path.string());
    EXPECT_EQ(page.at<cv::Vec3b>(800, 800), kBlue);
    EXPECT_EQ(page.at<cv::Vec3b>(1300, 800), kRed);
}

TEST_F(IdCardCopyTest, FinishingACardStartsTheNextOnANewPage)
{
    deliverCard(kRed);
    ASSERT_EQ(copier.step().status, CopyStepStatus::FrontPlaced);
    const CopyStepOutcome back = copier.finishCard();
    ASSERT_EQ(back.status, CopyStepStatus::BackPlaced);
    EXPECT_EQ(copier.nextSide(), CardSide::Front);
    // The next card within the same second never replaces the finished page.
    const CopyStepOutcome next = copier.step();
    ASSERT_EQ(next.status, CopyStepStatus::FrontPlaced);
    EXPECT_EQ(next.path, photo() / "26-01-03-09-05-07_2.png");
    EXPECT_EQ(cv::imread(back.path.string()).at<cv::Vec3b>(800, 800), kRed);
    EXPECT_EQ(cv::imread(next.path.string()).at<cv::Vec3b>(800, 800), kWhite);
}

TEST_F(IdCardCopyTest, AreaLargerThanTheCardLimitIsRefusedWithoutAFile)
{
    settings.lwidth = 2592;
    settings.lheight = 1944;
    settings.w = 2395;  // "A4 (上端)"
    settings.h = 1720;
    deliver(cv::Mat(1944, 2592, CV_8UC3, cv::Scalar(kRed)));
    const CopyStepOutcome out = copier.step();
    EXPECT_EQ(out.status, CopyStepStatus::TooLarge);
    EXPECT_EQ(prompter.texts(), std::vector<std::string>{messages::kCardTooLarge});
    EXPECT_TRUE(photoFiles().empty());
    EXPECT_EQ(copier.nextSide(), CardSide::Front);

    // Refused at the back as well: the step stays where it was, the page file untouched.
    useIdCardEntry();
    ASSERT_EQ(copier.step().status, CopyStepStatus::FrontPlaced);
    const auto before = fs::last_write_time(copier.pageFile());
    settings.w = 1201;
    EXPECT_EQ(copier.step().status, CopyStepStatus::TooLarge);
    EXPECT_EQ(copier.nextSide(), CardSide::Back);
    EXPECT_EQ(fs::last_write_time(copier.pageFile()), before);
}

TEST_F(IdCardCopyTest, PresetRectangleIsCopiedAsTheUserSawIt)
{
    // Columns 100..400, rows counted from the bottom 200..350: top-down rows 450..600 of
    // the 800-row frame. Its top-left corner is marked green.
    settings.presetInForce = true;
    settings.left = 100;
    settings.right = 400;
    settings.top = 200;
    settings.bottom = 350;
    cv::Mat frame(800, 1000, CV_8UC3, cv::Scalar(kBlue));
    frame(cv::Rect(100, 450, 300, 150)).setTo(cv::Scalar(kRed));
    frame(cv::Rect(100, 450, 20, 10)).setTo(cv::Scalar(kGreen));
    deliver(frame);

    const CopyStepOutcome out = copier.step();
    ASSERT_EQ(out.status, CopyStepStatus::FrontPlaced) << out.message;
    const cv::Mat page = cv::imread(out.path.string());
    // A 300 x 150 card at x 650, lower edge (2200 - 300) / 2 = 950: top row 1100.
    const cv::Rect card(650, 1100, 300, 150);
    cv::Mat blue;
    cv::inRange(page(card), cv::Scalar(kBlue), cv::Scalar(kBlue), blue);
    EXPECT_EQ(cv::countNonZero(blue), 0) << "nothing outside the rectangle was copied";
    // Turned by 180 degrees: the marked corner is now bottom right.
    EXPECT_EQ(page.at<cv::Vec3b>(1100 + 149, 650 + 299), kGreen);
    EXPECT_EQ(page.at<cv::Vec3b>(1100 + 140, 650 + 280), kGreen);
    EXPECT_EQ(page.at<cv::Vec3b>(1100 + 139, 650 + 299), kRed);
    EXPECT_EQ(page.at<cv::Vec3b>(1100, 650), kRed);
    EXPECT_EQ(page.at<cv::Vec3b>(1099, 650), kWhite);
}

TEST_F(IdCardCopyTest, BackSideRunsTheChainWithoutItsCrop)
{
    settings.grayscale = 1;
    settings.orientation.rotateRight = true;
    deliverCard(kRed);
    const CopyStepOutcome front = copier.step();
    ASSERT_EQ(front.status, CopyStepStatus::FrontPlaced);
    const cv::Mat plain = cv::imread(front.path.string(), cv::IMREAD_UNCHANGED);
    EXPECT_EQ(plain.size(), cv::Size(1600, 2200));
    EXPECT_EQ(plain.channels(), 3);

    ASSERT_EQ(copier.step().status, CopyStepStatus::BackPlaced);
    const cv::Mat finished = cv::imread(front.path.string(), cv::IMREAD_UNCHANGED);
    // The whole page, turned right and grey: not cut to the 710 x 450 scan area.
    EXPECT_EQ(finished.size(), cv::Size(2200, 1600));
    EXPECT_EQ(finished.channels(), 1);
}

TEST_F(IdCardCopyTest, PdfFormatKeepsThePageAsABitmap)
{
    settings.foramt = ".pdf";
    deliverCard(kRed);
    const CopyStepOutcome out = copier.step();
    ASSERT_EQ(out.status, CopyStepStatus::FrontPlaced);
    EXPECT_EQ(out.path.filename(), "26-01-03-09-05-07.bmp");
    EXPECT_EQ(cv::imread(out.path.string()).size(), cv::Size(1600, 2200));
}

TEST_F(IdCardCopyTest, StepsReportToTheWindowInOrder)
{
    std::vector<std::string> events;
    CopyEvents e;
    e.playShutter = [&] { events.push_back("shutter"); };
    e.showPage = [&](const CxImage& page) {
        events.push_back("page " + std::to_string(page.GetWidth()) + "x" + std::to_string(page.GetHeight()));
    };
    e.openPage = [&](const fs::path& p) { events.push_back("open " + p.filename().string()); };
    e.refreshLibrary = [&] { events.push_back("refresh"); };
    e.redrawInformation = [&] { events.push_back("redraw"); };
    copier.setEvents(e);
    deliverCard(kRed);
    copier.step();
    copier.step();
    EXPECT_EQ(events, (std::vector<std::string>{"shutter", "page 1600x2200", "redraw", "refresh", "shutter",
                                                "open 26-01-03-09-05-07.png", "redraw", "refresh"}));
}

TEST_F(IdCardCopyTest, ScanCommandRunsTheCopyWhileTheModeIsOn)
{
    scanner.setIdCardCopy(&copier);
    state.idCardCopyMode = true;
    deliverCard(kRed);
    EXPECT_EQ(scanner.scan().status, ScanStatus::IdCardStep);
    EXPECT_EQ(copier.nextSide(), CardSide::Back);
    EXPECT_EQ(photoFiles(), std::vector<fs::path>{"26-01-03-09-05-07.png"});
    state.idCardCopyMode = false;
    EXPECT_EQ(scanner.scan().status, ScanStatus::Stored);
    EXPECT_EQ(copier.nextSide(), CardSide::Back);
}

}  // namespace
}  // namespace vestrel::scan
