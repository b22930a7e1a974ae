#pragma once
// The V4L2 video capture devices of this machine, read from sysfs: each node's name and,
// for USB cameras, the vendor and product ids of the USB device above it.

#include "CaptureTypes.h"

#include <filesystem>
#include <optional>
#include <vector>

namespace vestrel {

// Capture nodes under sysfsRoot/class/video4linux, in the order of their node numbers
// (video0, video1, ..., video10). A node counts as a capture node when its device node
// under devRoot answers VIDIOC_QUERYCAP with video capture; when it cannot be opened,
// when sysfs calls it the device's first node (index 0). Nothing when sysfsRoot cannot be
// read at all.
std::optional<std::vector<CaptureDevice>> ListV4l2Devices(const std::filesystem::path& sysfsRoot,
                                                          const std::filesystem::path& devRoot);

// Whether the node at `path` is a video capture device; nothing when it cannot be opened.
std::optional<bool> IsVideoCaptureNode(const std::filesystem::path& path);

}  // namespace vestrel
