#include "VideoRecorder.h"

#include <opencv2/imgcodecs.hpp>

#include <ctime>

namespace vestrel::recording {
namespace {

double ThreadCpuSeconds()
{
    timespec t{};
    ::clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) * 1e-9;
}

}  // namespace

VideoRecorder::~VideoRecorder() { stop(); }

bool VideoRecorder::start(const std::filesystem::path& path, const RecorderOptions& options)
{
    if (running()) return false;
    options_ = options;
    if (options_.queueFrames == 0) options_.queueFrames = 1;
    AviFormat format;
    format.width = options.width;
    format.height = options.height;
    format.framesPerSecond = options.nominalFps;
    format.partLimit = options.partLimit;
    format.replaceExisting = options.replaceExisting;
    stats_ = {};
    stats_.framesPerSecond = options.nominalFps;
    if (!file_.open(path, format)) {
        stats_.failed = true;
        stats_.error = file_.lastError();
        return false;
    }
    stopping_ = false;
    stopped_ = false;
    failed_ = false;
    firstTimestamp_ = 0;
    try {
        thread_ = std::thread(&VideoRecorder::writerLoop, this);
    } catch (const std::system_error& e) {
        file_.close();
        stats_.failed = true;
        stats_.error = e.what();
        return false;
    }
    std::lock_guard lock(mutex_);
    accepting_ = true;
    return true;
}

void VideoRecorder::OnFrame(const cv::Mat& frame, std::int64_t timestamp)
{
    cv::Mat buffer;
    {
        std::lock_guard lock(mutex_);
        if (!accepting_ || failed_) return;
        if (frame.cols != options_.width || frame.rows != options_.height || frame.type() != CV_8UC3 ||
            queue_.size() >= options_.queueFrames) {
            ++stats_.framesDropped;
            return;
        }
        if (!spare_.empty()) {
            buffer = std::move(spare_.back());
            spare_.pop_back();
        }
    }
    // The copy is made outside the lock, so the writer is never held up by it.
    try {
        frame.copyTo(buffer);
    } catch (const cv::Exception&) {
        std::lock_guard lock(mutex_);
        ++stats_.framesDropped;  // no memory for the copy
        return;
    }
    {
        std::lock_guard lock(mutex_);
        queue_.push_back({std::move(buffer), timestamp});
    }
    wake_.notify_one();
}

void VideoRecorder::writeOne(const Pending& pending, std::vector<std::uint8_t>& jpeg)
{
    bool encoded = false;
    try {
        encoded = cv::imencode(".jpg", pending.frame, jpeg, {cv::IMWRITE_JPEG_QUALITY, options_.jpegQuality});
    } catch (const cv::Exception&) {
        encoded = false;
    }
    if (!encoded) {
        std::lock_guard lock(mutex_);
        ++stats_.framesDropped;
        return;
    }
    const std::uint64_t before = file_.frames();
    if (before == 0) firstTimestamp_ = pending.timestamp;
    double fps = 0;
    if (before >= 1 && pending.timestamp > firstTimestamp_) {
        fps = double(before) * 1e6 / double(pending.timestamp - firstTimestamp_);
        file_.setFramesPerSecond(fps);
    }
    const bool written = file_.writeFrame(jpeg);
    std::lock_guard lock(mutex_);
    if (!written) {
        stats_.failed = true;
        stats_.error = file_.lastError();
        failed_ = true;
        return;
    }
    stats_.framesWritten = file_.frames();
    stats_.fileBytes = file_.fileSize();
    if (fps > 0) stats_.framesPerSecond = fps;
}

void VideoRecorder::writerLoop()
{
    std::vector<std::uint8_t> jpeg;
    for (;;) {
        Pending next;
        {
            std::unique_lock lock(mutex_);
            wake_.wait(lock, [this] { return stopping_ || !queue_.empty(); });
            if (queue_.empty()) break;  // stopping, and nothing left to write
            next = std::move(queue_.front());
            queue_.pop_front();
        }
        if (!failed_) writeOne(next, jpeg);
        const double cpu = ThreadCpuSeconds();
        std::lock_guard lock(mutex_);
        stats_.writerCpuSeconds = cpu;
        spare_.push_back(std::move(next.frame));
    }
}

RecordingStats VideoRecorder::stop()
{
    if (stopped_ || !running()) return stats();
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
        accepting_ = false;
    }
    wake_.notify_one();
    thread_.join();
    stopped_ = true;
    const bool closed = file_.close();
    std::lock_guard lock(mutex_);
    if (!closed && !stats_.failed) {
        stats_.failed = true;
        stats_.error = file_.lastError();
    }
    stats_.fileBytes = file_.fileSize();
    spare_.clear();
    return stats_;
}

RecordingStats VideoRecorder::stats() const
{
    std::lock_guard lock(mutex_);
    return stats_;
}

}  // namespace vestrel::recording
