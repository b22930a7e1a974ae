#include "V4l2DeviceList.h"

#include <fcntl.h>
#include <linux/videodev2.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <fstream>
#include <string>
#include <system_error>

namespace vestrel {
namespace fs = std::filesystem;
namespace {

constexpr std::size_t kAttributeLimit = 256;  // sysfs attributes are short; never read more
constexpr int kMaxParentSteps = 16;

std::string readAttribute(const fs::path& file)
{
    std::ifstream in(file, std::ios::binary);
    if (!in) return {};
    std::string text(kAttributeLimit, '\0');
    in.read(text.data(), std::streamsize(text.size()));
    text.resize(std::size_t(in.gcount()));
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back()))) text.pop_back();
    return text;
}

bool isUsbId(const std::string& text)
{
    return text.size() == 4 &&
           std::all_of(text.begin(), text.end(), [](char c) { return std::isxdigit(static_cast<unsigned char>(c)); });
}

// Walks up from the node's device folder to the first folder that carries idVendor and
// idProduct: the USB device the camera's interface belongs to.
void readUsbIds(const fs::path& nodeFolder, const fs::path& sysfsRoot, CaptureDevice& device)
{
    std::error_code ec;
    const fs::path root = fs::weakly_canonical(sysfsRoot, ec);
    fs::path folder = fs::canonical(nodeFolder / "device", ec);
    if (ec) return;
    for (int step = 0; step < kMaxParentSteps && !folder.empty() && folder != root; ++step) {
        if (fs::exists(folder / "idVendor", ec) && fs::exists(folder / "idProduct", ec)) {
            const std::string vid = readAttribute(folder / "idVendor");
            const std::string pid = readAttribute(folder / "idProduct");
            if (isUsbId(vid) && isUsbId(pid)) {
                device.vendorId = vid;
                device.productId = pid;
            }
            return;
        }
        if (folder == folder.parent_path()) return;
        folder = folder.parent_path();
    }
}

// "video12" -> 12; -1 for anything else.
int nodeNumber(const std::string& name)
{
    if (name.size() <= 5 || name.compare(0, 5, "video") != 0) return -1;
    int n = 0;
    for (std::size_t i = 5; i < name.size(); ++i) {
        if (!std::isdigit(static_cast<unsigned char>(name[i])) || n > 100000) return -1;
        n = n * 10 + (name[i] - '0');
    }
    return n;
}

}  // namespace

std::optional<bool> IsVideoCaptureNode(const fs::path& path)
{
    const int fd = ::open(path.c_str(), O_RDWR | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return std::nullopt;
    v4l2_capability cap{};
    const int rc = ::ioctl(fd, VIDIOC_QUERYCAP, &cap);
    ::close(fd);
    if (rc < 0) return false;
    const std::uint32_t caps = (cap.capabilities & V4L2_CAP_DEVICE_CAPS) ? cap.device_caps : cap.capabilities;
    return (caps & V4L2_CAP_VIDEO_CAPTURE) != 0;
}

std::optional<std::vector<CaptureDevice>> ListV4l2Devices(const fs::path& sysfsRoot,
                                                          const fs::path& devRoot)
{
    std::error_code ec;
    if (!fs::is_directory(sysfsRoot, ec)) return std::nullopt;
    const fs::path classFolder = sysfsRoot / "class" / "video4linux";
    std::vector<std::pair<int, CaptureDevice>> found;
    if (!fs::is_directory(classFolder, ec)) return std::vector<CaptureDevice>{};  // no V4L2 at all

    for (const fs::directory_entry& entry : fs::directory_iterator(classFolder, ec)) {
        const std::string nodeName = entry.path().filename().string();
        const int number = nodeNumber(nodeName);
        if (number < 0) continue;
        const fs::path devNode = devRoot / nodeName;
        const std::optional<bool> capture = IsVideoCaptureNode(devNode);
        if (capture.has_value() && !*capture) continue;
        if (!capture.has_value()) {
            // Without the node (no permission, or a listing made for a test) the first
            // node of each device is taken for its capture node; UVC cameras add a second
            // node for metadata.
            const std::string index = readAttribute(entry.path() / "index");
            if (!index.empty() && index != "0") continue;
        }
        CaptureDevice device;
        device.name = readAttribute(entry.path() / "name");
        if (device.name.empty()) device.name = nodeName;
        device.location = devNode.string();
        readUsbIds(entry.path(), sysfsRoot, device);
        found.emplace_back(number, std::move(device));
    }
    std::sort(found.begin(), found.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    std::vector<CaptureDevice> devices;
    for (auto& [number, device] : found) devices.push_back(std::move(device));
    return devices;
}

}  // namespace vestrel
