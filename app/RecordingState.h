#pragma once
// The main window's recording state and what its two timers decide, without a window:
// the countdown of a timed recording (timer 2) and the watch over the recording's tool
// window (timer 3). Time comes from an injected clock, so tests step it instead of waiting.

#include "CaptureTypes.h"
#include "RecordSettings.h"

#include <cstdint>
#include <functional>
#include <string>

namespace vestrel {

class RecordingState {
public:
    // Milliseconds of a monotonic clock.
    using Clock = std::function<std::int64_t()>;
    explicit RecordingState(Clock clock);

    // A recording starts (first or again): on, not stopped, with its file; a timed one gets
    // its end time, whole seconds of the clock.
    void Begin(const std::string& path, const RecordSettings& settings, bool timed);
    // The recording has been stopped; the tool window stays.
    void MarkStopped();
    // The recorded file has been played: closing the tool window need not stop again.
    void MarkPlayed();
    // The tool window goes: the recording is over. True when it must be stopped first.
    bool Close();

    // Timer 2: the seconds left, and whether the recording is to stop now (one second
    // after the end time, and at any later tick: a tick may come late).
    struct Countdown {
        long remainingSeconds = 0;
        bool stopNow = false;
    };
    Countdown CountdownTick() const;

    // Timer 3: what to do about the tool window and the writer.
    enum class Watch {
        Nothing,
        CloseWindow,  // the user closed the tool window: stop (if need be) and close it
        WriterFailed, // a write failed: stop with the error message
    };
    Watch WatchTick(bool windowVisible, bool writerFailed) const;

    bool Recording() const { return recording_; }      // until the tool window closes
    bool Stopped() const { return stopped_; }
    bool NoStopNeeded() const { return noStopNeeded_; }
    bool Capturing() const { return recording_ && !stopped_; }
    bool Timed() const { return endSeconds_ != 0; }
    std::int64_t EndSeconds() const { return endSeconds_; }
    const std::string& Path() const { return path_; }
    const RecordSettings& LastSettings() const { return settings_; }
    FrameSize sizeBefore;  // the camera's size when the recording started

private:
    std::int64_t NowSeconds() const { return clock_() / 1000; }

    Clock clock_;
    bool recording_ = false;
    bool stopped_ = false;
    bool noStopNeeded_ = false;
    std::int64_t endSeconds_ = 0;
    std::string path_;
    RecordSettings settings_;
};

}  // namespace vestrel
