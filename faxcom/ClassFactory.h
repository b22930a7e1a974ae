#pragma once
// The component's class objects and its module-level answers, behind the exports.

#include "wimbrel.h"

#include <string>

namespace vestrel::faxcom {

// DllGetClassObject: the class factory of one of the three classes.
HRESULT GetClassObject(const CLSID* clsid, const IID* iid, void** out);
// DllCanUnloadNow: S_OK only when no object, handed-out factory or lock is alive.
HRESULT CanUnloadNow();

}  // namespace vestrel::faxcom
