// The signature, unlock and stamp dialogs offscreen: what their controls send, what Esc
// and the close box do, and what they hand back.

#include "CxImage.h"
#include "SignatureDialog.h"
#include "SignatureFile.h"
#include "SignatureMessages.h"
#include "SignatureOpenDialog.h"
#include "StampDialog.h"
#include "StampThumbnail.h"
#include "TempProgramDir.h"
#include "UiTestSupport.h"

#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSlider>
#include <QTest>

#include <gtest/gtest.h>
#include <opencv2/imgcodecs.hpp>

namespace vestrel::output {
namespace {

using signature::MakeDialogResult;
namespace msg = signature::msg;

CxImage Page(int width, int height)
{
    CxImage image;
    image.CreateFromMat(cv::Mat(height, width, CV_8UC3, cv::Scalar(200, 200, 200)));
    return image;
}

class SignatureDialogTest : public testkit::ProgramDirTest {
protected:
    SignatureDialogTest() { testkit::TestApp(); }

    signature::MakeDialogSetup setup(int strength, int threshold)
    {
        signature::MakeDialogSetup s;
        s.folder = programDir / "Sign";
        s.strength = strength;
        s.threshold = threshold;
        s.preview = [this](int t, int st) { previews.emplace_back(t, st); };
        s.writeBmp = [this](const std::filesystem::path& path) { return picture.Save(path, CXIMAGE_FORMAT_BMP); };
        return s;
    }
    static void type(SignatureDialog& dialog, SignatureDialog::Control id, const QString& text)
    {
        auto* field = static_cast<QLineEdit*>(dialog.control(id));
        field->clear();
        QTest::keyClicks(field, text);
    }
    static void click(SignatureDialog& dialog, SignatureDialog::Control id)
    {
        QTest::mouseClick(dialog.control(id), Qt::LeftButton);
    }

