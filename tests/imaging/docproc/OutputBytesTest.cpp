// The routines' results byte for byte, on pictures of awkward sizes (odd, a few pixels
// over the smallest a routine works on, tall and narrow) and under several thread counts.
// The recorded digests are those of the routines as they were before they split their work
// into row bands: however the rows are shared out, not one byte may change.

#include "BackgroundCleaning.h"
#include "BackgroundNormalisation.h"
#include "Binarisation.h"
#include "Deskew.h"

#include <gtest/gtest.h>
#include <opencv2/core/utility.hpp>
#include <opencv2/imgproc.hpp>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <string>

using namespace vestrel::docproc;

namespace {

// 64-bit FNV-1a over the size, the type and every pixel byte.
std::uint64_t Digest(const cv::Mat& picture)
{
    std::uint64_t h = 1469598103934665603ull;
    auto add = [&](std::uint64_t byte) {
        h ^= byte;
        h *= 1099511628211ull;
    };
    for (const int value : {picture.cols, picture.rows, picture.type()})
        for (int shift = 0; shift < 32; shift += 8) add((static_cast<unsigned>(value) >> shift) & 0xff);
    const size_t rowBytes = picture.cols * picture.elemSize();
    for (int y = 0; y < picture.rows; ++y) {
        const uchar* row = picture.ptr<uchar>(y);
        for (size_t i = 0; i < rowBytes; ++i) add(row[i]);
    }
    return h;
}

// Lines of text turned by `degrees` under light falling off to the right, with noise: every
// routine has work to do on it.
cv::Mat NoisyPage(cv::Size size, double degrees, int seed)
{
    cv::Mat page(size, CV_8UC3, cv::Scalar(215, 222, 228));
    const double scale = std::max(0.3, size.width / 1400.0);
    for (int y = static_cast<int>(40 * scale); y < size.height - 10; y += static_cast<int>(38 * scale) + 1)
        cv::putText(page, "Invoice 2026-0417 total 1.234,56 paid", {size.width / 12, y},
                    cv::FONT_HERSHEY_SIMPLEX, scale, cv::Scalar(35, 30, 40), std::max(1, static_cast<int>(2 * scale)),
                    cv::LINE_AA);
    cv::warpAffine(page, page, cv::getRotationMatrix2D({size.width / 2.0f, size.height / 2.0f}, degrees, 1.0),
                   page.size(), cv::INTER_LINEAR, cv::BORDER_REPLICATE);
    for (int x = 0; x < page.cols; ++x) page.col(x) *= 1.0 - 0.35 * x / page.cols;
    cv::Mat noise(size, CV_8UC3);
    cv::RNG rng(seed);
    rng.fill(noise, cv::RNG::NORMAL, 0, 6);
    cv::Mat signedPage;
    page.convertTo(signedPage, CV_16SC3);
    cv::Mat signedNoise;
    noise.convertTo(signedNoise, CV_16SC3);
    // The noise as drawn is unsigned; centre it so the page is both darkened and lightened.
    signedPage += signedNoise - cv::Scalar::all(6);
    signedPage.convertTo(page, CV_8UC3);
    return page;
}

cv::Mat Grey(const cv::Mat& bgr)
{
    cv::Mat grey;
    cv::cvtColor(bgr, grey, cv::COLOR_BGR2GRAY);
    return grey;
}

// The digest of every routine's result on one picture, in a fixed order.
std::string Results(const cv::Mat& bgr)
{
    std::string all;
    auto note = [&](const char* what, const cv::Mat& m) {
        char line[64];
        std::snprintf(line, sizeof line, "%s %016llx\n", what, static_cast<unsigned long long>(Digest(m)));
        all += line;
    };
    for (const cv::Mat& picture : {bgr, Grey(bgr)}) {
        cv::Mat work = picture.clone();
        EXPECT_TRUE(NormaliseBackground(work));
        note("normalised", work);
        EXPECT_TRUE(CleanBackground(work));
        note("cleaned", work);
        cv::Mat out;
        EXPECT_TRUE(Binarise(picture, out));
        note("binarised", out);
        cv::Mat turn;
        const int turned = Deskew(picture, out, &turn);
        note("deskewed", turned ? out : cv::Mat());
    }
    return all;
}

struct Recorded {
    cv::Size size;
    double degrees;
    const char* results;
};

}  // namespace

