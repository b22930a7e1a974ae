#include "TiffProcessor.h"

#include "FaxTiffCheck.h"
#include "TempProgramDir.h"

#include <gtest/gtest.h>
#include <opencv2/imgcodecs.hpp>
#include <opencv2/imgproc.hpp>

#include <fstream>

namespace vestrel::doctiff {
namespace {

using testing::ExpectFaxPages;
using testing::FileBytes;
using testing::ReadPagePixels;
using testing::ReadPageTags;

const std::string kFax = ";Pages=0-9999;Save=0;Res=204/196;Format=tiff/34;size=1728pix/2444pix";

// Bounding box of the black dots of a page.
cv::Rect InkBox(const cv::Mat& gray) {
    cv::Mat ink = gray < 128;
    return cv::boundingRect(ink);
}

class TiffProcessorTest : public testkit::ProgramDirTest {
protected:
    std::string Path(const std::string& name) { return (programDir / name).string(); }

    // A grey TIFF with a resolution, one page per entry of `sizes`.
    std::string GrayTiff(const std::string& name, std::vector<cv::Size> sizes, int dpiX, int dpiY) {
        std::vector<cv::Mat> pages;
        for (auto s : sizes) {
            cv::Mat page(s, CV_8UC1, cv::Scalar(255));
            cv::rectangle(page, cv::Rect(0, 0, s.width / 4, s.height / 4), cv::Scalar(0), cv::FILLED);
            pages.push_back(page);
        }
        const std::vector<int> params = {cv::IMWRITE_TIFF_RESUNIT, 2, cv::IMWRITE_TIFF_XDPI, dpiX,
                                         cv::IMWRITE_TIFF_YDPI, dpiY};
        EXPECT_TRUE(cv::imwritemulti(Path(name), pages, params));
        return Path(name);
    }

