#pragma once
// Small conversions between CodecImage and plain cv::Mat pictures that every codec needs:
// grey palettes, expanding a palette to BGR, taking an OpenCV picture in, and the size
// checks made against a file header before anything is allocated.

#include "CodecImage.h"

#include <cstdint>
#include <span>

namespace vestrel::codecs {

using Bytes = std::span<const std::uint8_t>;

// True when a header's size is something we are willing to allocate.
bool SizeAllowed(std::int64_t width, std::int64_t height);

// 2^bpp entries running from black to white.
std::vector<PaletteEntry> GreyPalette(int bpp);
// True when every palette entry is grey (red = green = blue).
bool PaletteIsGrey(const std::vector<PaletteEntry>& palette);
// True when the palette is exactly black then white (a bilevel picture).
bool PaletteIsBlackWhite(const std::vector<PaletteEntry>& palette);

// The image is well formed: pixel type and size, bpp, palette length and indices agree.
bool Consistent(const CodecImage& image);

// The picture as CV_8UC3 BGR (palette expanded).
cv::Mat ToBgr(const CodecImage& image);
// The picture as CV_8UC1 grey: palette values when the palette is grey, else luminance.
cv::Mat ToGrey(const CodecImage& image);
// The picture as BGRA, alpha from the alpha channel or the transparent index (else 255).
cv::Mat ToBgra(const CodecImage& image);

// Takes an 8- or 16-bit OpenCV picture of 1, 3 or 4 channels: grey becomes 8 bpp with a
// grey palette, four channels become 24 bpp plus alpha. Nothing for other types.
std::optional<CodecImage> FromMat(const cv::Mat& picture);

// Makes a palette image from BGR pixels and the palette they were expanded from (the
// first entry of each colour wins). Nothing when a pixel's colour is not in the palette.
std::optional<CodecImage> IndexWithPalette(const cv::Mat& bgr, std::vector<PaletteEntry> palette);

// The smallest of 1, 4, 8 that holds `colours` palette entries.
int BppForColours(int colours);
// Pads (or cuts) a palette to 2^bpp entries.
void FitPalette(std::vector<PaletteEntry>& palette, int bpp);

}  // namespace vestrel::codecs
