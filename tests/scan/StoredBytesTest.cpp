// The stored file of a scan, byte for byte, for a few frames, settings and formats. The
// digests were taken from the chain before its conversions were trimmed: any change to a
// single stored byte of these scans shows here. The pictures are small so the test stays
// quick; the chain treats every size alike.

#include "DeskScene.h"
#include "ProcessingChain.h"
#include "TempProgramDir.h"

#include <gtest/gtest.h>
#include <opencv2/imgproc.hpp>

#include <fstream>
#include <iterator>
#include <string_view>

namespace vestrel::scan {
namespace {

namespace fs = std::filesystem;

std::uint64_t FileDigest(const fs::path& p)
{
    std::ifstream in(p, std::ios::binary);
    const std::vector<char> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    std::uint64_t h = 1469598103934665603ull;  // 64-bit FNV-1a
    for (const char c : bytes) {
        h ^= static_cast<unsigned char>(c);
        h *= 1099511628211ull;
    }
    return bytes.empty() ? 0 : h;
}

// The virtual camera's desk scene with its sensor noise.
cv::Mat DeskFrame(cv::Size size)
{
    SensorNoise noise;
    cv::Mat frame;
    noise.add(DrawDeskScene(size), frame);
    return frame;
}

// A text page turned by two degrees and lit unevenly: deskew and background removal act.
cv::Mat TurnedPage()
{
    cv::Mat page(600, 800, CV_8UC3, cv::Scalar(230, 232, 235));
    for (int line = 0; line < 10; ++line)
        cv::putText(page, "Quarterly figures 2026: 41,7 / 12,9 / 88,0", {50, 70 + line * 50},
                    cv::FONT_HERSHEY_SIMPLEX, 0.9, cv::Scalar(30, 40, 50), 2, cv::LINE_AA);
    const cv::Mat turn = cv::getRotationMatrix2D({400, 300}, 2.0, 1.0);
    cv::warpAffine(page, page, turn, page.size(), cv::INTER_LINEAR, cv::BORDER_CONSTANT,
                   cv::Scalar(230, 232, 235));
    for (int x = 0; x < page.cols; ++x) page.col(x) *= 1.0 - 0.3 * x / page.cols;
    return page;
}

// A recorded digest of the file stored for one combination.
struct Digest {
    const char* steps;
    const char* extension;
    std::uint64_t value;
};

// Recorded from the chain as it stored these scans before its conversions were trimmed.
constexpr Digest kDeskDigests[] = {
    {"every step", ".png", 0xe09ac2f887f2f4e3ull},
    {"every step", ".bmp", 0x33dab88b3ef9a170ull},
    {"every step", ".tif", 0x6cf03f8cdf97a634ull},
    {"every step", ".jpg", 0xf226990e4bc15785ull},
    {"colour, binarised", ".png", 0xaa40de966a6f00f3ull},
    {"colour, binarised", ".bmp", 0xd2f5e96811c2e6eaull},
    {"colour, binarised", ".tif", 0x9b327ff69315e16aull},
    {"colour, binarised", ".jpg", 0xc102f7aeffadcf98ull},
    {"removal and deskew", ".png", 0x9cd126fdc67d3a8dull},
    {"removal and deskew", ".bmp", 0xd226578c3c456287ull},
    {"removal and deskew", ".tif", 0xc792e7aa27eb35f1ull},
    {"removal and deskew", ".jpg", 0x083956a3648efdb6ull},
    {"binarisation only", ".png", 0x63e8e42efa7dfa02ull},
    {"binarisation only", ".bmp", 0xd539ac060943eb21ull},
    {"binarisation only", ".tif", 0x52ee38e913bf5063ull},
    {"binarisation only", ".jpg", 0xdb61d28fe918d99bull},
};
constexpr Digest kPageDigests[] = {
    {"every step", ".png", 0xf9f8d7b419d8bccfull},
    {"every step", ".bmp", 0x349d04adbd724a0eull},
    {"every step", ".tif", 0x51c7dc42e923bc3eull},
    {"every step", ".jpg", 0x4ab503b44c354fa0ull},
    {"colour, binarised", ".png", 0x79c3383c916c438aull},
    {"colour, binarised", ".bmp", 0x8e559cf4388b329bull},
    {"colour, binarised", ".tif", 0x00c9c15d3ab13a94ull},
    {"colour, binarised", ".jpg", 0xec4931d1e21afdcaull},
    {"binarisation only", ".png", 0x8138db75d1b4e683ull},
    {"binarisation only", ".bmp", 0x4fa51a820f4eaa06ull},
    {"binarisation only", ".tif", 0xf34adc6b22986482ull},
    {"binarisation only", ".jpg", 0xe9507094aaf8d602ull},
};

struct Steps {
    const char* name;
    int grey, time, eraser, incline, threshold;
};

constexpr Steps kEverything{"every step", 1, 1, 1, 1, 1};
constexpr Steps kColourBilevel{"colour, binarised", 0, 1, 1, 1, 1};
constexpr Steps kNoBinarisation{"removal and deskew", 1, 0, 1, 1, 0};
constexpr Steps kBinariseOnly{"binarisation only", 0, 0, 0, 0, 1};

class StoredBytesTest : public testkit::ProgramDirTest {
protected:
    std::uint64_t store(const cv::Mat& frame, const Steps& steps, const std::string& extension,
                        int quality = 80)
    {
        Settings s;
        s.grayscale = steps.grey;
        s.addtime = steps.time;
        s.eraser = steps.eraser;
        s.incline = steps.incline;
        s.threshold = steps.threshold;
        s.jpgquality = quality;
        std::tm when{};
        when.tm_year = 2026 - 1900;
        when.tm_mon = 11;
        when.tm_mday = 8;
        when.tm_hour = 11;
        when.tm_min = 42;
        when.tm_sec = 5;
        const fs::path target = programDir / ("scan" + std::to_string(++count_) + extension);
        const StoredScan stored = StoreScan(frame, target, ChainInput{&s, 0, when, ChainKind::MainCamera});
        EXPECT_EQ(stored.result, NewFileResult::Stored) << stored.error;
        return FileDigest(target);
    }