    TiffProcessor processor;
};

TEST_F(TiffProcessorTest, AnswersInfoQueriesAboutTheFirstPageAndThePageCount) {
    const auto tif = GrayTiff("three.tif", {{300, 200}, {100, 100}, {50, 60}}, 150, 75);
    EXPECT_EQ(processor.Run("in=" + tif + ";out=info_w"), 300);
    EXPECT_EQ(processor.Run("in=" + tif + ";out=info_h"), 200);
    EXPECT_EQ(processor.Run("in=" + tif + ";out=info_x"), 150);
    EXPECT_EQ(processor.Run("in=" + tif + ";out=info_y"), 75);
    EXPECT_EQ(processor.Run("in=" + tif + ";out=info_p"), 3);

    EXPECT_EQ(processor.Run("in=" + Path("missing.tif") + ";out=info_p"), -1);
    EXPECT_FALSE(processor.error().empty());
    programDir.writeFile("junk.tif", "II*\0garbage that is no TIFF directory");
    EXPECT_EQ(processor.Run("in=" + Path("junk.tif") + ";out=info_w"), -1);
}

TEST_F(TiffProcessorTest, FaxPagesAreFittedKeepingProportionsOnPaper) {
    // A square picture without resolution: square on paper, so as wide as the page
    // (1728 dots = 8.47 in) and 8.47 in high at 196 dpi = 1660 dots, centred.
    cv::Mat square(600, 600, CV_8UC3, cv::Scalar(255, 255, 255));
    cv::rectangle(square, cv::Rect(0, 0, 600, 600), cv::Scalar(0, 0, 0), 12);
    ASSERT_TRUE(cv::imwrite(Path("square.png"), square));
    ASSERT_EQ(processor.Run("in=" + Path("square.png") + ";out=" + Path("f.tif") + kFax), 0)
        << processor.error();
    ExpectFaxPages(Path("f.tif"), 1);
    const cv::Rect box = InkBox(ReadPagePixels(Path("f.tif"), 0));
    EXPECT_NEAR(box.width, 1728, 4);
    EXPECT_NEAR(box.height, 1660, 4);
    EXPECT_NEAR(box.y, (2444 - 1660) / 2, 4);

    // A 3-page TIFF at 100 x 50 dpi, 400 x 400 dots: 4 in wide, 8 in high on paper, so
    // limited by the height: 12.47 in high, 6.23 in wide.
    const auto tif = GrayTiff("tall.tif", {{400, 400}, {400, 400}, {400, 400}}, 100, 50);
    ASSERT_EQ(processor.Run("in=" + tif + ";out=" + Path("t.tif") + kFax), 0) << processor.error();
    ExpectFaxPages(Path("t.tif"), 3);
    const cv::Rect quarter = InkBox(ReadPagePixels(Path("t.tif"), 2));
    EXPECT_NEAR(quarter.height, 2444 / 4, 3);
    EXPECT_NEAR(quarter.width, 6.235 * 204 / 4, 3);
}

TEST_F(TiffProcessorTest, PhotographsKeepTheirShadesAsDotDensityAndPrintStaysCrisp) {
    cv::Mat photo(400, 300, CV_8UC1);
    for (int y = 0; y < photo.rows; ++y) photo.row(y).setTo(cv::Scalar(40 + y * 180 / photo.rows));
    ASSERT_TRUE(cv::imwrite(Path("photo.jpg"), photo));
    ASSERT_EQ(processor.Run("in=" + Path("photo.jpg") + ";out=" + Path("p.tif") + kFax), 0);
    const cv::Mat fax = ReadPagePixels(Path("p.tif"), 0);
    // Middle of the page: the source is about 130 there; a threshold would give one colour.
    const double middle = cv::mean(fax(cv::Rect(700, 1200, 300, 40)))[0];
    EXPECT_NEAR(middle, 130, 25);
    const double top = cv::mean(fax(cv::Rect(700, 300, 300, 40)))[0];  // below the margin
    EXPECT_LT(top, middle - 40);

    // Text-like page with a grey paper tone: paper becomes white, strokes black.
    cv::Mat text(400, 300, CV_8UC1, cv::Scalar(225));
    cv::putText(text, "Fax 42", cv::Point(20, 200), cv::FONT_HERSHEY_SIMPLEX, 2.0, cv::Scalar(20), 4);
    ASSERT_TRUE(cv::imwrite(Path("text.bmp"), text));
    ASSERT_EQ(processor.Run("in=" + Path("text.bmp") + ";out=" + Path("x.tif") + kFax), 0);
    const cv::Mat page = ReadPagePixels(Path("x.tif"), 0);
    EXPECT_EQ(cv::countNonZero(page(cv::Rect(100, 100, 300, 300)) < 128), 0) << "paper is white";
    const double inkShare = 1.0 - cv::countNonZero(page) / double(page.total());
    EXPECT_GT(inkShare, 0.01);
    EXPECT_LT(inkShare, 0.2);
}

TEST_F(TiffProcessorTest, RotatesClockwiseIntoANewFileAndLeavesTheSourceAlone) {
    const auto tif = GrayTiff("wide.tif", {{300, 200}}, 200, 100);
    const std::string before = FileBytes(tif);
    ASSERT_EQ(processor.Run("in=" + tif + ";out=" + Path("r.tif") + ";pages=0-999;save=0;rotate=90"), 0)
        << processor.error();
    EXPECT_EQ(FileBytes(tif), before);
    const auto tags = ReadPageTags(Path("r.tif"));
    ASSERT_EQ(tags.size(), 1u);
    EXPECT_EQ(tags[0].width, 200u);
    EXPECT_EQ(tags[0].height, 300u);
    EXPECT_FLOAT_EQ(tags[0].xResolution, 100.f);
    EXPECT_FLOAT_EQ(tags[0].yResolution, 200.f);
    // The black top-left quarter turns into the top-right corner.
    const cv::Rect box = InkBox(ReadPagePixels(Path("r.tif"), 0));
    EXPECT_EQ(box, cv::Rect(150, 0, 50, 75));
}

TEST_F(TiffProcessorTest, AppendingRenumbersEveryPageAndKeepsThePagesThereWere) {
    const auto one = GrayTiff("one.tif", {{300, 400}}, 100, 100);
    const auto two = GrayTiff("two.tif", {{400, 300}, {300, 300}}, 100, 100);
    ASSERT_EQ(processor.Run("in=" + one + ";out=" + Path("a.tif") + kFax), 0);
    ASSERT_EQ(processor.Run("in=" + two + ";out=" + Path("b.tif") + kFax), 0);
    const cv::Mat firstPage = ReadPagePixels(Path("a.tif"), 0);

    const std::string out = Path("out.tif");
    ASSERT_EQ(processor.Run("in=" + Path("a.tif") + ";out=" + out + ";save=1;format=tif/35"), 0)
        << processor.error();
    ExpectFaxPages(out, 1);
    ASSERT_EQ(processor.Run("in=" + Path("b.tif") + ";out=" + out + ";save=1;format=tif/35"), 0);
    ExpectFaxPages(out, 3);
    EXPECT_EQ(processor.Run("in=" + out + ";out=info_p"), 3);
    EXPECT_EQ(cv::countNonZero(ReadPagePixels(out, 0) != firstPage), 0);
    EXPECT_EQ(cv::countNonZero(ReadPagePixels(out, 1) != ReadPagePixels(Path("b.tif"), 0)), 0);

    // An output that is not a TIFF is refused and left as it was.
    programDir.writeFile("notes.tif", "my notes, not a fax");
    EXPECT_NE(processor.Run("in=" + Path("a.tif") + ";out=" + Path("notes.tif") + ";save=1;format=tif/35"), 0);
    EXPECT_EQ(FileBytes(Path("notes.tif")), "my notes, not a fax");
    // A source that is not a fax page is refused too; the output keeps its three pages.
    EXPECT_NE(processor.Run("in=" + one + ";out=" + out + ";save=1;format=tif/35"), 0);
    ExpectFaxPages(out, 3);
}

TEST_F(TiffProcessorTest, DamagedAndHostileFilesFailCleanly) {
    const auto good = GrayTiff("good.tif", {{300, 200}}, 100, 100);
    std::string bytes = FileBytes(good);
    for (size_t cut : {size_t(8), bytes.size() / 2, bytes.size() - 5}) {
        programDir.writeFile("cut.tif", bytes.substr(0, cut));
        EXPECT_NE(processor.Run("in=" + Path("cut.tif") + ";out=" + Path("c.tif") + kFax), 0) << cut;
    }
    programDir.writeFile("empty.jpg", "");
    EXPECT_EQ(processor.Run("in=" + Path("empty.jpg") + ";out=" + Path("e.tif") + kFax), kTiffCannotRead);
    EXPECT_EQ(processor.Run("in=a;out=b;format=tif/99"), kTiffBadCommand);
    EXPECT_EQ(processor.Run("in=" + good + ";out=" + Path("n.tif") + ";pages=5-9" + ";format=tif/35"),
              kTiffNoPages);
}

}  // namespace
}  // namespace vestrel::doctiff
