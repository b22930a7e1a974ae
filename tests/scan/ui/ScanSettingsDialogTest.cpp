// The scan-settings dialog and the copy tool window offscreen: the controls follow the
// form's rules as the user clicks, the ranged edits keep the dialog open, the preview
// messages reach the main window, and the tool window's place and buttons.

#include "CopyToolWindow.h"
#include "../RecordingPreviewTarget.h"
#include "ScanMessages.h"
#include "ScanSettingsDialog.h"
#include "ScriptedPrompter.h"
#include "StorageFolder.h"
#include "TempProgramDir.h"
#include "QtTestApp.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QToolBar>
#include <QToolButton>

#include <gtest/gtest.h>

namespace vestrel::scan {
namespace {

using List = std::vector<std::string>;
using D = ScanSettingsDialog;

using RecordingTarget = test::RecordingPreviewTarget;

class ScanSettingsDialogTest : public testkit::ProgramDirTest {
protected:
    ScanSettingsDialogTest()
    {
        testkit::TestApp();
        settings = DefaultSettings(programDir.path());
    }
    std::unique_ptr<D> open()
    {
        return std::make_unique<D>(FormFromSettings(settings, settings.size), prompter, target,
                                   programDir.path());
    }
    template <typename W>
    static W* get(D& d, D::Control id)
    {
        auto* w = qobject_cast<W*>(d.control(id));
        EXPECT_NE(w, nullptr) << int(id);
        return w;
    }

