#include "PdfConversion.h"
#include "PdfMessages.h"
#include "PdfTestTools.h"
#include "ScriptedPrompter.h"
#include "SourceList.h"
#include "TempProgramDir.h"

#include <opencv2/imgcodecs.hpp>

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>

namespace vestrel::output {
namespace {

class PdfConversionTest : public testkit::ProgramDirTest {
protected:
    std::filesystem::path file(const std::string& name) const { return programDir / name; }
    std::filesystem::path pdfFolder() const { return programDir / "PDF"; }

    // 640 x 480 at 72 dpi, 480 x 640 PNG (no resolution), 1000 x 1000 at 144 dpi.
    std::vector<std::string> threeImages() const
    {
        cv::Mat tall(640, 480, CV_8UC3, cv::Scalar(30, 90, 200));
        return {testkit::writeJpeg(file("a.jpg"), 640, 480).string(),
                testkit::writePng(file("b.png"), tall).string(),
                testkit::writeJpeg(file("c.jpg"), 1000, 1000, 144).string()};
    }

    testkit::ScriptedPrompter prompter;
};

TEST_F(PdfConversionTest, MergeGivesOnePagePerImageInListOrder)
{
    const auto images = threeImages();
    std::vector<std::pair<int, int>> progress;
    const auto result = mergeToPdf(images, pdfFolder(), "report.final", prompter,
                                   [&](int done, int total) {
                                       progress.emplace_back(done, total);
                                       return true;
                                   });
    ASSERT_EQ(result.written, std::vector<std::filesystem::path>{pdfFolder() / "report.pdf"});
    EXPECT_EQ(result.pages, 3);
    EXPECT_TRUE(prompter.shown().empty());
    EXPECT_EQ(progress, (std::vector<std::pair<int, int>>{{1, 3}, {2, 3}, {3, 3}}));
    const auto sizes = testkit::pageSizes(pdfFolder() / "report.pdf");
    EXPECT_EQ(sizes, (std::vector<std::pair<double, double>>{{640, 480}, {480, 640}, {500, 500}}));
    EXPECT_TRUE(testkit::qpdfAccepts(pdfFolder() / "report.pdf"));
}

TEST_F(PdfConversionTest, DamagedImageIsSkippedNamedAndTheRestWritten)
{
    auto images = threeImages();
    std::ofstream(file("broken.jpg"), std::ios::binary) << std::string("\xFF\xD8\xFF garbage", 11);
    images.insert(images.begin() + 1, file("broken.jpg").string());
    const auto result = mergeToPdf(images, pdfFolder(), "book", prompter);
    EXPECT_EQ(result.pages, 3);
    EXPECT_EQ(result.skipped, std::vector<std::string>{file("broken.jpg").string()});
    ASSERT_EQ(prompter.shown().size(), 1u);
    EXPECT_NE(prompter.shown()[0].text.find(kImagesSkipped), std::string::npos);
    EXPECT_NE(prompter.shown()[0].text.find(file("broken.jpg").string()), std::string::npos);
    EXPECT_EQ(testkit::pageCount(pdfFolder() / "book.pdf"), 3);

    prompter.clear();
    const auto separate = separatePdfs(images, pdfFolder(), std::string("Scan"), prompter);
    EXPECT_EQ(separate.written.size(), 3u);
    EXPECT_FALSE(std::filesystem::exists(pdfFolder() / "Scan1.pdf"));  // no empty PDF
    EXPECT_EQ(prompter.shown().size(), 1u);
}

TEST_F(PdfConversionTest, MergeRefusals)
{
    mergeToPdf({}, pdfFolder(), "x", prompter);
    mergeToPdf(threeImages(), pdfFolder(), ".hidden", prompter);  // nothing left before the dot
    mergeToPdf(threeImages(), programDir / "gone", "x", prompter);
    EXPECT_EQ(prompter.texts(),
              (std::vector<std::string>{kNoFilesToConvert, kEmptyTargetName, kCreatePdfFailed}));
    EXPECT_TRUE(std::filesystem::is_empty(pdfFolder()));
}

TEST_F(PdfConversionTest, CancelledMergeLeavesNoFile)
{
    const auto result = mergeToPdf(threeImages(), pdfFolder(), "x", prompter,
                                   [](int done, int) { return done < 1; });
    EXPECT_TRUE(result.cancelled);
    EXPECT_TRUE(result.written.empty());
    EXPECT_FALSE(std::filesystem::exists(pdfFolder() / "x.pdf"));
    EXPECT_TRUE(std::filesystem::is_empty(pdfFolder()));  // nor a scratch file
}

TEST_F(PdfConversionTest, AnOlderPdfOfTheNameIsReplacedOnlyByAFinishedOne)
{
    const std::string older = "the user's older report";
    programDir.writeFile("PDF/x.pdf", older);
    programDir.writeFile("PDF/Scan1.pdf", older);
    const auto images = threeImages();
    std::ofstream(file("junk.png")) << "junk";

    mergeToPdf(images, pdfFolder(), "x", prompter, [](int done, int) { return done < 2; });
    mergeToPdf({file("junk.png").string()}, pdfFolder(), "x", prompter);
    EXPECT_EQ(testkit::readBytes(pdfFolder() / "x.pdf"), older);
    separatePdfs({images[0], file("junk.png").string()}, pdfFolder(), std::string("Scan"), prompter);
    EXPECT_EQ(testkit::readBytes(pdfFolder() / "Scan1.pdf"), older);

    const auto result = mergeToPdf(images, pdfFolder(), "x", prompter);
    EXPECT_EQ(result.written, std::vector<std::filesystem::path>{pdfFolder() / "x.pdf"});
    EXPECT_EQ(testkit::pageCount(pdfFolder() / "x.pdf"), 3);
    std::vector<std::string> left;
    for (const auto& entry : std::filesystem::directory_iterator(pdfFolder()))
        left.push_back(entry.path().filename().string());
    std::sort(left.begin(), left.end());
    EXPECT_EQ(left, (std::vector<std::string>{"Scan0.pdf", "Scan1.pdf", "x.pdf"}));
    EXPECT_EQ(prompter.texts().size(), 2u);  // the unreadable junk, told twice
}

TEST(ConversionSummaryTest, SaysWhatWasWrittenCancelledOrSkipped)
{
    ConversionResult merged{{"/p/x.pdf"}, {}, 3, false};
    EXPECT_EQ(conversionSummary(ConversionKind::Merge, merged),
              std::string(kMergeDone) + "/p/x.pdf（3" + kPagesUnit + "）");
    ConversionResult separate{{"/p/a.pdf", "/p/b.pdf"}, {"/i/c.jpg"}, 2, false};
    EXPECT_EQ(conversionSummary(ConversionKind::Separate, separate),
              std::string(kSeparateDone) + "2" + kFilesUnit + kUnreadableCount + "1" + kFilesUnit);
    separate.cancelled = true;
    EXPECT_EQ(conversionSummary(ConversionKind::Separate, separate).rfind(
                  std::string(kCancelledSomeKept) + "2" + kFilesUnit, 0),
              0u);
    EXPECT_EQ(conversionSummary(ConversionKind::Merge, ConversionResult{{}, {}, 0, true}),
              kCancelledNothingKept);
    EXPECT_EQ(conversionSummary(ConversionKind::Merge, ConversionResult{}), kNothingWritten);
}

TEST_F(PdfConversionTest, SeparateNamesNumberedOrDefault)
{
    const auto images = threeImages();
    auto result = separatePdfs(images, pdfFolder(), std::string("Scan"), prompter);
    EXPECT_EQ(result.written, (std::vector<std::filesystem::path>{
                                  pdfFolder() / "Scan0.pdf", pdfFolder() / "Scan1.pdf",
                                  pdfFolder() / "Scan2.pdf"}));
    EXPECT_EQ(testkit::pageSizes(pdfFolder() / "Scan1.pdf"),
              (std::vector<std::pair<double, double>>{{480, 640}}));

    std::filesystem::copy_file(images[0], file("b.c.jpg"));
    result = separatePdfs({file("b.c.jpg").string()}, pdfFolder(), std::nullopt, prompter);
    EXPECT_EQ(result.written, std::vector<std::filesystem::path>{pdfFolder() / "b.pdf"});
    EXPECT_EQ(defaultPdfName("/a/b.c.jpg"), "b.pdf");
    EXPECT_EQ(targetBaseName("report.final"), "report");

    // An output that cannot be created is skipped without a word.
    result = separatePdfs(images, programDir / "gone", std::nullopt, prompter);
    EXPECT_TRUE(result.written.empty());
    EXPECT_TRUE(prompter.shown().empty());
}

TEST_F(PdfConversionTest, SinglePageScanPdfCarriesTheProgramInfo)
{
    const auto out = programDir / "Photo" / "scan.pdf";
    ASSERT_TRUE(writeSinglePagePdf(out, threeImages()[0]));
    const auto info = testkit::runCommand("pdfinfo '" + out.string() + "'");
    EXPECT_NE(info.output.find("Author:          维斯泰尔"), std::string::npos) << info.output;
    std::ofstream(file("junk.bmp")) << "junk";
    EXPECT_FALSE(writeSinglePagePdf(programDir / "Photo" / "junk.pdf", file("junk.bmp")));
    EXPECT_FALSE(std::filesystem::exists(programDir / "Photo" / "junk.pdf"));

    const auto thumbnail = programDir / "temp" / "temp" / "scan.jpg";
    ASSERT_TRUE(writePdfThumbnail(threeImages()[0], thumbnail));
    const cv::Mat small = cv::imread(thumbnail.string());
    EXPECT_EQ(small.size(), cv::Size(100, 100));
    EXPECT_FALSE(writePdfThumbnail(file("junk.bmp"), thumbnail));
}

TEST_F(PdfConversionTest, MergeOfOnlyUnreadableImagesLeavesNoFile)
{
    std::ofstream(file("junk.png")) << "junk";
    const auto result = mergeToPdf({file("junk.png").string()}, pdfFolder(), "x", prompter);
    EXPECT_TRUE(result.written.empty());
    EXPECT_FALSE(std::filesystem::exists(pdfFolder() / "x.pdf"));
    EXPECT_EQ(prompter.shown().size(), 1u);
}

TEST(SourceListTest, InsertionKeepsNumberedNamesInOrder)
{
    std::vector<std::string> list;
    for (const char* path : {"/s/Image2.jpg", "/s/Image3.jpg", "/s/Image10.jpg", "/s/Image1.jpg",
                             "/s/Image2.jpg"})
        insertSource(list, path);
    EXPECT_EQ(list, (std::vector<std::string>{"/s/Image1.jpg", "/s/Image2.jpg", "/s/Image2.jpg",
                                              "/s/Image3.jpg", "/s/Image10.jpg"}));
}

TEST_F(PdfConversionTest, FolderTakesExactExtensionsOnly)
{
    for (const char* name : {"a.jpg", "b.JPG", "c.tiff", "d.tif", "e.ccitt", "f.txt", "g"})
        programDir.writeFile(std::string("in/") + name, "x");
    std::filesystem::create_directories(file("in/sub.png"));
    const auto images = folderImages(file("in"));
    EXPECT_EQ(images, (std::vector<std::string>{file("in/a.jpg").string(), file("in/c.tiff").string(),
                                                file("in/e.ccitt").string()}));
}

}  // namespace
}  // namespace vestrel::output
