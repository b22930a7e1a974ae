// vestrel-scan end to end: the real executable on the virtual camera, in a fresh program
// folder with its own config.ini.

#include "PdfTestTools.h"
#include "Settings.h"
#include "TempProgramDir.h"

#include <gtest/gtest.h>
#include <opencv2/imgcodecs.hpp>

#include <sstream>

namespace vestrel::scan {
namespace {

namespace fs = std::filesystem;

struct ToolRun {
    int exitCode = -1;
    std::vector<std::string> lines;  // standard output
    std::string errors;              // standard error
};

ToolRun RunTool(const testkit::TempProgramDir& dir, const std::string& arguments,
              const std::string& camera = "virtual")
{
    const fs::path errFile = dir / "temp/stderr.txt";
    const std::string command = std::string("'") + VESTREL_SCAN_TOOL + "' --home '" +
                                dir.path().string() + "' --camera '" + camera + "' " + arguments +
                                " 2>'" + errFile.string() + "'";
    const testkit::CommandResult result = testkit::runCommand(command, false);
    ToolRun run;
    run.exitCode = result.status;
    std::istringstream lines(result.output);
    for (std::string line; std::getline(lines, line);) run.lines.push_back(line);
    run.errors = testkit::TempProgramDir::readFile(errFile);
    return run;
}

void WriteConfig(const testkit::TempProgramDir& dir, const std::string& text)
{
    dir.writeFile("config.ini", text);
}

TEST(VestrelScanTool, OneScanWithTheStoredSizeEntry)
{
    testkit::TempProgramDir dir;
    WriteConfig(dir, "[Custom]\nsize=7\nw=710\nh=450\nstate=3\nforamt=.png\nlwidth=2592\nlheight=1944\n");
    const ToolRun run = RunTool(dir, "");
    ASSERT_EQ(run.exitCode, 0) << run.errors;
    ASSERT_EQ(run.lines.size(), 1u);
    EXPECT_EQ(fs::path(run.lines[0]), dir / "Photo/Image0001.png");
    const cv::Mat stored = cv::imread(run.lines[0], cv::IMREAD_UNCHANGED);
    EXPECT_EQ(stored.cols, 450);
    EXPECT_EQ(stored.rows, 710);
}

TEST(VestrelScanTool, TimedBookScanWithTheGivenName)
{
    testkit::TempProgramDir dir;
    WriteConfig(dir, "[Name]\nname=1\n[Custom]\nlwidth=640\nlheight=480\n");
    const ToolRun run = RunTool(dir, "--count 3 --interval 20 --name 合同.jpg");
    ASSERT_EQ(run.exitCode, 0) << run.errors;
    ASSERT_EQ(run.lines.size(), 3u);
    EXPECT_EQ(fs::path(run.lines[0]).filename(), "合同0.jpg");
    EXPECT_EQ(fs::path(run.lines[1]).filename(), "合同0001.jpg");
    EXPECT_EQ(fs::path(run.lines[2]).filename(), "合同0002.jpg");
    for (const auto& line : run.lines) EXPECT_EQ(cv::imread(line).size(), cv::Size(640, 480));
}

TEST(VestrelScanTool, TimedScanOfAFolderStoresEachPageOnceInNameOrder)
{
    testkit::TempProgramDir dir;
    const fs::path pages = dir / "pages";
    fs::create_directories(pages);
    const int blues[] = {40, 120, 220};
    for (int i = 0; i < 3; ++i) {
        const std::string name = "page" + std::to_string(3 - i) + ".png";  // written in reverse
        ASSERT_TRUE(cv::imwrite((pages / name).string(), cv::Mat(480, 640, CV_8UC3, cv::Scalar(blues[2 - i], 90, 90))));
    }
    WriteConfig(dir, "[Custom]\nforamt=.png\nlwidth=640\nlheight=480\n");
    const ToolRun run = RunTool(dir, "--count 3 --interval 10", "file:" + pages.string());
    ASSERT_EQ(run.exitCode, 0) << run.errors;
    ASSERT_EQ(run.lines.size(), 3u);
    for (int i = 0; i < 3; ++i) {
        const cv::Mat stored = cv::imread(run.lines[std::size_t(i)]);
        ASSERT_FALSE(stored.empty());
        EXPECT_EQ(stored.at<cv::Vec3b>(240, 320)[0], blues[i]) << run.lines[std::size_t(i)];
    }
}

TEST(VestrelScanTool, PdfScansAreStoredAsTheProgramStoresThem)
{
    testkit::TempProgramDir dir;
    WriteConfig(dir, "[Custom]\nforamt=.pdf\nlwidth=640\nlheight=480\n");
    const ToolRun run = RunTool(dir, "");
    ASSERT_EQ(run.exitCode, 0) << run.errors;
    ASSERT_EQ(run.lines.size(), 1u);
    EXPECT_EQ(fs::path(run.lines[0]), dir / "Photo/Image0001.pdf");
    EXPECT_EQ(testkit::pageSizes(run.lines[0]), (std::vector<std::pair<double, double>>{{640, 480}}));
    EXPECT_TRUE(testkit::qpdfAccepts(run.lines[0]));
    // The photo library's picture of the scan, and no scratch file left behind.
    EXPECT_EQ(cv::imread((dir / "temp/temp/Image0001.jpg").string()).size(), cv::Size(100, 100));
    EXPECT_FALSE(fs::exists(dir / "temp/pdf.jpg"));
}

TEST(VestrelScanTool, AnEBookRunPutsEveryPageIntoOneFile)
{
    testkit::TempProgramDir dir;
    WriteConfig(dir, "[Custom]\nforamt=.png\nlwidth=640\nlheight=480\n");
    const ToolRun run = RunTool(dir, "--ebook --count 3 --interval 20");
    ASSERT_EQ(run.exitCode, 0) << run.errors;
    ASSERT_EQ(run.lines.size(), 1u) << "the one file that holds the pages";
    EXPECT_EQ(fs::path(run.lines[0]).extension(), ".pdf");
    EXPECT_EQ(testkit::pageCount(run.lines[0]), 3);
    EXPECT_TRUE(testkit::qpdfAccepts(run.lines[0]));
    EXPECT_EQ(std::distance(fs::directory_iterator(dir / "Photo"), fs::directory_iterator()), 1);

    // One scan makes a book of one page.
    const ToolRun single = RunTool(dir, "--ebook");
    ASSERT_EQ(single.exitCode, 0) << single.errors;
    ASSERT_EQ(single.lines.size(), 1u);
    EXPECT_NE(single.lines[0], run.lines[0]);
    EXPECT_EQ(testkit::pageCount(single.lines[0]), 1);
}

TEST(VestrelScanTool, RefusedNameExitsWithTwoAndTheRulesMessage)
{
    testkit::TempProgramDir dir;
    WriteConfig(dir, "[Name]\nname=1\n");
    const ToolRun run = RunTool(dir, "--name 'a|b'");
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_TRUE(run.lines.empty());
    EXPECT_NE(run.errors.find("文件名不能包含特殊字符！！！"), std::string::npos) << run.errors;
    EXPECT_TRUE(fs::is_empty(dir / "Photo"));
}

TEST(VestrelScanTool, AFailedScanExitsWithOne)
{
    testkit::TempProgramDir dir;
    WriteConfig(dir, "[Other]\npath=" + (dir / "missing/").string() + "\n[Custom]\nlwidth=640\nlheight=480\n");
    const ToolRun run = RunTool(dir, "");
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.lines.empty());
    EXPECT_NE(run.errors.find("扫描图片保存失败"), std::string::npos) << run.errors;
}

TEST(VestrelScanTool, AnOptionGivenTwiceTakesTheLastValueButEveryValueIsChecked)
{
    testkit::TempProgramDir dir;
    WriteConfig(dir, "[Custom]\nlwidth=640\nlheight=480\n");
    const ToolRun run = RunTool(dir, "--count=5 --interval=20 --count 2");
    ASSERT_EQ(run.exitCode, 0) << run.errors;
    EXPECT_EQ(run.lines.size(), 2u);

    const std::pair<const char*, const char*> refused[] = {
        {"--count=abc --count 2", "--count takes a number"},
        {"--count 2 --count=0", "--count takes a number"},
        {"-count 2", "unknown option -count"},
        {"--ebook=1", "--ebook takes no value"},
        {"-- --count=2", "unknown option --"},
        {"--count", "--count needs a value"},
    };
    for (const auto& [arguments, message] : refused) {
        const ToolRun bad = RunTool(dir, arguments);
        EXPECT_EQ(bad.exitCode, 1) << arguments;
        EXPECT_NE(bad.errors.find(message), std::string::npos) << arguments << ": " << bad.errors;
    }
    EXPECT_EQ(std::distance(fs::directory_iterator(dir / "Photo"), fs::directory_iterator()), 2);
}

}  // namespace
}  // namespace vestrel::scan
