#pragma once
// The virtual camera, for machines without one: "virtual" draws a desk scene with a page
// and an ID card, "file:PATH" serves an image file or a folder's images in turn, each until
// a scan has taken it. It
// behaves like a camera: any frame size (2592 x 1944 at first), about 15 frames a second,
// brightness and contrast controls, and the loss of the device when the files go away.

#include "CaptureSource.h"
#include "DeskScene.h"
#include "ImageFiles.h"

#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace vestrel {

class VirtualSource final : public CaptureSource {
public:
    static constexpr FrameSize kDefaultSize{2592, 1944};
    static constexpr int kMinSide = 16;
    static constexpr int kMaxSide = 8192;
    static constexpr double kFramesPerSecond = 15.0;

    // "virtual" or "file:PATH"; nothing for any other spec, or a file: path without images.
    static std::unique_ptr<VirtualSource> Open(const std::string& spec, std::string& error);
    static bool IsVirtualSpec(const std::string& spec);
    static std::string DeviceName(const std::string& spec);
    // How many frames scans have taken so far: a folder's camera shows its next picture
    // after each take. Without it the first picture stays.
    void FollowTakes(std::function<std::uint64_t()> takenCount) { takenCount_ = std::move(takenCount); }

    bool getFrameSize(FrameSize& size) override;
    bool setFrameSize(const FrameSize& size) override;
    bool deliversBgr() override { return true; }
    std::vector<PixelFormatInfo> formats() override;
    std::vector<CameraControl> controls() override;
    bool setControl(std::uint32_t id, int value) override;
    bool prepareStream() override;
    bool startStream() override;
    void stopStream() override;
    void releaseStream() override;
    ReadResult readFrame(cv::Mat& frame, std::int64_t& timestamp) override;
    std::string lastError() const override { return error_; }

private:
    VirtualSource() = default;
    bool makeFrame(cv::Mat& frame);
    void applyControls(cv::Mat& frame) const;

    std::optional<ImageFiles> files_;  // set for file: cameras
    std::function<std::uint64_t()> takenCount_;
    std::uint64_t takenSeen_ = 0;
    FrameSize size_ = kDefaultSize;
    bool prepared_ = false;
    bool streaming_ = false;
    cv::Mat scene_;  // the drawn desk at size_
    SensorNoise noise_;
    std::atomic<int> brightness_{0};
    std::atomic<int> contrast_{100};
    std::chrono::steady_clock::time_point due_;
    std::string error_;
};

}  // namespace vestrel
