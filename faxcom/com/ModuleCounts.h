#pragma once
// What keeps the component loaded: live objects (class factories handed out count too)
// and LockServer locks. DllCanUnloadNow answers from these.

namespace vestrel::com {

void ObjectCreated();
void ObjectDestroyed();
void LockModule();
void UnlockModule();
long LiveObjects();
long ModuleLocks();

}  // namespace vestrel::com
