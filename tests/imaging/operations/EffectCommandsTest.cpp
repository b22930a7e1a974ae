#include "DocumentMessages.h"
#include "OperationTestSupport.h"

#include <gtest/gtest.h>

namespace vestrel::operations::test {
namespace {

using EffectCommandsTest = OperationTest;

constexpr Effect kAllEffects[] = {
    Effect::Sharpen,      Effect::Soften,         Effect::Blur,           Effect::Emboss,
    Effect::EdgeDetect,   Effect::Erode,          Effect::Dilate,         Effect::Negative,
    Effect::GreyScale,    Effect::Brighter,       Effect::Darker,         Effect::MoreSaturation,
    Effect::LessSaturation, Effect::MoreContrast, Effect::LessContrast,   Effect::Denoise,
    Effect::RedEyeRemoval, Effect::RotateLeft90,  Effect::RotateRight90,
};

TEST_F(EffectCommandsTest, EveryEffectChangesThePictureAndBackRestoresItByteForByte)
{
    for (Effect effect : kAllEffects) {
        doc->SetImage(TestPicture());
        doc->ClearHistory();
        const auto before = Shown();
        ASSERT_TRUE(commands->RunEffect(effect)) << int(effect);
        EXPECT_TRUE(commands->Busy());
        commands->Wait();
        EXPECT_FALSE(commands->Busy());
        EXPECT_NE(Shown(), before) << int(effect);
        EXPECT_EQ(doc->History().Position(), 1) << int(effect);
        doc->OnBack();
        EXPECT_EQ(Shown(), before) << int(effect);
    }
}

TEST_F(EffectCommandsTest, SaturationGoesDownByTwentyAndUpByTwentyFive)
{
    const auto picture = TestPicture();
    auto expect = [&](int amount) {
        CxImage copy(*picture);
        copy.Saturate(amount, 2);
        return copy.Dump();
    };
    doc->SetImage(std::make_unique<CxImage>(*picture));
    commands->RunEffect(Effect::LessSaturation);
    commands->Wait();
    EXPECT_EQ(Shown(), expect(-20));
    EXPECT_NE(Shown(), expect(-25));

    doc->SetImage(std::make_unique<CxImage>(*picture));
    commands->RunEffect(Effect::MoreSaturation);
    commands->Wait();
    EXPECT_EQ(Shown(), expect(25));
}

TEST_F(EffectCommandsTest, TheToolsGoOffAndTurnsDropTheSelectionAndMayNeedPanning)
{
    doc->SetImage(TestPicture(120, 40));
    viewSize = {100, 100};  // wide picture fits in height; turned it is 120 high
    doc->Image()->SelectionAddRect({1, 1, 20, 20});
    doc->SelectTool(document::Tool::Eraser);
    ASSERT_TRUE(commands->RunEffect(Effect::RotateRight90));
    EXPECT_FALSE(doc->ToolOn(document::Tool::Eraser));
    commands->Wait();
    EXPECT_EQ(doc->Image()->GetHeight(), 120);
    EXPECT_FALSE(doc->Image()->SelectionIsValid());
    EXPECT_TRUE(doc->ToolOn(document::Tool::Pan));

    // Fitted to the pane, the pan tool stays off.
    doc->OnWindowSize();
    ASSERT_TRUE(commands->RunEffect(Effect::RotateLeft90));
    commands->Wait();
    EXPECT_FALSE(doc->ToolOn(document::Tool::Pan));
}

TEST_F(EffectCommandsTest, ASecondOperationIsRefusedUntilTheFirstHasBeenTaken)
{
    doc->SetImage(TestPicture());
    ASSERT_TRUE(commands->RunEffect(Effect::Negative));
    EXPECT_EQ(busyChanges, 1);
    EXPECT_FALSE(commands->RunEffect(Effect::Brighter));
    EXPECT_FALSE(commands->BeginFreeRotate());
    EXPECT_FALSE(commands->StartManualDeskew());
    // Poll takes the result once the worker is done; only one step was recorded.
    while (!commands->Poll()) {
    }
    EXPECT_EQ(busyChanges, 2);
    EXPECT_EQ(doc->History().Position(), 1);
    EXPECT_TRUE(commands->RunEffect(Effect::Brighter));
    commands->Wait();
    EXPECT_EQ(doc->History().Position(), 2);
}

TEST_F(EffectCommandsTest, WithoutAPictureOrWithAStepTheHistoryCannotKeepNothingHappens)
{
    EXPECT_FALSE(commands->RunEffect(Effect::Negative));
    EXPECT_EQ(busyChanges, 0);

    doc->SetImage(TestPicture());
    const auto before = Shown();
    doc->LimitHistory(16);
    EXPECT_FALSE(commands->RunEffect(Effect::Negative));
    EXPECT_FALSE(commands->Busy());
    EXPECT_EQ(Shown(), before);
    EXPECT_TRUE(prompter.showed(document::msg::kHistoryFull));
}

}  // namespace
}  // namespace vestrel::operations::test
