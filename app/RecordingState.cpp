#include "RecordingState.h"

#include <cmath>

namespace vestrel {

RecordingState::RecordingState(Clock clock) : clock_(std::move(clock)) {}

void RecordingState::Begin(const std::string& path, const RecordSettings& settings, bool timed)
{
    recording_ = true;
    stopped_ = false;
    noStopNeeded_ = false;
    path_ = path;
    settings_ = settings;
    endSeconds_ = 0;
    if (timed) endSeconds_ = NowSeconds() + std::llround(settings.minutes * 60.0);
}

void RecordingState::MarkStopped()
{
    endSeconds_ = 0;
    stopped_ = true;
    noStopNeeded_ = true;
}

void RecordingState::MarkPlayed() { noStopNeeded_ = true; }

bool RecordingState::Close()
{
    // Whatever the flags say, frames still being written are stopped before the window goes.
    const bool mustStop = Capturing();
    recording_ = false;
    stopped_ = false;
    noStopNeeded_ = false;
    endSeconds_ = 0;
    return mustStop;
}

RecordingState::Countdown RecordingState::CountdownTick() const
{
    if (!Capturing() || endSeconds_ == 0) return {};
    const std::int64_t now = NowSeconds();
    return {long(endSeconds_ - now), now >= endSeconds_ + 1};
}

RecordingState::Watch RecordingState::WatchTick(bool windowVisible, bool writerFailed) const
{
    if (!recording_) return Watch::Nothing;
    if (!windowVisible) return Watch::CloseWindow;
    if (writerFailed && Capturing()) return Watch::WriterFailed;
    return Watch::Nothing;
}

}  // namespace vestrel
