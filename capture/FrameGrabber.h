#pragma once
// CFrameGrabber: what every camera frame goes through on the capture thread. It keeps an
// unchanged copy of the newest frame (what a scan stores), paints the scan-area mask and
// turns the picture for the live preview. Readers on the UI thread always get one whole
// frame with its own size.

#include "CaptureTypes.h"
#include "FrameExchange.h"
#include "FrameSink.h"
#include "GrabberSettings.h"

#include <opencv2/core.hpp>

#include <atomic>
#include <cstdint>
#include <mutex>

namespace vestrel {

class CFrameGrabber {
public:
    // UI thread: the turn and mask settings. They take effect from the next frame.
    void SetSettings(const GrabberSettings& settings);
    GrabberSettings Settings() const;
    // Second camera: frames are kept and shown but never masked or turned.
    void SetPassThrough(bool on) { passThrough_ = on; }
    bool PassThrough() const { return passThrough_; }

    // Capture thread: one BGR frame (CV_8UC3, top row first). The grabber may swap the
    // frame's buffer for another one of the same size; the caller just refills it.
    // `takenBefore` is TakenCount() as it stood before the camera began reading this frame
    // (the default: as it stands now).
    static constexpr std::uint64_t kTakenNow = ~std::uint64_t{0};
    void OnFrame(cv::Mat& sample, std::int64_t timestamp, std::uint64_t takenBefore = kTakenNow);

    // Readers. The newest frame as the camera delivered it, never masked nor turned;
    // false before the first frame.
    bool CopyLastFrame(cv::Mat& out, std::int64_t* timestamp = nullptr) const;
    std::size_t LastFrameBytes() const { return lastFrame_.byteSize(); }
    FrameSize LastFrameSize() const;
    // The newest masked and turned picture, only when newer than `sequence`.
    bool CopyPreviewIfNewer(cv::Mat& out, std::uint64_t& sequence) const;
    bool CopyPreview(cv::Mat& out) const { return preview_.copyNewest(out); }
    std::uint64_t FrameCount() const { return lastFrame_.sequence(); }

    // A scan takes the newest frame. A camera that shows pictures one at a time (a folder
    // of files) moves on to its next picture only then, so every take counts; and a frame
    // the camera began reading before the previous take may still show the picture taken,
    // so while the stream runs a take waits (a few frames at most) for a frame begun after
    // it, as it waits for the first frame after Clear(). False when there is no frame.
    bool TakeFrameForScan(cv::Mat& out);
    std::uint64_t TakenCount() const { return taken_; }
    // Set by the capture object while its stream delivers frames.
    void SetStreaming(bool on) { streaming_ = on; }

    // Forgets every frame (a new device or a new stream).
    void Clear();

    // Any thread: every frame from now on also goes to `sink` (null: to none). When this
    // returns, the previous sink is no longer called.
    void SetSink(FrameSink* sink);

private:
    mutable std::mutex settingsMutex_;
    GrabberSettings settings_;
    std::atomic<bool> passThrough_{false};

    std::atomic<std::uint64_t> taken_{0};
    std::atomic<std::uint64_t> lastFrameTakenBefore_{0};
    std::atomic<bool> streaming_{false};

    FrameExchange lastFrame_;
    FrameExchange preview_;
    cv::Mat lastFrameWork_;  // capture thread only
    cv::Mat previewWork_;    // capture thread only
    std::mutex sinkMutex_;
    FrameSink* sink_ = nullptr;
};

}  // namespace vestrel
