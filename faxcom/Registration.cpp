#include "Registration.h"

#include "Guid.h"
#include "wimbrel.h"

#include <filesystem>

namespace vestrel::faxcom {
namespace {

struct ClassRegistration {
    const CLSID* clsid;
    const char* versionIndependentProgId;
    const char* progId;
    const char* description;
};

constexpr ClassRegistration kClasses[] = {
    {&CLSID_FaxClientX, "Wimbrel.FaxClientX", "Wimbrel.FaxClientX.1", "FaxClientX Class"},
    {&CLSID_SendTask, "Wimbrel.SendTask", "Wimbrel.SendTask.1", "SendTask Class"},
    {&CLSID_ResultTask, "Wimbrel.ResultTask", "Wimbrel.ResultTask.1", "ResultTask Class"},
};

constexpr const char* kTypeLibraryHelp = "Wimbrel 1.0 Type Library";
constexpr const char* kTypeLibraryVersion = "1.0";

std::string Root(const std::string& below)
{
    return std::string(com::kClassesRoot) + "\\" + below;
}

std::string ClassKey(const ClassRegistration& c)
{
    return Root("CLSID\\" + com::FormatGuid(*c.clsid));
}

std::string TypeLibraryKey()
{
    return Root("TypeLib\\" + com::FormatGuid(LIBID_WIMBRELLib));
}

}  // namespace

void RemoveComponentKeys(com::RegistryFile& registry)
{
    for (const ClassRegistration& c : kClasses) {
        registry.RemoveTree(Root(c.progId));
        registry.RemoveTree(Root(c.versionIndependentProgId));
        registry.RemoveTree(ClassKey(c));
    }
    registry.RemoveTree(TypeLibraryKey());
}

void AddComponentKeys(com::RegistryFile& registry, const std::string& modulePath)
{
    RemoveComponentKeys(registry);
    const std::string libid = com::FormatGuid(LIBID_WIMBRELLib);
    for (const ClassRegistration& c : kClasses) {
        const std::string clsid = com::FormatGuid(*c.clsid);
        registry.SetKey(Root(c.progId), {{"", c.description}});
        registry.SetKey(Root(c.progId) + "\\CLSID", {{"", clsid}});
        registry.SetKey(Root(c.versionIndependentProgId), {{"", c.description}});
        registry.SetKey(Root(c.versionIndependentProgId) + "\\CLSID", {{"", clsid}});
        registry.SetKey(Root(c.versionIndependentProgId) + "\\CurVer", {{"", c.progId}});
        const std::string key = ClassKey(c);
        registry.SetKey(key, {{"", c.description}});
        registry.SetKey(key + "\\ProgID", {{"", c.progId}});
        registry.SetKey(key + "\\VersionIndependentProgID", {{"", c.versionIndependentProgId}});
        registry.SetKey(key + "\\InprocServer32", {{"", modulePath}, {"ThreadingModel", "Apartment"}});
        registry.SetKey(key + "\\Programmable", {});
        registry.SetKey(key + "\\TypeLib", {{"", libid}});
    }
    // The type description lives in the module itself.
    const std::string version = TypeLibraryKey() + "\\" + kTypeLibraryVersion;
    registry.SetKey(version, {{"", kTypeLibraryHelp}});
    registry.SetKey(version + "\\0\\linux64", {{"", modulePath}});
    registry.SetKey(version + "\\FLAGS", {{"", "0"}});
}

HRESULT RegisterComponent(const std::string& path, const std::string& modulePath, std::string& error)
{
    com::RegistryFile registry;
    if (!registry.Load(path, error))
        return SELFREG_E_CLASS;
    AddComponentKeys(registry, modulePath);
    return registry.Save(path, error) ? S_OK : SELFREG_E_CLASS;
}

HRESULT UnregisterComponent(const std::string& path, std::string& error)
{
    std::error_code ec;
    if (!std::filesystem::exists(path, ec))
        return S_OK;  // nothing registered, and no file to make
    com::RegistryFile registry;
    if (!registry.Load(path, error))
        return SELFREG_E_CLASS;
    RemoveComponentKeys(registry);
    return registry.Save(path, error) ? S_OK : SELFREG_E_CLASS;
}

}  // namespace vestrel::faxcom
