// Every decoder behind DecodeMemory: the first byte picks the type code (0 finds the
// format from the content), the second the frame, the rest is the file.
#include "CodecImage.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) return 0;
    const int type = data[0] % 16;
    const int frame = data[1] % 4;
    const std::vector<std::uint8_t> bytes(data + 2, data + size);
    (void)vestrel::codecs::DecodeMemory(bytes, type, frame);
    return 0;
}
