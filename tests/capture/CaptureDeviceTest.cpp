// The device table: V4L2 nodes listed from a sysfs tree the test builds (names, USB ids,
// order, metadata nodes left out), the virtual camera after them, and the messages of an
// empty or unreadable listing.

#include "CVideoCapture.h"
#include "CaptureMessages.h"
#include "ScriptedPrompter.h"
#include "TempProgramDir.h"
#include "V4l2DeviceList.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace vestrel {
namespace {

namespace fs = std::filesystem;
using testkit::ScriptedPrompter;

class FakeSysfs : public testkit::ProgramDirTest {
protected:
    fs::path root() const { return programDir / "sys"; }
    fs::path devRoot() const { return programDir / "dev"; }  // no nodes: nothing to open

    // A USB camera interface at devices/usbN/N-1/N-1:1.0 with its video node.
    void addUsbCamera(int node, const std::string& name, const std::string& vid, const std::string& pid,
                      int usbBus, const std::string& index = "0")
    {
        const std::string bus = std::to_string(usbBus);
        const fs::path usbDevice = root() / "devices/pci0000:00/0000:00:14.0" / ("usb" + bus) / (bus + "-1");
        const fs::path iface = usbDevice / (bus + "-1:1.0");
        fs::create_directories(iface);
        programDir.writeFile(fs::relative(usbDevice / "idVendor", programDir.path()).string(), vid + "\n");
        programDir.writeFile(fs::relative(usbDevice / "idProduct", programDir.path()).string(), pid + "\n");
        addNode(node, name, index, iface);
    }

    void addNode(int node, const std::string& name, const std::string& index, const fs::path& deviceFolder)
    {
        const fs::path nodeFolder = root() / "class/video4linux" / ("video" + std::to_string(node));
        fs::create_directories(nodeFolder);
        programDir.writeFile(fs::relative(nodeFolder / "name", programDir.path()).string(), name + "\n");
        programDir.writeFile(fs::relative(nodeFolder / "index", programDir.path()).string(), index + "\n");
        fs::create_directory_symlink(fs::relative(deviceFolder, nodeFolder), nodeFolder / "device");
    }

