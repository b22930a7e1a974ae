#include "ScanToPdf.h"

#include "PdfMessages.h"
#include "PdfTestTools.h"
#include "ProgramDir.h"
#include "ScriptedPrompter.h"
#include "TempProgramDir.h"

#include <opencv2/imgcodecs.hpp>
#include <opencv2/imgproc.hpp>

#include <gtest/gtest.h>

using namespace vestrel;
namespace fs = std::filesystem;

namespace {

class ScanToPdfTest : public testkit::ProgramDirTest {
protected:
    ScanToPdfTest()
    {
        settings.lwidth = 640;
        settings.lheight = 480;
        settings.path = (programDir / "Photo/").string();
        writer.setClock([] { return std::tm{}; });
    }

    // A page of dark text lines on a light, slightly noisy paper.
    static cv::Mat page()
    {
        cv::Mat frame(480, 640, CV_8UC3, cv::Scalar(225, 225, 225));
        cv::Mat noise(frame.size(), CV_8UC3);
        cv::randn(noise, cv::Scalar::all(0), cv::Scalar::all(6));
        frame += noise;
        for (int y = 40; y < 440; y += 30)
            cv::putText(frame, "The quick brown fox 0123", {30, y}, cv::FONT_HERSHEY_SIMPLEX, 0.8,
                        cv::Scalar(30, 30, 30), 2);
        return frame;
    }

    fs::path photo(const std::string& name) const { return programDir / "Photo" / name; }

    testkit::ScriptedPrompter prompter;
    Settings settings;
    scan::ScanState state;
    output::EBook ebook;
    ScanPdfWriter writer{settings, state, ebook, prompter};
};

TEST_F(ScanToPdfTest, AScanBecomesOnePageWithItsLibraryPictureAndNoScratchLeft)
{
    ASSERT_TRUE(writer.writeFrame(page(), photo("Scan1.pdf")));

    EXPECT_EQ(testkit::pageSizes(photo("Scan1.pdf")),
              (std::vector<std::pair<double, double>>{{640, 480}}));
    EXPECT_TRUE(testkit::qpdfAccepts(photo("Scan1.pdf")));
    const cv::Mat thumbnail = cv::imread((programDir / "temp/temp/Scan1.jpg").string());
    EXPECT_EQ(thumbnail.size(), cv::Size(100, 100));
    EXPECT_FALSE(fs::exists(programDir / "temp/pdf.jpg"));

    // The scan's own settings apply: turned left, the page stands upright.
    settings.orientation.rotateLeft = true;
    ASSERT_TRUE(writer.writeFrame(page(), photo("Scan2.pdf")));
    EXPECT_EQ(testkit::pageSizes(photo("Scan2.pdf")),
              (std::vector<std::pair<double, double>>{{480, 640}}));
}

TEST_F(ScanToPdfTest, ABinarisedPageGoesInAsOneBitAndCostsKilobytes)
{
    settings.threshold = 1;
    ASSERT_TRUE(writer.writeFrame(page(), photo("Text.pdf")));
    EXPECT_LT(fs::file_size(photo("Text.pdf")), 640u * 480u / 8u);
    const cv::Mat picture = testkit::extractImage(photo("Text.pdf"), cv::IMREAD_GRAYSCALE);
    ASSERT_FALSE(picture.empty());
    const cv::Mat grey = (picture > 0) & (picture < 255);
    EXPECT_EQ(cv::countNonZero(grey), 0);
}

TEST_F(ScanToPdfTest, AnEBookGrowsOneFileThatIsWholeAfterEveryPage)
{
    ebook.start();
    for (int i = 1; i <= 4; ++i) {
        ASSERT_TRUE(writer.writeFrame(page(), photo("Book000" + std::to_string(i) + ".pdf")));
        EXPECT_EQ(writer.bookPages(), i);
        EXPECT_EQ(testkit::pageCount(photo("Book0001.pdf")), i);
        EXPECT_TRUE(testkit::qpdfAccepts(photo("Book0001.pdf")));
        // Every page leaves its own picture for the library, under the name made for it.
        EXPECT_TRUE(fs::exists(programDir / ("temp/temp/Book000" + std::to_string(i) + ".jpg")));
    }
    ebook.finish();
    EXPECT_EQ(testkit::pageCount(photo("Book0001.pdf")), 4);
    EXPECT_FALSE(fs::exists(photo("Book0002.pdf")));
}

TEST_F(ScanToPdfTest, ABookThatCannotBeCreatedIsToldAndEnded)
{
    ebook.start();
    const fs::path nowhere = programDir / "missing" / "Book0001.pdf";
    EXPECT_FALSE(writer.writeFrame(page(), nowhere));
    ASSERT_EQ(prompter.shown().size(), 1u);
    EXPECT_EQ(prompter.shown()[0].text, std::string(output::kEBookCreateFailed) + nowhere.string());
    EXPECT_FALSE(ebook.composing());
    EXPECT_EQ(writer.bookPages(), 0);
    EXPECT_FALSE(fs::exists(programDir / "temp/pdf.jpg"));
}

}  // namespace
