// Feeds arbitrary bytes to the reader of our clipboard payload, as another program may put
// them under our clipboard format, and takes what it accepts down the paths a pasted picture
// goes: merged into a picture, copied out with its selection masked, written out again.
//
// The payload's CRC would stop almost every mutation at the door, so when the first byte is
// odd the rest is taken as a payload whose CRC is made right first: that reaches the field
// checks, the planes and what the paste does with them.
#include "ClipboardPayload.h"
#include "DumpCrc.h"
#include "SelectionEdits.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace vestrel;
    std::vector<std::uint8_t> payload(data, data + size);
    if (size > 0 && (data[0] & 1)) {
        payload.erase(payload.begin());
        vestrel::fuzzing::FixDumpCrc(payload);
    }
    const std::unique_ptr<CxImage> pasted = selection::ReadOwnFormat(payload);
    if (!pasted) return 0;

    CxImage canvas(16, 12, 24);
    canvas.MixFrom(*pasted, -1, -1);
    canvas.MixFrom(*pasted, 15, 11);
    const std::optional<CxImage> part = selection::PictureOfSelection(*pasted, true);
    if (part && selection::NeedsOwnFormat(*part)) {
        const std::vector<std::uint8_t> again = selection::OwnFormatBytes(*part);
        if (!selection::ReadOwnFormat(again)) std::abort();
    }
    return 0;
}
