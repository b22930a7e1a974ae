#include "JpegHeader.h"

#include <array>
#include <cstdint>
#include <cstring>

namespace vestrel::pdf {
namespace {

int readByte(std::FILE* file)
{
    return std::fgetc(file);
}

int readWord(std::FILE* file)
{
    const int high = readByte(file);
    const int low = readByte(file);
    return high < 0 || low < 0 ? -1 : (high << 8) | low;
}

bool isStartOfFrame(int marker)
{
    return marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 &&
           marker != 0xCC;
}

}  // namespace

bool looksLikeJpeg(std::FILE* file)
{
    std::array<unsigned char, 3> magic{};
    std::rewind(file);
    const bool jpeg = std::fread(magic.data(), 1, magic.size(), file) == magic.size() &&
                      magic[0] == 0xFF && magic[1] == 0xD8 && magic[2] == 0xFF;
    std::rewind(file);
    return jpeg;
}

std::optional<JpegHeader> readJpegHeader(std::FILE* file)
{
    std::rewind(file);
    if (readByte(file) != 0xFF || readByte(file) != 0xD8)
        return std::nullopt;
    JpegHeader header;
    for (;;) {
        int byte = readByte(file);
        if (byte != 0xFF)
            return std::nullopt;
        int marker = readByte(file);
        while (marker == 0xFF)  // fill bytes
            marker = readByte(file);
        if (marker < 0 || marker == 0xD9 || marker == 0xDA)
            return std::nullopt;  // end or scan before any frame header
        if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7))
            continue;
        const int length = readWord(file);
        if (length < 2)
            return std::nullopt;
        const long payloadStart = std::ftell(file);
        std::array<unsigned char, 16> head{};
        const std::size_t wanted = std::size_t(length - 2) < head.size() ? std::size_t(length - 2)
                                                                         : head.size();
        if (std::fread(head.data(), 1, wanted, file) != wanted)
            return std::nullopt;
        if (marker == 0xE0 && wanted >= 12 && std::memcmp(head.data(), "JFIF\0", 5) == 0) {
            const int units = head[7];
            const double x = (head[8] << 8) | head[9];
            const double y = (head[10] << 8) | head[11];
            if (units == 1 && x > 0 && y > 0) {
                header.xdpi = x;
                header.ydpi = y;
            } else if (units == 2 && x > 0 && y > 0) {
                header.xdpi = x * 2.54;
                header.ydpi = y * 2.54;
            }
        } else if (marker == 0xEE && wanted >= 5 && std::memcmp(head.data(), "Adobe", 5) == 0) {
            header.adobeInverted = true;
        } else if (isStartOfFrame(marker)) {
            if (wanted < 6)
                return std::nullopt;
            header.height = (head[1] << 8) | head[2];
            header.width = (head[3] << 8) | head[4];
            header.components = head[5];
            // PDF carries only 8-bit samples unchanged.
            const bool supported = head[0] == 8 && (header.components == 1 ||
                                                    header.components == 3 ||
                                                    header.components == 4);
            if (header.width <= 0 || header.height <= 0 || !supported)
                return std::nullopt;
            std::rewind(file);
            return header;
        }
        if (std::fseek(file, payloadStart + length - 2, SEEK_SET) != 0)
            return std::nullopt;
    }
}

}  // namespace vestrel::pdf
