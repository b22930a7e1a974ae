#include "FrameExchange.h"

#include <utility>

namespace vestrel {

bool FrameExchange::copyOut(cv::Mat& out) const
{
    try {
        newest_.copyTo(out);
        return true;
    } catch (const cv::Exception&) {
        return false;  // no memory for the reader's copy: the reader gets nothing, not half
    }
}

void FrameExchange::publish(cv::Mat& filled, std::int64_t timestamp)
{
    std::lock_guard lock(mutex_);
    std::swap(newest_, filled);
    timestamp_ = timestamp;
    ++sequence_;
}

bool FrameExchange::copyNewest(cv::Mat& out, std::int64_t* timestamp, std::uint64_t* sequence) const
{
    std::lock_guard lock(mutex_);
    if (sequence_ == 0 || newest_.empty()) return false;
    if (!copyOut(out)) return false;
    if (timestamp) *timestamp = timestamp_;
    if (sequence) *sequence = sequence_;
    return true;
}

bool FrameExchange::copyIfNewer(cv::Mat& out, std::uint64_t& sequence) const
{
    std::lock_guard lock(mutex_);
    if (sequence_ == 0 || sequence_ == sequence || newest_.empty()) return false;
    if (!copyOut(out)) return false;
    sequence = sequence_;
    return true;
}

std::uint64_t FrameExchange::sequence() const
{
    std::lock_guard lock(mutex_);
    return sequence_;
}

cv::Size FrameExchange::size() const
{
    std::lock_guard lock(mutex_);
    return newest_.size();
}

std::size_t FrameExchange::byteSize() const
{
    std::lock_guard lock(mutex_);
    return newest_.total() * newest_.elemSize();
}

void FrameExchange::clear()
{
    std::lock_guard lock(mutex_);
    newest_.release();
    timestamp_ = 0;
    // The sequence keeps counting so that a reader's "newer than" stays right.
}

}  // namespace vestrel
