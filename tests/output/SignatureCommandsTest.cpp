// The signature and stamp commands without a display: a recording host stands in for the
// document and the window, scripted dialogs for the three dialogs.

#include "MarkImage.h"
#include "ProcessingPreview.h"
#include "ScriptedPrompter.h"
#include "SignatureChooser.h"
#include "SignatureCommands.h"
#include "SignatureFile.h"
#include "SignatureMessages.h"
#include "TempProgramDir.h"

#include <gtest/gtest.h>
#include <opencv2/imgcodecs.hpp>
#include <opencv2/imgproc.hpp>

#include <fstream>
#include <iterator>

namespace vestrel::signature {
namespace {

std::string ReadFile(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Grey strokes on a light page: processing turns it black and white.
std::unique_ptr<CxImage> Handwriting()
{
    cv::Mat page(30, 60, CV_8UC3, cv::Scalar(230, 230, 230));
    cv::line(page, {5, 20}, {55, 8}, cv::Scalar(60, 60, 60), 3);
    auto image = std::make_unique<CxImage>();
    image->CreateFromMat(page);
    return image;
}

struct RecordingHost final : MarkHost {
    bool live = false;
    bool cropAvailable = false;
    std::unique_ptr<CxImage> image;
    std::unique_ptr<CxImage> placed;
    int resets = 0, crops = 0, discards = 0, repaints = 0;

    bool LiveShown() const override { return live; }
    CxImage* Image() override { return image.get(); }
    void ResetTools() override { ++resets; }
    bool RunCrop() override
    {
        crops += cropAvailable;
        return cropAvailable;
    }
    bool PlaceMark(std::unique_ptr<CxImage> mark) override
    {
        placed = std::move(mark);
        return true;
    }
    void DiscardPicture() override
    {
        ++discards;
        image.reset();
    }
    void Repaint() override { ++repaints; }
};

struct ScriptedDialogs final : SignatureDialogs {
    std::function<MakeDialogResult(const MakeDialogSetup&)> make;
    std::function<std::unique_ptr<CxImage>(const std::filesystem::path&)> open;
    std::function<std::optional<std::filesystem::path>(const std::filesystem::path&)> stamp;
    int opened = 0;

    MakeDialogResult MakeSignature(const MakeDialogSetup& setup) override
    {
        ++opened;
        return make ? make(setup) : MakeDialogResult::Cancelled;
    }
    std::unique_ptr<CxImage> OpenSignature(const std::filesystem::path& folder) override
    {
        ++opened;
        return open ? open(folder) : nullptr;
    }
    std::optional<std::filesystem::path> ChooseStamp(const std::filesystem::path& folder) override
    {
        ++opened;
        return stamp ? stamp(folder) : std::nullopt;
    }
};

class SignatureCommandsTest : public testkit::ProgramDirTest {
protected:
    RecordingHost host;
    ScriptedDialogs dialogs;
    testkit::ScriptedPrompter prompter;
    SignatureCommands commands{host, dialogs, prompter, programDir / "Sign", programDir / "Stamp"};
};

TEST_F(SignatureCommandsTest, MakingIsRefusedOnTheLivePictureAndWithoutAPicture)
{
    host.live = true;
    host.image = Handwriting();
    commands.OnMakeSignature(3, 128);
    host.live = false;
    host.image.reset();
    commands.OnMakeSignature(3, 128);
    EXPECT_EQ(prompter.texts(), (std::vector<std::string>{msg::kMakeNeedsStillView, msg::kMakeNeedsPicture}));
    EXPECT_EQ(dialogs.opened, 0);
    EXPECT_EQ(host.resets, 2);
}

TEST_F(SignatureCommandsTest, NoToTheWholePictureRunsTheCropOrSaysWhyNot)
{
    host.image = Handwriting();
    const auto before = host.image->Dump();
    prompter.answer(Answer::No).answer(Answer::No);
    commands.OnMakeSignature(3, 128);
    EXPECT_EQ(prompter.texts(), (std::vector<std::string>{msg::kWholePictureQuestion, msg::kCropUnavailable}));
    host.cropAvailable = true;
    prompter.clear();
    commands.OnMakeSignature(3, 128);
    EXPECT_EQ(prompter.texts(), std::vector<std::string>{msg::kWholePictureQuestion});
    EXPECT_EQ(host.crops, 1);
    EXPECT_EQ(dialogs.opened, 0);
    EXPECT_EQ(host.image->Dump(), before);
}

TEST_F(SignatureCommandsTest, EveryPreviewStartsFromThePictureAndCancellingRestoresIt)
{
    host.image = Handwriting();
    const CxImage source = *host.image;
    std::vector<std::uint8_t> afterSecondPreview;
    dialogs.make = [&](const MakeDialogSetup& setup) {
        EXPECT_EQ(setup.folder, programDir / "Sign");
        EXPECT_EQ(setup.strength, 5);   // the scan setting, kept inside 1 … 5
        EXPECT_EQ(setup.threshold, 0);  // and 0 … 255
        setup.preview(255, 1);  // all black: a preview on top of it would stay black
        setup.preview(100, 1);
        afterSecondPreview = host.image->Dump();
        return MakeDialogResult::Cancelled;
    };
    prompter.answer(Answer::Yes);
    commands.OnMakeSignature(9, -4);

    CxImage expected = source;
    ASSERT_TRUE(ApplyProcessingPreview(expected, 100, 1));
    EXPECT_EQ(afterSecondPreview, expected.Dump());  // not the first preview processed again
    EXPECT_EQ(host.image->Dump(), source.Dump());
    EXPECT_EQ(prompter.texts(), std::vector<std::string>{msg::kWholePictureQuestion});
    EXPECT_TRUE(std::filesystem::is_empty(programDir / "Sign"));
}

TEST_F(SignatureCommandsTest, FailedSignatureIsToldAndThePictureRestored)
{
    host.image = Handwriting();
    const auto before = host.image->Dump();
    dialogs.make = [&](const MakeDialogSetup& setup) {
        setup.preview(128, 3);
        return MakeDialogResult::Failed;
    };
    prompter.answer(Answer::Yes);
    commands.OnMakeSignature(3, 128);
    EXPECT_EQ(prompter.texts(), (std::vector<std::string>{msg::kWholePictureQuestion, msg::kSignatureAtRisk}));
    EXPECT_EQ(host.image->Dump(), before);
}

// The dialog's OK as the real dialog does it: the rules and the write of the shown picture.
MakeDialogResult ConfirmAs(const MakeDialogSetup& setup, const std::string& name, const std::string& password)
{
    setup.preview(128, 2);
    const MakeVerdict verdict = ConfirmSignature(setup.folder, {name, password, password}, setup.writeBmp);
    return verdict.outcome == MakeOutcome::Made ? MakeDialogResult::Made : MakeDialogResult::Failed;
}

TEST_F(SignatureCommandsTest, MadeSignatureHoldsTheProcessedPictureWhichStaysOnNo)
{
    host.image = Handwriting();
    CxImage processed = *host.image;
    ASSERT_TRUE(ApplyProcessingPreview(processed, 128, 2));
    dialogs.make = [](const MakeDialogSetup& setup) { return ConfirmAs(setup, "sig.final", ""); };
    prompter.answer(Answer::Yes).answer(Answer::No);
    commands.OnMakeSignature(3, 128);

    EXPECT_EQ(prompter.texts(), (std::vector<std::string>{msg::kWholePictureQuestion, msg::kDeletePictureQuestion}));
    EXPECT_EQ(host.discards, 0);
    EXPECT_EQ(host.image->Dump(), processed.Dump());
    // Made with both passwords empty, opened with an empty one: both sides use a space.
    CxImage mark;
    ASSERT_TRUE(LoadSignatureMark(programDir / "Sign/sig", "", mark));
    EXPECT_EQ(mark.ToBgr().size(), processed.ToBgr().size());
    EXPECT_EQ(cv::norm(mark.ToBgr(), processed.ToBgr(), cv::NORM_INF), 0.0);
}

TEST_F(SignatureCommandsTest, YesAfterMakingLetsThePictureGo)
{
    host.image = Handwriting();
    dialogs.make = [](const MakeDialogSetup& setup) { return ConfirmAs(setup, "mine", "pw"); };
    prompter.answer(Answer::Yes).answer(Answer::Yes);
    commands.OnMakeSignature(3, 128);
    EXPECT_EQ(host.discards, 1);
    EXPECT_TRUE(std::filesystem::exists(programDir / "Sign/mine"));
}

TEST_F(SignatureCommandsTest, InsertingIsRefusedLiveAndWithoutASignature)
{
    host.image = Handwriting();
    programDir.writeFile("Sign/old.bmp", "a file with a dot is no signature");
    std::filesystem::create_directory(programDir / "Sign/folder");
    host.live = true;
    commands.OnInsertSignature();
    host.live = false;
    commands.OnInsertSignature();
    EXPECT_EQ(prompter.texts(), (std::vector<std::string>{msg::kInsertNeedsStillView, msg::kNoSignatures}));
    EXPECT_EQ(dialogs.opened, 0);
}

TEST_F(SignatureCommandsTest, UnlockedSignatureIsPlacedAsAMarkAndCancelPlacesNothing)
{
    programDir.writeFile("Sign/sig", "scrambled or not, the dialog decides");
    host.image = Handwriting();
    dialogs.open = [](const std::filesystem::path&) { return Handwriting(); };
    commands.OnInsertSignature();
    ASSERT_NE(host.placed, nullptr);
    EXPECT_EQ(host.placed->GetWidth(), 60);

    host.placed.reset();
    dialogs.open = [](const std::filesystem::path&) { return nullptr; };
    commands.OnInsertSignature();
    EXPECT_EQ(host.placed, nullptr);
    EXPECT_EQ(dialogs.opened, 2);
    EXPECT_TRUE(prompter.shown().empty());
}

TEST_F(SignatureCommandsTest, StampsAreRefusedLiveAndWhenThereAreNone)
{
    host.image = Handwriting();
    std::filesystem::create_directory(programDir / "Stamp/only-a-folder");
    host.live = true;
    commands.OnStamp();
    host.live = false;
    commands.OnStamp();
    EXPECT_EQ(prompter.texts(), (std::vector<std::string>{msg::kStampNeedsStillView, msg::kNoStamps}));
    EXPECT_EQ(dialogs.opened, 0);
}

TEST_F(SignatureCommandsTest, ChosenStampFloatsWithWhiteTransparentAndAnUnreadableOneIsTold)
{
    host.image = Handwriting();
    cv::Mat seal(20, 20, CV_8UC3, cv::Scalar(255, 255, 255));
    seal(cv::Rect(5, 5, 10, 10)).setTo(cv::Scalar(0, 0, 255));
    ASSERT_TRUE(cv::imwrite((programDir / "Stamp/seal.png").string(), seal));
    const auto junk = programDir.writeFile("Stamp/notes.bmp", "no picture in here");

    dialogs.stamp = [&](const std::filesystem::path&) { return junk; };
    commands.OnStamp();
    EXPECT_EQ(prompter.texts(), std::vector<std::string>{msg::kStampUnreadable});
    EXPECT_EQ(host.placed, nullptr);

    dialogs.stamp = [&](const std::filesystem::path& folder) { return folder / "seal.png"; };
    commands.OnStamp();
    ASSERT_NE(host.placed, nullptr);
    EXPECT_TRUE(host.placed->IsTransparentAt(0, 0));
    EXPECT_FALSE(host.placed->IsTransparentAt(10, 10));
}

// ---- The rules of the "文件解密" dialog ----------------------------------------------------

class SignatureChooserTest : public testkit::ProgramDirTest {
protected:
    // A scrambled signature of a small picture.
    std::filesystem::path makeSignature(const std::string& name, const std::string& password)
    {
        const auto path = programDir / ("Sign/" + name);
        EXPECT_TRUE(Handwriting()->Save(path, CXIMAGE_FORMAT_BMP));
        EXPECT_TRUE(EncryptSignature(path, password));
        return path;
    }
};

TEST_F(SignatureChooserTest, OffersDotlessNamesInOrderAndFollowsTheChoice)
{
    makeSignature("zoe", "a");
    makeSignature("anna", "b");
    programDir.writeFile("Sign/readme.txt", "x");
    SignatureChooser chooser(programDir / "Sign");
    EXPECT_EQ(chooser.Names(), (std::vector<std::string>{"anna", "zoe"}));
    EXPECT_EQ(chooser.ChosenPath(), programDir / "Sign/anna");
    chooser.Select(1);
    EXPECT_EQ(chooser.ChosenPath(), programDir / "Sign/zoe");
    chooser.Select(2);
    EXPECT_TRUE(chooser.ChosenPath().empty());

    const UnlockVerdict insert = chooser.Insert("b");
    EXPECT_EQ(insert.step, ChooserStep::Stay);
    EXPECT_STREQ(insert.message, msg::kChooseFileToUnlock);
    EXPECT_STREQ(chooser.Delete("b", [](const std::filesystem::path&) { return true; }), msg::kChooseFileToDelete);
}

TEST_F(SignatureChooserTest, InsertUnlocksInMemoryAndAWrongPasswordCancels)
{
    const auto path = makeSignature("sig", "secret");
    const std::string scrambled = ReadFile(path);
    SignatureChooser chooser(programDir / "Sign");

    const UnlockVerdict wrong = chooser.Insert("guess");
    EXPECT_EQ(wrong.step, ChooserStep::Cancel);
    EXPECT_STREQ(wrong.message, msg::kUnlockFailed);
    EXPECT_EQ(wrong.mark, nullptr);

    const UnlockVerdict right = chooser.Insert("secret");
    EXPECT_EQ(right.step, ChooserStep::Accept);
    EXPECT_STREQ(right.message, msg::kUnlocked);
    ASSERT_NE(right.mark, nullptr);
    EXPECT_EQ(right.mark->GetWidth(), 60);
    EXPECT_EQ(ReadFile(path), scrambled);  // never readable on disk, not even for a moment
}

TEST_F(SignatureChooserTest, DeleteNeedsTheRightPasswordAndListsAgain)
{
    const auto anna = makeSignature("anna", "pw");
    makeSignature("zoe", "pw");
    const std::string scrambled = ReadFile(anna);
    std::vector<std::filesystem::path> trashed;
    bool trashWorks = true;
    const auto trash = [&](const std::filesystem::path& file) {
        if (!trashWorks) return false;
        trashed.push_back(file);
        return std::filesystem::remove(file);
    };
    SignatureChooser chooser(programDir / "Sign");

    EXPECT_STREQ(chooser.Delete("nope", trash), msg::kPasswordWrong);
    EXPECT_EQ(ReadFile(anna), scrambled);

    trashWorks = false;
    EXPECT_STREQ(chooser.Delete("pw", trash), msg::kDeleteFailed);
    EXPECT_EQ(chooser.Names().size(), 2u);

    trashWorks = true;
    EXPECT_STREQ(chooser.Delete("pw", trash), msg::kDeleted);
    EXPECT_EQ(trashed, std::vector<std::filesystem::path>{anna});
    EXPECT_EQ(chooser.Names(), std::vector<std::string>{"zoe"});
    EXPECT_EQ(chooser.Selected(), 0);

    std::filesystem::remove(programDir / "Sign/zoe");  // gone behind the dialog's back
    EXPECT_STREQ(chooser.Delete("pw", trash), msg::kDeleteMissing);
}

}  // namespace
}  // namespace vestrel::signature
