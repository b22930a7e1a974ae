#pragma once
// What a file codec hands to CxImage and takes from it: the pixels of one page in the
// image library's own model (24-bit BGR, or 1/4/8-bit palette indices), with the palette,
// an optional alpha channel, the transparent index, the resolution and the page count.
// Rows are top row first; a codec of a bottom-up format turns them as it reads.

#include <opencv2/core.hpp>

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace vestrel::codecs {

struct PaletteEntry {
    std::uint8_t blue = 0, green = 0, red = 0;
    bool operator==(const PaletteEntry&) const = default;
};

struct CodecImage {
    cv::Mat pixels;                      // CV_8UC3 BGR when bpp is 24; CV_8UC1 palette
                                         // indices (each below 2^bpp) when bpp is 1, 4 or 8
    int bpp = 24;                        // 1, 4, 8 or 24
    std::vector<PaletteEntry> palette;   // 2^bpp entries when bpp < 24, empty otherwise
    cv::Mat alpha;                       // empty, or CV_8UC1 of the pixels' size
    int transparentIndex = -1;           // palette index drawn transparent, -1 for none
    double xdpi = 0, ydpi = 0;           // resolution in dots per inch, 0 when unknown
    int frameCount = 1;                  // pages in the file this page came from
};

// File type codes of the image library (0: not an image).
enum FileType : int {
    kTypeUnknown = 0, kTypeBmp = 1, kTypeGif = 2, kTypeJpg = 3, kTypePng = 4, kTypeIco = 5,
    kTypeTif = 6, kTypeTga = 7, kTypePcx = 8, kTypeWbmp = 9, kTypeWmf = 10, kTypeJp2 = 11,
    kTypeJpc = 12, kTypePgx = 13, kTypePnm = 14, kTypeRas = 15, kTypePdf = 33,
};

// Pixel limit for every decoder: a header that claims more is refused before allocating.
inline constexpr std::int64_t kMaxPixels = 256LL * 1024 * 1024;

struct EncodeOptions {
    int jpegQuality = 75;                // 0..100
    bool tiffAppend = false;             // add the page to an existing TIFF
};

// What each format keeps (decoding always gives top-down rows):
//   BMP, ICO, TGA, PCX, TIFF, GIF, Sun raster: 1/4/8-bit palettes and indices as stored.
//   PNG: palette files as indices with their transparent entry, 1-bit grey as bilevel;
//        palette pictures other than grey or black-and-white are written in full colour.
//   JPEG, JPEG 2000, PGX, PNM: grey stays 8-bit grey; PGX and WBMP hold one component,
//        so colour is written as grey (PGX) or cut to black and white at 128 (WBMP).
//   Resolution: BMP, JPEG (JFIF density), PNG (pHYs), TIFF, PCX.
//   Alpha: PNG, TIFF, TGA, ICO (from the AND mask too). GIF: the transparent index.
//   Pages: TIFF and GIF count theirs in frameCount; ICO counts its icons. Appending a
//   page exists for TIFF only. Metafiles (10) are neither read nor written. JPEG 2000
//   needs 32 pixels a side to be written. ICO holds a bitmap entry up to 256 x 256 and a
//   PNG entry above that. GIF reduces colour to 256 colours of its own, error diffused.
// Decodes page `frame` of the file. `type` 0 means: find the format from the content.
// Returns nothing for a damaged, hostile or unsupported file; never throws.
std::optional<CodecImage> Decode(const std::filesystem::path& path, int type, int frame = 0);
std::optional<CodecImage> DecodeMemory(const std::vector<std::uint8_t>& bytes, int type, int frame = 0);
// Encodes to a file in format `type`. False for a format that cannot be written or a
// write that failed; never throws.
bool Encode(const CodecImage& image, const std::filesystem::path& path, int type,
            const EncodeOptions& options = {});

// The clipboard's device-independent bitmap: a 40-byte header, the palette and the pixel
// rows bottom-up (a BMP file without its 14-byte file header). Alpha is not carried.
// DecodeDib returns nothing for damaged data; EncodeDib returns no bytes on failure.
std::optional<CodecImage> DecodeDib(const std::vector<std::uint8_t>& dib);
std::vector<std::uint8_t> EncodeDib(const CodecImage& image);

}  // namespace vestrel::codecs
