#include "FrameBitmap.h"

#include <cstring>
#include <fstream>
#include <limits>

namespace vestrel::scan {

std::vector<std::uint8_t> FrameBitmapBytes(const cv::Mat& frame)
{
    if (frame.empty() || frame.type() != CV_8UC3) return {};
    const std::size_t rowBytes = static_cast<std::size_t>(frame.cols) * 3;
    const std::size_t stride = (rowBytes + 3) / 4 * 4;
    const std::size_t pixelBytes = stride * static_cast<std::size_t>(frame.rows);
    constexpr std::size_t kHeaders = sizeof(BitmapFileHeader) + sizeof(BitmapInfoHeader);
    if (pixelBytes + kHeaders > std::numeric_limits<std::uint32_t>::max()) return {};

    const BitmapFileHeader file{{'B', 'M'}, static_cast<std::uint32_t>(pixelBytes + kHeaders), 0, 0,
                                static_cast<std::uint32_t>(kHeaders)};
    const BitmapInfoHeader info{40, frame.cols, frame.rows, 1, 24, 0, 0, 0, 0, 0, 0};

    std::vector<std::uint8_t> bytes(kHeaders + pixelBytes, 0);
    std::memcpy(bytes.data(), &file, sizeof file);
    std::memcpy(bytes.data() + sizeof file, &info, sizeof info);
    std::uint8_t* out = bytes.data() + kHeaders;
    for (int y = frame.rows - 1; y >= 0; --y, out += stride) {
        std::memcpy(out, frame.ptr(y), rowBytes);
    }
    return bytes;
}

bool WriteFrameBitmap(const std::filesystem::path& path, const cv::Mat& frame)
{
    const std::vector<std::uint8_t> bytes = FrameBitmapBytes(frame);
    if (bytes.empty()) return false;
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    out.close();
    return static_cast<bool>(out);
}

}  // namespace vestrel::scan
