#include "G4Encoder.h"

#include <tiffio.h>

#include <algorithm>
#include <cstring>

namespace vestrel::pdf {
namespace {

// libtiff writes into and reads back from memory through these client procedures, so no
// scratch file is needed.
struct MemoryTiff {
    std::vector<std::uint8_t> data;
    toff_t position = 0;
};

tmsize_t readProc(thandle_t handle, void* buffer, tmsize_t size)
{
    auto* memory = static_cast<MemoryTiff*>(handle);
    if (size < 0 || memory->position >= memory->data.size())
        return 0;
    const auto count = std::min<toff_t>(toff_t(size), memory->data.size() - memory->position);
    std::memcpy(buffer, memory->data.data() + memory->position, count);
    memory->position += count;
    return tmsize_t(count);
}

tmsize_t writeProc(thandle_t handle, void* buffer, tmsize_t size)
{
    auto* memory = static_cast<MemoryTiff*>(handle);
    if (size < 0)
        return -1;
    const toff_t end = memory->position + toff_t(size);
    if (end > memory->data.size())
        memory->data.resize(end);
    std::memcpy(memory->data.data() + memory->position, buffer, std::size_t(size));
    memory->position = end;
    return size;
}

toff_t seekProc(thandle_t handle, toff_t offset, int whence)
{
    auto* memory = static_cast<MemoryTiff*>(handle);
    toff_t base = 0;
    if (whence == SEEK_CUR)
        base = memory->position;
    else if (whence == SEEK_END)
        base = memory->data.size();
    memory->position = base + offset;
    return memory->position;
}

int closeProc(thandle_t)
{
    return 0;
}

toff_t sizeProc(thandle_t handle)
{
    return static_cast<MemoryTiff*>(handle)->data.size();
}

int mapProc(thandle_t, void**, toff_t*)
{
    return 0;
}

void unmapProc(thandle_t, void*, toff_t) {}

TIFF* openMemory(MemoryTiff& memory, const char* mode)
{
    return TIFFClientOpen("g4", mode, &memory, readProc, writeProc, seekProc, closeProc,
                          sizeProc, mapProc, unmapProc);
}

}  // namespace

std::optional<std::vector<std::uint8_t>> encodeG4(const cv::Mat& black)
{
    if (black.empty() || black.type() != CV_8UC1)
        return std::nullopt;
    // libtiff reports through global handlers; a failure shows in the return values.
    TIFFSetErrorHandler(nullptr);
    TIFFSetWarningHandler(nullptr);
    MemoryTiff memory;
    TIFF* tiff = openMemory(memory, "w");
    if (!tiff)
        return std::nullopt;
    TIFFSetField(tiff, TIFFTAG_IMAGEWIDTH, std::uint32_t(black.cols));
    TIFFSetField(tiff, TIFFTAG_IMAGELENGTH, std::uint32_t(black.rows));
    TIFFSetField(tiff, TIFFTAG_BITSPERSAMPLE, 1);
    TIFFSetField(tiff, TIFFTAG_SAMPLESPERPIXEL, 1);
    TIFFSetField(tiff, TIFFTAG_COMPRESSION, COMPRESSION_CCITTFAX4);
    TIFFSetField(tiff, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_MINISWHITE);
    TIFFSetField(tiff, TIFFTAG_FILLORDER, FILLORDER_MSB2LSB);
    TIFFSetField(tiff, TIFFTAG_ROWSPERSTRIP, std::uint32_t(black.rows));
    std::vector<std::uint8_t> row(std::size_t(black.cols + 7) / 8);
    bool written = true;
    for (int y = 0; y < black.rows && written; ++y) {
        std::fill(row.begin(), row.end(), 0);
        const std::uint8_t* pixels = black.ptr<std::uint8_t>(y);
        for (int x = 0; x < black.cols; ++x)
            if (pixels[x])
                row[std::size_t(x) >> 3] |= std::uint8_t(0x80 >> (x & 7));
        written = TIFFWriteScanline(tiff, row.data(), std::uint32_t(y), 0) == 1;
    }
    TIFFClose(tiff);
    if (!written)
        return std::nullopt;

    memory.position = 0;
    tiff = openMemory(memory, "r");
    if (!tiff)
        return std::nullopt;
    std::optional<std::vector<std::uint8_t>> result;
    uint64_t* counts = nullptr;
    if (TIFFNumberOfStrips(tiff) == 1 && TIFFGetField(tiff, TIFFTAG_STRIPBYTECOUNTS, &counts) &&
        counts && counts[0] > 0 && counts[0] <= memory.data.size()) {
        std::vector<std::uint8_t> strip(static_cast<std::size_t>(counts[0]));
        if (TIFFReadRawStrip(tiff, 0, strip.data(), tmsize_t(strip.size())) ==
            tmsize_t(strip.size()))
            result = std::move(strip);
    }
    TIFFClose(tiff);
    return result;
}

}  // namespace vestrel::pdf
