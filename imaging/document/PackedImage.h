#pragma once
// A picture held compactly and losslessly: what the history keeps for each earlier state.
// The pixels are stored as differences to a prediction from their left and upper
// neighbours (small numbers on the smooth parts of a page and on its noise alike) and
// compressed with zstd; the alpha
// channel and the selection, which are mostly one value, are compressed as they are.
// Unpacking gives back every byte: pixels, palette, selection, alpha, transparency,
// resolution and frames.

#include "CxImage.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

namespace vestrel::document {

class PackedImage {
public:
    // Packs `image` (valid). Throws (std::bad_alloc, cv::Exception) only when the memory
    // for the packed copy is not there.
    explicit PackedImage(const CxImage& image);

    // The picture again, byte for byte; throws std::bad_alloc like the constructor.
    std::unique_ptr<CxImage> Unpack() const;

    // Bytes this packed picture holds in memory.
    std::size_t HeldBytes() const;

private:
    CxImage m_description;  // palette, resolution, transparency, frames; a 1 x 1 plane
    int m_width = 0, m_height = 0, m_pixelType = 0;
    std::vector<std::uint8_t> m_pixels;     // compressed prediction differences
    std::vector<std::uint8_t> m_alpha;      // compressed, empty without an alpha channel
    std::vector<std::uint8_t> m_selection;  // compressed, empty without a selection mask
};

}  // namespace vestrel::document
