#include "VirtualSource.h"

#include <linux/videodev2.h>

#include <algorithm>
#include <thread>

namespace vestrel {
namespace {

constexpr std::string_view kFilePrefix = "file:";
constexpr auto kLongestWait = std::chrono::milliseconds(100);
constexpr int kDefaultBrightness = 0;
constexpr int kDefaultContrast = 100;  // per cent

// The 16:9 sizes are what video cameras offer besides the 4:3 ones of document cameras.
const FrameSize kOfferedSizes[] = {{160, 120},   {176, 144},   {320, 240},   {352, 288},
                                   {640, 480},   {800, 600},   {1024, 768},  {1280, 720},
                                   {1280, 960},  {1600, 1200}, {1920, 1080}, {2048, 1536},
                                   {2592, 1944}};

}  // namespace

bool VirtualSource::IsVirtualSpec(const std::string& spec)
{
    return spec == "virtual" || (spec.size() > kFilePrefix.size() && spec.starts_with(kFilePrefix));
}

std::string VirtualSource::DeviceName(const std::string& spec)
{
    if (spec == "virtual") return "Vestrel virtual camera";
    return "Vestrel virtual camera (" + spec.substr(kFilePrefix.size()) + ")";
}

std::unique_ptr<VirtualSource> VirtualSource::Open(const std::string& spec, std::string& error)
{
    if (!IsVirtualSpec(spec)) {
        error = "unknown camera \"" + spec + "\" (use virtual or file:PATH)";
        return nullptr;
    }
    std::unique_ptr<VirtualSource> source(new VirtualSource);
    if (spec != "virtual") {
        source->files_.emplace(spec.substr(kFilePrefix.size()));
        if (!source->files_->scan()) {
            error = "no image file at " + spec.substr(kFilePrefix.size());
            return nullptr;
        }
    }
    return source;
}

bool VirtualSource::getFrameSize(FrameSize& size)
{
    size = size_;
    return true;
}

bool VirtualSource::setFrameSize(const FrameSize& size)
{
    if (size.width < kMinSide || size.height < kMinSide || size.width > kMaxSide || size.height > kMaxSide) {
        error_ = "frame size out of range";
        return false;
    }
    if (prepared_) {
        error_ = "the stream is prepared";
        return false;
    }
    size_ = size;
    return true;
}

std::vector<PixelFormatInfo> VirtualSource::formats()
{
    PixelFormatInfo bgr;
    bgr.fourcc = V4L2_PIX_FMT_BGR24;
    bgr.description = "24-bit BGR 8-8-8";
    bgr.sizes.assign(std::begin(kOfferedSizes), std::end(kOfferedSizes));
    return {bgr};
}

std::vector<CameraControl> VirtualSource::controls()
{
    CameraControl brightness;
    brightness.id = V4L2_CID_BRIGHTNESS;
    brightness.name = "Brightness";
    brightness.minimum = -64;
    brightness.maximum = 64;
    brightness.defaultValue = kDefaultBrightness;
    brightness.value = brightness_;
    CameraControl contrast;
    contrast.id = V4L2_CID_CONTRAST;
    contrast.name = "Contrast";
    contrast.minimum = 50;
    contrast.maximum = 200;
    contrast.defaultValue = kDefaultContrast;
    contrast.value = contrast_;
    return {brightness, contrast};
}

bool VirtualSource::setControl(std::uint32_t id, int value)
{
    for (const CameraControl& c : controls()) {
        if (c.id != id) continue;
        if (value < c.minimum || value > c.maximum) {
            error_ = "control value out of range";
            return false;
        }
        (id == V4L2_CID_BRIGHTNESS ? brightness_ : contrast_) = value;
        return true;
    }
    error_ = "no such control";
    return false;
}

bool VirtualSource::prepareStream()
{
    if (!files_) {
        try {
            if (scene_.size() != cv::Size(size_.width, size_.height))
                scene_ = DrawDeskScene({size_.width, size_.height});
        } catch (const cv::Exception& e) {
            error_ = e.what();
            return false;
        }
    }
    prepared_ = true;
    return true;
}

bool VirtualSource::startStream()
{
    if (!prepared_) {
        error_ = "the stream is not prepared";
        return false;
    }
    streaming_ = true;
    due_ = std::chrono::steady_clock::now();
    return true;
}

void VirtualSource::stopStream() { streaming_ = false; }

void VirtualSource::releaseStream()
{
    streaming_ = false;
    prepared_ = false;
}

void VirtualSource::applyControls(cv::Mat& frame) const
{
    const int brightness = brightness_;
    const int contrast = contrast_;
    if (brightness == kDefaultBrightness && contrast == kDefaultContrast) return;
    // Contrast pivots about mid grey, as camera drivers do.
    const double gain = contrast / 100.0;
    frame.convertTo(frame, -1, gain, brightness + 128.0 * (1.0 - gain));
}

bool VirtualSource::makeFrame(cv::Mat& frame)
{
    try {
        if (files_) {
            if (takenCount_) {
                for (const std::uint64_t taken = takenCount_(); takenSeen_ < taken; ++takenSeen_) files_->advance();
            }
            std::optional<cv::Mat> picture = files_->current({size_.width, size_.height});
            if (!picture) {
                error_ = "none of the image files decodes";
                return false;
            }
            picture->copyTo(frame);
        } else {
            noise_.add(scene_, frame);
        }
        applyControls(frame);
        return true;
    } catch (const cv::Exception& e) {
        error_ = e.what();
        return false;
    }
}

ReadResult VirtualSource::readFrame(cv::Mat& frame, std::int64_t& timestamp)
{
    if (!streaming_) return ReadResult::Failed;
    using clock = std::chrono::steady_clock;
    const clock::time_point now = clock::now();
    if (due_ > now) {
        std::this_thread::sleep_for(std::min<clock::duration>(due_ - now, kLongestWait));
        if (due_ > clock::now()) return ReadResult::NoFrameYet;
    }
    // The folder or file going away is this camera being unplugged.
    if (files_ && !files_->stillThere()) {
        error_ = "the image files are gone";
        return ReadResult::DeviceLost;
    }
    if (!makeFrame(frame)) return ReadResult::Failed;
    const auto period = std::chrono::duration_cast<clock::duration>(
        std::chrono::duration<double>(1.0 / kFramesPerSecond));
    // A late frame moves the schedule on rather than sending a burst to catch up.
    due_ = std::max(due_ + period, clock::now());
    timestamp = std::chrono::duration_cast<std::chrono::microseconds>(clock::now().time_since_epoch()).count();
    return ReadResult::Frame;
}

}  // namespace vestrel
