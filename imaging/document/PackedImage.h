#pragma once
// A picture held compactly and losslessly: what the history keeps for each earlier state.
// The pixels are stored as differences to a prediction from their neighbours (small
// numbers on the smooth parts of a page and on its noise alike, see PixelPrediction.h),
// sorted by how busy their surroundings are into three streams and compressed with zstd,
// in bands of rows that unpack on two threads; the alpha channel and the selection, which
// are mostly one value, are compressed as they are.
// Unpacking gives back every byte: pixels, palette, selection, alpha, transparency,
// resolution and frames.

#include "CxImage.h"
#include "PixelPrediction.h"

#include <array>
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
    // One band of rows: the size of each residual stream, unpacked and as its zstd frame
    // (no frame for an empty stream). The frames follow each other in m_pixels.
    struct BandStreams {
        std::array<std::size_t, prediction::kStreams> bytes{};
        std::array<std::size_t, prediction::kStreams> packedBytes{};
    };

    cv::Mat UnpackPixels() const;

    CxImage m_description;  // palette, resolution, transparency, frames; a 1 x 1 plane
    int m_width = 0, m_height = 0, m_pixelType = 0;
    std::vector<BandStreams> m_bands;       // top band first
    std::vector<std::uint8_t> m_pixels;     // compressed prediction differences
    std::vector<std::uint8_t> m_alpha;      // compressed, empty without an alpha channel
    std::vector<std::uint8_t> m_selection;  // compressed, empty without a selection mask
};

}  // namespace vestrel::document
