#include "ConnectionTable.h"

#include <new>

namespace vestrel::fax {

int ConnectionTable::acquire()
{
    std::lock_guard lock(mutex_);
    for (std::size_t i = 0; i < entries_.size(); ++i) {
        if (entries_[i]->state() == kSlotFree) {
            entries_[i]->reserve();
            return static_cast<int>(i);
        }
    }
    try {
        entries_.push_back(std::make_unique<FaxConnection>());
    } catch (const std::bad_alloc&) {
        return -1;
    }
    entries_.back()->reserve();
    return static_cast<int>(entries_.size() - 1);
}

FaxConnection* ConnectionTable::find(int handle)
{
    std::lock_guard lock(mutex_);
    if (handle < 0 || static_cast<std::size_t>(handle) >= entries_.size())
        return nullptr;
    return entries_[static_cast<std::size_t>(handle)].get();
}

ConnectionTable& ConnectionTable::instance()
{
    // Destroyed when the library unloads; each connection closes its socket and log then.
    static ConnectionTable table;
    return table;
}

}  // namespace vestrel::fax
