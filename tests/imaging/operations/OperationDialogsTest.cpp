#include "OperationDialogs.h"
#include "OperationMessages.h"
#include "QtTestApp.h"
#include "ScriptedPrompter.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QSlider>
#include <QTest>

#include <gtest/gtest.h>

#include <vector>

namespace vestrel::operations {
namespace {

TEST(RotateDialog, EveryChangePreviewsAndOnlyDigitsAreTaken)
{
    testkit::TestApp();
    testkit::ScriptedPrompter prompter;
    std::vector<std::pair<int, bool>> previews;
    RotateDialog dialog(prompter, RotateSettings{}, [&](int degrees, bool keep) { previews.push_back({degrees, keep}); });
    dialog.show();
    ASSERT_EQ(previews.size(), 1u);  // the angle as it opens
    EXPECT_EQ(previews.back(), std::make_pair(1, false));

    dialog.angleField()->clear();
    QTest::keyClicks(dialog.angleField(), "30");
    EXPECT_EQ(previews.back(), std::make_pair(30, false));
    dialog.anticlockwiseRadio()->click();
    EXPECT_EQ(previews.back(), std::make_pair(-30, false));
    dialog.keepSizeBox()->click();
    EXPECT_EQ(previews.back(), std::make_pair(-30, true));

    QTest::keyClicks(dialog.angleField(), "x");
    EXPECT_TRUE(prompter.showed(msg::kAngleDigitsOnly));
    EXPECT_EQ(dialog.angleField()->text(), QStringLiteral("1"));
    EXPECT_EQ(previews.back(), std::make_pair(-1, true));

    dialog.angleField()->selectAll();
    QTest::keyClick(dialog.angleField(), Qt::Key_Backspace);
    EXPECT_EQ(previews.back(), std::make_pair(0, true));  // an empty text turns by nothing
    EXPECT_EQ(dialog.settings().direction, 1);
}

TEST(ResolutionDialog, TheFactorTextRecomputesOnlyOnceItIsANumberAgain)
{
    testkit::TestApp();
    ResolutionDialog dialog(InitialResolution(200, 100));
    EXPECT_EQ(dialog.newWidth(), 100);
    dialog.factorField()->clear();
    QTest::keyClicks(dialog.factorField(), "1.");
    EXPECT_EQ(dialog.newWidth(), 200);  // "1" was a number already; "1." waits
    QTest::keyClicks(dialog.factorField(), "50");
    EXPECT_EQ(dialog.newWidth(), 300);  // "1.5" counted, "1.50" waits on it
    EXPECT_EQ(dialog.newHeight(), 150);
}

TEST(ColourCorrectionDialog, TheColourButtonStartsFromTheFieldsAndTakesTheChoice)
{
    testkit::TestApp();
    testkit::ScriptedPrompter prompter;
    prompter.answerColour(Colour{10, 20, 30});
    ColourCorrectionDialog dialog(prompter, ColourCorrectionSettings{});
    dialog.chooseColour();
    const ColourCorrectionSettings s = dialog.settings();
    EXPECT_EQ(s.red, 10);
    EXPECT_EQ(s.green, 20);
    EXPECT_EQ(s.blue, 30);
    EXPECT_EQ(s.level, (10 * 306 + 20 * 601 + 30 * 117) >> 10);
    EXPECT_EQ(s.mode, ColourCorrectionSettings::Rgb);
}

TEST(JpegQualityDialog, TheTextShowsThePercentOnceTheSliderIsLetGo)
{
    testkit::TestApp();
    JpegQualityDialog dialog(100);
    EXPECT_TRUE(dialog.percentField()->text().isEmpty());
    dialog.slider()->setValue(42);
    emit dialog.slider()->sliderReleased();
    EXPECT_EQ(dialog.percentField()->text(), QStringLiteral("42%"));
    EXPECT_EQ(dialog.quality(), 42);
}

}  // namespace
}  // namespace vestrel::operations
