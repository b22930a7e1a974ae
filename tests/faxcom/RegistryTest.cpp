// The registry file: registration writes the component's keys, keeps everything else, and
// unregistration removes only what registration wrote.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "Guid.h"
#include "Registration.h"
#include "RegistryFile.h"
#include "TempProgramDir.h"
#include "wimbrel.h"

namespace vestrel::faxcom {
namespace {

using com::RegistryFile;
using testkit::TempProgramDir;

constexpr const char* kForeign =
    "REGEDIT4\n"
    "\n"
    "[HKEY_CLASSES_ROOT\\Other.Thing]\n"
    "@=\"Other \\\"quoted\\\" thing\"\n"
    "\"Count\"=dword:00000003\n"
    "\n"
    "[HKEY_CLASSES_ROOT\\Wimbrel.FaxClientXtra]\n"
    "@=\"not ours, though the name starts like ours\"\n"
    "\n";

class RegistryTest : public ::testing::Test {
protected:
    std::string Path() const { return (folder.path() / "config" / "wimbrel" / "registry.reg").string(); }
    TempProgramDir folder;
};

TEST_F(RegistryTest, RegisterWritesEveryKeyOfTheThreeClassesAndTheTypeLibrary)
{
    std::string error;
    ASSERT_EQ(RegisterComponent(Path(), "/opt/vestrel/lib/libwimbrel.so", error), S_OK) << error;
    RegistryFile registry;
    ASSERT_TRUE(registry.Load(Path(), error));
    const std::string clsid = com::FormatGuid(CLSID_SendTask);
    const std::string root = "HKEY_CLASSES_ROOT\\";
    EXPECT_EQ(registry.Value(root + "Wimbrel.SendTask.1"), "SendTask Class");
    EXPECT_EQ(registry.Value(root + "Wimbrel.SendTask.1\\CLSID"), clsid);
    EXPECT_EQ(registry.Value(root + "Wimbrel.SendTask\\CurVer"), "Wimbrel.SendTask.1");
    EXPECT_EQ(registry.Value(root + "CLSID\\" + clsid), "SendTask Class");
    EXPECT_EQ(registry.Value(root + "CLSID\\" + clsid + "\\ProgID"), "Wimbrel.SendTask.1");
    EXPECT_EQ(registry.Value(root + "CLSID\\" + clsid + "\\VersionIndependentProgID"), "Wimbrel.SendTask");
    EXPECT_EQ(registry.Value(root + "CLSID\\" + clsid + "\\InprocServer32"), "/opt/vestrel/lib/libwimbrel.so");
    EXPECT_EQ(registry.Value(root + "CLSID\\" + clsid + "\\InprocServer32", "ThreadingModel"), "Apartment");
    EXPECT_NE(registry.Find(root + "CLSID\\" + clsid + "\\Programmable"), nullptr);
    EXPECT_EQ(registry.Value(root + "CLSID\\" + clsid + "\\TypeLib"), com::FormatGuid(LIBID_WIMBRELLib));
    EXPECT_EQ(registry.Value(root + "TypeLib\\" + com::FormatGuid(LIBID_WIMBRELLib) + "\\1.0"),
              "Wimbrel 1.0 Type Library");
    EXPECT_EQ(registry.Value(root + "CLSID\\" + com::FormatGuid(CLSID_FaxClientX)), "FaxClientX Class");
    EXPECT_EQ(registry.Value(root + "Wimbrel.ResultTask\\CLSID"), com::FormatGuid(CLSID_ResultTask));

    // Looked up as a client does: the version-independent name, then the versioned one.
    const auto server = com::FindInprocServer(registry, "wimbrel.resulttask");
    ASSERT_TRUE(server);
    EXPECT_TRUE(com::SameGuid(server->clsid, CLSID_ResultTask));
    EXPECT_EQ(server->modulePath, "/opt/vestrel/lib/libwimbrel.so");
    EXPECT_FALSE(com::FindInprocServer(registry, "Wimbrel.Nothing"));
}

TEST_F(RegistryTest, ForeignSectionsSurviveRegisterAndUnregisterUnchanged)
{
    std::filesystem::create_directories(std::filesystem::path(Path()).parent_path());
    folder.writeFile("config/wimbrel/registry.reg", kForeign);
    std::string error;
    ASSERT_EQ(RegisterComponent(Path(), "/a/libwimbrel.so", error), S_OK);
    // Registering again replaces our keys instead of adding a second set.
    ASSERT_EQ(RegisterComponent(Path(), "/b/libwimbrel.so", error), S_OK);
    RegistryFile registry;
    ASSERT_TRUE(registry.Load(Path(), error));
    int inproc = 0;
    for (const auto& key : registry.keys())
        inproc += key.path.ends_with("\\InprocServer32") ? 1 : 0;
    EXPECT_EQ(inproc, 3);
    EXPECT_EQ(com::FindInprocServer(registry, "Wimbrel.FaxClientX")->modulePath, "/b/libwimbrel.so");
    EXPECT_EQ(registry.Value("HKEY_CLASSES_ROOT\\Other.Thing"), "Other \"quoted\" thing");
    EXPECT_EQ(registry.Value("HKEY_CLASSES_ROOT\\Other.Thing", "Count"), "dword:00000003");

    ASSERT_EQ(UnregisterComponent(Path(), error), S_OK);
    EXPECT_EQ(TempProgramDir::readFile(Path()), kForeign) << "only our sections went, byte for byte";
}

TEST_F(RegistryTest, UnregisterWithoutAFileMakesNone)
{
    std::string error;
    EXPECT_EQ(UnregisterComponent(Path(), error), S_OK);
    EXPECT_FALSE(std::filesystem::exists(Path()));
}

TEST_F(RegistryTest, AFileThatCannotBeWrittenIsReportedNotHalfWritten)
{
    folder.writeFile("blocked", "a file where the folder should be");
    std::string error;
    EXPECT_EQ(RegisterComponent((folder.path() / "blocked" / "registry.reg").string(), "/x.so", error),
              SELFREG_E_CLASS);
    EXPECT_FALSE(error.empty());
}

TEST_F(RegistryTest, TheFileIsFoundThroughTheEnvironment)
{
    const char* saved[] = {std::getenv("WIMBREL_REGISTRY"), std::getenv("XDG_CONFIG_HOME"), std::getenv("HOME")};
    const std::string keep[] = {saved[0] ? saved[0] : "", saved[1] ? saved[1] : "", saved[2] ? saved[2] : ""};
    ::setenv("WIMBREL_REGISTRY", "/r/explicit.reg", 1);
    ::setenv("XDG_CONFIG_HOME", "/xdg", 1);
    EXPECT_EQ(RegistryFile::DefaultPath(), "/r/explicit.reg");
    ::unsetenv("WIMBREL_REGISTRY");
    EXPECT_EQ(RegistryFile::DefaultPath(), "/xdg/wimbrel/registry.reg");
    ::unsetenv("XDG_CONFIG_HOME");
    ::setenv("HOME", "/home/u", 1);
    EXPECT_EQ(RegistryFile::DefaultPath(), "/home/u/.config/wimbrel/registry.reg");
    const char* names[] = {"WIMBREL_REGISTRY", "XDG_CONFIG_HOME", "HOME"};
    for (int i = 0; i < 3; ++i) {
        if (saved[i] != nullptr)
            ::setenv(names[i], keep[i].c_str(), 1);
        else
            ::unsetenv(names[i]);
    }
}

}  // namespace
}  // namespace vestrel::faxcom
