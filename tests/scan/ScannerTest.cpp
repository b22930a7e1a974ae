#include "FileNaming.h"
#include "ScanFixture.h"
#include "ScanMessages.h"
#include "TimedScan.h"

#include <fstream>

#include <opencv2/imgcodecs.hpp>
#include <opencv2/imgproc.hpp>

namespace vestrel::scan {
namespace {

namespace fs = std::filesystem;
using testing::ScanTest;

class ScannerTest : public ScanTest {
protected:
    ScannerTest()
    {
        settings.foramt = ".png";
        deliver(cv::Mat(60, 80, CV_8UC3, cv::Scalar(200, 180, 160)));
    }
    std::string scanName()
    {
        const ScanOutcome out = scanner.scan();
        EXPECT_EQ(out.status, ScanStatus::Stored) << out.message;
        return out.path.filename().string();
    }
    void touch(const std::string& name) { std::ofstream(photo() / name) << "x"; }
};

TEST_F(ScannerTest, SerialNamesFollowTheFolderAfterEveryScan)
{
    EXPECT_EQ(scanName(), "Image0001.png");
    EXPECT_EQ(scanName(), "Image0002.png");
    touch("Image0007.jpg");
    // Each stored scan recomputes the counters from the folder, as the library refresh does.
    EXPECT_EQ(scanName(), "Image0003.png");
    EXPECT_EQ(scanName(), "Image0008.png");
}

TEST_F(ScannerTest, ScanResultIsReportedToTheWindow)
{
    std::vector<std::string> events;
    ScanEvents e;
    e.playShutter = [&] { events.push_back("shutter"); };
    e.setCurrentFile = [&](const fs::path& p) { events.push_back("file " + p.filename().string()); };
    e.refreshLibrary = [&] { events.push_back("refresh"); };
    e.redrawInformation = [&] { events.push_back("redraw"); };
    scanner.setEvents(e);
    scanName();
    EXPECT_EQ(events, (std::vector<std::string>{"shutter", "file Image0001.png", "refresh", "redraw"}));
}

TEST_F(ScannerTest, TimeNamesNeverReplaceAnEarlierScan)
{
    settings.name = kNameTime;
    EXPECT_EQ(scanName(), "26-01-03-09-05-07.png");
    EXPECT_EQ(scanName(), "26-01-03-09-05-07_2.png");
    EXPECT_EQ(scanName(), "26-01-03-09-05-07_3.png");
}

TEST_F(ScannerTest, NumberedNamesSkipToTheNextFreeNumber)
{
    settings.name = kNameOdd;
    scanName();  // book0001: the listing after it knows the folder
    // A file appearing behind the listing's back, under the next odd number.
    touch("book0003.png");
    EXPECT_EQ(scanName(), "book0005.png");
    EXPECT_EQ(testkit::TempProgramDir::readFile(photo() / "book0003.png"), "x") << "left alone";
}

TEST_F(ScannerTest, TypedNameModeAsksEveryScanAndCancelChangesNothing)
{
    settings.name = kNameCustom;
    fileNames.answers = {std::string("合同"), std::nullopt, std::string("合同")};
    EXPECT_EQ(scanName(), "合同.png");
    EXPECT_EQ(scanner.scan().status, ScanStatus::Cancelled);
    EXPECT_EQ(std::distance(fs::directory_iterator(photo()), fs::directory_iterator()), 1);
    EXPECT_EQ(scanName(), "合同_2.png");
    EXPECT_EQ(fileNames.asked, 3);
}

TEST_F(ScannerTest, ModeOneTimedScanNumbersTheBookAndCancelStartsNothing)
{
    settings.name = kNameCustom;
    settings.intertime = 250;
    fileNames.answers = {std::nullopt};
    TimedScanStart start = StartTimedScan(settings, state, fileNames);
    EXPECT_FALSE(start.started);
    EXPECT_FALSE(state.timedScanning);
    EXPECT_FALSE(state.bookScanning);
    EXPECT_EQ(TimedScanTick(scanner, state).status, ScanStatus::NotRun) << "no timer, no scan";

    fileNames.answers = {std::string("page")};
    start = StartTimedScan(settings, state, fileNames);
    EXPECT_TRUE(start.started);
    EXPECT_EQ(start.periodMs, 250);
    EXPECT_TRUE(state.bookScanning);
    EXPECT_EQ(TimedScanTick(scanner, state).path.filename(), "page0.png");
    EXPECT_EQ(TimedScanTick(scanner, state).path.filename(), "page0001.png");
    StopTimedScan(state);
    EXPECT_FALSE(state.timedScanning);
    EXPECT_FALSE(state.bookScanning);
    EXPECT_EQ(state.counters.book, 0);
    EXPECT_EQ(TimedScanTick(scanner, state).status, ScanStatus::NotRun);
}

TEST_F(ScannerTest, FornewRestartsOddAndEvenNumberingWithEachTimedScan)
{
    settings.name = kNameOdd;
    settings.fornew = 1;
    state.counters.odd = 7;
    state.counters.even = 8;
    ASSERT_TRUE(StartTimedScan(settings, state, fileNames).started);
    EXPECT_EQ(state.counters.odd, -1);
    EXPECT_EQ(state.counters.even, 0);
    StopTimedScan(state);

    settings.fornew = 0;
    state.counters.odd = 7;
    ASSERT_TRUE(StartTimedScan(settings, state, fileNames).started);
    EXPECT_EQ(state.counters.odd, 7);
}

TEST_F(ScannerTest, SecondCameraScanSharesTheNaming)
{
    CFrameGrabber second;
    cv::Mat sample(480, 640, CV_8UC3, cv::Scalar(1, 2, 3));
    second.OnFrame(sample, 1);
    GrabberFrameSource secondFrames(second);
    EXPECT_EQ(scanName(), "Image0001.png");
    const ScanOutcome other = scanner.scanSecondCamera(secondFrames);
    ASSERT_EQ(other.status, ScanStatus::Stored) << other.message;
    EXPECT_EQ(other.path.filename(), "Image0002.png");
    EXPECT_EQ(cv::imread(other.path.string()).size(), cv::Size(640, 480));
}

TEST_F(ScannerTest, PdfFormatWithoutAPdfWriterStoresNothing)
{
    settings.foramt = ".pdf";
    const ScanOutcome out = scanner.scan();
    EXPECT_EQ(out.status, ScanStatus::Failed);
    EXPECT_TRUE(fs::is_empty(photo()));
}

}  // namespace
}  // namespace vestrel::scan
