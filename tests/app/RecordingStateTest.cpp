// The recording's enable rules and its two timers, stepped with an injected clock.

#include "CommandIds.h"
#include "CommandTable.h"
#include "RecordingState.h"

#include <gtest/gtest.h>

namespace vestrel {
namespace {

using namespace cmd;

FrameState AllBuilt()
{
    FrameState s;
    for (int f = 0; f < int(Feature::Count); ++f) s.features.add(Feature(f));
    return s;
}

bool Enabled(int id, const FrameState& s) { return StatusOf(id, s).enabled; }

TEST(RecordingRules, RecordNeedsLiveIdleCameraWithoutCopyModeOrAnOpenToolWindow)
{
    FrameState s = AllBuilt();
    EXPECT_TRUE(Enabled(ID_RECORD, s));
    for (auto busy : {&FrameState::timedScanning, &FrameState::idCardCopyMode, &FrameState::recording,
                      &FrameState::recordingOpen}) {
        FrameState b = s;
        b.*busy = true;
        EXPECT_FALSE(Enabled(ID_RECORD, b));
    }
    FrameState still = s;
    still.liveMode = false;
    EXPECT_FALSE(Enabled(ID_RECORD, still));
    s.recordingOpen = true;
    EXPECT_TRUE(StatusOf(ID_RECORD, s).checked);
}

TEST(RecordingRules, ToolWindowButtonsFollowRecordingStoppedAndPlayed)
{
    FrameState s = AllBuilt();
    s.recording = s.recordingOpen = true;
    EXPECT_TRUE(Enabled(ID_STOP_RECORD, s));
    EXPECT_FALSE(Enabled(ID_RECORD_OPEN_ENDED, s));
    EXPECT_FALSE(Enabled(ID_RECORD_PLAY, s));
    EXPECT_TRUE(Enabled(ID_RECORD_CLOSE, s));
    // While recording, no scans and no size changes.
    for (int id : {ID_SCAN, ID_TIMED_SCAN, ID_SIZE_ALL, ID_SIZE_A4, ID_SIZE_PRESET, ID_SIZE_LIST})
        EXPECT_FALSE(Enabled(id, s)) << id;

    FrameState live = s;
    live.liveMode = false;
    EXPECT_FALSE(Enabled(ID_STOP_RECORD, live));

    FrameState stopped = s;
    stopped.recording = false;
    stopped.recordingStopped = stopped.recordNoStopNeeded = true;
    EXPECT_FALSE(Enabled(ID_STOP_RECORD, stopped));
    EXPECT_TRUE(Enabled(ID_RECORD_OPEN_ENDED, stopped));
    EXPECT_TRUE(Enabled(ID_RECORD_PLAY, stopped));
    EXPECT_TRUE(Enabled(ID_SCAN, stopped)) << "the camera is free again once stopped";
    EXPECT_FALSE(Enabled(ID_RECORD, stopped)) << "until the tool window is closed";
    stopped.liveMode = false;
    EXPECT_FALSE(Enabled(ID_RECORD_OPEN_ENDED, stopped));
}

// A clock the test moves by hand.
struct StepClock {
    std::int64_t ms = 1'000'000;
    RecordingState::Clock clock() { return [this] { return ms; }; }
};

TEST(RecordingTimers, AHalfMinuteRecordingStopsOneSecondAfterItsEndTime)
{
    StepClock t;
    RecordingState state(t.clock());
    RecordSettings settings;
    settings.timed = true;
    settings.minutes = 0.5;
    state.Begin("/tmp/a.avi", settings, true);
    EXPECT_EQ(state.EndSeconds(), 1000 + 30);

    EXPECT_EQ(state.CountdownTick().remainingSeconds, 30);
    EXPECT_FALSE(state.CountdownTick().stopNow);
    t.ms += 30'999;  // the end second itself still records
    EXPECT_EQ(state.CountdownTick().remainingSeconds, 0);
    EXPECT_FALSE(state.CountdownTick().stopNow);
    t.ms += 1;  // 31 s after the start
    EXPECT_EQ(state.CountdownTick().remainingSeconds, -1);
    EXPECT_TRUE(state.CountdownTick().stopNow);
    // A tick that comes late still stops it.
    t.ms += 5'000;
    EXPECT_TRUE(state.CountdownTick().stopNow);

    state.MarkStopped();
    EXPECT_FALSE(state.CountdownTick().stopNow);
    EXPECT_FALSE(state.Capturing());
    EXPECT_TRUE(state.Recording()) << "on until the tool window closes";
}

TEST(RecordingTimers, MinutesRoundToTheNearestSecondAndOpenEndedNeverStops)
{
    StepClock t;
    RecordingState state(t.clock());
    RecordSettings settings;
    settings.minutes = 0.0125;  // 0.75 s
    state.Begin("/tmp/a.avi", settings, true);
    EXPECT_EQ(state.EndSeconds(), 1001);

    state.Begin("/tmp/b.avi", settings, false);
    EXPECT_FALSE(state.Timed());
    t.ms += 3'600'000;
    EXPECT_FALSE(state.CountdownTick().stopNow);
}

TEST(RecordingTimers, TheWatchClosesAHiddenToolWindowAndStopsOnAWriterError)
{
    StepClock t;
    RecordingState state(t.clock());
    EXPECT_EQ(state.WatchTick(false, true), RecordingState::Watch::Nothing) << "nothing recorded";
    state.Begin("/tmp/a.avi", {}, false);
    EXPECT_EQ(state.WatchTick(true, false), RecordingState::Watch::Nothing);
    EXPECT_EQ(state.WatchTick(false, false), RecordingState::Watch::CloseWindow);
    EXPECT_EQ(state.WatchTick(true, true), RecordingState::Watch::WriterFailed);
    state.MarkStopped();
    EXPECT_EQ(state.WatchTick(true, true), RecordingState::Watch::Nothing) << "already stopped";
}

TEST(RecordingTimers, ClosingStopsOnlyWhatIsStillRecording)
{
    StepClock t;
    RecordingState state(t.clock());
    state.Begin("/tmp/a.avi", {}, false);
    EXPECT_TRUE(state.Close());
    EXPECT_FALSE(state.Recording());

    state.Begin("/tmp/a.avi", {}, false);
    state.MarkStopped();
    EXPECT_FALSE(state.Close());

    state.Begin("/tmp/a.avi", {}, false);
    state.MarkPlayed();  // a played flag never leaves a recording running without its window
    EXPECT_TRUE(state.Close());
}

}  // namespace
}  // namespace vestrel
