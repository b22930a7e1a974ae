// The automatic processing steps of the chain on a rendered page: what each one visibly
// does to the stored file, and that the second camera is spared them.

#include "CxImage.h"
#include "Deskew.h"
#include "ScanFixture.h"

#include <opencv2/imgcodecs.hpp>
#include <opencv2/imgproc.hpp>

namespace vestrel::scan {
namespace {

using testing::ScanTest;

// A page of text lines, lit unevenly (brighter on the left), optionally turned.
cv::Mat ShadedPage(double skewDegrees = 0)
{
    cv::Mat page(900, 1200, CV_8UC3, cv::Scalar(235, 235, 235));
    for (int line = 0; line < 12; ++line) {
        cv::putText(page, "The quick brown fox jumps over the lazy dog 0123456789",
                    {80, 120 + line * 60}, cv::FONT_HERSHEY_SIMPLEX, 1.1, cv::Scalar(40, 40, 40), 2,
                    cv::LINE_AA);
    }
    if (skewDegrees != 0) {
        const cv::Mat turn = cv::getRotationMatrix2D({600, 450}, skewDegrees, 1.0);
        cv::warpAffine(page, page, turn, page.size(), cv::INTER_LINEAR, cv::BORDER_CONSTANT,
                       cv::Scalar(235, 235, 235));
    }
    for (int x = 0; x < page.cols; ++x) {
        const double light = 1.0 - 0.35 * x / page.cols;
        page.col(x) *= light;
    }
    return page;
}

// Spread of the paper's brightness: the brightest pixels of each 50-pixel column band.
double PaperSpread(const cv::Mat& grey)
{
    std::vector<double> levels;
    for (int x = 0; x + 50 <= grey.cols; x += 50) {
        double top = 0;
        cv::minMaxLoc(grey(cv::Rect(x, 0, 50, grey.rows)), nullptr, &top);
        cv::Scalar mean = cv::mean(grey(cv::Rect(x, 0, 50, 40)));
        levels.push_back(std::min(top, mean[0]));
    }
    cv::Scalar mean, spread;
    cv::meanStdDev(levels, mean, spread);
    return spread[0];
}

class AutomaticStepsTest : public ScanTest {
protected:
    ScanOutcome scanAs(const std::string& extension)
    {
        settings.foramt = extension;
        const ScanOutcome out = scanner.scan();
        EXPECT_EQ(out.status, ScanStatus::Stored) << out.message;
        return out;
    }
};

TEST_F(AutomaticStepsTest, BinarisationStoresOnlyBlackAndWhite)
{
    deliver(ShadedPage());
    settings.threshold = 1;
    const ScanOutcome png = scanAs(".png");
    CxImage back;
    ASSERT_TRUE(back.Load(png.path, CXIMAGE_FORMAT_PNG));
    EXPECT_EQ(back.GetBpp(), 1) << "a bilevel file";
    const cv::Mat grey = back.ToGrey();
    EXPECT_EQ(cv::countNonZero((grey != 0) & (grey != 255)), 0);
    EXPECT_GT(cv::countNonZero(grey == 0), 1000) << "the text survives";

    const cv::Mat jpeg = cv::imread(scanAs(".jpg").path.string(), cv::IMREAD_UNCHANGED);
    EXPECT_EQ(jpeg.channels(), 1) << "a grey JPEG";
}

TEST_F(AutomaticStepsTest, BackgroundRemovalEvensOutThePaper)
{
    const cv::Mat page = ShadedPage();
    deliver(page);
    settings.eraser = 1;
    const cv::Mat stored = cv::imread(scanAs(".png").path.string(), cv::IMREAD_GRAYSCALE);
    cv::Mat before;
    cv::cvtColor(page, before, cv::COLOR_BGR2GRAY);
    EXPECT_GT(PaperSpread(before), 15.0);
    EXPECT_LT(PaperSpread(stored), 3.0);
    EXPECT_GT(cv::countNonZero(stored < 128), 1000) << "the text survives";
}

TEST_F(AutomaticStepsTest, DeskewStraightensTheTextLines)
{
    deliver(ShadedPage(4.0));
    settings.incline = 1;
    const cv::Mat stored = cv::imread(scanAs(".png").path.string());
    ASSERT_FALSE(stored.empty());
    const docproc::SkewMeasurement after = docproc::MeasureSkew(stored);
    EXPECT_TRUE(after.reliable);
    EXPECT_LT(std::abs(after.angleDegrees), 0.5);
}

TEST_F(AutomaticStepsTest, SecondCameraIsSparedTheDocumentSteps)
{
    CFrameGrabber second;
    cv::Mat sample = ShadedPage();
    const cv::Mat page = sample.clone();
    second.OnFrame(sample, 1);
    GrabberFrameSource secondFrames(second);
    settings.threshold = 1;
    settings.eraser = 1;
    settings.incline = 1;
    settings.foramt = ".png";
    const ScanOutcome out = scanner.scanSecondCamera(secondFrames);
    ASSERT_EQ(out.status, ScanStatus::Stored);
    EXPECT_TRUE(testkit::SamePixels(cv::imread(out.path.string(), cv::IMREAD_UNCHANGED), page));

    // The TIFF branch of the binarisation step still applies: grey.
    settings.foramt = ".tif";
    const ScanOutcome tif = scanner.scanSecondCamera(secondFrames);
    CxImage back;
    ASSERT_TRUE(back.Load(tif.path, CXIMAGE_FORMAT_TIF));
    EXPECT_TRUE(back.IsGrayScale());
}

}  // namespace
}  // namespace vestrel::scan
