#include "PdfDocument.h"
#include "PdfTestTools.h"
#include "TempProgramDir.h"

#include <opencv2/imgcodecs.hpp>
#include <opencv2/imgproc.hpp>

#include <gtest/gtest.h>

#include <fstream>

namespace vestrel::pdf {
namespace {

using testkit::pageSizes;
using testkit::readBytes;

class PdfWriterTest : public testkit::ProgramDirTest {
protected:
    std::filesystem::path file(const std::string& name) const { return programDir / name; }

    // One page per image, as every conversion writes them.
    void writePages(const std::filesystem::path& pdf, const std::vector<std::filesystem::path>& images)
    {
        PdfDocument document;
        ASSERT_TRUE(document.set_parameter("errorpolicy", "return"));
        ASSERT_EQ(document.begin_document(pdf), 1);
        for (const auto& image : images) {
            const int handle = document.load_image("auto", image);
            ASSERT_GE(handle, 0) << document.get_errmsg();
            ASSERT_TRUE(document.begin_page_ext(0, 0));
            ASSERT_TRUE(document.fit_image(handle, 0, 0, "adjustpage"));
            ASSERT_TRUE(document.close_image(handle));
            ASSERT_TRUE(document.end_page_ext());
        }
        ASSERT_TRUE(document.end_document());
        std::string report;
        EXPECT_TRUE(testkit::qpdfAccepts(pdf, &report)) << report;
    }
};

TEST_F(PdfWriterTest, JpegGoesInByteForByteAtItsResolution)
{
    const auto at72 = testkit::writeJpeg(file("plain.jpg"), 640, 480);
    const auto at200 = testkit::writeJpeg(file("dense.jpg"), 1000, 1000, 200);
    // The content decides, not the name.
    std::filesystem::copy_file(at200, file("dense.png"));
    writePages(file("out.pdf"), {at72, file("dense.png")});

    const std::string pdf = readBytes(file("out.pdf"));
    EXPECT_NE(pdf.find(readBytes(at72)), std::string::npos);
    EXPECT_NE(pdf.find(readBytes(at200)), std::string::npos);
    const auto sizes = pageSizes(file("out.pdf"));
    ASSERT_EQ(sizes.size(), 2u);
    EXPECT_EQ(sizes[0], std::make_pair(640.0, 480.0));
    EXPECT_EQ(sizes[1], std::make_pair(360.0, 360.0));  // 1000 px at 200 dpi
}

TEST_F(PdfWriterTest, OtherFormatsGoInLosslessly)
{
    cv::Mat colour(120, 200, CV_8UC3);
    for (int y = 0; y < colour.rows; ++y)
        for (int x = 0; x < colour.cols; ++x)
            colour.at<cv::Vec3b>(y, x) = cv::Vec3b(uchar(x), uchar(2 * y), uchar(x + y));
    const auto png = testkit::writePng(file("colour.png"), colour);
    writePages(file("out.pdf"), {png});

    EXPECT_NE(readBytes(file("out.pdf")).find("/FlateDecode"), std::string::npos);
    const cv::Mat extracted = testkit::extractImage(file("out.pdf"), cv::IMREAD_COLOR);
    ASSERT_EQ(extracted.size(), colour.size());
    EXPECT_EQ(cv::norm(extracted, colour, cv::NORM_INF), 0.0);
}

TEST_F(PdfWriterTest, BlackAndWhitePageIsOneBitG4WithBlackKeptBlack)
{
    cv::Mat page(1100, 850, CV_8UC1, cv::Scalar(255));
    for (int line = 0; line < 30; ++line)
        cv::rectangle(page, cv::Rect(60 + (line % 3) * 40, 60 + line * 32, 500 - line * 7, 12),
                      cv::Scalar(0), cv::FILLED);
    const auto png = testkit::writePng(file("binarised.png"), page);
    writePages(file("out.pdf"), {png});

    const std::string pdf = readBytes(file("out.pdf"));
    EXPECT_NE(pdf.find("/CCITTFaxDecode"), std::string::npos);
    EXPECT_NE(pdf.find("/BitsPerComponent 1"), std::string::npos);
    EXPECT_LT(pdf.size(), 20u * 1024);
    const cv::Mat extracted = testkit::extractImage(file("out.pdf"), cv::IMREAD_GRAYSCALE);
    ASSERT_EQ(extracted.size(), page.size());
    EXPECT_EQ(cv::countNonZero(extracted != page), 0);
}

TEST_F(PdfWriterTest, InfoAndErrorsAreReturnedNotThrown)
{
    PdfDocument document;
    EXPECT_EQ(document.begin_document(file("missing/out.pdf")), -1);
    EXPECT_FALSE(document.get_errmsg().empty());
    EXPECT_EQ(document.load_image("auto", file("none.jpg")), -1);

    ASSERT_EQ(document.begin_document(file("out.pdf")), 1);
    ASSERT_TRUE(document.set_info("Creator", "维斯泰尔"));
    ASSERT_TRUE(document.set_info("Title", "pdf"));
    std::ofstream(file("junk.jpg")) << "not an image at all";
    std::ofstream(file("cut.jpg"), std::ios::binary) << std::string("\xFF\xD8\xFF\xE0\x00\x10JF", 8);
    EXPECT_EQ(document.load_image("auto", file("junk.jpg")), -1);
    EXPECT_EQ(document.load_image("auto", file("cut.jpg")), -1);
    EXPECT_FALSE(document.fit_image(7, 0, 0, "adjustpage"));
    const int handle = document.load_image("auto", testkit::writeJpeg(file("a.jpg"), 64, 32));
    ASSERT_GE(handle, 0);
    ASSERT_TRUE(document.begin_page_ext(0, 0));
    ASSERT_TRUE(document.fit_image(handle, 0, 0, "adjustpage"));
    ASSERT_TRUE(document.end_page_ext());
    // Complete on disk before the document ends.
    EXPECT_TRUE(testkit::qpdfAccepts(file("out.pdf")));
    EXPECT_EQ(testkit::pageCount(file("out.pdf")), 1);
    ASSERT_TRUE(document.end_document());

    const auto info = testkit::runCommand("pdfinfo '" + file("out.pdf").string() + "'");
    EXPECT_NE(info.output.find("Creator:         维斯泰尔"), std::string::npos) << info.output;
    EXPECT_NE(info.output.find("Title:           pdf"), std::string::npos) << info.output;
}

}  // namespace
}  // namespace vestrel::pdf
