// One decoder of ours, fed whatever libFuzzer makes up. FUZZ_FILE_TYPE is the type code.
#include "CodecImage.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::vector<std::uint8_t> bytes(data, data + size);
    (void)vestrel::codecs::DecodeMemory(bytes, FUZZ_FILE_TYPE, 0);
    return 0;
}