    // Stores `frame` with every listed combination and compares each file with its digest.
    template <std::size_t N>
    void expectDigests(const cv::Mat& frame, const Digest (&digests)[N], int quality)
    {
        for (const Digest& d : digests) {
            const Steps* steps = nullptr;
            for (const Steps* s : {&kEverything, &kColourBilevel, &kNoBinarisation, &kBinariseOnly})
                if (std::string_view(s->name) == d.steps) steps = s;
            ASSERT_NE(steps, nullptr) << d.steps;
            EXPECT_EQ(store(frame, *steps, d.extension, quality), d.value)
                << d.steps << ", " << d.extension << ": the stored bytes changed";
        }
    }

private:
    int count_ = 0;
};

TEST_F(StoredBytesTest, DeskSceneKeepsItsBytes)
{
    expectDigests(DeskFrame({1024, 768}), kDeskDigests, 80);
}

TEST_F(StoredBytesTest, TurnedPageKeepsItsBytes)
{
    expectDigests(TurnedPage(), kPageDigests, 60);
}

TEST_F(StoredBytesTest, DigestsTellScansApart)
{
    // The digests are only a proof if different pictures give different ones: a binarised
    // and an unbinarised scan of the same frame, and two frames with the same steps.
    const cv::Mat desk = DeskFrame({320, 240});
    const std::uint64_t bilevel = store(desk, kBinariseOnly, ".png");
    EXPECT_NE(bilevel, 0u);
    EXPECT_NE(bilevel, store(desk, kNoBinarisation, ".png"));
    EXPECT_NE(bilevel, store(DeskFrame({320, 241}), kBinariseOnly, ".png"));
    EXPECT_EQ(bilevel, store(desk.clone(), kBinariseOnly, ".png")) << "the same frame, the same bytes";
}

}  // namespace
}  // namespace vestrel::scan
