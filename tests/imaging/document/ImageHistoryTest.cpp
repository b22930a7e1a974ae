#include "DocumentMessages.h"
#include "DocumentTestSupport.h"
#include "ImageHistory.h"
#include "ImageCompare.h"

#include <gtest/gtest.h>

#include <chrono>
#include <new>
#include <thread>

namespace vestrel::document::test {
namespace {

// Every byte of a picture: pixels, palette, alpha, selection, transparency, resolution.
bool SameImage(const CxImage& a, const CxImage& b) { return a.Dump() == b.Dump(); }

std::unique_ptr<CxImage> NoisyPage(int width, int height, int seed)
{
    cv::Mat pixels(height, width, CV_8UC3);
    cv::randu(pixels, cv::Scalar::all(180), cv::Scalar::all(190 + seed));
    auto image = std::make_unique<CxImage>();
    image->CreateFromMat(pixels);
    return image;
}

TEST(PackedImageTest, UnpacksEveryByteOfColourPalettePicturesWithSelectionAndAlpha)
{
    CxImage colour;
    colour.CreateFromMat(testkit::PatternImage(37, 23));
    colour.AlphaCreate();
    colour.AlphaSet(3, 4, 17);
    colour.SelectionAddRect({2, 3, 20, 11}, 200);
    colour.SetTransColor(MakeRgbQuad(1, 2, 3));
    colour.SetXDPI(300);
    colour.SetYDPI(150);

    CxImage palette(31, 17, 4);
    palette.SetPalette({MakeRgbQuad(255, 0, 0), MakeRgbQuad(0, 128, 0), MakeRgbQuad(9, 9, 250)});
    for (int x = 0; x < 31; ++x) palette.SetPixelIndex(x, x % 17, std::uint8_t(x % 3));
    palette.SetTransIndex(2);

    CxImage bilevel(9, 5, 1);
    bilevel.SetPixelIndex(8, 4, 1);

    for (const CxImage* image : {&colour, &palette, &bilevel}) {
        const PackedImage packed(*image);
        const auto back = packed.Unpack();
        ASSERT_TRUE(back && back->IsValid());
        EXPECT_TRUE(SameImage(*image, *back)) << image->GetBpp();
        EXPECT_LT(packed.HeldBytes(), image->DumpSize() + 4096);
    }
}

// A page of the kinds of area the packing tells apart: flat paper with sensor noise, a
// gentle ramp, hard edges between black and white, pure white and pure black with noise
// that crosses 255 and 0, and full-range noise.
cv::Mat MixedPage(int width, int height, int type)
{
    cv::Mat page(height, width, type);
    cv::RNG rng(width * 31 + height);
    const int step = int(page.elemSize());
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            for (int c = 0; c < step; ++c) {
                const int area = (x * 6 / width + y * 2 / height) % 6;
                int value = 0;
                switch (area) {
                case 0: value = 200 + rng.uniform(0, 7); break;
                case 1: value = (x + 2 * y + 40 * c) % 256; break;
                case 2: value = ((x / 3 + y / 5) % 2) * 255; break;
                case 3: value = 255 - rng.uniform(0, 3); break;
                case 4: value = rng.uniform(0, 3); break;
                default: value = rng.uniform(0, 256); break;
                }
                page.ptr<std::uint8_t>(y)[x * step + c] = std::uint8_t(value);
            }
    return page;
}

TEST(PackedImageTest, UnpacksEveryByteOfTallWideAndNarrowPictures)
{
    // Tall enough for many bands unpacked on two threads, band edges met exactly and just
    // past, one and two pixels wide, one and two rows high; colour and grey.
    const std::pair<int, int> sizes[] = {{301, 700}, {97, 128}, {97, 129}, {1, 300}, {2, 257}, {300, 1}, {5, 2}};
    for (const auto& [width, height] : sizes)
        for (const int type : {CV_8UC3, CV_8UC1}) {
            CxImage image;
            ASSERT_TRUE(image.CreateFromMat(MixedPage(width, height, type)));
            if (width > 4 && height > 4) image.SelectionAddRect({1, 1, width / 2, height / 2}, 255);
            const auto back = PackedImage(image).Unpack();
            ASSERT_TRUE(back && back->IsValid());
            EXPECT_TRUE(SameImage(image, *back)) << width << " x " << height << " type " << type;
        }
}

TEST(PackedImageTest, PixelLayoutsOfOtherSizesComeBackToo)
{
    // Our pictures hold 1 or 3 bytes a pixel; any other layout takes the general path.
    CxImage colour;
    colour.CreateFromMat(MixedPage(40, 300, CV_8UC3));
    for (const int type : {CV_8UC4, CV_16UC3, CV_8UC2}) {
        const cv::Mat pixels = MixedPage(40, 300, type);
        const auto back = PackedImage(colour.WithPlanes(pixels, {}, {})).Unpack();
        ASSERT_TRUE(back);
        ASSERT_EQ(back->Pixels().type(), type);
        EXPECT_EQ(cv::norm(back->Pixels(), pixels, cv::NORM_INF), 0) << type;
    }
}

TEST(PackedImageTest, ANoisyShadedPageOfPaperPacksToLessThanHalfItsSize)
{
    // Paper lit unevenly, with sensor noise of 0..6: its bytes take a hundred values, but
    // once predicted only the noise is left, about 3.4 bits a byte.
    cv::Mat paper(400, 300, CV_8UC3);
    for (int y = 0; y < paper.rows; ++y)
        for (int x = 0; x < paper.cols; ++x) paper.at<cv::Vec3b>(y, x) = cv::Vec3b::all(std::uint8_t(60 + x / 4 + y / 4));
    cv::Mat noise(paper.size(), paper.type());
    cv::RNG(7).fill(noise, cv::RNG::UNIFORM, 0, 7);
    paper += noise;
    CxImage image;
    image.CreateFromMat(paper);
    EXPECT_LT(PackedImage(image).HeldBytes(), paper.total() * paper.elemSize() / 2);
}

TEST(ImageHistoryTest, BackAndForwardGiveEveryStateBackByteForByte)
{
    ImageHistory history;
    auto current = NoisyPage(64, 48, 0);
    std::vector<std::vector<std::uint8_t>> states;
    for (int step = 0; step < 5; ++step) {
        states.push_back(current->Dump());
        ASSERT_TRUE(history.Push(current.get()));
        if (step % 2) current->RotateLeft();
        else current->Light(10 + step, 0);
    }
    const auto last = current->Dump();
    for (int step = 4; step >= 0; --step) {
        ASSERT_TRUE(history.Back(current));
        EXPECT_EQ(current->Dump(), states[step]) << step;
    }
    EXPECT_FALSE(history.Back(current));
    for (int step = 0; step < 5; ++step) ASSERT_TRUE(history.Forward(current));
    EXPECT_EQ(current->Dump(), last);
    EXPECT_FALSE(history.CanForward());
}

TEST(ImageHistoryTest, TheOldestStatesGoWhenTheByteBudgetWouldBeExceeded)
{
    auto current = NoisyPage(200, 150, 60);  // noise: packs to a good part of its size
    const std::size_t oneStep = PackedImage(*current).HeldBytes();
    ImageHistory history(oneStep * 3 + oneStep / 2);
    for (int edit = 0; edit < 10; ++edit) {
        ASSERT_TRUE(history.Push(current.get()));
        current->SetPixelColor(0, 0, MakeColorRef(edit, 0, 0));
        EXPECT_LE(history.HeldBytes(), history.ByteBudget()) << edit;
    }
    // Three steps fit; the newest three are the ones kept, and Back stops after them.
    EXPECT_EQ(history.Position(), 3);
    int backs = 0;
    while (history.Back(current)) ++backs;
    EXPECT_EQ(backs, 3);
    EXPECT_EQ(current->GetPixelColor(0, 0).rgbRed, 6);
    // Going forward again stays within the budget too.
    while (history.Forward(current)) EXPECT_LE(history.HeldBytes(), history.ByteBudget());
    EXPECT_EQ(current->GetPixelColor(0, 0).rgbRed, 9);
}

TEST(ImageHistoryTest, AStepLargerThanTheWholeBudgetIsRefusedAndNothingIsDropped)
{
    auto small = NoisyPage(20, 20, 60);
    auto large = NoisyPage(400, 300, 60);
    ImageHistory history(PackedImage(*small).HeldBytes() * 4);
    ASSERT_TRUE(history.Push(small.get()));
    EXPECT_FALSE(history.Push(large.get()));
    EXPECT_EQ(history.Position(), 1);
    EXPECT_TRUE(history.HasState(0));
}

TEST(ImageHistoryTest, AStateThatCannotBePackedIsKeptAsItIsAndStillComesBack)
{
    bool fail = true;
    ImageHistory history(ImageHistory::kDefaultByteBudget, [&fail](const CxImage& image) {
        if (fail) throw std::bad_alloc();
        return std::make_unique<PackedImage>(image);
    });
    auto current = NoisyPage(30, 20, 5);
    const auto first = current->Dump();
    ASSERT_TRUE(history.Push(current.get()));
    current->Negative();
    const auto second = current->Dump();
    ASSERT_TRUE(history.Push(current.get()));
    current->Light(30, 0);
    history.FinishPacking();
    // Held as plain copies: the size of the pictures themselves.
    EXPECT_GE(history.HeldBytes(), 2u * 30 * 20 * 3);
    fail = false;
    ASSERT_TRUE(history.Back(current));
    EXPECT_EQ(current->Dump(), second);
    ASSERT_TRUE(history.Back(current));
    EXPECT_EQ(current->Dump(), first);
    ASSERT_TRUE(history.Forward(current));
    EXPECT_EQ(current->Dump(), second);
}

TEST(ImageHistoryTest, BackStraightAfterAPushWhileThePackingRunsRestoresThePicture)
{
    // A slow packer: Back comes while the state is still a plain copy being packed.
    ImageHistory history(ImageHistory::kDefaultByteBudget, [](const CxImage& image) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        return std::make_unique<PackedImage>(image);
    });
    auto current = NoisyPage(40, 30, 9);
    const auto before = current->Dump();
    ASSERT_TRUE(history.Push(current.get()));
    current->Negative();
    const auto after = current->Dump();
    ASSERT_TRUE(history.Back(current));
    EXPECT_EQ(current->Dump(), before);
    ASSERT_TRUE(history.Forward(current));
    EXPECT_EQ(current->Dump(), after);
}

using DocumentHistoryTest = DocumentTest;

TEST_F(DocumentHistoryTest, APushThatCannotBeKeptIsReportedAndRecordsNothing)
{
    doc->SetImage(ColourPicture());
    doc->LimitHistory(16);  // less than any packed picture
    EXPECT_FALSE(doc->PushHistory());
    EXPECT_EQ(doc->History().Position(), 0);
    EXPECT_TRUE(prompter.showed(msg::kHistoryFull));
}

}  // namespace
}  // namespace vestrel::document::test
