#pragma once
// Small value types of the image class: colours, rectangles and points in top-down pixel
// coordinates, the text-drawing record, and the file type codes with GetFileType.

#include <cstdint>
#include <string>
#include <string_view>

namespace vestrel {

// A colour as 0x00BBGGRR, the way colour choosers and config values have always held it.
using COLORREF = std::uint32_t;

constexpr COLORREF MakeColorRef(int red, int green, int blue)
{
    return COLORREF(red & 0xFF) | (COLORREF(green & 0xFF) << 8) | (COLORREF(blue & 0xFF) << 16);
}

// A palette entry or pixel colour, in the byte order of a bitmap palette.
struct RGBQUAD {
    std::uint8_t rgbBlue = 0;
    std::uint8_t rgbGreen = 0;
    std::uint8_t rgbRed = 0;
    std::uint8_t rgbReserved = 0;  // alpha where a call says so, else unused
    bool operator==(const RGBQUAD&) const = default;
};
static_assert(sizeof(RGBQUAD) == 4);

constexpr RGBQUAD MakeRgbQuad(int red, int green, int blue, int alpha = 0)
{
    return RGBQUAD{std::uint8_t(blue), std::uint8_t(green), std::uint8_t(red), std::uint8_t(alpha)};
}

// A rectangle of pixels, top row first; right and bottom are one past the last pixel.
struct PixelRect {
    int left = 0, top = 0, right = 0, bottom = 0;
    int width() const { return right - left; }
    int height() const { return bottom - top; }
    bool empty() const { return right <= left || bottom <= top; }
    bool operator==(const PixelRect&) const = default;
};

struct PixelPoint {
    int x = 0, y = 0;
    bool operator==(const PixelPoint&) const = default;
};

// Text alignment of DrawStringEx inside the block of lines.
enum class TextAlign { Left, Centre, Right };

// Everything DrawStringEx needs; InitTextInfo fills the defaults.
struct CXTEXTINFO {
    std::string text;                 // UTF-8; '\n' starts a new line
    std::string lfFaceName;           // font family as the user knows it ("宋体", "Times New Roman")
    int lfHeight = 0;                 // pixel size of the characters (sign ignored); 0: 12
    int lfWeight = 400;               // 400 normal, 700 bold (synthesised when the font has none)
    bool lfItalic = false;            // slanted when the font has no italic
    bool lfUnderline = false;
    COLORREF fcolor = 0;              // text colour
    COLORREF bcolor = 0xFFFFFF;       // background colour when opaque
    bool opaque = false;              // fill the text block with bcolor first
    float b_opacity = 1.0f;           // 0..1, how much of bcolor covers the picture
    int b_outline = 0;                // width of a frame in fcolor around the block, 0 none
    int b_round = 0;                  // corner rounding of the block in percent of its height
    TextAlign align = TextAlign::Left;
    bool smooth = true;               // anti-aliased glyph edges
};

// File type codes (0: not an image). The numbers are those stored files and config values
// have always used.
enum ImageFileType : int {
    CXIMAGE_FORMAT_UNKNOWN = 0,
    CXIMAGE_FORMAT_BMP = 1,
    CXIMAGE_FORMAT_GIF = 2,
    CXIMAGE_FORMAT_JPG = 3,
    CXIMAGE_FORMAT_PNG = 4,
    CXIMAGE_FORMAT_ICO = 5,
    CXIMAGE_FORMAT_TIF = 6,
    CXIMAGE_FORMAT_TGA = 7,
    CXIMAGE_FORMAT_PCX = 8,
    CXIMAGE_FORMAT_WBMP = 9,
    CXIMAGE_FORMAT_WMF = 10,
    CXIMAGE_FORMAT_JP2 = 11,
    CXIMAGE_FORMAT_JPC = 12,
    CXIMAGE_FORMAT_PGX = 13,
    CXIMAGE_FORMAT_PNM = 14,
    CXIMAGE_FORMAT_RAS = 15,
    CXIMAGE_FORMAT_PDF = 33,
};

// The type code of a file name from its extension, case ignored: the last three
// characters decide, or the last four for "jpeg", "tiff" and "wbmp" ("wbmp" is looked at
// before "bmp", so "a.wbmp" is WBMP). Anything else is 0.
int GetFileType(std::string_view fileName);

}  // namespace vestrel
