// The exports of libwimbrel, and what happens when it is loaded and unloaded: the fax
// library, the document converter and the text converter are bound by their ordinals,
// and the document converter is started at load and closed at unload.

#include <dlfcn.h>

#include <filesystem>
#include <string>

#include "ClassFactory.h"
#include "ComObject.h"
#include "FaxLibraries.h"
#include "Registration.h"
#include "UserAlert.h"
#include "quendle.h"
#include "sorrelby.h"
#include "tamsin.h"
#include "wimbrel.h"

namespace vestrel::faxcom {
namespace {

template <typename Function>
bool Bind(Function& slot, void* proc)
{
    slot = reinterpret_cast<Function>(proc);
    return proc != nullptr;
}

template <typename Function>
bool BindQuendle(Function& slot, int ordinal)
{
    return Bind(slot, reinterpret_cast<void*>(quendle_proc_by_ordinal(ordinal)));
}

FaxLibraries bound;

bool BindLibraries()
{
    return BindQuendle(bound.OpenConnection, 1) && BindQuendle(bound.OpenConnectionEx, 2) &&
           BindQuendle(bound.SendFaxJobToServer, 5) && BindQuendle(bound.SendPHFaxJobToServer, 6) &&
           BindQuendle(bound.CancelSendJob, 8) && BindQuendle(bound.QueryResultForNewTasks, 9) &&
           BindQuendle(bound.PickResultTask, 10) && BindQuendle(bound.QueryResultTaskByJobNoTaskId, 12) &&
           BindQuendle(bound.CloseConnection, 24) && BindQuendle(bound.InitAdvancedJobInfo, 26) &&
           BindQuendle(bound.GetUserInfo, 27) && BindQuendle(bound.ModifyUserSetting, 28) &&
           Bind(bound.InitDoc2TifServer, sorrelby_proc_by_ordinal(1)) &&
           Bind(bound.PrintDoc2TifFile, sorrelby_proc_by_ordinal(2)) &&
           Bind(bound.CloseDoc2TifServer, sorrelby_proc_by_ordinal(3)) &&
           Bind(bound.Text2Tif, tamsin_proc_by_ordinal(1));
}

__attribute__((constructor)) void ComponentLoaded()
{
    if (!BindLibraries()) {
        fax::ShowUserAlert("libwimbrel: a function of libquendle, libsorrelby or libtamsin is missing\r\n");
        return;
    }
    SetLibraries(&bound);
    bound.InitDoc2TifServer();
}

__attribute__((destructor)) void ComponentUnloaded()
{
    if (Libraries() == nullptr)
        return;
    bound.CloseDoc2TifServer();
    SetLibraries(nullptr);
}

std::string ModulePath()
{
    Dl_info info{};
    if (::dladdr(reinterpret_cast<void*>(&ComponentLoaded), &info) == 0 || info.dli_fname == nullptr)
        return {};
    std::error_code ec;
    const auto path = std::filesystem::absolute(info.dli_fname, ec);
    return ec ? std::string(info.dli_fname) : path.lexically_normal().string();
}

}  // namespace
}  // namespace vestrel::faxcom

using namespace vestrel::faxcom;

extern "C" {

HRESULT DllGetClassObject(const CLSID* clsid, const IID* iid, void** out)
{
    return GetClassObject(clsid, iid, out);
}

HRESULT DllCanUnloadNow(void)
{
    return CanUnloadNow();
}

HRESULT DllRegisterServer(void)
{
    return vestrel::com::NoThrow([] {
        std::string error;
        const HRESULT hr = RegisterComponent(vestrel::com::RegistryFile::DefaultPath(), ModulePath(), error);
        if (FAILED(hr))
            vestrel::fax::ShowUserAlert("libwimbrel: " + error + "\r\n");
        return hr;
    });
}

HRESULT DllUnregisterServer(void)
{
    return vestrel::com::NoThrow([] {
        std::string error;
        const HRESULT hr = UnregisterComponent(vestrel::com::RegistryFile::DefaultPath(), error);
        if (FAILED(hr))
            vestrel::fax::ShowUserAlert("libwimbrel: " + error + "\r\n");
        return hr;
    });
}

}  // extern "C"
