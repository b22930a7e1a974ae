#pragma once
// A recording: takes the camera's frames on the capture thread (as a FrameSink) and hands
// them to a writer thread of its own, which encodes each as a JPEG picture and appends it
// to a Motion-JPEG AVI file. The capture thread never waits for the encoder: frames wait
// in a short queue, and when the encoder falls so far behind that the queue is full the
// newest frame is dropped and counted.
//
// Frame rate: the file's rate is measured from the time stamps of the frames written (the
// number written over the time between the first and the last), and rewritten with every
// frame; until two frames are in, the camera's nominal rate stands. A recording with drops
// thus still plays in real time.

#include "AviFile.h"
#include "FrameSink.h"

#include <atomic>
#include <condition_variable>
#include <deque>
#include <filesystem>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace vestrel::recording {

struct RecorderOptions {
    int width = 0;   // frames of another size are dropped (and counted)
    int height = 0;
    double nominalFps = 15.0;
    int jpegQuality = 85;
    std::size_t queueFrames = 4;  // frames that may wait for the encoder
    std::uint64_t partLimit = std::uint64_t(1) << 30;
    bool replaceExisting = true;
};

struct RecordingStats {
    std::uint64_t framesWritten = 0;
    std::uint64_t framesDropped = 0;  // the encoder was behind, or the frame had another size
    double framesPerSecond = 0;       // the rate in the file
    std::uint64_t fileBytes = 0;
    double writerCpuSeconds = 0;      // CPU time of the writer thread
    bool failed = false;              // a write failed; the file holds what came before
    std::string error;
};

class VideoRecorder final : public FrameSink {
public:
    VideoRecorder() = default;
    ~VideoRecorder() override;
    VideoRecorder(const VideoRecorder&) = delete;
    VideoRecorder& operator=(const VideoRecorder&) = delete;

    // Creates the file and starts the writer thread. False, with stats().error, when the
    // file cannot be created.
    bool start(const std::filesystem::path& path, const RecorderOptions& options);
    bool running() const { return thread_.joinable(); }

    // Capture thread.
    void OnFrame(const cv::Mat& frame, std::int64_t timestamp) override;

    // Writes the frames still waiting, closes the file and ends the thread; the final
    // figures. Does nothing more when called again.
    RecordingStats stop();
    // The figures so far (any thread).
    RecordingStats stats() const;
    // Whether a write has failed (any thread); the recording should then be stopped.
    bool failed() const { return failed_; }

private:
    struct Pending {
        cv::Mat frame;
        std::int64_t timestamp = 0;
    };
    void writerLoop();
    void writeOne(const Pending& pending, std::vector<std::uint8_t>& jpeg);

    RecorderOptions options_;
    AviFile file_;
    std::thread thread_;

    mutable std::mutex mutex_;
    std::condition_variable wake_;
    std::deque<Pending> queue_;       // frames waiting for the encoder
    std::vector<cv::Mat> spare_;      // buffers to copy the next frames into
    bool stopping_ = false;
    bool accepting_ = false;          // frames are taken
    RecordingStats stats_;            // under mutex_
    std::atomic<bool> failed_{false};
    std::int64_t firstTimestamp_ = 0; // writer thread only
    bool stopped_ = false;
};

}  // namespace vestrel::recording
