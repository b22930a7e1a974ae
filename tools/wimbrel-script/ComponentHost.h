#pragma once
// Finds components in the registry file by ProgID, loads their modules and makes objects
// through their class factories, asking each for IDispatch.

#include "comabi.h"

#include <map>
#include <memory>
#include <string>

namespace vestrel::wimbrelscript {

struct Module {
    void* handle = nullptr;
    std::string path;
    DllGetClassObjectFn getClassObject = nullptr;
    DllCanUnloadNowFn canUnloadNow = nullptr;
    SysAllocStringLenFn allocStringLen = nullptr;
    SysFreeStringFn freeString = nullptr;
};

class ComponentHost {
public:
    explicit ComponentHost(std::string registryPath);
    ~ComponentHost();  // unloads every module that says it can go
    ComponentHost(const ComponentHost&) = delete;
    ComponentHost& operator=(const ComponentHost&) = delete;

    // A module by path (loaded once); nullptr with `error` when it cannot be loaded or
    // lacks the component exports.
    Module* Load(const std::string& path, std::string& error);
    // A new object of the class the ProgID names, as IDispatch (one reference, the
    // caller's); `module` is the module it lives in.
    HRESULT Create(const std::string& progId, IDispatch*& object, Module*& module, std::string& error);
    // Calls the module's DllRegisterServer or DllUnregisterServer.
    HRESULT Register(const std::string& modulePath, bool unregister, std::string& error);

private:
    std::string registryPath_;
    std::map<std::string, std::unique_ptr<Module>> modules_;
};

}  // namespace vestrel::wimbrelscript
