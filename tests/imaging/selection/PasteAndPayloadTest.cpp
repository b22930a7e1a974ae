// A picture brought in as a paste or a mark, merged and turned; and our clipboard payload
// read back from bytes anyone may have written.

#include "ClipboardPayload.h"
#include "DocumentMessages.h"
#include "DocumentTestSupport.h"

#include <gtest/gtest.h>

namespace vestrel::selection::test {
namespace {

using document::test::ColourPicture;

std::unique_ptr<CxImage> Plain(int width, int height, COLORREF colour)
{
    auto image = std::make_unique<CxImage>(width, height, 24);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) image->SetPixelColor(x, y, colour);
    return image;
}

using PasteTest = document::test::DocumentTest;

TEST_F(PasteTest, IntoAnEmptyDocumentThePastedPictureBecomesThePicture)
{
    auto picture = Plain(12, 8, 0x00FF00);
    picture->SelectionAddRect({0, 0, 4, 4});
    ASSERT_TRUE(doc->PastePicture(std::move(picture)));
    ASSERT_NE(doc->Image(), nullptr);
    EXPECT_EQ(doc->Image()->GetWidth(), 12);
    EXPECT_FALSE(doc->HasFloatingPaste());
    EXPECT_EQ(doc->Paste(), nullptr);
    EXPECT_TRUE(doc->FileName().empty()) << "a pasted picture has no file yet";
    EXPECT_FALSE(doc->Image()->SelectionIsValid());
}

TEST_F(PasteTest, OverAPictureThePasteFloatsAfterAHistoryStepAndMergesWithoutItsTransparentColour)
{
    doc->SetImage(ColourPicture());
    doc->SelectTool(document::Tool::RectSelect);
    auto paste = Plain(4, 4, MakeColorRef(0, 255, 0));
    paste->SetPixelColor(0, 0, MakeColorRef(255, 255, 255));
    paste->SetTransColor(RGBQUAD{255, 255, 255, 0});
    ASSERT_TRUE(doc->PastePicture(std::move(paste)));
    EXPECT_TRUE(doc->HasFloatingPaste());
    EXPECT_FALSE(doc->PasteIsMark());
    EXPECT_EQ(doc->ActiveTool(), document::Tool::None);
    EXPECT_EQ(doc->History().Position(), 1);

    const RGBQUAD under = doc->Image()->GetPixelColor(5, 5);
    ASSERT_TRUE(doc->MergePaste({5, 5}));
    EXPECT_FALSE(doc->HasFloatingPaste());
    EXPECT_EQ(doc->Paste(), nullptr);
    EXPECT_EQ(doc->Image()->GetPixelColor(5, 5), under) << "the transparent corner is not copied";
    EXPECT_EQ(doc->Image()->GetPixelColor(6, 5).rgbGreen, 255);
    EXPECT_EQ(doc->Image()->GetPixelColor(8, 8).rgbGreen, 255);
    EXPECT_NE(doc->Image()->GetPixelColor(9, 9).rgbGreen, 255);
    doc->OnBack();
    EXPECT_EQ(doc->Image()->GetPixelColor(6, 5), under);
}

TEST_F(PasteTest, AMarkAsLargeAsThePictureCannotBePlaced)
{
    doc->SetImage(ColourPicture(40, 30));
    EXPECT_FALSE(doc->PastePicture(ColourPicture(40, 30), true));
    EXPECT_TRUE(prompter.showed(document::msg::kMarkTooLarge));
    EXPECT_FALSE(doc->HasFloatingPaste());
    EXPECT_EQ(doc->History().Position(), 0) << "no step for a refused mark";
    prompter.clear();
    EXPECT_FALSE(doc->SetFloatingPaste(ColourPicture(41, 10), true)) << "wider";
    EXPECT_TRUE(prompter.showed(document::msg::kMarkTooLarge));

    // As wide but less high fits; a clipboard paste of any size floats.
    EXPECT_TRUE(doc->SetFloatingPaste(ColourPicture(40, 29), true));
    EXPECT_TRUE(doc->PastePicture(ColourPicture(60, 60), false));
}

TEST_F(PasteTest, AMarkTurnsOnlyWhenTheTurnedMarkFits)
{
    doc->SetImage(ColourPicture(40, 30));
    ASSERT_TRUE(doc->PastePicture(ColourPicture(35, 10), true));
    EXPECT_FALSE(doc->TurnPaste()) << "35 high would not fit in 30";
    EXPECT_TRUE(prompter.showed(document::msg::kMarkTurnTooLarge));
    EXPECT_EQ(doc->Paste()->GetWidth(), 35);

    ASSERT_TRUE(doc->PastePicture(ColourPicture(20, 10), true));
    EXPECT_TRUE(doc->TurnPaste());
    EXPECT_EQ(doc->Paste()->GetWidth(), 10);
    EXPECT_EQ(doc->Paste()->GetHeight(), 20);
    // A clipboard paste turns whatever its size.
    ASSERT_TRUE(doc->PastePicture(ColourPicture(50, 50), false));
    EXPECT_TRUE(doc->TurnPaste());
}

TEST(ClipboardPayload, OurFormatOnlyWhenThePlainImageWouldLoseSomething)
{
    CxImage picture = *ColourPicture(6, 4);
    EXPECT_FALSE(NeedsOwnFormat(picture));
    picture.SetTransColor(RGBQUAD{1, 2, 3, 0});
    EXPECT_TRUE(NeedsOwnFormat(picture));
    picture.SetTransIndex(-1);
    picture.AlphaCreate();
    EXPECT_TRUE(NeedsOwnFormat(picture));
    picture.AlphaDelete();
    picture.SelectionAddRect({0, 0, 2, 2});
    EXPECT_TRUE(NeedsOwnFormat(picture));
}

TEST(ClipboardPayload, OnlyAWholeSoundPayloadIsRead)
{
    CxImage picture = *ColourPicture(6, 4);
    picture.SetTransColor(RGBQUAD{20, 20, 220, 0});
    std::vector<std::uint8_t> bytes = OwnFormatBytes(picture);
    ASSERT_FALSE(bytes.empty());
    const std::unique_ptr<CxImage> back = ReadOwnFormat(bytes);
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(back->GetWidth(), 6);
    EXPECT_TRUE(back->IsTransparentAt(0, 0));  // red, the transparent colour
    EXPECT_FALSE(back->IsTransparentAt(5, 0));
    EXPECT_EQ(back->Dump(), bytes);

    EXPECT_EQ(ReadOwnFormat({}), nullptr);
    EXPECT_EQ(ReadOwnFormat(std::span(bytes).first(bytes.size() - 1)), nullptr) << "cut short";
    std::vector<std::uint8_t> longer = bytes;
    longer.push_back(0);
    EXPECT_EQ(ReadOwnFormat(longer), nullptr) << "bytes beyond the picture";
    std::vector<std::uint8_t> damaged = bytes;
    damaged[bytes.size() / 2] ^= 0x40;
    EXPECT_EQ(ReadOwnFormat(damaged), nullptr);
    std::vector<std::uint8_t> huge = bytes;
    huge[16] = 0xFF;  // the width's low byte: the sizes no longer agree
    huge[17] = 0xFF;
    EXPECT_EQ(ReadOwnFormat(huge), nullptr);
}

}  // namespace
}  // namespace vestrel::selection::test
