// The text layer part of PdfDocument: words drawn in the invisible text mode with a font
// that has no glyphs to show. The font maps each two-byte code to the Unicode character
// of the same number, so the text a reader extracts is the text we wrote, in any script,
// and every character is half an em wide; each word is stretched to its measured length.

#include "PdfDocument.h"

#include <cmath>
#include <cstdint>
#include <numbers>

namespace vestrel::pdf {
namespace {

constexpr double kGlyphWidth = 0.5;  // of the font size, as /DW 500 says
// Readers split text that runs at a slant into single letters, so the words of a page
// photographed a little askew are laid level, each centred where the slanted word is;
// only steeper text keeps its angle.
constexpr double kLevelBelowDegrees = 15.0;

// The UTF-16 codes of the word's characters as hex; characters beyond the basic plane,
// which a two-byte code cannot carry, become U+FFFD. Malformed UTF-8 ends the word.
std::string Utf16Hex(const std::string& utf8, int& characters)
{
    static const char* const kDigits = "0123456789ABCDEF";
    std::string hex;
    characters = 0;
    for (std::size_t i = 0; i < utf8.size();) {
        const auto lead = static_cast<unsigned char>(utf8[i]);
        const int length = lead < 0x80 ? 1 : (lead >> 5) == 6 ? 2 : (lead >> 4) == 14 ? 3
                                                                 : (lead >> 3) == 30 ? 4 : 0;
        if (length == 0 || i + std::size_t(length) > utf8.size()) break;
        std::uint32_t code = length == 1 ? lead : lead & (0x7F >> length);
        for (int k = 1; k < length; ++k) code = (code << 6) | (static_cast<unsigned char>(utf8[i + std::size_t(k)]) & 0x3F);
        i += std::size_t(length);
        if (code > 0xFFFF || (code >= 0xD800 && code <= 0xDFFF)) code = 0xFFFD;
        for (int shift = 12; shift >= 0; shift -= 4) hex += kDigits[(code >> shift) & 0xF];
        ++characters;
    }
    return hex;
}

// Code n is Unicode n, written as ranges that each keep their first byte.
std::string ToUnicodeCMap()
{
    std::string ranges;
    int inBlock = 0;
    std::string map;
    auto flush = [&] {
        if (inBlock == 0) return;
        map += std::to_string(inBlock) + " beginbfrange\n" + ranges + "endbfrange\n";
        ranges.clear();
        inBlock = 0;
    };
    char line[32];
    for (int high = 0; high < 256; ++high) {
        if (high >= 0xD8 && high <= 0xDF) continue;  // surrogates are no characters
        std::snprintf(line, sizeof line, "<%02X00> <%02XFF> <%02X00>\n", high, high, high);
        ranges += line;
        if (++inBlock == 100) flush();
    }
    flush();
    return "/CIDInit /ProcSet findresource begin\n12 dict begin\nbegincmap\n"
           "/CIDSystemInfo <</Registry (Adobe) /Ordering (UCS) /Supplement 0>> def\n"
           "/CMapName /Adobe-Identity-UCS def\n/CMapType 2 def\n"
           "1 begincodespacerange\n<0000> <FFFF>\nendcodespacerange\n" +
           map + "endcmap\nCMapName currentdict /CMap defineresource pop\nend\nend\n";
}

}  // namespace

int PdfDocument::invisibleFont()
{
    if (fontObject_ != 0) return fontObject_;
    fontObject_ = file_.reserve();
    const int descendant = file_.reserve();
    const int descriptor = file_.reserve();
    const int toUnicode = file_.reserve();
    file_.writeObject(fontObject_, "<</Type /Font /Subtype /Type0 /BaseFont /InvisibleText "
                                   "/Encoding /Identity-H /DescendantFonts [" +
                                       std::to_string(descendant) + " 0 R] /ToUnicode " +
                                       std::to_string(toUnicode) + " 0 R>>");
    file_.writeObject(descendant, "<</Type /Font /Subtype /CIDFontType2 /BaseFont /InvisibleText "
                                  "/CIDSystemInfo <</Registry (Adobe) /Ordering (Identity) "
                                  "/Supplement 0>> /FontDescriptor " +
                                      std::to_string(descriptor) + " 0 R /DW 500 /CIDToGIDMap /Identity>>");
    file_.writeObject(descriptor, "<</Type /FontDescriptor /FontName /InvisibleText /Flags 4 "
                                  "/FontBBox [0 -200 500 800] /ItalicAngle 0 /Ascent 800 "
                                  "/Descent -200 /CapHeight 700 /StemV 80>>");
    const std::string cmap = ToUnicodeCMap();
    file_.writeStream(toUnicode, "", reinterpret_cast<const std::uint8_t*>(cmap.data()), cmap.size());
    return fontObject_;
}

bool PdfDocument::fit_text_layer(int image, const TextLayer& layer)
{
    if (!page_.open)
        return fail("no page is open");
    const auto placed = page_.placements.find(image);
    if (placed == page_.placements.end())
        return fail("the image is not placed on this page");
    if (layer.imageWidth <= 0 || layer.imageHeight <= 0)
        return fail("the text layer has no picture size");
    const auto& where = placed->second;
    const double scaleX = where.width / layer.imageWidth;
    const double scaleY = where.height / layer.imageHeight;

    std::string content;
    for (const TextLayerWord& word : layer.words) {
        int characters = 0;
        const std::string hex = Utf16Hex(word.text, characters);
        const double size = word.height * scaleY;
        const double length = word.length * scaleX;
        if (characters == 0 || !(size > 0) || !(length > 0) || !std::isfinite(word.x) ||
            !std::isfinite(word.y) || !std::isfinite(word.angleDegrees))
            continue;
        double radians = word.angleDegrees * std::numbers::pi / 180.0;
        double x = where.x + word.x * scaleX;
        double y = where.y + where.height - word.y * scaleY;
        if (std::abs(std::remainder(word.angleDegrees, 360.0)) < kLevelBelowDegrees) {
            // The centre of the slanted word, then the level word's baseline start around it.
            const double across = std::cos(radians) * length / 2 - std::sin(radians) * size * 0.3;
            const double up = std::sin(radians) * length / 2 + std::cos(radians) * size * 0.3;
            x += across - length / 2;
            y += up - size * 0.3;
            radians = 0;
        }
        const double stretch = 100.0 * length / (characters * kGlyphWidth * size);
        content += "/F0 " + pdfNumber(size) + " Tf " + pdfNumber(stretch) + " Tz " +
                   pdfNumber(std::cos(radians)) + " " + pdfNumber(std::sin(radians)) + " " +
                   pdfNumber(-std::sin(radians)) + " " + pdfNumber(std::cos(radians)) + " " +
                   pdfNumber(x) + " " + pdfNumber(y) + " Tm <" + hex + "> Tj\n";
    }
    if (content.empty())
        return true;
    invisibleFont();
    // Render mode 3: neither filled nor stroked, only there to be found.
    page_.content += "BT 3 Tr\n" + content + "ET\n";
    page_.hasText = true;
    return true;
}

}  // namespace vestrel::pdf
