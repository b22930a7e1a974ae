// Signatures and stamps in the main window: which commands are offered, and making a
// signature from the picture on the still view with the real dialog.

#include "AppTestSupport.h"
#include "CQuorvanDoc.h"
#include "CommandIds.h"
#include "FreshHome.h"
#include "MarkImage.h"
#include "SignatureDialog.h"
#include "SignatureHost.h"
#include "CQuorvanView.h"
#include "DocumentMessages.h"
#include "SignatureFile.h"
#include "SignatureOpenDialog.h"
#include "StampDialog.h"

#include <QComboBox>
#include <QListWidget>
#include <QPushButton>
#include "SignatureMessages.h"

#include <QApplication>
#include <QLineEdit>
#include <QSlider>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>
#include <opencv2/imgcodecs.hpp>
#include <opencv2/imgproc.hpp>

#include <functional>

namespace vestrel {
namespace {

using namespace cmd;
using output::SignatureDialog;
namespace msg = signature::msg;

class SignatureFrameTest : public testkit::MainFrameTest {
protected:
    // The window on the still view of a scanned signature in the photo folder.
    CMainFrame& makeWithSignaturePicture()
    {
        CMainFrame& f = make(false);
        cv::Mat page(60, 120, CV_8UC3, cv::Scalar(225, 225, 225));
        cv::line(page, {10, 45}, {110, 15}, cv::Scalar(40, 40, 40), 4);
        EXPECT_TRUE(cv::imwrite(scan.string(), page));
        f.openFile(scan.string());
        EXPECT_NE(f.document().Image(), nullptr);
        f.updateCommandUi();
        original = f.document().Image()->Dump();
        return f;
    }

    // Runs `act` on the signature dialog once the next command shows it.
    static void whenSignatureDialogShows(std::function<void(SignatureDialog&)> act)
    {
        QTimer::singleShot(0, [act] {
            auto* dialog = qobject_cast<SignatureDialog*>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            act(*dialog);
        });
    }
    static void type(SignatureDialog& dialog, SignatureDialog::Control id, const char* text)
    {
        // Typed as an input method would: key clicks know no Chinese.
        static_cast<QLineEdit*>(dialog.control(id))->insert(QString::fromUtf8(text));
    }

