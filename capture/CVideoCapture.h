#pragma once
// CVideoCapture: one camera. It keeps the device table, opens the chosen device, runs
// its stream on a capture thread of its own that feeds the frame grabber, and reports
// the loss of the device. Every failure shows its message through the Prompter and the
// operation returns false; the object then keeps its previous state.
//
// Devices: the V4L2 capture nodes (name and USB ids from sysfs), then, when a camera spec
// is given (--camera SPEC or VESTREL_CAMERA), the virtual camera: "virtual" draws a desk
// with a page and an ID card, "file:PATH" serves an image file or a folder's images in turn.
//
// Threads: everything here is called on the UI thread, except that the grabber's frame
// callback and the device-lost handler run on the capture thread.

#include "CaptureTypes.h"
#include "FrameGrabber.h"

#include <atomic>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace vestrel {

class CaptureSource;
class Prompter;

inline constexpr int kMaxDevices = 15;        // size of the device table
inline constexpr int kUsbSearchDevices = 10;  // entries SelectDeviceByUsbId tries

struct CaptureOptions {
    std::filesystem::path sysfsRoot = "/sys";  // where video4linux devices are listed
    std::filesystem::path devRoot = "/dev";    // where their nodes live
    std::string cameraSpec;                    // "", "virtual" or "file:PATH"
    bool watchDeviceRemoval = true;            // udev monitors: device events, the open device's removal
    std::string deviceEventSource = "udev";    // udev's netlink source of the window's device events
};

// The camera spec of $VESTREL_CAMERA, empty when it is not set: what a program uses when its
// command line names no camera (--camera is read with the rest of each command line).
std::string CameraSpecFromEnvironment();
// The camera spec a command line named, else that of $VESTREL_CAMERA.
std::string CameraSpecOrEnvironment(const std::optional<std::string>& named);

class CVideoCapture {
public:
    explicit CVideoCapture(Prompter& prompter, CaptureOptions options = {});
    ~CVideoCapture();
    CVideoCapture(const CVideoCapture&) = delete;
    CVideoCapture& operator=(const CVideoCapture&) = delete;

    // Device table
    bool EnumerateDevices();
    const std::vector<CaptureDevice>& Devices() const { return devices_; }
    // Makes entry `index` the current device; fails when the entry is empty or already
    // current. Takes effect with the next BuildGraph.
    bool SelectDevice(int index);
    // Tries entries 0..9 in turn and keeps the first whose ids equal `vid` and `pid`
    // (compared as they stand). Shows nothing on failure: the caller says
    // capturemsg::kNoSecondCamera where that is the right text.
    bool SelectDeviceByUsbId(const std::string& vid, const std::string& pid);
    int CurrentDevice() const { return current_; }
    std::string VendorId() const;
    std::string ProductId() const;

    // Stream lifecycle
    bool BuildGraph();     // open the current device
    bool BuildPreview();   // negotiate BGR frames and prepare the buffers
    bool Run();            // start the capture thread
    bool Pause();          // stop delivery; the last frames stay readable
    bool Stop();
    bool ShowPreview(bool on);  // run (on) or pause (off); the window follows Visible()
    bool RestartPreview();      // stop, tear down, build the preview, run
    void TearDownDownstream();  // stop and release the stream's buffers
    void ReleaseGraph();        // close the device
    StreamState State() const { return state_; }
    bool Visible() const { return visible_; }

    // Formats
    // Switches to width x height and runs the preview again; fails when the device refuses
    // the size or offers only a nearby one, and the preview then runs on at the size the
    // camera had.
    bool SetFrameSize(int width, int height);
    // The same switch without building or running the preview afterwards (the format
    // pages decide what follows).
    bool ApplyFrameSize(int width, int height);
    bool SetRgb24();
    bool ReadFrameSize();                        // into FormatSize()
    FrameSize FormatSize() const { return formatSize_; }
    std::vector<PixelFormatInfo> Formats();      // empty without an open device
    std::vector<CameraControl> Controls();       // empty without an open device
    bool SetControl(std::uint32_t id, int value);
    // Before the property or format pages open: shows capturemsg::kVideoDeviceMissing and
    // fails when no device is open.
    bool CheckDevicePresent();

    // Second camera: its window starts kSecondCameraTopOffset lower, and its frames pass
    // through unchanged.
    void SetTopOffset(bool on) { topOffset_ = on; }
    bool TopOffset() const { return topOffset_; }

    CFrameGrabber& Grabber() { return grabber_; }
    const CFrameGrabber& Grabber() const { return grabber_; }

    // Called once on the capture thread when the open device disappears (a read failing
    // with ENODEV, or udev removing the device node); the stream has then ended. The
    // owner posts it to its own thread and acts there.
    void SetDeviceLostHandler(std::function<void()> handler);
    // Whether the open device has been lost; cleared by the next BuildGraph.
    bool DeviceLost() const { return deviceLost_; }

private:
    bool openDevice(const CaptureDevice& device);
    void stopThread();
    void captureLoop();
    bool openPreview(bool showFailures);
    void fail(const char* message) const;

    Prompter& prompter_;
    CaptureOptions options_;
    std::vector<CaptureDevice> devices_;
    int current_ = -1;
    std::string vendorId_;
    std::string productId_;

    std::unique_ptr<CaptureSource> source_;
    StreamState state_ = StreamState::NoGraph;
    bool visible_ = false;
    bool topOffset_ = false;
    FrameSize formatSize_;
    CFrameGrabber grabber_;

    std::thread thread_;
    std::atomic<bool> stopRequested_{false};
    std::atomic<bool> deviceLost_{false};
    std::mutex handlerMutex_;
    std::function<void()> deviceLostHandler_;
};

}  // namespace vestrel