    Settings settings;
    testkit::ScriptedPrompter prompter;
    RecordingTarget target;
};

TEST_F(ScanSettingsDialogTest, FormatListGreysTheQualitySliderAtHundred)
{
    auto d = open();
    auto* quality = get<QSlider>(*d, D::QualitySlider);
    EXPECT_TRUE(quality->isEnabled());
    EXPECT_EQ(quality->value(), 80);
    EXPECT_EQ(get<QLabel>(*d, D::QualityLabel)->text(), "80%");
    get<QComboBox>(*d, D::FormatList)->setCurrentIndex(5);  // ".png"
    EXPECT_FALSE(quality->isEnabled());
    EXPECT_EQ(quality->value(), 100);
    EXPECT_EQ(get<QLabel>(*d, D::QualityLabel)->text(), "100%");
    get<QComboBox>(*d, D::FormatList)->setCurrentIndex(1);  // ".jpg"
    EXPECT_TRUE(quality->isEnabled());
    EXPECT_EQ(quality->value(), 100);
    quality->setValue(65);
    EXPECT_EQ(get<QLabel>(*d, D::QualityLabel)->text(), "65%");
    EXPECT_EQ(d->form().jpgQuality, 65);
}

TEST_F(ScanSettingsDialogTest, CheckBoxesEnableTheirControlsAndThePreview)
{
    auto d = open();
    EXPECT_FALSE(get<QSlider>(*d, D::ThresholdSlider)->isEnabled());
    EXPECT_FALSE(get<QPushButton>(*d, D::StrengthUp)->isEnabled());
    EXPECT_FALSE(get<QPushButton>(*d, D::PreviewButton)->isEnabled());
    get<QCheckBox>(*d, D::EraserCheck)->click();
    EXPECT_TRUE(get<QPushButton>(*d, D::StrengthUp)->isEnabled());
    EXPECT_TRUE(get<QPushButton>(*d, D::PreviewButton)->isEnabled());
    EXPECT_EQ(get<QPushButton>(*d, D::PreviewButton)->text().toStdString(), "开\n\n启\n\n预\n\n览");
    get<QPushButton>(*d, D::PreviewButton)->click();
    EXPECT_EQ(get<QPushButton>(*d, D::PreviewButton)->text().toStdString(), "关\n\n闭\n\n预\n\n览");
    get<QPushButton>(*d, D::StrengthDown)->click();
    EXPECT_EQ(get<QLineEdit>(*d, D::StrengthField)->text(), "4");
    get<QCheckBox>(*d, D::EraserCheck)->click();  // nothing left to preview
    EXPECT_EQ(get<QPushButton>(*d, D::PreviewButton)->text().toStdString(), "开\n\n启\n\n预\n\n览");
    EXPECT_FALSE(get<QPushButton>(*d, D::PreviewButton)->isEnabled());
    EXPECT_EQ(target.calls, (List{"snapshot", "process -1 5", "process -1 4", "process -1 -1", "end"}));
}

TEST_F(ScanSettingsDialogTest, UncheckingBookNamingWithOddNamingSelectsSerial)
{
    settings.name = 4;  // 奇数命名
    auto d = open();
    auto* book = get<QCheckBox>(*d, D::BookNamingCheck);
    EXPECT_TRUE(book->isChecked());
    EXPECT_TRUE(get<QLineEdit>(*d, D::BookNameField)->isEnabled());
    EXPECT_FALSE(get<QRadioButton>(*d, D::NameSerial)->isEnabled());
    book->click();
    EXPECT_TRUE(get<QRadioButton>(*d, D::NameSerial)->isChecked());
    EXPECT_TRUE(get<QRadioButton>(*d, D::NameSerial)->isEnabled());
    EXPECT_FALSE(get<QRadioButton>(*d, D::NameOdd)->isEnabled());
    EXPECT_FALSE(get<QLineEdit>(*d, D::BookNameField)->isEnabled());
    EXPECT_EQ(d->form().namingIndex, kNamingSerialIndex);
}

TEST_F(ScanSettingsDialogTest, PreviewThenSizeThenCancelEndsThePreview)
{
    settings.threshold = 1;
    auto d = open();
    get<QPushButton>(*d, D::PreviewButton)->click();
    get<QComboBox>(*d, D::SizeList)->setCurrentIndex(3);  // "A5 (中间)"
    get<QComboBox>(*d, D::OrientationList)->setCurrentIndex(1);
    d->reject();
    EXPECT_EQ(target.calls, (List{"snapshot", "process 128 -1", "size 3", "orientation 1", "end"}));
    EXPECT_EQ(d->form().startSizeIndex, 0);
    EXPECT_EQ(d->form().startOrientationIndex, 0);
    EXPECT_EQ(d->result(), QDialog::Rejected);
}

TEST_F(ScanSettingsDialogTest, OutOfRangeValuesKeepTheDialogOpen)
{
    auto d = open();
    d->show();
    auto* interval = get<QLineEdit>(*d, D::IntervalField);
    interval->setText("10000");
    d->accept();
    EXPECT_TRUE(d->isVisible());
    ASSERT_EQ(prompter.texts().size(), 1u);
    EXPECT_NE(prompter.texts()[0].find("9999"), std::string::npos);
    get<QLineEdit>(*d, D::StrengthField)->setText("6");
    interval->setText("9999");
    d->accept();
    EXPECT_TRUE(d->isVisible());
    EXPECT_EQ(prompter.texts().back(), "请输入一个介于 1 和 5 之间的整数。");
    get<QLineEdit>(*d, D::StrengthField)->setText("2");
    d->accept();
    EXPECT_FALSE(d->isVisible());
    EXPECT_EQ(d->result(), QDialog::Accepted);
    EXPECT_EQ(d->form().interval, 9999);
    EXPECT_EQ(d->form().eraserValue, 2);
}

TEST_F(ScanSettingsDialogTest, BrowseRefusesTheRootAndRestoreDefaultsResetsTheControls)
{
    settings.foramt = ".png";
    settings.grayscale = 1;
    auto d = open();
    prompter.answerPath(std::string("/"));
    get<QPushButton>(*d, D::Browse)->click();
    EXPECT_EQ(prompter.texts(), (List{"选择文件夹", kSystemRootRefused}));
    EXPECT_EQ(get<QLineEdit>(*d, D::PathField)->text().toStdString(), settings.path);
    get<QPushButton>(*d, D::RestoreDefaults)->click();
    EXPECT_EQ(get<QComboBox>(*d, D::FormatList)->currentIndex(), kFormatJpg);
    EXPECT_TRUE(get<QSlider>(*d, D::QualitySlider)->isEnabled());
    EXPECT_EQ(get<QLabel>(*d, D::QualityLabel)->text(), "80%");
    EXPECT_FALSE(get<QCheckBox>(*d, D::GreyCheck)->isChecked());
    EXPECT_EQ(target.calls, (List{"size 0", "orientation 0"}));
}

TEST(CopyToolWindow, FloatsAtItsPlaceWithTheThreeButtons)
{
    testkit::TestApp();
    QWidget frame;
    QAction front("复印正面"), back("复印反面"), leave("结束复印");
    CopyToolWindow window({&front, &back, &leave}, &frame);
    EXPECT_EQ(window.windowTitle(), QString::fromUtf8("证件双面复印模式"));
    EXPECT_EQ(window.pos(), QPoint(700, 100));
    EXPECT_TRUE(window.windowFlags() & Qt::Tool);
    EXPECT_FALSE(window.windowFlags() & Qt::WindowCloseButtonHint);
    auto* bar = window.findChild<QToolBar*>();
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(bar->actions(), (QList<QAction*>{&front, &back, &leave}));
}

}  // namespace
}  // namespace vestrel::scan
