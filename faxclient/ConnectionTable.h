#pragma once
// The process-wide table of connections. A handle is an index into it; a new connection
// takes the lowest free entry or grows the table by one; entries live until the library
// is unloaded. Like the handles it hands out, the table has no lock: callers serialise
// opening, closing and using one handle.

#include <memory>
#include <vector>

#include "FaxConnection.h"

namespace vestrel::fax {

class ConnectionTable {
public:
    // The slot index of a free entry, marked reserved; -1 when no memory is left.
    int acquire();
    // The entry for a valid handle, else nullptr.
    FaxConnection* find(int handle);
    std::size_t size() const { return entries_.size(); }

    static ConnectionTable& instance();

private:
    std::vector<std::unique_ptr<FaxConnection>> entries_;
};

}  // namespace vestrel::fax
