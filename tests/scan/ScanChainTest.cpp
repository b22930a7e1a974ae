#include "FrameBitmap.h"
#include "ImageSizeList.h"
#include "ScanFixture.h"
#include "ScanMessages.h"

#include "CxImage.h"
#include "DeskScene.h"

#include <opencv2/imgcodecs.hpp>
#include <opencv2/imgproc.hpp>

#include <fstream>
#include <iterator>

namespace vestrel::scan {
namespace {

namespace fs = std::filesystem;
using testing::ScanTest;

cv::Mat FullFrame() { return testkit::PatternImage(kFullFrameWidth, kFullFrameHeight); }

std::vector<std::uint8_t> Bytes(const fs::path& p)
{
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class ScanChainTest : public ScanTest {
protected:
    void selectEntry(int index)
    {
        settings.size = index;
        settings.w = ImageSizeList()[index].w;
        settings.h = ImageSizeList()[index].h;
    }
    cv::Mat scanAndRead(const std::string& extension, int flags = cv::IMREAD_UNCHANGED)
    {
        settings.foramt = extension;
        const ScanOutcome out = scanner.scan();
        EXPECT_EQ(out.status, ScanStatus::Stored) << out.message;
        if (out.status != ScanStatus::Stored) return {};
        return cv::imread(out.path.string(), flags);
    }
};

TEST_F(ScanChainTest, A4StoresTheCentredAreaExactly)
{
    const cv::Mat frame = FullFrame();
    deliver(frame);
    selectEntry(2);
    const cv::Mat stored = scanAndRead(".png");
    ASSERT_EQ(stored.cols, 2395);
    ASSERT_EQ(stored.rows, 1720);
    EXPECT_TRUE(testkit::SamePixels(stored, frame(cv::Rect(98, 112, 2395, 1720))));
}

TEST_F(ScanChainTest, RotateRightWithIdCardStoresPortrait)
{
    const cv::Mat frame = FullFrame();
    deliver(frame);
    selectEntry(7);
    settings.orientation.rotateRight = true;
    const cv::Mat stored = scanAndRead(".bmp");
    ASSERT_EQ(stored.cols, 450);
    ASSERT_EQ(stored.rows, 710);
    cv::Mat expected;
    cv::rotate(frame(cv::Rect(941, 747, 710, 450)), expected, cv::ROTATE_90_CLOCKWISE);
    EXPECT_TRUE(testkit::SamePixels(stored, expected));

    settings.orientation = Orientation{true, false, false};
    const cv::Mat upsideDown = scanAndRead(".png");
    cv::rotate(frame(cv::Rect(941, 747, 710, 450)), expected, cv::ROTATE_180);
    EXPECT_TRUE(testkit::SamePixels(upsideDown, expected));
}

TEST_F(ScanChainTest, JpegAtTheConfiguredQuality)
{
    deliver(FullFrame());
    settings.jpgquality = 95;
    const ScanOutcome fine = (settings.foramt = ".jpg", scanner.scan());
    settings.jpgquality = 20;
    const ScanOutcome coarse = scanner.scan();
    ASSERT_EQ(fine.status, ScanStatus::Stored);
    ASSERT_EQ(coarse.status, ScanStatus::Stored);
    EXPECT_EQ(fine.path.filename(), "Image0001.jpg");
    EXPECT_EQ(coarse.path.filename(), "Image0002.jpg");
    EXPECT_GT(fs::file_size(fine.path), 2 * fs::file_size(coarse.path));
    const cv::Mat back = cv::imread(fine.path.string());
    EXPECT_EQ(back.size(), cv::Size(kFullFrameWidth, kFullFrameHeight));
    // As faithful as OpenCV's own encoder at that quality.
    std::vector<std::uint8_t> reference;
    cv::imencode(".jpg", FullFrame(), reference, {cv::IMWRITE_JPEG_QUALITY, 95});
    EXPECT_GT(testkit::Psnr(back, FullFrame()), testkit::Psnr(cv::imdecode(reference, cv::IMREAD_COLOR), FullFrame()) - 0.5);
}

TEST_F(ScanChainTest, TiffWithoutBinarisationIsGrey)
{
    deliver(FullFrame());
    settings.foramt = ".tif";
    settings.threshold = 0;
    const ScanOutcome out = scanner.scan();
    ASSERT_EQ(out.status, ScanStatus::Stored) << out.message;
    CxImage back;
    ASSERT_TRUE(back.Load(out.path, CXIMAGE_FORMAT_TIF));
    EXPECT_EQ(back.GetBpp(), 8);
    EXPECT_TRUE(back.IsGrayScale());
    cv::Mat grey;
    cv::cvtColor(FullFrame(), grey, cv::COLOR_BGR2GRAY);
    EXPECT_LE(testkit::MaxAbsDiff(back.ToGrey(), grey), 1.0);
}

TEST_F(ScanChainTest, GreyComesBeforeTheStampSoTheStampIsBlackOnGrey)
{
    const cv::Mat frame(600, 800, CV_8UC3, cv::Scalar(40, 200, 90));
    deliver(frame);
    settings.grayscale = 1;
    settings.addtime = 1;
    const cv::Mat stored = scanAndRead(".png");
    ASSERT_EQ(stored.type(), CV_8UC1) << "the stored scan is grey";
    cv::Mat paper;
    cv::cvtColor(frame, paper, cv::COLOR_BGR2GRAY);
    const int paperLevel = paper.at<std::uint8_t>(0, 0);

    // The text block ends 15 pixels above the bottom edge and starts 150 left of the right.
    const cv::Rect band(800 - 150, 0, 150, 600 - 15);
    double darkest = 255;
    cv::minMaxLoc(stored(band), &darkest);
    EXPECT_LT(darkest, 64.0) << "black text";
    cv::Mat outside = stored.clone();
    outside(band).setTo(paperLevel);
    EXPECT_EQ(cv::countNonZero(outside != paperLevel), 0) << "nothing drawn outside the stamp";
    // The stamp's text sits at the bottom of that band.
    cv::Mat inkRows;
    cv::reduce(stored(band) < 128, inkRows, 1, cv::REDUCE_MAX);
    int lastInkRow = -1;
    for (int y = 0; y < inkRows.rows; ++y) if (inkRows.at<std::uint8_t>(y)) lastInkRow = y;
    EXPECT_GT(lastInkRow, 600 - 15 - 12);
}

TEST_F(ScanChainTest, NoStampOnPicturesTooSmallForIt)
{
    const cv::Mat frame(100, 150, CV_8UC3, cv::Scalar(255, 255, 255));
    deliver(frame);
    settings.addtime = 1;
    EXPECT_TRUE(testkit::SamePixels(scanAndRead(".png"), frame));
}

TEST_F(ScanChainTest, UnknownExtensionStoresTheRawBitmap)
{
    const cv::Mat frame = testkit::PatternImage(640, 480);
    deliver(frame);
    settings.grayscale = 1;  // the chain does nothing for an unknown type
    settings.foramt = ".raw";
    const ScanOutcome out = scanner.scan();
    ASSERT_EQ(out.status, ScanStatus::Stored);
    EXPECT_EQ(out.path, photo() / "Image0001.raw");
    EXPECT_EQ(Bytes(out.path), FrameBitmapBytes(frame));
}

TEST_F(ScanChainTest, DigitalZoomKeepsTheFrameSizeAndTheCentre)
{
    cv::Mat frame(480, 640, CV_8UC3, cv::Scalar(255, 255, 255));
    cv::rectangle(frame, cv::Rect(300, 220, 40, 40), cv::Scalar(0, 0, 0), cv::FILLED);
    deliver(frame);
    state.zoomLevel = 1;
    const cv::Mat stored = scanAndRead(".png", cv::IMREAD_GRAYSCALE);
    ASSERT_EQ(stored.size(), frame.size());
    // The black square grows: 40 px of 640 become about 40 * 1040 / 640 = 65 px.
    const int blackColumns = cv::countNonZero(stored.row(240) < 128);
    EXPECT_NEAR(blackColumns, 65, 2);
    EXPECT_LT(stored.at<std::uint8_t>(240, 320), 128);
}

TEST_F(ScanChainTest, GifKeepsTheColoursOfACameraPicture)
{
    // The virtual camera's desk: large areas of close browns that a poor palette bands.
    cv::Mat frame;
    SensorNoise().add(DrawDeskScene(cv::Size(kFullFrameWidth, kFullFrameHeight)), frame);
    deliver(frame);
    settings.foramt = ".gif";
    const ScanOutcome out = scanner.scan();
    ASSERT_EQ(out.status, ScanStatus::Stored) << out.message;
    CxImage back;
    ASSERT_TRUE(back.Load(out.path, CXIMAGE_FORMAT_GIF));
    ASSERT_EQ(back.GetBpp(), 8);
    cv::Mat storedMeans, frameMeans;
    cv::resize(back.ToBgr(), storedMeans, frame.size() / 32, 0, 0, cv::INTER_AREA);
    cv::resize(frame, frameMeans, frame.size() / 32, 0, 0, cv::INTER_AREA);
    EXPECT_LE(testkit::MaxAbsDiff(storedMeans, frameMeans), 4.0) << "32-pixel block means";
}

TEST_F(ScanChainTest, IconOfAnySizeHoldsThePictureItself)
{
    // Larger than a bitmap icon entry can be: stored as a PNG entry, never as a BMP file.
    const cv::Mat frame = testkit::PatternImage(640, 480);
    deliver(frame);
    settings.foramt = ".ico";
    const ScanOutcome out = scanner.scan();
    ASSERT_EQ(out.status, ScanStatus::Stored) << out.message;
    const std::vector<std::uint8_t> bytes = Bytes(out.path);
    ASSERT_GE(bytes.size(), 22u + 8u);
    EXPECT_EQ(std::vector<std::uint8_t>(bytes.begin(), bytes.begin() + 4), (std::vector<std::uint8_t>{0, 0, 1, 0}));
    EXPECT_EQ(bytes[6], 0) << "width byte 0: 256 or more";
    EXPECT_EQ(bytes[7], 0) << "height byte 0: 256 or more";
    EXPECT_EQ(std::vector<std::uint8_t>(bytes.begin() + 22, bytes.begin() + 26),
              (std::vector<std::uint8_t>{0x89, 'P', 'N', 'G'}));
    CxImage back;
    ASSERT_TRUE(back.Load(out.path, CXIMAGE_FORMAT_ICO));
    EXPECT_TRUE(testkit::SamePixels(back.ToBgr(), frame));

    // A small picture still makes a bitmap entry, which every icon reader knows.
    deliver(testkit::PatternImage(200, 100));
    const ScanOutcome small = scanner.scan();
    ASSERT_EQ(small.status, ScanStatus::Stored) << small.message;
    const std::vector<std::uint8_t> smallBytes = Bytes(small.path);
    ASSERT_GE(smallBytes.size(), 26u);
    EXPECT_EQ(smallBytes[6], 200);
    EXPECT_EQ(smallBytes[22], 40) << "bitmap info header";
}

TEST_F(ScanChainTest, AFileThatCannotBeWrittenLeavesNothingAndSaysSo)
{
    deliver(testkit::PatternImage(320, 240));
    settings.path = (programDir / "gone" / "").string();
    const ScanOutcome out = scanner.scan();
    EXPECT_EQ(out.status, ScanStatus::Failed);
    ASSERT_EQ(prompter.shown().size(), 1u);
    EXPECT_TRUE(prompter.shown()[0].text.starts_with(messages::kScanNotStored));
    EXPECT_FALSE(fs::exists(programDir / "gone"));
}

TEST_F(ScanChainTest, NoFrameYetNamesNothing)
{
    const ScanOutcome out = scanner.scan();
    EXPECT_EQ(out.status, ScanStatus::Failed);
    EXPECT_TRUE(prompter.showed(messages::kNoFrame));
    EXPECT_EQ(state.counters.serial, 0);
}

}  // namespace
}  // namespace vestrel::scan
