// vestrel-ocr end to end: the real executable in a fresh program folder, English only.

#include "OcrMessages.h"
#include "OcrTestPages.h"
#include "PdfTestTools.h"
#include "TempProgramDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <sstream>

namespace vestrel::ocr {
namespace {

namespace fs = std::filesystem;
using testkit::Letters;

struct ToolRun {
    int exitCode = -1;
    std::vector<std::string> lines;  // everything printed, standard error included
};

class VestrelOcrToolTest : public testkit::ProgramDirTest {
protected:
    ToolRun run(const std::string& arguments) const
    {
        const auto result = testkit::runCommand(std::string("ASAN_OPTIONS=detect_leaks=0 '") +
                                                VESTREL_OCR_TOOL + "' --home '" +
                                                programDir.path().string() + "' " + arguments);
        ToolRun tool{result.status, {}};
        std::istringstream lines(result.output);
        for (std::string line; std::getline(lines, line);) tool.lines.push_back(line);
        return tool;
    }
    std::string picture(const std::string& name, const std::vector<std::string>& lines) const
    {
        const fs::path path = programDir / "in" / name;
        fs::create_directories(path.parent_path());
        CxImage page = testkit::TextPicture(700, 300, lines, 40, 60, 36);
        EXPECT_TRUE(page.Save(path, path.extension() == ".jpg" ? CXIMAGE_FORMAT_JPG : CXIMAGE_FORMAT_PNG));
        return path.string();
    }
    std::vector<std::string> entries(const fs::path& folder) const
    {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(folder)) names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }
};

TEST_F(VestrelOcrToolTest, TextFilesGoToOcrUnderDatedNamesThatNeverCollide)
{
    const std::string a = picture("a.png", {"Timber yard"});
    const std::string b = picture("b.png", {"Copper wire"});
    const ToolRun tool = run("--lang eng '" + a + "' '" + b + "'");
    ASSERT_EQ(tool.exitCode, 0) << ::testing::PrintToString(tool.lines);
    ASSERT_EQ(tool.lines.size(), 2u);
    EXPECT_NE(tool.lines[0], tool.lines[1]);
    for (const std::string& line : tool.lines) EXPECT_EQ(fs::path(line).parent_path(), programDir / "OCR");
    EXPECT_EQ(Letters(testkit::TempProgramDir::readFile(tool.lines[0])), "timberyard");
    EXPECT_EQ(Letters(testkit::TempProgramDir::readFile(tool.lines[1])), "copperwire");
}

TEST_F(VestrelOcrToolTest, DocumentsInAnOutFolderWithTheTemplateOfTheInstallation)
{
    // The program folder has no Doc.fodt: the one beside the installed tool is used.
    const std::string a = picture("scan.png", {"Timber yard"});
    fs::create_directories(programDir / "docs");
    std::ofstream(programDir / "docs" / "scan.fodt") << "older";
    const ToolRun tool = run("--lang eng --format fodt --out '" + (programDir / "docs").string() +
                             "' '" + a + "' '" + picture("other.png", {"Copper wire"}) + "'");
    ASSERT_EQ(tool.exitCode, 0) << ::testing::PrintToString(tool.lines);
    EXPECT_EQ(entries(programDir / "docs"), (std::vector<std::string>{"other.fodt", "scan.fodt", "scan_2.fodt"}));
    EXPECT_EQ(testkit::TempProgramDir::readFile(programDir / "docs" / "scan.fodt"), "older");
    const std::string xml = testkit::TempProgramDir::readFile(programDir / "docs" / "scan_2.fodt");
    EXPECT_NE(xml.find("<text:bookmark text:name=\"Text\"/>Timber yard</text:p>"), std::string::npos) << xml;
}

TEST_F(VestrelOcrToolTest, OnePdfOfAllPagesKeepsTheJpegAndFindsTheWords)
{
    const std::string a = picture("a.jpg", {"Timber yard"});
    const std::string b = picture("b.png", {"Copper wire"});
    const fs::path pdf = programDir / "both.pdf";
    const ToolRun tool = run("--lang eng --format pdf --out '" + pdf.string() + "' '" + a + "' '" + b + "'");
    ASSERT_EQ(tool.exitCode, 0) << ::testing::PrintToString(tool.lines);
    EXPECT_EQ(tool.lines, std::vector<std::string>{pdf.string()});
    EXPECT_EQ(testkit::pageCount(pdf), 2);
    EXPECT_TRUE(testkit::qpdfAccepts(pdf));
    EXPECT_NE(testkit::readBytes(pdf).find(testkit::readBytes(a)), std::string::npos);
    EXPECT_EQ(Letters(testkit::runCommand("pdftotext '" + pdf.string() + "' -").output), "timberyardcopperwire");
}

TEST_F(VestrelOcrToolTest, FailuresLeaveNothingAndSayWhy)
{
    const std::string good = picture("good.png", {"Timber yard"});
    std::ofstream(programDir / "in" / "bad.jpg") << "no picture";
    std::ofstream(programDir / "in" / "empty.png");
    for (const char* bad : {"bad.jpg", "empty.png"}) {
        const ToolRun tool = run("--lang eng '" + good + "' '" + (programDir / "in" / bad).string() + "'");
        EXPECT_EQ(tool.exitCode, 1) << bad;
        ASSERT_EQ(tool.lines.size(), 1u) << ::testing::PrintToString(tool.lines);
        EXPECT_NE(tool.lines[0].find(messages::kRecognitionFailed), std::string::npos);
        EXPECT_TRUE(entries(programDir / "OCR").empty()) << bad;
    }
    const ToolRun pdf = run("--lang eng --format pdf --out '" + (programDir / "x.pdf").string() + "' '" +
                            good + "' '" + (programDir / "in" / "bad.jpg").string() + "'");
    EXPECT_EQ(pdf.exitCode, 1);
    EXPECT_FALSE(fs::exists(programDir / "x.pdf"));

    const ToolRun language = run("--lang eng+xx_none '" + good + "'");
    EXPECT_EQ(language.exitCode, 3);
    ASSERT_EQ(language.lines.size(), 1u);
    EXPECT_NE(language.lines[0].find("xx_none"), std::string::npos);
    EXPECT_EQ(run("--format doc '" + good + "'").exitCode, 2);
    EXPECT_EQ(run("--lang eng").exitCode, 2);
    EXPECT_EQ(run("--bogus '" + good + "'").exitCode, 2);
    // Words with one dash, and any word after "--", name images: these cannot be read.
    EXPECT_EQ(run("--lang eng -missing.png").exitCode, 1);
    EXPECT_EQ(run("--lang eng -- --missing.png").exitCode, 1);
    EXPECT_TRUE(entries(programDir / "OCR").empty());
}

}  // namespace
}  // namespace vestrel::ocr
