#pragma once
// Hands whole frames from the capture thread to readers on other threads. The producer
// fills a buffer of its own and swaps it in (no copy, a short lock); a reader copies the
// newest frame under the same lock, so it never sees half of one frame and half of the
// next, and the producer waits at most for one reader's copy.

#include <opencv2/core.hpp>

#include <cstdint>
#include <mutex>

namespace vestrel {

class FrameExchange {
public:
    // Makes `filled` the newest frame; `filled` gets back an older buffer to refill (of
    // the same size once the stream is steady, so nothing is allocated per frame).
    void publish(cv::Mat& filled, std::int64_t timestamp);

    // Copies the newest frame into `out`; false when there is none yet (or no memory for
    // the copy). `sequence`, when
    // given, receives the frame's number (1 for the first frame published).
    bool copyNewest(cv::Mat& out, std::int64_t* timestamp = nullptr,
                    std::uint64_t* sequence = nullptr) const;
    // As copyNewest, but only when the newest frame is newer than `sequence`, which is
    // then updated.
    bool copyIfNewer(cv::Mat& out, std::uint64_t& sequence) const;

    std::uint64_t sequence() const;
    cv::Size size() const;
    std::size_t byteSize() const;
    void clear();

private:
    bool copyOut(cv::Mat& out) const;  // under the lock

    mutable std::mutex mutex_;
    cv::Mat newest_;
    std::int64_t timestamp_ = 0;
    std::uint64_t sequence_ = 0;
};

}  // namespace vestrel
