#include "Capabilities.h"

#include "CVideoCapture.h"

#include <linux/videodev2.h>

#include <charconv>
#include <cstdio>

namespace vestrel::recording {

std::string FormatName(std::uint32_t fourcc)
{
    // The V4L2 formats that are the same pictures as the names the list has always used.
    switch (fourcc) {
    case V4L2_PIX_FMT_YUYV: return "YUY2:";
    case V4L2_PIX_FMT_UYVY: return "UYVY :";
    case V4L2_PIX_FMT_YVYU: return "YVYU:";
    case V4L2_PIX_FMT_Y41P: return "Y41P:";
    case V4L2_PIX_FMT_YUV420: return "I420:";
    case V4L2_PIX_FMT_YVU420: return "YV12:";
    case V4L2_PIX_FMT_YVU410: return "YVU9:";
    case V4L2_PIX_FMT_MJPEG: return "MJPG:";
    case V4L2_PIX_FMT_BGR24: return "RGB24:";
    case V4L2_PIX_FMT_RGB565: return "RGB565:";
    case V4L2_PIX_FMT_RGB555: return "RGB555:";
    default: return "UNKNOWTPYE:";
    }
}

std::vector<std::string> CapabilityList(const std::vector<PixelFormatInfo>& formats)
{
    bool anyOwn = false;
    for (const PixelFormatInfo& f : formats) anyOwn = anyOwn || !f.emulated;
    std::vector<std::string> list;
    for (const PixelFormatInfo& f : formats) {
        if (anyOwn && f.emulated) continue;
        std::string entry = FormatName(f.fourcc);
        for (const FrameSize& s : f.sizes) {
            char size[32];
            std::snprintf(size, sizeof size, "%d*%d ", s.width, s.height);
            entry += size;
        }
        list.push_back(std::move(entry));
    }
    return list;
}

std::vector<std::string> ListCapabilities(CVideoCapture& capture) { return CapabilityList(capture.Formats()); }

std::string CapabilityName(const std::string& entry) { return entry.substr(0, entry.find(':')); }

std::vector<std::string> CapabilitySizes(const std::string& entry)
{
    std::vector<std::string> sizes;
    const std::size_t colon = entry.find(':');
    if (colon == std::string::npos) return sizes;
    std::size_t at = colon + 1;
    while (at < entry.size()) {
        const std::size_t blank = entry.find(' ', at);
        const std::size_t end = blank == std::string::npos ? entry.size() : blank;
        if (end > at) sizes.push_back(entry.substr(at, end - at));
        at = end + 1;
    }
    return sizes;
}

FrameSize ParseRecordSize(const std::string& text)
{
    const FrameSize fallback{640, 480};
    const std::size_t star = text.find('*');
    if (star == std::string::npos || text.find('*', star + 1) != std::string::npos) return fallback;
    FrameSize size;
    const char* begin = text.data();
    const char* end = begin + text.size();
    const auto w = std::from_chars(begin, begin + star, size.width);
    const auto h = std::from_chars(begin + star + 1, end, size.height);
    if (w.ec != std::errc() || w.ptr != begin + star || h.ec != std::errc() || h.ptr != end || size.empty())
        return fallback;
    return size;
}

}  // namespace vestrel::recording
