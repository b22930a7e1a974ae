// The component's process-wide state, shared by every FaxClientX object.

#include "FaxLibraries.h"

#include <atomic>

namespace vestrel::faxcom {
namespace {

std::atomic<const FaxLibraries*> bound{nullptr};
std::atomic<int> current{-1};

}  // namespace

const FaxLibraries* Libraries() { return bound.load(); }
void SetLibraries(const FaxLibraries* libraries) { bound.store(libraries); }
int CurrentConnection() { return current.load(); }
void SetCurrentConnection(int handle) { current.store(handle); }

}  // namespace vestrel::faxcom
