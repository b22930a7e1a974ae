// vestrel-scan --id-copy end to end: the real executable on a file camera that shows a card
// on a desk, in a fresh program folder with its own config.ini.

#include "PdfTestTools.h"
#include "TempProgramDir.h"

#include <gtest/gtest.h>
#include <opencv2/imgcodecs.hpp>

#include <cstdlib>
#include <sstream>
#include <sys/wait.h>

namespace vestrel::scan {
namespace {

namespace fs = std::filesystem;

const cv::Vec3b kRed(0, 0, 255);  // BGR
const cv::Vec3b kGreen(0, 200, 0);
const cv::Vec3b kWhite(255, 255, 255);

struct ToolRun {
    int exitCode = -1;
    std::vector<std::string> lines;  // standard output
    std::string errors;              // standard error
};

// Runs the tool with `arguments`, its standard input fed from `input`.
ToolRun RunCopy(const testkit::TempProgramDir& dir, const std::string& arguments, const std::string& input)
{
    const fs::path inFile = dir.writeFile("temp/stdin.txt", input);
    const fs::path errFile = dir / "temp/stderr.txt";
    const std::string command = std::string("'") + VESTREL_SCAN_TOOL + "' --home '" + dir.path().string() +
                                "' --id-copy --camera 'file:" + (dir / "temp/desk.png").string() + "' " +
                                arguments + " <'" + inFile.string() + "' 2>'" + errFile.string() + "'";
    const testkit::CommandResult result = testkit::runCommand(command, false);
    ToolRun run;
    run.exitCode = result.status;
    std::istringstream lines(result.output);
    for (std::string line; std::getline(lines, line);) run.lines.push_back(line);
    run.errors = testkit::TempProgramDir::readFile(errFile);
    return run;
}

class VestrelScanIdCopy : public ::testing::Test {
protected:
    VestrelScanIdCopy()
    {
        // A 1000 x 800 desk with a red 710 x 450 card in the middle; the card's top-left
        // corner carries a green mark.
        cv::Mat desk(800, 1000, CV_8UC3, cv::Scalar(120, 90, 60));
        desk(cv::Rect(145, 175, 710, 450)).setTo(cv::Scalar(kRed));
        desk(cv::Rect(145, 175, 40, 20)).setTo(cv::Scalar(kGreen));
        cv::imwrite((dir / "temp/desk.png").string(), desk);
    }
    testkit::TempProgramDir dir;
};

TEST_F(VestrelScanIdCopy, CopiesBothSidesOntoOnePage)
{
    dir.writeFile("config.ini", "[Custom]\nsize=7\nw=710\nh=450\nforamt=.png\nlwidth=1000\nlheight=800\n");
    const ToolRun run = RunCopy(dir, "--interval 50", "");
    ASSERT_EQ(run.exitCode, 0) << run.errors;
    ASSERT_EQ(run.lines.size(), 1u);
    EXPECT_EQ(fs::path(run.lines[0]).parent_path(), dir / "Photo");
    EXPECT_EQ(fs::path(run.lines[0]).extension(), ".png");
    const cv::Mat page = cv::imread(run.lines[0]);
    ASSERT_EQ(page.size(), cv::Size(1600, 2200));
    // Front: x 445, lower edge 650 above the bottom (rows 1100..1549); back: lower edge 1130
    // (rows 620..1069). Each turned by 180 degrees: the mark is at the card's bottom right.
    for (int top : {1100, 620}) {
        EXPECT_EQ(page.at<cv::Vec3b>(top, 445), kRed) << top;
        EXPECT_EQ(page.at<cv::Vec3b>(top + 449, 445 + 709), kGreen) << top;
        EXPECT_EQ(page.at<cv::Vec3b>(top - 1, 445), kWhite) << top;
        EXPECT_EQ(page.at<cv::Vec3b>(top + 450, 445), kWhite) << top;
        EXPECT_EQ(page.at<cv::Vec3b>(top + 200, 444), kWhite) << top;
    }
    EXPECT_EQ(std::distance(fs::directory_iterator(dir / "Photo"), fs::directory_iterator()), 1);
}

TEST_F(VestrelScanIdCopy, WithoutAnIntervalTheBackWaitsForEnter)
{
    dir.writeFile("config.ini",
                  "[Custom]\nsize=8\nleft=145\nright=855\ntop=175\nbottom=625\nforamt=.bmp\n"
                  "lwidth=1000\nlheight=800\n");
    const ToolRun run = RunCopy(dir, "", "\n");
    ASSERT_EQ(run.exitCode, 0) << run.errors;
    ASSERT_EQ(run.lines.size(), 1u);
    EXPECT_NE(run.errors.find("回车"), std::string::npos) << run.errors;
    const cv::Mat page = cv::imread(run.lines[0]);
    EXPECT_EQ(page.at<cv::Vec3b>(1100, 445), kRed);
    EXPECT_EQ(page.at<cv::Vec3b>(620, 445), kRed);

    // Standard input ends without Enter: the copy fails, the page keeps only the front.
    const ToolRun aborted = RunCopy(dir, "", "");
    EXPECT_EQ(aborted.exitCode, 1);
    EXPECT_TRUE(aborted.lines.empty());
}

TEST_F(VestrelScanIdCopy, AreaTooLargeForThePageStoresNothing)
{
    dir.writeFile("config.ini", "[Custom]\nsize=2\nw=2395\nh=1720\n");
    const ToolRun run = RunCopy(dir, "--interval 0", "");
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.lines.empty());
    EXPECT_NE(run.errors.find("图像太大,无法双面复印"), std::string::npos) << run.errors;
    EXPECT_TRUE(fs::is_empty(dir / "Photo"));
}

TEST(VestrelScanIdCopyLine, CountAndNameDoNotApply)
{
    testkit::TempProgramDir dir;
    for (const char* extra : {"--count 3", "--name card"}) {
        const std::string command = std::string("'") + VESTREL_SCAN_TOOL + "' --home '" +
                                    dir.path().string() + "' --id-copy " + extra + " 2>/dev/null";
        const int status = std::system(command.c_str());
        EXPECT_EQ(WIFEXITED(status) ? WEXITSTATUS(status) : -1, 1) << extra;
    }
    EXPECT_TRUE(fs::is_empty(dir / "Photo"));
}

}  // namespace
}  // namespace vestrel::scan
