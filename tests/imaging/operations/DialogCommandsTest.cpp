#include "OperationMessages.h"
#include "OperationTestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace vestrel::operations::test {
namespace {

using DialogCommandsTest = OperationTest;

TEST_F(DialogCommandsTest, CancelInTheRotateDialogRestoresExactlyWithOneStepLeft)
{
    doc->SetImage(TestPicture());
    doc->Image()->SelectionAddRect({0, 0, 9, 9});
    auto before = std::make_unique<CxImage>(*doc->Image());
    before->SelectionDelete();  // the dialog drops the selection first
    ASSERT_TRUE(commands->BeginFreeRotate());
    commands->PreviewRotation(1, false);
    commands->PreviewRotation(-35, true);
    EXPECT_NE(Shown(), before->Dump());
    commands->EndFreeRotate(false);
    EXPECT_EQ(Shown(), before->Dump());
    EXPECT_EQ(doc->History().Position(), 1);
}

TEST_F(DialogCommandsTest, RotatePreviewsAlwaysStartFromThePictureBeforeTheDialog)
{
    doc->SetImage(TestPicture());
    ASSERT_TRUE(commands->BeginFreeRotate());
    const CxImage original(*doc->Image());
    commands->PreviewRotation(10, false);
    commands->PreviewRotation(20, false);
    CxImage once(original);
    once.Rotate2(20.0f, CxImage::IM_BILINEAR, CxImage::OM_BACKGROUND, nullptr, true, false);
    // Turned once by 20, not by 10 and then 20: the canvas is that of a single turn.
    EXPECT_EQ(doc->Image()->GetWidth(), once.GetWidth());
    EXPECT_EQ(doc->Image()->GetHeight(), once.GetHeight());
    commands->PreviewRotation(20, true);
    EXPECT_EQ(doc->Image()->GetWidth(), original.GetWidth());
    commands->EndFreeRotate(true);
    EXPECT_EQ(doc->Image()->GetWidth(), original.GetWidth());
    doc->OnBack();
    EXPECT_EQ(Shown(), original.Dump());
}

TEST_F(DialogCommandsTest, GammaAndColourCorrectionRecordAStepOnlyOnOk)
{
    doc->SetImage(TestPicture());
    const auto before = Shown();
    ASSERT_TRUE(commands->PrepareCorrection());
    EXPECT_EQ(doc->History().Position(), 0);  // a dialog cancelled leaves no step

    GammaSettings gamma;
    ASSERT_TRUE(commands->ApplyGamma(gamma));
    commands->Wait();
    CxImage expected(*TestPicture());
    expected.Gamma(0.9f);
    EXPECT_EQ(Shown(), expected.Dump());

    gamma.independentChannels = true;
    ASSERT_TRUE(commands->ApplyGamma(gamma));
    commands->Wait();
    expected.GammaRGB(1.1f, 1.2f, 0.9f);
    EXPECT_EQ(Shown(), expected.Dump());

    ColourCorrectionSettings colour;  // RGB mode: shifts 50, 0, -50
    ASSERT_TRUE(commands->ApplyColourCorrection(colour));
    commands->Wait();
    expected.ShiftRGB(50, 0, -50);
    EXPECT_EQ(Shown(), expected.Dump());
    colour.mode = ColourCorrectionSettings::Hsl;
    ASSERT_TRUE(commands->ApplyColourCorrection(colour));
    commands->Wait();
    expected.Colorize(50, 12, 0.5f);
    EXPECT_EQ(Shown(), expected.Dump());

    EXPECT_EQ(doc->History().Position(), 4);
    for (int i = 0; i < 4; ++i) doc->OnBack();
    EXPECT_EQ(Shown(), before);
}

TEST_F(DialogCommandsTest, ResolutionStartsAtHalfSizeAndResamplesOnOk)
{
    doc->SetImage(TestPicture(65, 47));
    doc->Image()->SelectionAddRect({0, 0, 9, 9});
    const auto start = commands->BeginResolution();
    ASSERT_TRUE(start);
    EXPECT_FALSE(doc->Image()->SelectionIsValid());
    EXPECT_EQ(start->newWidth, 33);   // 32.5 rounded
    EXPECT_EQ(start->newHeight, 24);  // 23.5 rounded
    const auto before = Shown();
    ASSERT_TRUE(commands->ApplyResolution(130, 94));
    commands->Wait();
    EXPECT_EQ(doc->Image()->GetWidth(), 130);
    EXPECT_EQ(doc->Image()->GetHeight(), 94);
    doc->OnBack();
    EXPECT_EQ(Shown(), before);

    // A size no picture can have is refused before a step is recorded.
    EXPECT_FALSE(commands->ApplyResolution(0, 94));
    EXPECT_FALSE(commands->ApplyResolution(100000, 100000));
    EXPECT_TRUE(prompter.showed(msg::kBadNewSize));
    EXPECT_EQ(doc->History().Position(), 0);
}

TEST_F(DialogCommandsTest, TheJpegQualityTakesEffectAtTheNextSaveToAJpgName)
{
    auto sizeAfterSaveAt = [&](int quality) {
        const std::string path = Photo("page" + std::to_string(quality) + ".jpg");
        std::filesystem::create_directories(std::filesystem::path(path).parent_path());
        doc->SetImage(TestPicture(300, 200));
        doc->SetPath(path);
        commands->SetJpegQuality(quality);
        EXPECT_EQ(commands->JpegQuality(), quality);
        EXPECT_TRUE(doc->Save());
        return std::filesystem::file_size(path);
    };
    EXPECT_LT(sizeAfterSaveAt(10) * 2, sizeAfterSaveAt(100));
    commands->SetJpegQuality(150);
    EXPECT_EQ(commands->JpegQuality(), 100);
}

}  // namespace
}  // namespace vestrel::operations::test
