#include "ComponentHost.h"

#include "Guid.h"
#include "RegistryFile.h"

#include <dlfcn.h>

namespace vestrel::wimbrelscript {
namespace {

template <typename Function>
Function Symbol(void* handle, const char* name)
{
    return reinterpret_cast<Function>(::dlsym(handle, name));
}

}  // namespace

ComponentHost::ComponentHost(std::string registryPath) : registryPath_(std::move(registryPath)) {}

ComponentHost::~ComponentHost()
{
    for (auto& [path, module] : modules_) {
        if (module->canUnloadNow() == S_OK)
            ::dlclose(module->handle);
    }
}

Module* ComponentHost::Load(const std::string& path, std::string& error)
{
    if (auto found = modules_.find(path); found != modules_.end())
        return found->second.get();
    void* handle = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr) {
        const char* why = ::dlerror();
        error = "cannot load " + path + ": " + (why != nullptr ? why : "unknown error");
        return nullptr;
    }
    auto module = std::make_unique<Module>();
    module->handle = handle;
    module->path = path;
    module->getClassObject = Symbol<DllGetClassObjectFn>(handle, "DllGetClassObject");
    module->canUnloadNow = Symbol<DllCanUnloadNowFn>(handle, "DllCanUnloadNow");
    module->allocStringLen = Symbol<SysAllocStringLenFn>(handle, "SysAllocStringLen");
    module->freeString = Symbol<SysFreeStringFn>(handle, "SysFreeString");
    if (module->getClassObject == nullptr || module->canUnloadNow == nullptr || module->allocStringLen == nullptr ||
        module->freeString == nullptr) {
        ::dlclose(handle);
        error = path + " is not a component module (DllGetClassObject, DllCanUnloadNow or the string functions are missing)";
        return nullptr;
    }
    Module* loaded = module.get();
    modules_.emplace(path, std::move(module));
    return loaded;
}

HRESULT ComponentHost::Create(const std::string& progId, IDispatch*& object, Module*& module, std::string& error)
{
    object = nullptr;
    com::RegistryFile registry;
    if (!registry.Load(registryPath_, error))
        return E_FAIL;
    const auto server = com::FindInprocServer(registry, progId);
    if (!server) {
        error = "no class is registered as " + progId + " in " + registryPath_;
        return CLASS_E_CLASSNOTAVAILABLE;
    }
    module = Load(server->modulePath, error);
    if (module == nullptr)
        return E_FAIL;
    void* factoryPointer = nullptr;
    HRESULT hr = module->getClassObject(&server->clsid, &IID_IClassFactory, &factoryPointer);
    if (FAILED(hr)) {
        error = server->modulePath + " has no class " + com::FormatGuid(server->clsid);
        return hr;
    }
    auto* factory = static_cast<IClassFactory*>(factoryPointer);
    void* instance = nullptr;
    hr = factory->lpVtbl->CreateInstance(factory, nullptr, &IID_IDispatch, &instance);
    factory->lpVtbl->Release(factory);
    if (FAILED(hr)) {
        error = "the class of " + progId + " made no object";
        return hr;
    }
    object = static_cast<IDispatch*>(instance);
    return S_OK;
}

HRESULT ComponentHost::Register(const std::string& modulePath, bool unregister, std::string& error)
{
    Module* module = Load(modulePath, error);
    if (module == nullptr)
        return E_FAIL;
    const char* name = unregister ? "DllUnregisterServer" : "DllRegisterServer";
    auto entry = Symbol<DllRegisterServerFn>(module->handle, name);
    if (entry == nullptr) {
        error = modulePath + " has no " + name;
        return E_FAIL;
    }
    return entry();
}

}  // namespace vestrel::wimbrelscript
