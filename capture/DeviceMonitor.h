#pragma once
// Watches udev for the removal of one video4linux device node. The capture thread polls
// fd() beside the device itself, so the removal ends the stream even when the driver
// keeps the node readable for a while. Without a node it watches the whole category: the
// main window's registration for the capture devices' events.

#include <string>

struct udev;
struct udev_monitor;

namespace vestrel {

class DeviceMonitor {
public:
    // `source` is udev's netlink source: "udev" (events udev has processed) or "kernel";
    // any other name fails as a machine without udev would.
    explicit DeviceMonitor(std::string devNode, const std::string& source = "udev");
    ~DeviceMonitor();
    DeviceMonitor(const DeviceMonitor&) = delete;
    DeviceMonitor& operator=(const DeviceMonitor&) = delete;

    // False when udev could not be reached (no netlink socket in this sandbox, ...).
    bool ok() const { return monitor_ != nullptr; }
    int fd() const;
    // Reads the pending events; true when one of them removed the watched node.
    bool removalPending();

private:
    std::string devNode_;
    udev* udev_ = nullptr;
    udev_monitor* monitor_ = nullptr;
};

}  // namespace vestrel
