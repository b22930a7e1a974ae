#include "ClipboardPayload.h"

namespace vestrel::selection {

bool NeedsOwnFormat(const CxImage& picture)
{
    return picture.AlphaIsValid() || !picture.SelectionMask().empty() || picture.IsTransparent();
}

std::vector<std::uint8_t> OwnFormatBytes(const CxImage& picture)
{
    try {
        return picture.Dump();
    } catch (const std::bad_alloc&) {
        return {};
    }
}

std::unique_ptr<CxImage> ReadOwnFormat(std::span<const std::uint8_t> bytes)
{
    auto picture = std::make_unique<CxImage>();
    // UnDump checks the header against the sizes, the CRC and the palette indices; bytes
    // left over after the picture mean the payload is not what it claims to be.
    const std::size_t used = picture->UnDump(bytes.data(), bytes.size());
    if (used == 0 || used != bytes.size() || !picture->IsValid()) return nullptr;
    return picture;
}

}  // namespace vestrel::selection
