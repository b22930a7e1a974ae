#pragma once
// Plain values the capture layer hands to its callers: device table entries, frame sizes,
// the formats and controls a camera offers, and the stream states.

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace vestrel {

// One entry of the device table.
struct CaptureDevice {
    std::string name;       // friendly name, as the driver reports it
    std::string location;   // "/dev/video0", "virtual" or "file:PATH"
    std::string vendorId;   // four lower-case hex digits; empty for a device not on USB
    std::string productId;  // four lower-case hex digits; empty for a device not on USB
    bool operator==(const CaptureDevice&) const = default;
};

struct FrameSize {
    int width = 0;
    int height = 0;
    bool empty() const { return width <= 0 || height <= 0; }
    bool operator==(const FrameSize&) const = default;
};

// A pixel format the camera delivers, with the frame sizes it offers in it. Whatever the
// camera's own format, frames reach the program as 24-bit BGR.
struct PixelFormatInfo {
    std::uint32_t fourcc = 0;
    std::string description;
    bool emulated = false;         // made by the conversion library, not by the camera
    std::vector<FrameSize> sizes;  // empty when the camera takes any size
    bool operator==(const PixelFormatInfo&) const = default;
};

std::string FourccText(std::uint32_t fourcc);

// One adjustable camera setting (brightness, contrast, exposure, focus ...).
struct CameraControl {
    enum class Kind { Integer, Boolean, Menu, Button };
    std::uint32_t id = 0;
    std::string name;
    Kind kind = Kind::Integer;
    int minimum = 0;
    int maximum = 0;
    int step = 1;
    int defaultValue = 0;
    int value = 0;
    std::vector<std::pair<int, std::string>> menu;  // value and label, menu controls only
    bool operator==(const CameraControl&) const = default;
};

// The life of one capture object: nothing open; device open ("graph built"); format
// negotiated and buffers ready ("preview built"); then running, paused or stopped.
enum class StreamState { NoGraph, GraphBuilt, PreviewBuilt, Running, Paused, Stopped };

}  // namespace vestrel