    testkit::ScriptedPrompter prompter;
    std::vector<std::pair<int, int>> previews;  // threshold, strength
    CxImage picture = Page(20, 10);
};

TEST_F(SignatureDialogTest, StrengthButtonsAndSliderPreviewWithinTheirRanges)
{
    SignatureDialog dialog(prompter, setup(4, 128));
    EXPECT_EQ(previews, (std::vector<std::pair<int, int>>{{128, 4}}));  // shown as the dialog opens
    click(dialog, SignatureDialog::StrengthUp);
    click(dialog, SignatureDialog::StrengthUp);  // not above 5
    EXPECT_EQ(dialog.strength(), 5);
    EXPECT_EQ(static_cast<QLineEdit*>(dialog.control(SignatureDialog::StrengthField))->text(), "5");
    for (int i = 0; i < 6; ++i) click(dialog, SignatureDialog::StrengthDown);  // not below 1
    EXPECT_EQ(dialog.strength(), 1);
    static_cast<QSlider*>(dialog.control(SignatureDialog::ThresholdSlider))->setValue(255);
    EXPECT_EQ(static_cast<QLineEdit*>(dialog.control(SignatureDialog::ThresholdField))->text(), "255");
    EXPECT_EQ(previews.size(), 1u + 2u + 6u + 1u);  // every press previews, even at the limit
    EXPECT_EQ(previews[2], (std::pair{128, 5}));
    EXPECT_EQ(previews.back(), (std::pair{255, 1}));
    EXPECT_EQ(static_cast<QPushButton*>(dialog.control(SignatureDialog::StrengthDown))->text(), "—");
    EXPECT_EQ(static_cast<QPushButton*>(dialog.control(SignatureDialog::StrengthUp))->text(), "＋");
}

TEST_F(SignatureDialogTest, EscapeAndTheCloseBoxCancelWithoutSaving)
{
    {
        SignatureDialog dialog(prompter, setup(3, 128));
        dialog.show();
        type(dialog, SignatureDialog::NameField, "abandoned");
        QTest::keyClick(&dialog, Qt::Key_Escape);
        EXPECT_EQ(dialog.outcome(), MakeDialogResult::Cancelled);
        EXPECT_EQ(dialog.result(), QDialog::Rejected);
    }
    {
        SignatureDialog dialog(prompter, setup(3, 128));
        dialog.show();
        type(dialog, SignatureDialog::NameField, "abandoned");
        dialog.close();
        EXPECT_EQ(dialog.outcome(), MakeDialogResult::Cancelled);
    }
    EXPECT_TRUE(std::filesystem::is_empty(programDir / "Sign"));
    EXPECT_TRUE(prompter.shown().empty());
}

TEST_F(SignatureDialogTest, OkStaysOnEachRuleAndSavesOnceTheyHold)
{
    SignatureDialog dialog(prompter, setup(3, 128));
    click(dialog, SignatureDialog::OkButton);
    type(dialog, SignatureDialog::NameField, "a|b");
    click(dialog, SignatureDialog::OkButton);
    EXPECT_TRUE(static_cast<QLineEdit*>(dialog.control(SignatureDialog::NameField))->text().isEmpty());
    type(dialog, SignatureDialog::NameField, "sig.final");
    type(dialog, SignatureDialog::PasswordField, "one");
    type(dialog, SignatureDialog::PasswordAgainField, "two");
    click(dialog, SignatureDialog::OkButton);
    EXPECT_TRUE(std::filesystem::is_empty(programDir / "Sign"));  // no plain picture left behind
    EXPECT_EQ(dialog.outcome(), MakeDialogResult::Cancelled);

    type(dialog, SignatureDialog::PasswordAgainField, "one");
    click(dialog, SignatureDialog::OkButton);
    EXPECT_EQ(prompter.texts(), (std::vector<std::string>{msg::kEnterFileName, msg::kSpecialCharacters,
                                                          msg::kPasswordWrong, msg::kEncryptSucceeded}));
    EXPECT_EQ(dialog.outcome(), MakeDialogResult::Made);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_TRUE(signature::SignaturePasswordMatches(programDir / "Sign/sig", "one"));
}

TEST_F(SignatureDialogTest, FailedWriteClosesAsFailed)
{
    auto s = setup(3, 128);
    s.writeBmp = [](const std::filesystem::path&) { return false; };
    SignatureDialog dialog(prompter, s);
    type(dialog, SignatureDialog::NameField, "sig");
    click(dialog, SignatureDialog::OkButton);
    EXPECT_EQ(prompter.texts(), std::vector<std::string>{msg::kEncryptFailed});
    EXPECT_EQ(dialog.outcome(), MakeDialogResult::Failed);
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
}

class SignatureOpenDialogTest : public testkit::ProgramDirTest {
protected:
    SignatureOpenDialogTest() { testkit::TestApp(); }
    void makeSignature(const std::string& name, const std::string& password)
    {
        const auto path = programDir / ("Sign/" + name);
        ASSERT_TRUE(Page(8, 6).Save(path, CXIMAGE_FORMAT_BMP));
        ASSERT_TRUE(signature::EncryptSignature(path, password));
    }