    std::filesystem::path scan = photo("signature.png");
    std::vector<std::uint8_t> original;
};

TEST_F(SignatureFrameTest, MakingIsOfferedAlwaysAndMarksWaitForTheFloatingPaste)
{
    CMainFrame& f = makeWithSignaturePicture();
    FrameState state = f.State();
    EXPECT_TRUE(StatusOf(ID_MAKE_SIGNATURE, state).enabled);
    if (!state.features.has(Feature::Clipboard)) {
        EXPECT_FALSE(StatusOf(ID_INSERT_SIGNATURE, state).enabled);
        EXPECT_FALSE(StatusOf(ID_STAMP, state).enabled);
    }
    state.features.add(Feature::Clipboard);
    EXPECT_TRUE(StatusOf(ID_INSERT_SIGNATURE, state).enabled);
    EXPECT_TRUE(StatusOf(ID_STAMP, state).enabled);
    state.liveMode = true;
    EXPECT_FALSE(StatusOf(ID_STAMP, state).enabled);
    EXPECT_TRUE(StatusOf(ID_MAKE_SIGNATURE, state).enabled);
    state.liveMode = false;
    state.hasImage = false;
    EXPECT_FALSE(StatusOf(ID_INSERT_SIGNATURE, state).enabled);
}

TEST_F(SignatureFrameTest, MadeSignatureIsTheProcessedPictureAndThePictureStaysOnNo)
{
    CMainFrame& f = makeWithSignaturePicture();
    prompter.answer(Answer::Yes).answer(Answer::No);
    whenSignatureDialogShows([](SignatureDialog& dialog) {
        static_cast<QSlider*>(dialog.control(SignatureDialog::ThresholdSlider))->setValue(100);
        type(dialog, SignatureDialog::NameField, "boss.bmp");
        type(dialog, SignatureDialog::PasswordField, "签名");
        type(dialog, SignatureDialog::PasswordAgainField, "签名");
        QTest::mouseClick(dialog.control(SignatureDialog::OkButton), Qt::LeftButton);
    });
    f.OnCommand(ID_MAKE_SIGNATURE);

    EXPECT_EQ(prompter.texts(), (std::vector<std::string>{msg::kWholePictureQuestion, msg::kEncryptSucceeded,
                                                          msg::kDeletePictureQuestion}));
    const CxImage* shown = f.document().Image();
    ASSERT_NE(shown, nullptr);
    EXPECT_NE(shown->Dump(), original);  // processed, and kept so
    CxImage mark;
    ASSERT_TRUE(signature::LoadSignatureMark(programDir / "Sign/boss", "签名", mark));
    EXPECT_EQ(cv::norm(mark.ToBgr(), shown->ToBgr(), cv::NORM_INF), 0.0);
    EXPECT_TRUE(std::filesystem::exists(scan));
}

TEST_F(SignatureFrameTest, EscapeCancelsAndThePictureComesBack)
{
    CMainFrame& f = makeWithSignaturePicture();
    prompter.answer(Answer::Yes);
    std::vector<std::uint8_t> previewed;
    whenSignatureDialogShows([&](SignatureDialog& dialog) {
        QTest::mouseClick(dialog.control(SignatureDialog::StrengthDown), Qt::LeftButton);
        previewed = f.document().Image()->Dump();
        type(dialog, SignatureDialog::NameField, "abandoned");
        QTest::keyClick(&dialog, Qt::Key_Escape);
    });
    f.OnCommand(ID_MAKE_SIGNATURE);

    EXPECT_NE(previewed, original);  // the dialog showed its processing on the picture
    EXPECT_EQ(f.document().Image()->Dump(), original);
    EXPECT_TRUE(std::filesystem::is_empty(programDir / "Sign"));
    EXPECT_EQ(prompter.texts(), std::vector<std::string>{msg::kWholePictureQuestion});
}

TEST_F(SignatureFrameTest, YesAfterMakingDeletesThePictureAndItsFile)
{
    testkit::FreshHome home(programDir / "home");
    CMainFrame& f = makeWithSignaturePicture();
    prompter.answer(Answer::Yes).answer(Answer::Yes);
    whenSignatureDialogShows([](SignatureDialog& dialog) {
        type(dialog, SignatureDialog::NameField, "sig");
        QTest::mouseClick(dialog.control(SignatureDialog::OkButton), Qt::LeftButton);
    });
    f.OnCommand(ID_MAKE_SIGNATURE);

    EXPECT_EQ(f.document().Image(), nullptr);
    EXPECT_TRUE(f.document().FileName().empty());
    EXPECT_FALSE(f.document().CanBack());
    EXPECT_FALSE(std::filesystem::exists(scan));
    EXPECT_TRUE(std::filesystem::exists(programDir / "Sign/sig"));
}

// What the insert and stamp commands hand their mark to.
TEST_F(SignatureFrameTest, MarkFloatsOverThePictureAfterAHistoryStep)
{
    CMainFrame& f = makeWithSignaturePicture();
    ASSERT_FALSE(f.document().CanBack());
    SignatureHost host(f);
    auto mark = std::make_unique<CxImage>();
    mark->CreateFromMat(cv::Mat(10, 20, CV_8UC3, cv::Scalar(0, 0, 255)));
    ASSERT_TRUE(host.PlaceMark(std::move(mark)));
    EXPECT_TRUE(f.document().HasFloatingPaste());
    EXPECT_TRUE(f.document().PasteIsMark());
    EXPECT_EQ(f.document().Paste()->GetWidth(), 20);
    EXPECT_TRUE(f.document().CanBack());
    EXPECT_EQ(f.document().Image()->Dump(), original);  // nothing merged yet
}

TEST_F(SignatureFrameTest, MarkWithoutAPictureBecomesThePictureFitted)
{
    CMainFrame& f = make(false);
    f.OnCommand(ID_LIVE_STILL);
    ASSERT_EQ(f.document().Image(), nullptr);
    SignatureHost host(f);
    auto mark = std::make_unique<CxImage>();
    mark->CreateFromMat(cv::Mat(10, 20, CV_8UC3, cv::Scalar(0, 0, 255)));
    ASSERT_TRUE(host.PlaceMark(std::move(mark)));
    ASSERT_NE(f.document().Image(), nullptr);
    EXPECT_EQ(f.document().Image()->GetWidth(), 20);
    EXPECT_FALSE(f.document().HasFloatingPaste());
    EXPECT_TRUE(f.document().IsFitWindow());
    EXPECT_TRUE(f.document().FileName().empty());
}

// With the floating paste in the window: a signature inserted through the menu follows the
// pointer and a click places it, white left out.
TEST_F(SignatureFrameTest, InsertedSignatureFollowsThePointerAndAClickPlacesIt)
{
    CMainFrame& f = makeWithSignaturePicture();
    f.document().OnActualSize();
    cv::Mat ink(8, 10, CV_8UC3, cv::Scalar(255, 255, 255));
    ink(cv::Rect(2, 2, 6, 4)).setTo(cv::Scalar(0, 0, 0));
    const auto sig = programDir / "Sign/boss";
    ASSERT_TRUE(cv::imwrite((programDir / "Sign/boss.bmp").string(), ink));
    std::filesystem::rename(programDir / "Sign/boss.bmp", sig);
    ASSERT_TRUE(signature::EncryptSignature(sig, "pw"));
    const std::string scrambled = testkit::TempProgramDir::readFile(sig);

    ASSERT_TRUE(StatusOf(ID_INSERT_SIGNATURE, f.State()).enabled);
    QTimer::singleShot(0, [] {
        auto* dialog = qobject_cast<output::SignatureOpenDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        dialog->passwordField()->setText("pw");
        QTest::mouseClick(dialog->insertButton(), Qt::LeftButton);
    });
    f.OnCommand(ID_INSERT_SIGNATURE);
    EXPECT_EQ(prompter.texts(), std::vector<std::string>{msg::kUnlocked});
    ASSERT_TRUE(f.document().HasFloatingPaste());
    EXPECT_TRUE(f.document().PasteIsMark());
    EXPECT_EQ(testkit::TempProgramDir::readFile(sig), scrambled);

    QWidget* pane = f.stillView()->viewport();
    QTest::mouseMove(pane, QPoint(30, 20));
    QTest::mouseClick(pane, Qt::LeftButton, {}, QPoint(30, 20));
    EXPECT_FALSE(f.document().HasFloatingPaste());
    const CxImage& picture = *f.document().Image();
    EXPECT_EQ(picture.GetPixelColor(33, 23).rgbRed, 0) << "the ink under the pointer + (2, 2)";
    EXPECT_EQ(picture.GetPixelColor(30, 20).rgbRed, 225) << "white of the mark left out";
    f.OnCommand(ID_EDIT_UNDO);
    EXPECT_EQ(f.document().Image()->Dump(), original);
}

TEST_F(SignatureFrameTest, NoToTheWholePictureSwitchesToCropMode)
{
    CMainFrame& f = makeWithSignaturePicture();
    prompter.answer(Answer::No);
    f.OnCommand(ID_MAKE_SIGNATURE);
    EXPECT_EQ(prompter.texts(), std::vector<std::string>{msg::kWholePictureQuestion});
    EXPECT_EQ(f.document().ActiveTool(), document::Tool::Crop);
    EXPECT_TRUE(std::filesystem::is_empty(programDir / "Sign"));
}

TEST_F(SignatureFrameTest, StampAsLargeAsThePictureIsRefusedWithoutAHistoryStep)
{
    CMainFrame& f = makeWithSignaturePicture();
    ASSERT_TRUE(cv::imwrite((programDir / "Stamp/seal.png").string(),
                            cv::Mat(60, 120, CV_8UC3, cv::Scalar(0, 0, 200))));
    QTimer::singleShot(0, [] {
        auto* dialog = qobject_cast<output::StampDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        dialog->stampList()->item(0)->setSelected(true);
        dialog->accept();
    });
    f.OnCommand(ID_STAMP);
    EXPECT_EQ(prompter.texts(), std::vector<std::string>{document::msg::kMarkTooLarge});
    EXPECT_FALSE(f.document().HasFloatingPaste());
    EXPECT_FALSE(f.document().CanBack());
}

}  // namespace
}  // namespace vestrel
