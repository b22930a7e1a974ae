#include "ModuleCounts.h"

#include <atomic>

namespace vestrel::com {
namespace {

std::atomic<long> objects{0};
std::atomic<long> locks{0};

}  // namespace

void ObjectCreated() { ++objects; }
void ObjectDestroyed() { --objects; }
void LockModule() { ++locks; }

void UnlockModule()
{
    // An unbalanced unlock must not turn the count negative and unload a module in use.
    long current = locks.load();
    while (current > 0 && !locks.compare_exchange_weak(current, current - 1)) {
    }
}

long LiveObjects() { return objects.load(); }
long ModuleLocks() { return locks.load(); }

}  // namespace vestrel::com
