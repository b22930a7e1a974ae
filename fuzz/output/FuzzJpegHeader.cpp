// The JPEG header reader sees any file the user adds to a PDF.
#include "JpegHeader.h"

#include <cstdint>
#include <cstdio>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    std::FILE* file = fmemopen(const_cast<std::uint8_t*>(data), size, "rb");
    if (!file)
        return 0;
    if (vestrel::pdf::looksLikeJpeg(file)) {
        const auto header = vestrel::pdf::readJpegHeader(file);
        if (header && (header->width <= 0 || header->height <= 0))
            __builtin_trap();
    }
    std::fclose(file);
    return 0;
}
