// Thumbnails: where the picture lands in its square, how far a JPEG is reduced before it
// is decoded, what a PDF entry takes its picture from, damaged files giving no picture, and
// the cache that keeps a picture only as long as its file stays the same.

#include "LibraryTestSupport.h"
#include "PictureSource.h"
#include "ThumbnailCache.h"
#include "ThumbnailGeometry.h"
#include "ThumbnailMaker.h"

#include <opencv2/imgcodecs.hpp>

#include <fstream>
#include <gtest/gtest.h>

namespace vestrel::library {
namespace {
namespace fs = std::filesystem;
using test::WritePicture;

TEST(ThumbnailGeometry, LandscapeAndPortraitAreCentredAcrossTheirShortSide)
{
    EXPECT_EQ(ThumbnailPlacement(400, 300), (ThumbnailRect{0, 11, 90, 67}));
    EXPECT_EQ(ThumbnailPlacement(300, 400), (ThumbnailRect{11, 0, 67, 90}));
    EXPECT_EQ(ThumbnailPlacement(2592, 1944), (ThumbnailRect{0, 11, 90, 67}));
    EXPECT_EQ(ThumbnailPlacement(500, 500), (ThumbnailRect{0, 0, 90, 90}));
    // A strip keeps one row or column rather than vanishing.
    EXPECT_EQ(ThumbnailPlacement(10000, 3), (ThumbnailRect{0, 44, 90, 1}));
    EXPECT_EQ(ThumbnailPlacement(3, 10000), (ThumbnailRect{44, 0, 1, 90}));
}

TEST(ThumbnailGeometry, JpegReductionKeepsNinetyPixelsOnTheLongSide)
{
    EXPECT_EQ(JpegReduction(2592, 1944), 8);
    EXPECT_EQ(JpegReduction(1944, 2592), 8);
    EXPECT_EQ(JpegReduction(400, 300), 4);   // 50 at an eighth is too small
    EXPECT_EQ(JpegReduction(720, 20), 8);    // 90 exactly
    EXPECT_EQ(JpegReduction(713, 20), 8);    // 89.1 rounds up to 90 at an eighth
    EXPECT_EQ(JpegReduction(712, 20), 4);    // 89 exactly
    EXPECT_EQ(JpegReduction(179, 100), 2);   // 89.5 rounds up to 90 at a half
    EXPECT_EQ(JpegReduction(178, 100), 1);
    EXPECT_EQ(JpegReduction(90, 90), 1);
    EXPECT_EQ(JpegReduction(40, 30), 1);
}

class ThumbnailFiles : public testkit::ProgramDirTest {
protected:
    fs::path Photo(const std::string& name) const { return programDir / "Photo" / name; }
};

// White outside the picture, the picture inside, the grey frame all round.
void ExpectLandscapeThumbnail(const cv::Mat& thumb, const cv::Vec3b& colour)
{
    ASSERT_EQ(thumb.size(), cv::Size(90, 90));
    ASSERT_EQ(thumb.type(), CV_8UC3);
    const cv::Vec3b white(255, 255, 255), frame(192, 192, 192);
    for (int i = 0; i < 90; ++i) {
        EXPECT_EQ(thumb.at<cv::Vec3b>(0, i), frame);
        EXPECT_EQ(thumb.at<cv::Vec3b>(89, i), frame);
        EXPECT_EQ(thumb.at<cv::Vec3b>(i, 0), frame);
        EXPECT_EQ(thumb.at<cv::Vec3b>(i, 89), frame);
    }
    EXPECT_EQ(thumb.at<cv::Vec3b>(10, 45), white);
    EXPECT_EQ(thumb.at<cv::Vec3b>(78, 45), white);
    for (int y : {11, 45, 77})
        for (int c = 0; c < 3; ++c) EXPECT_NEAR(thumb.at<cv::Vec3b>(y, 45)[c], colour[c], 6) << "row " << y;
}

TEST_F(ThumbnailFiles, JpegAndPngThumbnailsArePlacedAndFramed)
{
    WritePicture(Photo("wide.jpg"), 400, 300, cv::Scalar(30, 40, 200));
    ExpectLandscapeThumbnail(MakeThumbnail(Photo("wide.jpg")), cv::Vec3b(30, 40, 200));

    WritePicture(Photo("tall.png"), 300, 400, cv::Scalar(200, 40, 30));
    const cv::Mat tall = MakeThumbnail(Photo("tall.png"));
    ASSERT_EQ(tall.size(), cv::Size(90, 90));
    EXPECT_EQ(tall.at<cv::Vec3b>(45, 10), cv::Vec3b(255, 255, 255));
    EXPECT_EQ(tall.at<cv::Vec3b>(45, 11), cv::Vec3b(200, 40, 30));
    EXPECT_EQ(tall.at<cv::Vec3b>(45, 77), cv::Vec3b(200, 40, 30));
    EXPECT_EQ(tall.at<cv::Vec3b>(45, 78), cv::Vec3b(255, 255, 255));
}

TEST_F(ThumbnailFiles, CameraSizedJpegIsDecodedAtAnEighth)
{
    WritePicture(Photo("scan.jpg"), 2592, 1944);
    const ThumbnailPicture picture = DecodeForThumbnail(Photo("scan.jpg"));
    EXPECT_EQ(picture.fullSize, cv::Size(2592, 1944));
    EXPECT_EQ(picture.pixels.size(), cv::Size(324, 243));

    // Too small to reduce: decoded as it is.
    WritePicture(Photo("small.jpg"), 120, 80);
    EXPECT_EQ(DecodeForThumbnail(Photo("small.jpg")).pixels.size(), cv::Size(120, 80));
}

TEST_F(ThumbnailFiles, DamagedFilesGiveNoPicture)
{
    WritePicture(Photo("good.jpg"), 400, 300);
    std::ifstream in(Photo("good.jpg"), std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    ASSERT_GT(bytes.size(), 400u);

    const auto write = [&](const std::string& name, const std::string& content) {
        std::ofstream(Photo(name), std::ios::binary) << content;
        return Photo(name);
    };
    // Cut short in the middle of the picture data, header only, no JPEG at all, empty.
    EXPECT_TRUE(MakeThumbnail(write("cut.jpg", bytes.substr(0, bytes.size() * 2 / 3))).empty());
    EXPECT_TRUE(MakeThumbnail(write("header.jpg", bytes.substr(0, 300))).empty());
    EXPECT_TRUE(MakeThumbnail(write("noise.jpg", std::string(5000, '\x5a'))).empty());
    EXPECT_TRUE(MakeThumbnail(write("empty.jpg", "")).empty());
    // A JPEG header whose size would be absurd to allocate.
    std::string huge = bytes;
    const auto sof = huge.find("\xFF\xC0");
    ASSERT_NE(sof, std::string::npos);
    huge[sof + 5] = huge[sof + 6] = huge[sof + 7] = huge[sof + 8] = '\xFF';
    EXPECT_TRUE(MakeThumbnail(write("huge.jpg", huge)).empty());
    EXPECT_TRUE(MakeThumbnail(write("broken.png", "\x89PNG\r\n\x1a\n garbage")).empty());
    EXPECT_TRUE(MakeThumbnail(Photo("missing.jpg")).empty());
    EXPECT_TRUE(MakeThumbnail(write("notes.txt", "text")).empty());
    // Intact files beside them still work.
    EXPECT_FALSE(MakeThumbnail(Photo("good.jpg")).empty());
}

TEST_F(ThumbnailFiles, PdfEntriesTakeTheScratchJpegNamedBeforeTheFirstDot)
{
    const std::string photoDir = (programDir / "Photo").string() + "/";
    std::ofstream(Photo("a.b.pdf")) << "%PDF-1.4";
    EXPECT_EQ(PictureSource(photoDir, "a.b.pdf"), Photo("a.b.pdf"));
    EXPECT_TRUE(MakeThumbnail(PictureSource(photoDir, "a.b.pdf")).empty());

    WritePicture(programDir / "temp/temp/a.jpg", 100, 100, cv::Scalar(0, 200, 0));
    EXPECT_EQ(PictureSource(photoDir, "a.b.pdf"), programDir / "temp/temp/a.jpg");
    const cv::Mat thumb = MakeThumbnail(PictureSource(photoDir, "a.b.pdf"));
    ASSERT_FALSE(thumb.empty());
    EXPECT_NEAR(thumb.at<cv::Vec3b>(45, 45)[1], 200, 6);

    // Only a lower-case ending counts; "x.PDF" is looked at as itself.
    EXPECT_FALSE(TakesPdfThumbnail("x.PDF"));
    WritePicture(programDir / "temp/temp/x.jpg", 100, 100);
    EXPECT_EQ(PictureSource(photoDir, "x.PDF"), Photo("x.PDF"));
    EXPECT_EQ(PictureSource(photoDir, "scan.jpg"), Photo("scan.jpg"));
}

TEST_F(ThumbnailFiles, TheCacheGivesAPictureBackOnlyWhileItsFileIsUnchanged)
{
    WritePicture(Photo("a.jpg"), 400, 300);
    test::SetAge(Photo("a.jpg"), 60);
    const std::optional<FileStamp> stamp = StampOf(Photo("a.jpg"));
    ASSERT_TRUE(stamp.has_value());
    EXPECT_FALSE(StampOf(Photo("missing.jpg")).has_value());
    EXPECT_FALSE(StampOf(programDir / "Photo").has_value()) << "a folder has no picture";

    ThumbnailCache cache;
    EXPECT_FALSE(cache.find(*stamp).has_value());
    const cv::Mat made = MakeThumbnail(Photo("a.jpg"));
    cache.store(*stamp, made);
    const std::optional<cv::Mat> found = cache.find(*StampOf(Photo("a.jpg")));
    ASSERT_TRUE(found.has_value());
    EXPECT_EQ(cv::norm(*found, made, cv::NORM_INF), 0.0);

    // Touched, or rewritten with the same time but another size: made again.
    test::SetAge(Photo("a.jpg"), 30);
    EXPECT_FALSE(cache.find(*StampOf(Photo("a.jpg"))).has_value());
    EXPECT_EQ(cache.size(), 0u) << "a stale picture is dropped when found out";
    cache.store(*StampOf(Photo("a.jpg")), made);
    const auto modified = StampOf(Photo("a.jpg"))->modified;
    WritePicture(Photo("a.jpg"), 40, 30);
    std::filesystem::last_write_time(Photo("a.jpg"), modified);
    EXPECT_FALSE(cache.find(*StampOf(Photo("a.jpg"))).has_value());

    // A file without a picture is remembered as such.
    std::ofstream(Photo("bad.jpg")) << "not a jpeg";
    cache.store(*StampOf(Photo("bad.jpg")), cv::Mat());
    const std::optional<cv::Mat> none = cache.find(*StampOf(Photo("bad.jpg")));
    ASSERT_TRUE(none.has_value());
    EXPECT_TRUE(none->empty());
}

TEST(ThumbnailCache, TheLeastRecentlyUsedPictureGoesWhenFull)
{
    const auto stamp = [](const std::string& path) { return FileStamp{path, 1, {}}; };
    const cv::Mat picture(90, 90, CV_8UC3, cv::Scalar::all(7));
    ThumbnailCache cache(2);
    cache.store(stamp("/a"), picture);
    cache.store(stamp("/b"), picture);
    EXPECT_TRUE(cache.find(stamp("/a")).has_value());  // now /b is the oldest in use
    cache.store(stamp("/c"), picture);
    EXPECT_EQ(cache.size(), 2u);
    EXPECT_TRUE(cache.find(stamp("/a")).has_value());
    EXPECT_FALSE(cache.find(stamp("/b")).has_value());
    EXPECT_TRUE(cache.find(stamp("/c")).has_value());
    // Storing a path again replaces its entry rather than adding one.
    cache.store(stamp("/c"), cv::Mat());
    EXPECT_EQ(cache.size(), 2u);
    EXPECT_TRUE(cache.find(stamp("/c"))->empty());
}

}  // namespace
}  // namespace vestrel::library
