#include "DeviceMonitor.h"

#include <libudev.h>

#include <cstring>

namespace vestrel {

DeviceMonitor::DeviceMonitor(std::string devNode, const std::string& source) : devNode_(std::move(devNode))
{
    udev_ = udev_new();
    if (!udev_) return;
    monitor_ = udev_monitor_new_from_netlink(udev_, source.c_str());
    if (monitor_ &&
        (udev_monitor_filter_add_match_subsystem_devtype(monitor_, "video4linux", nullptr) < 0 ||
         udev_monitor_enable_receiving(monitor_) < 0)) {
        udev_monitor_unref(monitor_);
        monitor_ = nullptr;
    }
}

DeviceMonitor::~DeviceMonitor()
{
    if (monitor_) udev_monitor_unref(monitor_);
    if (udev_) udev_unref(udev_);
}

int DeviceMonitor::fd() const { return monitor_ ? udev_monitor_get_fd(monitor_) : -1; }

bool DeviceMonitor::removalPending()
{
    if (!monitor_) return false;
    bool removed = false;
    // The monitor's socket is non-blocking: this drains what is queued and returns.
    while (udev_device* device = udev_monitor_receive_device(monitor_)) {
        const char* action = udev_device_get_action(device);
        const char* node = udev_device_get_devnode(device);
        if (action && node && std::strcmp(action, "remove") == 0 && !devNode_.empty() && devNode_ == node) removed = true;
        udev_device_unref(device);
    }
    return removed;
}

}  // namespace vestrel
