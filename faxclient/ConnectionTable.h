#pragma once
// The process-wide table of connections. A handle is an index into it; a new connection
// takes the lowest free entry or grows the table by one; entries live until the library
// is unloaded. Callers serialise opening, closing and using one handle; the table itself
// takes a short lock, because growing it moves the array while another thread may be
// looking up a different handle.

#include <memory>
#include <mutex>
#include <vector>

#include "FaxConnection.h"

namespace vestrel::fax {

class ConnectionTable {
public:
    // The slot index of a free entry, marked reserved; -1 when no memory is left.
    int acquire();
    // The entry for a valid handle, else nullptr.
    FaxConnection* find(int handle);

    static ConnectionTable& instance();

private:
    std::mutex mutex_;
    std::vector<std::unique_ptr<FaxConnection>> entries_;
};

}  // namespace vestrel::fax