TEST(DocprocOutputBytes, SameBytesForEveryShapeAndThreadCount)
{
    const Recorded recorded[] = {
        {{1601, 1203}, 3.5,
         "normalised 46c28de81a2c103d\ncleaned 940d851a78b89a03\n"
         "binarised 2510be60bc836c23\ndeskewed b2af205d2433836b\n"
         "normalised 97f2fa88ad410852\ncleaned 31ace59f13e18370\n"
         "binarised 2510be60bc836c23\ndeskewed 7c6213ac572765bc\n"},
        {{641, 479}, -2.0,
         "normalised cb48be2079dc1123\ncleaned d0913711904de279\n"
         "binarised 120a6c591517f7cd\ndeskewed bba93d2f655a763c\n"
         "normalised 3cf14c71992c8b0a\ncleaned df83b9135b00ccda\n"
         "binarised 120a6c591517f7cd\ndeskewed 3484a855d34aa9d5\n"},
        {{203, 162}, 1.0,
         "normalised 6061f652b0948b77\ncleaned a365322040da9e81\n"
         "binarised 6f6d1925bebaeb20\ndeskewed 1d6b2b11eb52f2cd\n"
         "normalised 39b46904415c6b2d\ncleaned 91cdb988edfe1a62\n"
         "binarised 6f6d1925bebaeb20\ndeskewed e13e65010e161870\n"},
        {{41, 43}, 0.0,
         "normalised 2eac791cb922867a\ncleaned e96935a3e157f4c0\n"
         "binarised 26e7038b5edad32b\ndeskewed c327e8bf29be1593\n"
         "normalised 45a6811c76b14461\ncleaned 08b0f75ee2cd1a66\n"
         "binarised 26e7038b5edad32b\ndeskewed c327e8bf29be1593\n"},
        {{97, 1003}, 0.0,
         "normalised a9c22a4f5cfc8164\ncleaned 11383fb4b660b676\n"
         "binarised 08d8b99168bdadd2\ndeskewed c327e8bf29be1593\n"
         "normalised eca27004a6ba1028\ncleaned 6a52764e06f6c989\n"
         "binarised 08d8b99168bdadd2\ndeskewed c327e8bf29be1593\n"},
    };
    const int threadsBefore = cv::getNumThreads();
    for (const Recorded& r : recorded) {
        const cv::Mat page = NoisyPage(r.size, r.degrees, r.size.width);
        for (const int threads : {1, 2, 3}) {
            cv::setNumThreads(threads);
            EXPECT_EQ(Results(page), r.results) << r.size << " with " << threads << " threads";
        }
    }
    cv::setNumThreads(threadsBefore);
}

TEST(DocprocOutputBytes, AViewIntoALargerPictureGivesTheBytesOfItsCopy)
{
    // Grey pictures are worked on where they lie, so a view must not let the routines see
    // (or change) the pixels around it.
    const cv::Mat large = NoisyPage({900, 700}, 2.5, 11);
    for (const cv::Mat& whole : {large, Grey(large)}) {
        const cv::Rect inside(7, 5, 803, 611);
        cv::Mat around = whole.clone();
        cv::Mat view = around(inside);
        cv::Mat copy = view.clone();
        ASSERT_TRUE(view.isSubmatrix());

        cv::Mat fromView, fromCopy;
        ASSERT_TRUE(Binarise(view, fromView));
        ASSERT_TRUE(Binarise(copy, fromCopy));
        EXPECT_EQ(Digest(fromView), Digest(fromCopy)) << "binarised, " << whole.channels() << " channels";
        ASSERT_NE(Deskew(view, fromView), 0);
        ASSERT_NE(Deskew(copy, fromCopy), 0);
        EXPECT_EQ(Digest(fromView), Digest(fromCopy)) << "deskewed, " << whole.channels() << " channels";

        ASSERT_TRUE(NormaliseBackground(view));
        ASSERT_TRUE(CleanBackground(view));
        ASSERT_TRUE(NormaliseBackground(copy));
        ASSERT_TRUE(CleanBackground(copy));
        EXPECT_EQ(Digest(view), Digest(copy)) << "cleaned, " << whole.channels() << " channels";
        view.setTo(cv::Scalar::all(0));
        cv::Mat untouched = whole.clone();
        untouched(inside).setTo(cv::Scalar::all(0));
        EXPECT_EQ(Digest(around), Digest(untouched)) << "pixels around the view changed";
    }
}
