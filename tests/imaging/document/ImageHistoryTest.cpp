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
