// 1:1 printing's state and the print commands' rules, without a window: the position
// commands' toggle, the size entries' arm positions, and what the preview blocks.

#include "CommandIds.h"
#include "CommandTable.h"
#include "ImageSizeList.h"
#include "PrintState.h"

#include <gtest/gtest.h>

using namespace vestrel;
using namespace vestrel::cmd;

namespace {

TEST(PrintState, ThePositionAlreadyChosenTogglesAndAnotherSwitchesOnThere)
{
    Print11State s;
    EXPECT_FALSE(ScaleOf(s).oneToOne);

    ChoosePrintPosition(s, print::kArmTop);  // "上端"
    EXPECT_EQ(s.m_bPrint11, 1);
    EXPECT_EQ(s.m_nPrintPos, print::kArmTop);
    ChoosePrintPosition(s, print::kArmTop);  // "上端" again: off
    EXPECT_EQ(s.m_bPrint11, 0);
    EXPECT_EQ(s.m_nPrintPos, print::kArmTop);
    ChoosePrintPosition(s, print::kArmTop);  // and on again
    EXPECT_EQ(s.m_bPrint11, 1);

    ChoosePrintPosition(s, print::kArmMiddle);  // "中间" after "上端": stays on, now 0.59
    EXPECT_EQ(s.m_bPrint11, 1);
    EXPECT_EQ(s.m_nPrintPos, print::kArmMiddle);
    const print::PrintScale scale = ScaleOf(s);
    EXPECT_TRUE(scale.oneToOne);
    EXPECT_EQ(print::OneToOneFactorPercent(scale.armPosition), 59);

    // From off at another position: on, at the new one.
    ChoosePrintPosition(s, print::kArmMiddle);
    ASSERT_EQ(s.m_bPrint11, 0);
    ChoosePrintPosition(s, print::kArmBottom);
    EXPECT_EQ(s.m_bPrint11, 1);
    EXPECT_EQ(s.m_nPrintPos, print::kArmBottom);
}

TEST(PrintState, SizeEntriesOneToSevenSwitchOnWithTheirPositionAndTheOthersSwitchOff)
{
    const int expected[scan::kSizeEntryCount] = {0, 1, 1, 2, 3, 3, 3, 3, 0};
    for (int entry = 0; entry < scan::kSizeEntryCount; ++entry) {
        Print11State s{1, print::kArmMiddle};  // whatever was chosen before
        ApplyArmPosition(s, scan::ImageSizeList()[entry].arm);
        EXPECT_EQ(s.m_nPrintPos, expected[entry]) << entry;
        EXPECT_EQ(s.m_bPrint11, expected[entry] != 0 ? 1 : 0) << entry;
    }
}

TEST(PrintState, PositionCommandsWorkOnTheStillPictureAndShowTheOneInForce)
{
    FrameState s;
    for (int f = 0; f < int(Feature::Count); ++f) s.features.add(Feature(f));
    const int positions[3] = {ID_PRINT11_TOP, ID_PRINT11_MIDDLE, ID_PRINT11_BOTTOM};
    for (int id : positions) EXPECT_FALSE(StatusOf(id, s).enabled) << "live picture: " << id;

    s.liveMode = false;
    s.print11 = true;
    s.printPos = print::kArmMiddle;
    EXPECT_EQ(StatusOf(ID_PRINT11_TOP, s), (CommandStatus{true, false}));
    EXPECT_EQ(StatusOf(ID_PRINT11_MIDDLE, s), (CommandStatus{true, true}));
    EXPECT_EQ(StatusOf(ID_PRINT11_BOTTOM, s), (CommandStatus{true, false}));
    s.print11 = false;  // off at the middle: nothing checked
    for (int id : positions) EXPECT_FALSE(StatusOf(id, s).checked) << id;

    // The open preview holds the picture: the live/still switch waits.
    EXPECT_TRUE(StatusOf(ID_LIVE_STILL, s).enabled);
    s.printPreview = true;
    EXPECT_FALSE(StatusOf(ID_LIVE_STILL, s).enabled);
}

}  // namespace
