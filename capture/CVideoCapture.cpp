#include "CVideoCapture.h"

#include "CaptureMessages.h"
#include "CaptureSource.h"
#include "Prompter.h"
#include "V4l2DeviceList.h"
#include "V4l2Source.h"
#include "VirtualSource.h"

#include <chrono>
#include <cstdlib>
#include <iostream>
#include <system_error>

namespace vestrel {
namespace {

constexpr auto kPauseAfterFailedRead = std::chrono::milliseconds(50);

}  // namespace

std::string CameraSpecFromEnvironment()
{
    const char* env = std::getenv("VESTREL_CAMERA");
    return env ? env : "";
}

std::string CameraSpecOrEnvironment(const std::optional<std::string>& named)
{
    return named ? *named : CameraSpecFromEnvironment();
}

CVideoCapture::CVideoCapture(Prompter& prompter, CaptureOptions options)
    : prompter_(prompter), options_(std::move(options))
{
}

CVideoCapture::~CVideoCapture() { ReleaseGraph(); }

void CVideoCapture::fail(const char* message) const { prompter_.message(message); }

bool CVideoCapture::EnumerateDevices()
{
    const std::string openLocation = current_ >= 0 ? devices_[std::size_t(current_)].location : "";
    const std::optional<std::vector<CaptureDevice>> real =
        ListV4l2Devices(options_.sysfsRoot, options_.devRoot);
    const bool virtualCamera = VirtualSource::IsVirtualSpec(options_.cameraSpec);
    if (!options_.cameraSpec.empty() && !virtualCamera)
        std::cerr << "vestrel: unknown camera \"" << options_.cameraSpec
                  << "\" ignored (use virtual or file:PATH)\n";
    // Without sysfs the machine's cameras cannot be listed; the virtual one still can.
    if (!real && !virtualCamera) {
        fail(capturemsg::kEnumeratorFailed);
        return false;
    }
    std::vector<CaptureDevice> table;
    if (real) {
        for (const CaptureDevice& d : *real) {
            if (table.size() >= std::size_t(kMaxDevices)) break;
            table.push_back(d);
        }
    }
    if (virtualCamera && table.size() < std::size_t(kMaxDevices))
        table.push_back({VirtualSource::DeviceName(options_.cameraSpec), options_.cameraSpec, "", ""});
    if (table.empty()) {
        fail(capturemsg::kNoCaptureDevice);
        return false;
    }
    devices_ = std::move(table);
    // The open device keeps its place in the new table when it is still listed.
    current_ = -1;
    for (std::size_t i = 0; i < devices_.size() && !openLocation.empty(); ++i)
        if (devices_[i].location == openLocation) current_ = int(i);
    return true;
}

bool CVideoCapture::SelectDevice(int index)
{
    if (index < 0 || std::size_t(index) >= devices_.size() || index == current_) return false;
    current_ = index;
    vendorId_ = devices_[std::size_t(index)].vendorId;
    productId_ = devices_[std::size_t(index)].productId;
    return true;
}

bool CVideoCapture::SelectDeviceByUsbId(const std::string& vid, const std::string& pid)
{
    const int tries = std::min<int>(kUsbSearchDevices, int(devices_.size()));
    for (int i = 0; i < tries; ++i) {
        const CaptureDevice& d = devices_[std::size_t(i)];
        if (d.vendorId.empty() || d.vendorId != vid || d.productId != pid) continue;
        if (i != current_) SelectDevice(i);
        return true;
    }
    return false;
}

std::string CVideoCapture::VendorId() const { return vendorId_; }
std::string CVideoCapture::ProductId() const { return productId_; }

bool CVideoCapture::BuildGraph()
{
    ReleaseGraph();
    if (current_ < 0) {
        fail(capturemsg::kNoDevice);
        return false;
    }
    try {
        return openDevice(devices_[std::size_t(current_)]);
    } catch (const std::bad_alloc&) {
        source_.reset();
        fail(capturemsg::kGraphFailed);
        return false;
    }
}

bool CVideoCapture::openDevice(const CaptureDevice& device)
{
    std::string error;
    if (VirtualSource::IsVirtualSpec(device.location)) {
        auto virtualSource = VirtualSource::Open(device.location, error);
        if (!virtualSource) {
            std::cerr << "vestrel: " << error << '\n';
            fail(capturemsg::kBindFailed);
            return false;
        }
        virtualSource->FollowTakes([this] { return grabber_.TakenCount(); });
        source_ = std::move(virtualSource);
    } else {
        auto v4l2 = std::make_unique<V4l2Source>();
        switch (v4l2->open(device.location, options_.watchDeviceRemoval)) {
        case V4l2Source::OpenResult::Opened: break;
        case V4l2Source::OpenResult::CannotOpen:
            std::cerr << "vestrel: " << v4l2->lastError() << '\n';
            fail(capturemsg::kBindFailed);
            return false;
        case V4l2Source::OpenResult::NotCapture:
            std::cerr << "vestrel: " << v4l2->lastError() << '\n';
            fail(capturemsg::kAddDeviceFailed);
            return false;
        }
        // The user hears of udev once, when the main window registers for device events;
        // without the watch a removal still ends the stream through the failing read.
        if (v4l2->removalWatchFailed())
            std::cerr << "vestrel: no udev removal watch for " << device.location << '\n';
        source_ = std::move(v4l2);
    }
    // The format is read when there is one; a device that cannot say is no error here.
    FrameSize size;
    if (source_->getFrameSize(size)) formatSize_ = size;
    deviceLost_ = false;
    state_ = StreamState::GraphBuilt;
    return true;
}

bool CVideoCapture::openPreview(bool showFailures)
{
    auto show = [&](const char* message) {
        if (showFailures) fail(message);
        std::cerr << "vestrel: " << source_->lastError() << '\n';
        return false;
    };
    FrameSize size;
    if (!source_->getFrameSize(size)) return show(capturemsg::kConnectedTypeFailed);
    // Asking for BGR at the current size: libv4l2 converts the camera's own format.
    if (!source_->deliversBgr() && !source_->setFrameSize(size)) return show(capturemsg::kMediaTypeFailed);
    if (!source_->getFrameSize(size)) return show(capturemsg::kConnectedTypeFailed);
    try {
        if (!source_->prepareStream()) return show(capturemsg::kCannotPreview);
    } catch (const std::bad_alloc&) {
        return show(capturemsg::kGrabberFailed);
    }
    formatSize_ = size;
    state_ = StreamState::PreviewBuilt;
    return true;
}

bool CVideoCapture::BuildPreview()
{
    if (!source_) {
        fail(capturemsg::kNoDevice);
        return false;
    }
    TearDownDownstream();
    return openPreview(true);
}

bool CVideoCapture::Run()
{
    if (state_ == StreamState::Running) return true;
    if (!source_ || state_ == StreamState::GraphBuilt || state_ == StreamState::NoGraph) {
        fail(capturemsg::kCannotPreview);
        return false;
    }
    if (!source_->startStream()) {
        std::cerr << "vestrel: " << source_->lastError() << '\n';
        fail(capturemsg::kCannotPreview);
        return false;
    }
    stopRequested_ = false;
    try {
        thread_ = std::thread(&CVideoCapture::captureLoop, this);
    } catch (const std::system_error& e) {
        std::cerr << "vestrel: no capture thread: " << e.what() << '\n';
        source_->stopStream();
        fail(capturemsg::kCannotPreview);
        return false;
    }
    state_ = StreamState::Running;
    grabber_.SetStreaming(true);
    return true;
}

void CVideoCapture::stopThread()
{
    stopRequested_ = true;
    grabber_.SetStreaming(false);
    if (thread_.joinable()) thread_.join();
    if (source_) source_->stopStream();
}

bool CVideoCapture::Pause()
{
    // Pausing needs a built preview; one that has not run yet simply waits paused.
    if (state_ == StreamState::NoGraph || state_ == StreamState::GraphBuilt) return false;
    stopThread();
    state_ = StreamState::Paused;
    return true;
}

bool CVideoCapture::Stop()
{
    if (state_ == StreamState::Running || state_ == StreamState::Paused) {
        stopThread();
        state_ = StreamState::Stopped;
    }
    return true;
}

bool CVideoCapture::ShowPreview(bool on)
{
    visible_ = on;
    return on ? Run() : Pause();
}

bool CVideoCapture::RestartPreview()
{
    Stop();
    TearDownDownstream();
    return BuildPreview() && Run();
}

void CVideoCapture::TearDownDownstream()
{
    stopThread();
    if (source_) {
        source_->releaseStream();
        state_ = StreamState::GraphBuilt;
    }
}

void CVideoCapture::ReleaseGraph()
{
    TearDownDownstream();
    source_.reset();
    state_ = StreamState::NoGraph;
}

bool CVideoCapture::ReadFrameSize()
{
    FrameSize size;
    if (!source_ || !source_->getFrameSize(size)) {
        fail(capturemsg::kReadFormatFailed);
        return false;
    }
    formatSize_ = size;
    return true;
}

bool CVideoCapture::SetFrameSize(int width, int height)
{
    FrameSize current;
    if (!source_ || !source_->getFrameSize(current)) {
        fail(capturemsg::kReadFormatFailed);
        return false;
    }
    if (current == FrameSize{width, height}) return true;
    if (ApplyFrameSize(width, height)) return openPreview(true) && Run();
    // Refused (the message is shown, once): the picture runs on at the size the camera has,
    // rather than every later return to the live picture failing to preview.
    if (!source_->setFrameSize(current)) {
        std::cerr << "vestrel: back to " << current.width << 'x' << current.height << ": " << source_->lastError()
                  << '\n';
    }
    if (openPreview(false)) Run();
    return false;
}

bool CVideoCapture::ApplyFrameSize(int width, int height)
{
    if (!source_) {
        fail(capturemsg::kReadFormatFailed);
        return false;
    }
    Stop();
    TearDownDownstream();
    const FrameSize wanted{width, height};
    FrameSize applied;
    // A camera that offers only a nearby size is refused like one that refuses outright:
    // the caller relies on frames of exactly the size it asked for.
    if (!source_->setFrameSize(wanted) || !source_->getFrameSize(applied) || applied != wanted) {
        std::cerr << "vestrel: " << width << 'x' << height << ": " << source_->lastError() << '\n';
        fail(capturemsg::kSetFormatFailed);
        return false;
    }
    formatSize_ = applied;
    // No scan and no preview may see a frame of the old size from here on.
    grabber_.Clear();
    return true;
}

bool CVideoCapture::SetRgb24()
{
    FrameSize current;
    if (!source_ || !source_->getFrameSize(current)) {
        fail(capturemsg::kReadFormatFailed);
        return false;
    }
    // Every source here already delivers 24-bit BGR (libv4l2 converts what the camera
    // sends), so there is nothing to switch: the stream goes on as it is.
    if (source_->deliversBgr()) return true;
    Stop();
    TearDownDownstream();
    const bool switched = source_->setFrameSize(current) && source_->deliversBgr();
    if (!switched) fail(capturemsg::kSetFormatFailed);
    const bool running = openPreview(switched) && Run();
    return switched && running;
}

std::vector<PixelFormatInfo> CVideoCapture::Formats()
{
    return source_ ? source_->formats() : std::vector<PixelFormatInfo>{};
}

std::vector<CameraControl> CVideoCapture::Controls()
{
    return source_ ? source_->controls() : std::vector<CameraControl>{};
}

bool CVideoCapture::SetControl(std::uint32_t id, int value)
{
    return source_ && source_->setControl(id, value);
}

bool CVideoCapture::CheckDevicePresent()
{
    if (source_) return true;
    fail(capturemsg::kVideoDeviceMissing);
    return false;
}

void CVideoCapture::SetDeviceLostHandler(std::function<void()> handler)
{
    std::lock_guard lock(handlerMutex_);
    deviceLostHandler_ = std::move(handler);
}

void CVideoCapture::captureLoop()
{
    cv::Mat frame;
    std::int64_t timestamp = 0;
    while (!stopRequested_) {
        ReadResult result = ReadResult::Failed;
        try {
            const std::uint64_t takenBefore = grabber_.TakenCount();
            result = source_->readFrame(frame, timestamp);
            if (result == ReadResult::Frame) grabber_.OnFrame(frame, timestamp, takenBefore);
        } catch (const cv::Exception& e) {
            // No memory for a frame buffer, most likely: this frame is dropped, the stream
            // goes on.
            std::cerr << "vestrel: frame dropped: " << e.what() << '\n';
            result = ReadResult::Failed;
        } catch (const std::bad_alloc&) {
            result = ReadResult::Failed;
        }
        switch (result) {
        case ReadResult::Frame:
            break;
        case ReadResult::NoFrameYet:
            break;
        case ReadResult::Failed:
            // A broken frame or a hiccup of the driver; the stream goes on.
            std::this_thread::sleep_for(kPauseAfterFailedRead);
            break;
        case ReadResult::DeviceLost: {
            deviceLost_ = true;
            std::function<void()> handler;
            {
                std::lock_guard lock(handlerMutex_);
                handler = deviceLostHandler_;
            }
            if (handler) handler();
            return;
        }
        }
    }
}

}  // namespace vestrel
