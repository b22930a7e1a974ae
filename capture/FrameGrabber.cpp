#include "FrameGrabber.h"

#include "FrameTurning.h"

#include <chrono>
#include <thread>

namespace vestrel {

void CFrameGrabber::SetSettings(const GrabberSettings& settings)
{
    std::lock_guard lock(settingsMutex_);
    settings_ = settings;
}

GrabberSettings CFrameGrabber::Settings() const
{
    std::lock_guard lock(settingsMutex_);
    return settings_;
}

void CFrameGrabber::OnFrame(cv::Mat& sample, std::int64_t timestamp, std::uint64_t takenBefore)
{
    if (sample.empty() || sample.type() != CV_8UC3) return;
    if (takenBefore == kTakenNow) takenBefore = taken_;
    {
        std::lock_guard lock(sinkMutex_);
        if (sink_) sink_->OnFrame(sample, timestamp);
    }
    if (passThrough_) {
        sample.copyTo(previewWork_);
    } else {
        // The preview is written from the sample in one pass (mask and turn together), so
        // the sample itself stays unchanged and becomes the newest frame without a copy.
        MaskAndTurn(sample, previewWork_, Settings());
    }
    preview_.publish(previewWork_, timestamp);
    // The sample's buffer becomes the newest frame; the caller gets the previous one back
    // to fill with the next picture.
    lastFrame_.publish(sample, timestamp);
    lastFrameTakenBefore_ = takenBefore;
}

bool CFrameGrabber::TakeFrameForScan(cv::Mat& out)
{
    // Long enough for a camera's first frame after a (re)start; a paused stream does not wait.
    constexpr auto kLongestWait = std::chrono::seconds(1);
    const auto deadline = std::chrono::steady_clock::now() + kLongestWait;
    auto fresh = [&] { return lastFrame_.byteSize() > 0 && lastFrameTakenBefore_ >= taken_; };
    while (streaming_ && !fresh() && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    if (!CopyLastFrame(out)) return false;
    ++taken_;
    return true;
}

bool CFrameGrabber::CopyLastFrame(cv::Mat& out, std::int64_t* timestamp) const
{
    return lastFrame_.copyNewest(out, timestamp);
}

FrameSize CFrameGrabber::LastFrameSize() const
{
    const cv::Size s = lastFrame_.size();
    return {s.width, s.height};
}

bool CFrameGrabber::CopyPreviewIfNewer(cv::Mat& out, std::uint64_t& sequence) const
{
    return preview_.copyIfNewer(out, sequence);
}

void CFrameGrabber::SetSink(FrameSink* sink)
{
    std::lock_guard lock(sinkMutex_);
    sink_ = sink;
}

void CFrameGrabber::Clear()
{
    lastFrame_.clear();
    preview_.clear();
    lastFrameTakenBefore_ = 0;
}

}  // namespace vestrel
