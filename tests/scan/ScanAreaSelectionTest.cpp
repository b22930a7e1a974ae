#include "CVideoCapture.h"
#include "CaptureLink.h"
#include "ScanAreaSelection.h"
#include "ScriptedPrompter.h"
#include "TempProgramDir.h"

#include <gtest/gtest.h>

namespace vestrel::scan {
namespace {

// Size and orientation choices against the virtual camera, which the capture layer switches
// like a real one.
class ScanAreaSelectionTest : public testkit::ProgramDirTest {
protected:
    ScanAreaSelectionTest() : capture(prompter, CaptureOptions{"/nonexistent-sysfs", "/dev", "virtual", false}),
                              control(capture)
    {
        EXPECT_TRUE(capture.EnumerateDevices());
        EXPECT_TRUE(capture.SelectDevice(0));
        EXPECT_TRUE(capture.BuildGraph());
        EXPECT_TRUE(capture.BuildPreview());
        EXPECT_TRUE(capture.SetFrameSize(640, 480));
        settings.lwidth = 640;
        settings.lheight = 480;
    }

    testkit::ScriptedPrompter prompter;
    CVideoCapture capture;
    CaptureFormatControl control;
    Settings settings;
    ScanState state;
};

TEST_F(ScanAreaSelectionTest, PaperSizesSwitchTheCameraToTheFullFrame)
{
    state.zoomLevel = 3;
    const SizeSelection chosen = SelectSizeEntry(2, settings, state, control);
    EXPECT_TRUE(chosen.applied);
    EXPECT_EQ(chosen.arm, ArmPosition::Top);
    EXPECT_FALSE(chosen.startRectangleDrawing);
    EXPECT_EQ(state.zoomLevel, 0);
    EXPECT_EQ(settings.size, 2);
    EXPECT_EQ(settings.w, 2395);
    EXPECT_EQ(settings.h, 1720);
    EXPECT_EQ(settings.lwidth, 2592);
    ASSERT_TRUE(capture.ReadFrameSize());
    EXPECT_EQ(capture.FormatSize(), (FrameSize{2592, 1944}));
    EXPECT_EQ(CheckedSizeEntry(settings), 2);
}

TEST_F(ScanAreaSelectionTest, WholeFrameAndPresetKeepTheCameraSize)
{
    SizeSelection chosen = SelectSizeEntry(0, settings, state, control);
    EXPECT_TRUE(chosen.applied);
    EXPECT_EQ(chosen.arm, ArmPosition::None);
    EXPECT_EQ(settings.w, 640);
    EXPECT_EQ(settings.h, 480);

    chosen = SelectSizeEntry(8, settings, state, control);
    EXPECT_TRUE(chosen.startRectangleDrawing);
    EXPECT_FALSE(settings.presetInForce) << "in force only once drawn";
    EXPECT_EQ(settings.right, 640);
    EXPECT_EQ(settings.bottom, 480);
    ASSERT_TRUE(capture.ReadFrameSize());
    EXPECT_EQ(capture.FormatSize(), (FrameSize{640, 480}));

    // Drawn from row 100 to row 300 (top-down): kept bottom-up as 180..380.
    ApplyDrawnPreset(PixelRect{10, 100, 210, 300}, settings);
    EXPECT_TRUE(settings.presetInForce);
    EXPECT_EQ(settings.top, 180);
    EXPECT_EQ(settings.bottom, 380);
    EXPECT_EQ(ScanAreaRect(settings, 640, 480), (PixelRect{10, 100, 210, 300}));

    // Any other entry puts the preset out of force.
    SelectSizeEntry(0, settings, state, control);
    EXPECT_FALSE(settings.presetInForce);
    EXPECT_FALSE(SelectSizeEntry(9, settings, state, control).applied);
}

TEST_F(ScanAreaSelectionTest, OrientationSetsExactlyOneFlag)
{
    state.zoomLevel = 2;
    EXPECT_TRUE(SelectOrientation(OrientationChoice::RotateLeft, settings, state, control));
    EXPECT_EQ(settings.orientation, (Orientation{false, true, false}));
    EXPECT_EQ(state.zoomLevel, 0);
    EXPECT_TRUE(SelectOrientation(OrientationChoice::UpsideDown, settings, state, control));
    EXPECT_EQ(StateFromOrientation(settings.orientation), 1);
    EXPECT_TRUE(SelectOrientation(OrientationChoice::Normal, settings, state, control));
    EXPECT_EQ(settings.orientation, Orientation{});
}

TEST(StartupSize, StoredEntryKeepsItsStoredAreaAndZeroMeansWholeFrame)
{
    Settings s;
    s.size = 3;
    s.w = 1700;
    s.h = 1200;
    EXPECT_EQ(ApplyStartupSize(s), ArmPosition::Middle);
    EXPECT_EQ(s.w, 1700);
    s = Settings{};
    EXPECT_EQ(ApplyStartupSize(s), ArmPosition::None);
    EXPECT_EQ(s.w, s.lwidth);
    EXPECT_EQ(s.h, s.lheight);
}

}  // namespace
}  // namespace vestrel::scan
