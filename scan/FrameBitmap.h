#pragma once
// A camera frame as an uncompressed 24-bit bitmap file: the form a scan takes in the photo
// folder when its extension names no image format, byte for byte what the old program
// wrote first for every scan.

#include <opencv2/core.hpp>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <vector>

namespace vestrel::scan {

#pragma pack(push, 1)
struct BitmapFileHeader {
    char magic[2];            // "BM"
    std::uint32_t fileSize;   // headers plus pixel bytes
    std::uint16_t reserved1;  // 0
    std::uint16_t reserved2;  // 0
    std::uint32_t pixelOffset;  // 54: the pixels follow the two headers
};
struct BitmapInfoHeader {
    std::uint32_t headerSize;     // 40
    std::int32_t width;           // frame width
    std::int32_t height;          // frame height, positive: bottom row first
    std::uint16_t planes;         // 1
    std::uint16_t bitCount;       // 24
    std::uint32_t compression;    // 0, none
    std::uint32_t imageSize;      // 0, as the old writer left it
    std::int32_t xPelsPerMeter;   // 0
    std::int32_t yPelsPerMeter;   // 0
    std::uint32_t colorsUsed;     // 0
    std::uint32_t colorsImportant;  // 0
};
#pragma pack(pop)
static_assert(sizeof(BitmapFileHeader) == 14);
static_assert(offsetof(BitmapFileHeader, fileSize) == 2);
static_assert(offsetof(BitmapFileHeader, pixelOffset) == 10);
static_assert(sizeof(BitmapInfoHeader) == 40);
static_assert(offsetof(BitmapInfoHeader, width) == 4);
static_assert(offsetof(BitmapInfoHeader, bitCount) == 14);
static_assert(offsetof(BitmapInfoHeader, colorsImportant) == 36);

// The bitmap file of a top-down 8-bit BGR frame (CV_8UC3): the rows go out bottom row
// first, each padded to a multiple of four bytes (the usual frame sizes need no padding;
// an odd size from a virtual or unusual camera still gives a valid file). Empty for a
// frame of another type or of no size.
std::vector<std::uint8_t> FrameBitmapBytes(const cv::Mat& frame);

// Writes those bytes to `path` (created or replaced). False when the file cannot be written.
bool WriteFrameBitmap(const std::filesystem::path& path, const cv::Mat& frame);

}  // namespace vestrel::scan
