// Feeds arbitrary bytes to the two readers of clipboard data: the serialised image and the
// device-independent bitmap. Whatever they accept is dumped and read back again, so the
// writer sees every state the readers can produce.
//
// The dump's CRC would stop almost every mutation at the door, so when the first byte is
// odd the rest is taken as a dump whose CRC is made right first: that reaches the field
// checks and the plane reading behind it.
#include "CxImage.h"
#include "DumpCrc.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    vestrel::CxImage image;
    bool accepted = false;
    if (size > 0 && (data[0] & 1)) {
        std::vector<std::uint8_t> dump(data + 1, data + size);
        vestrel::fuzzing::FixDumpCrc(dump);
        accepted = image.UnDump(dump.data(), dump.size()) != 0;
    } else {
        accepted = image.UnDump(data, size) != 0 || image.CreateFromHANDLE(data, size);
    }
    if (accepted) {
        const std::vector<std::uint8_t> again = image.Dump();
        vestrel::CxImage copy;
        if (copy.UnDump(again.data(), again.size()) != again.size()) std::abort();
        const std::vector<std::uint8_t> dib = image.CopyToHandle();
        if (!copy.CreateFromHANDLE(dib.data(), dib.size())) std::abort();
    }
    return 0;
}
