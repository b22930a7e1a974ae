// The scan-settings dialog's rules without the dialog: the enabled controls, the format and
// naming rules, the preview messages to the main window, the defaults, the ranged edits,
// the root folder, and what OK copies back. Plus the preview snapshot file.

#include "PreviewSnapshot.h"
#include "RecordingPreviewTarget.h"
#include "ScanMessages.h"
#include "ScanSettingsForm.h"
#include "ScriptedPrompter.h"
#include "StorageFolder.h"
#include "TempProgramDir.h"

#include <gtest/gtest.h>
#include <opencv2/imgcodecs.hpp>

namespace vestrel::scan {
namespace {

using List = std::vector<std::string>;

using RecordingTarget = test::RecordingPreviewTarget;

class ScanSettingsFormTest : public testkit::ProgramDirTest {
protected:
    ScanSettingsFormTest() : settings(DefaultSettings(programDir.path())) {}
    ScanSettingsForm form() const { return FormFromSettings(settings, settings.size); }
    Settings settings;
    RecordingTarget target;
};

TEST_F(ScanSettingsFormTest, OpensWithTheSettingsAndTheirControls)
{
    settings.foramt = ".png";
    settings.name = 5;  // even numbering: book naming
    settings.orientation.rotateLeft = true;
    settings.eraser = 1;
    ScanSettingsForm f = FormFromSettings(settings, 3);
    EXPECT_EQ(f.formatIndex, 5);
    EXPECT_EQ(f.namingIndex, 4);
    EXPECT_TRUE(f.bookNaming);
    EXPECT_EQ(f.orientationIndex, 2);
    EXPECT_EQ(f.startOrientationIndex, 2);
    EXPECT_EQ(f.startSizeIndex, 3);
    const ScanSettingsControls c = EnabledControls(f);
    EXPECT_FALSE(c.thresholdSlider);
    EXPECT_TRUE(c.strengthButtons);
    EXPECT_TRUE(c.previewButton);
    EXPECT_FALSE(c.qualitySlider);
    EXPECT_TRUE(c.bookControls);
    EXPECT_FALSE(c.plainNaming);

    settings.foramt = ".tiff";  // not in the list
    settings.name = 2;
    settings.eraser = 0;
    f = form();
    EXPECT_EQ(f.formatIndex, 0);
    EXPECT_FALSE(f.bookNaming);
    EXPECT_FALSE(EnabledControls(f).previewButton);
}

TEST_F(ScanSettingsFormTest, OnlyJpegAndPdfKeepTheirQuality)
{
    ScanSettingsForm f = form();
    f.jpgQuality = 60;
    ChooseFormat(f, 5);  // ".png"
    EXPECT_EQ(f.jpgQuality, 100);
    EXPECT_FALSE(EnabledControls(f).qualitySlider);
    EXPECT_EQ(QualityLabel(f.jpgQuality), "100%");
    ChooseFormat(f, kFormatJpg);  // back to ".jpg": 100 until the slider moves
    EXPECT_EQ(f.jpgQuality, 100);
    EXPECT_TRUE(EnabledControls(f).qualitySlider);
    f.jpgQuality = 70;
    ChooseFormat(f, kFormatPdf);
    EXPECT_EQ(f.jpgQuality, 70);
    EXPECT_TRUE(EnabledControls(f).qualitySlider);
}

TEST_F(ScanSettingsFormTest, BookNamingMovesTheNamingIndex)
{
    ScanSettingsForm f = form();
    f.namingIndex = 3;  // 奇数命名
    f.bookNaming = true;
    SetBookNaming(f, false);
    EXPECT_EQ(f.namingIndex, kNamingSerialIndex);  // 序号递增
    EXPECT_TRUE(EnabledControls(f).plainNaming);
    f.namingIndex = 1;  // 时间命名 is kept when unchecked
    SetBookNaming(f, false);
    EXPECT_EQ(f.namingIndex, 1);
    SetBookNaming(f, true);
    EXPECT_EQ(f.namingIndex, kNamingOddIndex);
    f.namingIndex = 5;
    SetBookNaming(f, true);
    EXPECT_EQ(f.namingIndex, 5);
    f.namingIndex = 0;
    CopyFormToSettings(f, settings);
    EXPECT_EQ(settings.name, 1);
}

TEST_F(ScanSettingsFormTest, PreviewFollowsTheProcessingChoices)
{
    ScanSettingsForm f = form();
    SetThreshold(f, true, target);  // preview off: nothing sent
    EXPECT_TRUE(target.calls.empty());
    TogglePreview(f, target);
    EXPECT_TRUE(f.previewOn);
    EXPECT_EQ(PreviewCaption(f.previewOn), "关\n\n闭\n\n预\n\n览");
    SetThresholdValue(f, 90, target);
    SetEraser(f, true, target);
    StepStrength(f, +1, target);  // already 5
    StepStrength(f, -1, target);
    SetThreshold(f, false, target);
    SetEraser(f, false, target);  // nothing left to show: the preview ends
    EXPECT_FALSE(f.previewOn);
    EXPECT_EQ(PreviewCaption(f.previewOn), "开\n\n启\n\n预\n\n览");
    EXPECT_EQ(target.calls, (List{"snapshot", "process 128 -1", "process 90 -1", "process 90 5",
                                  "process 90 5", "process 90 4", "process -1 4", "process -1 -1", "end"}));
    for (int i = 0; i < 10; ++i) StepStrength(f, -1, target);
    EXPECT_EQ(f.eraserValue, kStrengthMin);
}

TEST_F(ScanSettingsFormTest, CancelWithPreviewLeavesTheSettingsAsTheyWere)
{
    settings.threshold = 0;
    settings.eraser = 0;
    const Settings before = settings;
    ScanSettingsForm f = form();
    SetThreshold(f, true, target);
    TogglePreview(f, target);
    ChooseSize(f, 3, target);  // "A5 (中间)": the window switches at once
    CloseForm(f, target);
    EXPECT_EQ(target.calls, (List{"snapshot", "process 128 -1", "size 3", "end"}));
    EXPECT_EQ(f.startSizeIndex, 0);
    EXPECT_EQ(settings, before);
}

TEST_F(ScanSettingsFormTest, RestoreDefaultsSendsSizeAndOrientation)
{
    ScanSettingsForm f = form();
    f.jpgQuality = 30;
    f.formatIndex = 5;
    f.namingIndex = 4;
    f.bookNaming = true;
    f.bookname = "合同";
    f.threshold = f.eraser = f.addtime = f.grayscale = f.incline = true;
    f.thresholdValue = 3;
    f.eraserValue = 1;
    f.interval = 500;
    f.path = "/srv/scans/";
    RestoreFormDefaults(f, programDir.path(), target);
    EXPECT_EQ(target.calls, (List{"size 0", "orientation 0"}));
    EXPECT_EQ(f.jpgQuality, 80);
    EXPECT_EQ(f.formatIndex, kFormatJpg);
    EXPECT_EQ(f.namingIndex, kNamingSerialIndex);
    EXPECT_FALSE(f.bookNaming);
    EXPECT_EQ(f.bookname, "book");
    EXPECT_FALSE(f.threshold || f.eraser || f.addtime || f.grayscale || f.incline);
    EXPECT_EQ(f.thresholdValue, 128);
    EXPECT_EQ(f.eraserValue, 5);
    EXPECT_EQ(f.interval, 4);
    EXPECT_EQ(f.path, (programDir / "Photo").string() + "/");
}

TEST_F(ScanSettingsFormTest, RangedEditsSayWhatTheyTake)
{
    EXPECT_EQ(ReadRangedNumber("255", kThresholdMin, kThresholdMax).value, 255);
    EXPECT_EQ(ReadRangedNumber(" 0 ", kThresholdMin, kThresholdMax).value, 0);
    const RangedNumber over = ReadRangedNumber("256", kThresholdMin, kThresholdMax);
    EXPECT_FALSE(over.value);
    EXPECT_EQ(over.message, "请输入一个介于 0 和 255 之间的整数。");
    EXPECT_FALSE(ReadRangedNumber("", kStrengthMin, kStrengthMax).value);
    EXPECT_FALSE(ReadRangedNumber("3a", kStrengthMin, kStrengthMax).value);
    EXPECT_FALSE(ReadRangedNumber("0", kStrengthMin, kStrengthMax).value);
    // The interval stops where config.ini's four characters stop.
    EXPECT_EQ(ReadRangedNumber("9999", kIntervalMin, kIntervalMax).value, 9999);
    const RangedNumber interval = ReadRangedNumber("10000", kIntervalMin, kIntervalMax);
    EXPECT_FALSE(interval.value);
    EXPECT_EQ(interval.message, std::string("请输入一个介于 0 和 9999 之间的整数。") +
                                    messages::kIntervalLimitReason);
}

TEST_F(ScanSettingsFormTest, LongestIntervalSurvivesARestart)
{
    ScanSettingsForm f = form();
    f.interval = *ReadRangedNumber("9999", kIntervalMin, kIntervalMax).value;
    CopyFormToSettings(f, settings);
    const auto ini = programDir / "config.ini";
    ASSERT_TRUE(SaveConfig(settings, ini));
    Settings read = DefaultSettings(programDir.path());
    LoadConfig(ini, programDir.path(), read);
    EXPECT_EQ(read.intertime, 9999);
}

TEST_F(ScanSettingsFormTest, RootFolderIsRefusedAndOthersGetTheirSlash)
{
    testkit::ScriptedPrompter prompter;
    ScanSettingsForm f = form();
    const std::string old = f.path;
    EXPECT_FALSE(ChoosePhotoFolder(f, "/", prompter));
    EXPECT_FALSE(ChoosePhotoFolder(f, "/tmp/..", prompter));
    EXPECT_EQ(f.path, old);
    EXPECT_EQ(prompter.texts(), (List{kSystemRootRefused, kSystemRootRefused}));
    EXPECT_TRUE(ChoosePhotoFolder(f, programDir.path().string(), prompter));
    EXPECT_EQ(f.path, programDir.path().string() + "/");
    EXPECT_TRUE(ChoosePhotoFolder(f, "/tmp/", prompter));
    EXPECT_EQ(f.path, "/tmp/");
}

TEST_F(ScanSettingsFormTest, OkCopiesTheValuesBack)
{
    ScanSettingsForm f = form();
    f.threshold = true;
    f.thresholdValue = 77;
    f.eraser = true;
    f.eraserValue = 2;
    f.addtime = true;
    f.grayscale = true;
    f.incline = true;
    f.jpgQuality = 55;
    f.interval = 1200;
    f.namingIndex = 5;
    f.bookname = "年报";
    f.formatIndex = 3;
    CopyFormToSettings(f, settings);
    EXPECT_EQ(settings.threshold, 1);
    EXPECT_EQ(settings.thresholdvalue, 77);
    EXPECT_EQ(settings.eraser, 1);
    EXPECT_EQ(settings.eraservalue, 2);
    EXPECT_EQ(settings.addtime + settings.grayscale + settings.incline, 3);
    EXPECT_EQ(settings.jpgquality, 55);
    EXPECT_EQ(settings.intertime, 1200);
    EXPECT_EQ(settings.name, 6);
    EXPECT_EQ(settings.bookname, "年报");
    EXPECT_EQ(settings.foramt, ".tif");
}

TEST_F(ScanSettingsFormTest, PresetRectangleComesBackAfterTheEntryChange)
{
    settings.left = 10;
    settings.right = 300;
    settings.top = 20;
    settings.bottom = 200;
    settings.w = settings.lwidth;
    settings.h = settings.lheight;
    const ScanSettingsForm f = FormFromSettings(settings, 8);
    // Selecting the preset entry resets the rectangle to the whole frame.
    settings.left = settings.top = 0;
    settings.right = settings.lwidth;
    settings.bottom = settings.lheight;
    settings.presetInForce = false;
    RestorePresetFromForm(f, false, settings);
    EXPECT_EQ(settings.left, 10);
    EXPECT_EQ(settings.right, 300);
    EXPECT_EQ(settings.top, 20);
    EXPECT_EQ(settings.bottom, 200);
    EXPECT_FALSE(settings.presetInForce);
    RestorePresetFromForm(f, true, settings);
    EXPECT_TRUE(settings.presetInForce);
}

TEST_F(ScanSettingsFormTest, SnapshotReplacesAStaleOneAndSkipsTheCleaningSteps)
{
    const auto target = PreviewSnapshotFile(programDir.path());
    programDir.writeFile("Image.bmp", "stale");
    settings.threshold = 1;  // the snapshot is not binarised ...
    settings.w = 40;         // ... but cut and turned as a scan is
    settings.h = 20;
    settings.orientation.rotateLeft = true;
    cv::Mat frame(60, 80, CV_8UC3, cv::Scalar(10, 120, 200));
    const ChainInput input{&settings, 0, {}, ChainKind::MainCamera};
    ASSERT_TRUE(StorePreviewSnapshot(frame, input, target));
    const cv::Mat stored = cv::imread(target.string(), cv::IMREAD_UNCHANGED);
    ASSERT_EQ(stored.size(), cv::Size(20, 40));
    EXPECT_EQ(stored.at<cv::Vec3b>(5, 5), cv::Vec3b(10, 120, 200));
    EXPECT_EQ(settings.threshold, 1);
}

}  // namespace
}  // namespace vestrel::scan