    testkit::ScriptedPrompter prompter;
    std::vector<std::filesystem::path> trashed;
    signature::MoveToTrashFn trash = [this](const std::filesystem::path& file) {
        trashed.push_back(file);
        return std::filesystem::remove(file);
    };
};

TEST_F(SignatureOpenDialogTest, InsertUnlocksTheChosenSignature)
{
    makeSignature("anna", "a");
    makeSignature("bob", "b");
    SignatureOpenDialog dialog(prompter, programDir / "Sign", trash);
    ASSERT_EQ(dialog.signatureList()->count(), 2);
    EXPECT_EQ(dialog.signatureList()->currentText(), "anna");
    dialog.signatureList()->setCurrentIndex(1);
    QTest::keyClicks(dialog.passwordField(), "b");
    QTest::mouseClick(dialog.insertButton(), Qt::LeftButton);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(prompter.texts(), std::vector<std::string>{msg::kUnlocked});
    const auto mark = dialog.takeMark();
    ASSERT_NE(mark, nullptr);
    EXPECT_EQ(mark->GetWidth(), 8);
    EXPECT_FALSE(mark->IsTransparentAt(0, 0));  // grey, not white
}

TEST_F(SignatureOpenDialogTest, WrongPasswordClosesAsCancelled)
{
    makeSignature("anna", "a");
    SignatureOpenDialog dialog(prompter, programDir / "Sign", trash);
    QTest::mouseClick(dialog.insertButton(), Qt::LeftButton);  // empty password: one space
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_EQ(prompter.texts(), std::vector<std::string>{msg::kUnlockFailed});
    EXPECT_EQ(dialog.takeMark(), nullptr);
}

TEST_F(SignatureOpenDialogTest, DeleteRefillsTheListAndStaysOpen)
{
    makeSignature("anna", "a");
    makeSignature("bob", "");
    SignatureOpenDialog dialog(prompter, programDir / "Sign", trash);
    dialog.show();
    dialog.signatureList()->setCurrentIndex(1);
    QTest::mouseClick(dialog.deleteButton(), Qt::LeftButton);  // bob's password is empty
    EXPECT_EQ(trashed, std::vector<std::filesystem::path>{programDir / "Sign/bob"});
    ASSERT_EQ(dialog.signatureList()->count(), 1);
    EXPECT_EQ(dialog.signatureList()->currentText(), "anna");
    EXPECT_TRUE(dialog.isVisible());

    QTest::keyClicks(dialog.passwordField(), "wrong");
    QTest::mouseClick(dialog.deleteButton(), Qt::LeftButton);
    EXPECT_EQ(prompter.texts(), (std::vector<std::string>{msg::kDeleted, msg::kPasswordWrong}));
    EXPECT_EQ(dialog.signatureList()->count(), 1);
}

class StampDialogTest : public testkit::ProgramDirTest {
protected:
    StampDialogTest() { testkit::TestApp(); }
    void writeStamp(const std::string& name, int width, int height)
    {
        ASSERT_TRUE(cv::imwrite((programDir / ("Stamp/" + name)).string(),
                                cv::Mat(height, width, CV_8UC3, cv::Scalar(0, 0, 200))));
    }
    testkit::ScriptedPrompter prompter;
};

TEST_F(StampDialogTest, ListsEveryStampWithItsThumbnail)
{
    writeStamp("round.png", 100, 100);
    writeStamp("long.jpg", 400, 50);
    std::filesystem::create_directory(programDir / "Stamp/sub");
    StampDialog dialog(prompter, programDir / "Stamp");
    QListWidget* list = dialog.stampList();
    ASSERT_EQ(list->count(), 2);
    EXPECT_EQ(list->item(0)->text(), "long.jpg");
    EXPECT_EQ(list->item(1)->text(), "round.png");
    EXPECT_EQ(list->iconSize(), QSize(signature::kStampCellWidth, signature::kStampCellHeight));
    const QImage thumbnail = list->item(1)->icon().pixmap(QSize(180, 50)).toImage();
    ASSERT_EQ(thumbnail.size(), QSize(180, 50));
    // The 100 × 100 stamp is drawn 50 × 50 at x 65: white beside it, red inside.
    EXPECT_EQ(thumbnail.pixelColor(64, 25), QColor(Qt::white));
    EXPECT_EQ(thumbnail.pixelColor(66, 25).red(), 200);
    EXPECT_EQ(thumbnail.pixelColor(115, 25), QColor(Qt::white));
}

TEST_F(StampDialogTest, OkNeedsAChoiceAndTakesTheLastOfSeveral)
{
    writeStamp("a.png", 10, 10);
    writeStamp("b.png", 10, 10);
    writeStamp("c.png", 10, 10);
    StampDialog dialog(prompter, programDir / "Stamp");
    dialog.accept();
    EXPECT_NE(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(prompter.texts(), std::vector<std::string>{msg::kNoStampChosen});

    dialog.stampList()->item(2)->setSelected(true);
    dialog.stampList()->item(0)->setSelected(true);
    dialog.accept();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.chosenPath(), programDir / "Stamp/c.png");
}

}  // namespace
}  // namespace vestrel::output