    CaptureOptions options(const std::string& spec = "") const
    {
        return {root(), devRoot(), spec, false};
    }
};

TEST_F(FakeSysfs, ListsCaptureNodesInNodeOrderWithTheirUsbIds)
{
    addUsbCamera(10, "Document Camera", "18ec", "3299", 1);
    addUsbCamera(2, "HD Webcam", "046d", "0825", 2);
    addUsbCamera(3, "HD Webcam", "046d", "0825", 2, "1");  // the same camera's metadata node
    const fs::path platform = root() / "devices/platform/vivid.0";
    fs::create_directories(platform);
    addNode(0, "vivid", "0", platform);  // not on USB: no ids

    const auto devices = ListV4l2Devices(root(), devRoot());
    ASSERT_TRUE(devices.has_value());
    ASSERT_EQ(devices->size(), 3u);
    EXPECT_EQ((*devices)[0], (CaptureDevice{"vivid", (devRoot() / "video0").string(), "", ""}));
    EXPECT_EQ((*devices)[1], (CaptureDevice{"HD Webcam", (devRoot() / "video2").string(), "046d", "0825"}));
    EXPECT_EQ((*devices)[2], (CaptureDevice{"Document Camera", (devRoot() / "video10").string(), "18ec", "3299"}));
}

TEST_F(FakeSysfs, NodesThatAnswerAreAskedWhetherTheyCapture)
{
    // A node that opens but is no video device (here a plain file) is left out even
    // though sysfs calls it the first node; one with malformed ids keeps no ids.
    addUsbCamera(0, "Not a camera", "1bcf", "2c99", 1);
    addUsbCamera(1, "Odd ids", "zz12", "2c99", 2);
    programDir.writeFile("dev/video0", "");
    const auto devices = ListV4l2Devices(root(), devRoot());
    ASSERT_TRUE(devices.has_value());
    ASSERT_EQ(devices->size(), 1u);
    EXPECT_EQ((*devices)[0].name, "Odd ids");
    EXPECT_EQ((*devices)[0].vendorId, "");
    EXPECT_EQ((*devices)[0].productId, "");
    EXPECT_EQ(IsVideoCaptureNode(devRoot() / "video0"), std::optional<bool>(false));
    EXPECT_EQ(IsVideoCaptureNode(devRoot() / "video9"), std::nullopt);
}

TEST_F(FakeSysfs, OpeningANodeThatIsNoCaptureDeviceFailsWithItsMessage)
{
    addUsbCamera(1, "Looks like a camera", "1bcf", "2c99", 1);
    ScriptedPrompter prompter;
    CVideoCapture capture(prompter, options());
    ASSERT_TRUE(capture.EnumerateDevices());
    ASSERT_TRUE(capture.SelectDevice(0));
    programDir.writeFile("dev/video1", "");  // appears after the listing, and is no camera
    EXPECT_FALSE(capture.BuildGraph());
    EXPECT_EQ(prompter.texts(), std::vector<std::string>{capturemsg::kAddDeviceFailed});
    EXPECT_EQ(capture.State(), StreamState::NoGraph);
}

TEST_F(FakeSysfs, VirtualCameraComesAfterTheRealOnesAndTheTableStopsAtFifteen)
{
    for (int i = 0; i < 16; ++i) addUsbCamera(i, "Cam " + std::to_string(i), "abcd", "0001", 1 + i);
    ScriptedPrompter prompter;
    CVideoCapture full(prompter, options("virtual"));
    ASSERT_TRUE(full.EnumerateDevices());
    ASSERT_EQ(full.Devices().size(), 15u);
    EXPECT_EQ(full.Devices().back().name, "Cam 14");

    fs::remove_all(root() / "class/video4linux/video15");
    for (int i = 1; i < 15; ++i) fs::remove_all(root() / "class/video4linux" / ("video" + std::to_string(i)));
    CVideoCapture some(prompter, options("virtual"));
    ASSERT_TRUE(some.EnumerateDevices());
    ASSERT_EQ(some.Devices().size(), 2u);
    EXPECT_EQ(some.Devices()[0].name, "Cam 0");
    EXPECT_EQ(some.Devices()[1].location, "virtual");
    EXPECT_TRUE(prompter.shown().empty());
}

TEST_F(FakeSysfs, EmptyOrUnreadableListingShowsItsMessage)
{
    fs::create_directories(root() / "class/video4linux");
    ScriptedPrompter prompter;
    CVideoCapture none(prompter, options());
    EXPECT_FALSE(none.EnumerateDevices());
    EXPECT_EQ(prompter.texts(), std::vector<std::string>{capturemsg::kNoCaptureDevice});

    prompter.clear();
    CVideoCapture noSysfs(prompter, {programDir / "missing", devRoot(), "", false});
    EXPECT_FALSE(noSysfs.EnumerateDevices());
    EXPECT_EQ(prompter.texts(), std::vector<std::string>{capturemsg::kEnumeratorFailed});

    // The virtual camera needs no sysfs.
    prompter.clear();
    CVideoCapture virtualOnly(prompter, {programDir / "missing", devRoot(), "virtual", false});
    EXPECT_TRUE(virtualOnly.EnumerateDevices());
    EXPECT_TRUE(prompter.shown().empty());
}

TEST_F(FakeSysfs, SelectingDevicesByIndexAndByUsbId)
{
    addUsbCamera(0, "Main camera", "1bcf", "2c99", 1);
    addUsbCamera(1, "Second camera", "18ec", "3299", 2);
    ScriptedPrompter prompter;
    CVideoCapture capture(prompter, options());
    ASSERT_TRUE(capture.EnumerateDevices());

    EXPECT_FALSE(capture.SelectDevice(5)) << "an empty entry";
    EXPECT_TRUE(capture.SelectDevice(0));
    EXPECT_FALSE(capture.SelectDevice(0)) << "already current";
    EXPECT_EQ(capture.VendorId(), "1bcf");

    EXPECT_TRUE(capture.SelectDeviceByUsbId("18ec", "3299"));
    EXPECT_EQ(capture.CurrentDevice(), 1);
    EXPECT_EQ(capture.ProductId(), "3299");

    // Ids are compared as they stand: upper case does not match; no message either, the
    // caller shows its own.
    EXPECT_FALSE(capture.SelectDeviceByUsbId("18EC", "3299"));
    EXPECT_FALSE(capture.SelectDeviceByUsbId("dead", "beef"));
    EXPECT_EQ(capture.CurrentDevice(), 1);
    EXPECT_TRUE(prompter.shown().empty());
}

TEST_F(FakeSysfs, OpeningAListedNodeThatIsNotThereFailsWithTheBindMessage)
{
    addUsbCamera(0, "Gone camera", "1bcf", "2c99", 1);
    ScriptedPrompter prompter;
    CVideoCapture capture(prompter, options());
    ASSERT_TRUE(capture.EnumerateDevices());
    EXPECT_FALSE(capture.BuildGraph()) << "no device selected yet";
    EXPECT_EQ(prompter.texts(), std::vector<std::string>{capturemsg::kNoDevice});
    prompter.clear();
    ASSERT_TRUE(capture.SelectDevice(0));
    EXPECT_FALSE(capture.BuildGraph());
    EXPECT_EQ(prompter.texts(), std::vector<std::string>{capturemsg::kBindFailed});
    EXPECT_EQ(capture.State(), StreamState::NoGraph);
}

TEST(CameraSpec, TheEnvironmentNamesTheCameraOrNothing)
{
    ::setenv("VESTREL_CAMERA", "virtual", 1);
    EXPECT_EQ(CameraSpecFromEnvironment(), "virtual");
    ::unsetenv("VESTREL_CAMERA");
    EXPECT_EQ(CameraSpecFromEnvironment(), "");
}

}  // namespace
}  // namespace vestrel
