#include "V4l2Source.h"

#include "DeviceMonitor.h"

#include <libv4l2.h>
#include <linux/videodev2.h>
#include <poll.h>
#include <sys/mman.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <fcntl.h>

namespace vestrel {
namespace {

constexpr int kBufferCount = 4;
constexpr int kWaitMs = 100;
// Limits against a driver that reports nonsense: no real camera lists more.
constexpr std::uint32_t kMaxFormats = 64;
constexpr std::uint32_t kMaxSizes = 128;
constexpr int kMaxControls = 256;
constexpr int kMaxSide = 16384;

std::string fromDriverText(const unsigned char* text, std::size_t size)
{
    return std::string(reinterpret_cast<const char*>(text), strnlen(reinterpret_cast<const char*>(text), size));
}

std::int64_t steadyMicroseconds()
{
    using namespace std::chrono;
    return duration_cast<microseconds>(steady_clock::now().time_since_epoch()).count();
}

}  // namespace

V4l2Source::V4l2Source() = default;

V4l2Source::~V4l2Source()
{
    releaseStream();
    if (fd_ >= 0) v4l2_close(fd_);
}

int V4l2Source::xioctl(unsigned long request, void* arg)
{
    int rc;
    do {
        rc = v4l2_ioctl(fd_, request, arg);
    } while (rc < 0 && errno == EINTR);
    return rc;
}

bool V4l2Source::fail(const std::string& what)
{
    error_ = what + ": " + std::strerror(errno);
    return false;
}

V4l2Source::OpenResult V4l2Source::open(const std::string& devNode, bool watchRemoval)
{
    devNode_ = devNode;
    fd_ = v4l2_open(devNode.c_str(), O_RDWR | O_NONBLOCK | O_CLOEXEC);
    if (fd_ < 0) {
        // libv4l2 asks the device what it is while opening: ENOTTY means the node
        // opened but is no V4L2 device at all.
        const bool notVideo = errno == ENOTTY;
        fail("open " + devNode);
        return notVideo ? OpenResult::NotCapture : OpenResult::CannotOpen;
    }
    v4l2_capability cap{};
    if (xioctl(VIDIOC_QUERYCAP, &cap) < 0) {
        fail("VIDIOC_QUERYCAP");
        return OpenResult::NotCapture;
    }
    const std::uint32_t caps = (cap.capabilities & V4L2_CAP_DEVICE_CAPS) ? cap.device_caps : cap.capabilities;
    if (!(caps & V4L2_CAP_VIDEO_CAPTURE) || !(caps & V4L2_CAP_STREAMING)) {
        error_ = devNode + " is not a streaming video capture device";
        return OpenResult::NotCapture;
    }
    if (watchRemoval) {
        monitor_ = std::make_unique<DeviceMonitor>(devNode);
        if (!monitor_->ok()) {
            monitor_.reset();
            watchFailed_ = true;
        }
    }
    return OpenResult::Opened;
}

bool V4l2Source::getFrameSize(FrameSize& size)
{
    v4l2_format fmt{};
    fmt.type = V4L2_BUF_TYPE_VIDEO_CAPTURE;
    if (xioctl(VIDIOC_G_FMT, &fmt) < 0) return fail("VIDIOC_G_FMT");
    size = {int(fmt.fmt.pix.width), int(fmt.fmt.pix.height)};
    return true;
}

bool V4l2Source::setFrameSize(const FrameSize& size)
{
    if (size.width <= 0 || size.height <= 0 || size.width > kMaxSide || size.height > kMaxSide) {
        error_ = "frame size out of range";
        return false;
    }
    v4l2_format fmt{};
    fmt.type = V4L2_BUF_TYPE_VIDEO_CAPTURE;
    if (xioctl(VIDIOC_G_FMT, &fmt) < 0) return fail("VIDIOC_G_FMT");
    fmt.fmt.pix.width = std::uint32_t(size.width);
    fmt.fmt.pix.height = std::uint32_t(size.height);
    // libv4l2 offers BGR24 for every camera format it can convert and picks the camera's
    // own format behind it.
    fmt.fmt.pix.pixelformat = V4L2_PIX_FMT_BGR24;
    fmt.fmt.pix.field = V4L2_FIELD_ANY;
    fmt.fmt.pix.bytesperline = 0;
    if (xioctl(VIDIOC_S_FMT, &fmt) < 0) return fail("VIDIOC_S_FMT");
    if (fmt.fmt.pix.pixelformat != V4L2_PIX_FMT_BGR24) {
        error_ = "the device does not deliver BGR24";
        return false;
    }
    return true;
}

bool V4l2Source::deliversBgr()
{
    v4l2_format fmt{};
    fmt.type = V4L2_BUF_TYPE_VIDEO_CAPTURE;
    return xioctl(VIDIOC_G_FMT, &fmt) == 0 && fmt.fmt.pix.pixelformat == V4L2_PIX_FMT_BGR24;
}

std::vector<PixelFormatInfo> V4l2Source::formats()
{
    std::vector<PixelFormatInfo> out;
    for (std::uint32_t i = 0; i < kMaxFormats; ++i) {
        v4l2_fmtdesc desc{};
        desc.index = i;
        desc.type = V4L2_BUF_TYPE_VIDEO_CAPTURE;
        if (xioctl(VIDIOC_ENUM_FMT, &desc) < 0) break;
        PixelFormatInfo info;
        info.fourcc = desc.pixelformat;
        info.description = fromDriverText(desc.description, sizeof desc.description);
        info.emulated = (desc.flags & V4L2_FMT_FLAG_EMULATED) != 0;
        for (std::uint32_t k = 0; k < kMaxSizes; ++k) {
            v4l2_frmsizeenum fs{};
            fs.index = k;
            fs.pixel_format = desc.pixelformat;
            if (xioctl(VIDIOC_ENUM_FRAMESIZES, &fs) < 0) break;
            if (fs.type != V4L2_FRMSIZE_TYPE_DISCRETE) break;  // any size within a range
            info.sizes.push_back({int(fs.discrete.width), int(fs.discrete.height)});
        }
        out.push_back(std::move(info));
    }
    return out;
}

std::vector<CameraControl> V4l2Source::controls()
{
    std::vector<CameraControl> out;
    v4l2_queryctrl q{};
    q.id = V4L2_CTRL_FLAG_NEXT_CTRL;
    for (int n = 0; n < kMaxControls && xioctl(VIDIOC_QUERYCTRL, &q) == 0; ++n) {
        const std::uint32_t next = q.id | V4L2_CTRL_FLAG_NEXT_CTRL;
        CameraControl c;
        bool usable = !(q.flags & V4L2_CTRL_FLAG_DISABLED);
        switch (q.type) {
        case V4L2_CTRL_TYPE_INTEGER: c.kind = CameraControl::Kind::Integer; break;
        case V4L2_CTRL_TYPE_BOOLEAN: c.kind = CameraControl::Kind::Boolean; break;
        case V4L2_CTRL_TYPE_MENU: c.kind = CameraControl::Kind::Menu; break;
        case V4L2_CTRL_TYPE_BUTTON: c.kind = CameraControl::Kind::Button; break;
        default: usable = false;  // classes, strings, 64-bit and compound controls
        }
        if (usable) {
            c.id = q.id;
            c.name = fromDriverText(q.name, sizeof q.name);
            c.minimum = q.minimum;
            c.maximum = q.maximum;
            c.step = q.step > 0 ? q.step : 1;
            c.defaultValue = q.default_value;
            v4l2_control value{};
            value.id = q.id;
            c.value = xioctl(VIDIOC_G_CTRL, &value) == 0 ? value.value : q.default_value;
            if (c.kind == CameraControl::Kind::Menu) {
                for (int m = q.minimum; m <= q.maximum && m - q.minimum < kMaxControls; ++m) {
                    v4l2_querymenu item{};
                    item.id = q.id;
                    item.index = std::uint32_t(m);
                    if (xioctl(VIDIOC_QUERYMENU, &item) == 0)
                        c.menu.emplace_back(m, fromDriverText(item.name, sizeof item.name));
                }
            }
            out.push_back(std::move(c));
        }
        q = {};
        q.id = next;
    }
    return out;
}

bool V4l2Source::setControl(std::uint32_t id, int value)
{
    v4l2_control c{};
    c.id = id;
    c.value = value;
    return xioctl(VIDIOC_S_CTRL, &c) == 0 || fail("VIDIOC_S_CTRL");
}

bool V4l2Source::prepareStream()
{
    releaseStream();
    v4l2_format fmt{};
    fmt.type = V4L2_BUF_TYPE_VIDEO_CAPTURE;
    if (xioctl(VIDIOC_G_FMT, &fmt) < 0) return fail("VIDIOC_G_FMT");
    if (fmt.fmt.pix.pixelformat != V4L2_PIX_FMT_BGR24) {
        error_ = "the stream is not BGR24";
        return false;
    }
    width_ = int(fmt.fmt.pix.width);
    height_ = int(fmt.fmt.pix.height);
    bytesPerLine_ = std::max(int(fmt.fmt.pix.bytesperline), width_ * 3);
    if (width_ <= 0 || height_ <= 0 || width_ > kMaxSide || height_ > kMaxSide) {
        error_ = "the device reports an impossible frame size";
        return false;
    }
    v4l2_requestbuffers req{};
    req.count = kBufferCount;
    req.type = V4L2_BUF_TYPE_VIDEO_CAPTURE;
    req.memory = V4L2_MEMORY_MMAP;
    if (xioctl(VIDIOC_REQBUFS, &req) < 0) return fail("VIDIOC_REQBUFS");
    if (req.count == 0) {
        error_ = "the device gave no buffers";
        return false;
    }
    for (std::uint32_t i = 0; i < req.count; ++i) {
        v4l2_buffer buf{};
        buf.type = V4L2_BUF_TYPE_VIDEO_CAPTURE;
        buf.memory = V4L2_MEMORY_MMAP;
        buf.index = i;
        if (xioctl(VIDIOC_QUERYBUF, &buf) < 0) {
            unmapBuffers();
            return fail("VIDIOC_QUERYBUF");
        }
        void* start = v4l2_mmap(nullptr, buf.length, PROT_READ | PROT_WRITE, MAP_SHARED, fd_, buf.m.offset);
        if (start == MAP_FAILED) {
            unmapBuffers();
            return fail("mmap");
        }
        buffers_.push_back({start, buf.length});
    }
    return true;
}

bool V4l2Source::startStream()
{
    if (buffers_.empty()) {
        error_ = "no buffers prepared";
        return false;
    }
    if (streaming_) return true;
    for (std::uint32_t i = 0; i < buffers_.size(); ++i) {
        v4l2_buffer buf{};
        buf.type = V4L2_BUF_TYPE_VIDEO_CAPTURE;
        buf.memory = V4L2_MEMORY_MMAP;
        buf.index = i;
        if (xioctl(VIDIOC_QBUF, &buf) < 0) return fail("VIDIOC_QBUF");
    }
    v4l2_buf_type type = V4L2_BUF_TYPE_VIDEO_CAPTURE;
    if (xioctl(VIDIOC_STREAMON, &type) < 0) return fail("VIDIOC_STREAMON");
    streaming_ = true;
    return true;
}

void V4l2Source::stopStream()
{
    if (!streaming_) return;
    // STREAMOFF also takes every buffer back from the driver.
    v4l2_buf_type type = V4L2_BUF_TYPE_VIDEO_CAPTURE;
    xioctl(VIDIOC_STREAMOFF, &type);
    streaming_ = false;
}

void V4l2Source::unmapBuffers()
{
    for (const Buffer& b : buffers_) v4l2_munmap(b.start, b.length);
    buffers_.clear();
}

void V4l2Source::releaseStream()
{
    if (fd_ < 0) return;
    stopStream();
    if (buffers_.empty()) return;
    unmapBuffers();
    v4l2_requestbuffers req{};
    req.count = 0;
    req.type = V4L2_BUF_TYPE_VIDEO_CAPTURE;
    req.memory = V4L2_MEMORY_MMAP;
    xioctl(VIDIOC_REQBUFS, &req);
}

ReadResult V4l2Source::readFrame(cv::Mat& frame, std::int64_t& timestamp)
{
    if (!streaming_) return ReadResult::Failed;
    pollfd fds[2] = {{fd_, POLLIN, 0}, {monitor_ ? monitor_->fd() : -1, POLLIN, 0}};
    const int ready = ::poll(fds, monitor_ ? 2 : 1, kWaitMs);
    if (ready < 0) return errno == EINTR ? ReadResult::NoFrameYet : ReadResult::Failed;
    if (monitor_ && (fds[1].revents & POLLIN) && monitor_->removalPending()) {
        error_ = devNode_ + " was removed";
        return ReadResult::DeviceLost;
    }
    if (!(fds[0].revents & (POLLIN | POLLERR | POLLHUP))) return ReadResult::NoFrameYet;

    v4l2_buffer buf{};
    buf.type = V4L2_BUF_TYPE_VIDEO_CAPTURE;
    buf.memory = V4L2_MEMORY_MMAP;
    if (xioctl(VIDIOC_DQBUF, &buf) < 0) {
        if (errno == EAGAIN) return ReadResult::NoFrameYet;
        const bool lost = errno == ENODEV;
        fail("VIDIOC_DQBUF");
        return lost ? ReadResult::DeviceLost : ReadResult::Failed;
    }
    ReadResult result = ReadResult::NoFrameYet;
    const std::size_t needed = std::size_t(bytesPerLine_) * std::size_t(height_ - 1) + std::size_t(width_) * 3;
    if (buf.index < buffers_.size() && !(buf.flags & V4L2_BUF_FLAG_ERROR) && buf.bytesused >= needed &&
        buffers_[buf.index].length >= needed) {
        frame.create(height_, width_, CV_8UC3);
        const auto* src = static_cast<const unsigned char*>(buffers_[buf.index].start);
        for (int y = 0; y < height_; ++y)
            std::memcpy(frame.ptr(y), src + std::size_t(y) * std::size_t(bytesPerLine_), std::size_t(width_) * 3);
        timestamp = steadyMicroseconds();
        result = ReadResult::Frame;
    }
    if (xioctl(VIDIOC_QBUF, &buf) < 0) {
        const bool lost = errno == ENODEV;
        fail("VIDIOC_QBUF");
        if (result != ReadResult::Frame) return lost ? ReadResult::DeviceLost : ReadResult::Failed;
    }
    return result;
}

}  // namespace vestrel
