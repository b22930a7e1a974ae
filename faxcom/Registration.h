#pragma once
// What the component writes to and removes from the registry file: for each class its
// ProgID, version-independent ProgID and CLSID keys, and the type library's key.

#include "RegistryFile.h"

#include <string>

namespace vestrel::faxcom {

// Replaces the component's keys in `registry`; `modulePath` is the absolute path of the
// component's module.
void AddComponentKeys(com::RegistryFile& registry, const std::string& modulePath);
// Removes the component's keys and nothing else.
void RemoveComponentKeys(com::RegistryFile& registry);

// Both on the registry file at `path`; S_OK, or SELFREG_E_CLASS when it cannot be read or
// written (`error` says why).
HRESULT RegisterComponent(const std::string& path, const std::string& modulePath, std::string& error);
HRESULT UnregisterComponent(const std::string& path, std::string& error);

}  // namespace vestrel::faxcom
