#include "FileFilters.h"

#include "ImageTypes.h"

#include <array>
#include <string_view>

namespace vestrel::document {
namespace {

struct Entry {
    int type;           // the format code the entry stands for; 0 for formats never written
    const char* text;   // "Label|patterns", with the label's leading tabs where the list has them
};

// The lists have always carried two tabs before the PNG, WMF and PNM labels; the dialogs
// show them as part of the label, so they stay.
constexpr std::array<Entry, 17> kEntries{{
    {CXIMAGE_FORMAT_JPG, "JPG(*.jpg;*.jpeg)|*.jpg;*.jpeg"},
    {CXIMAGE_FORMAT_BMP, "BMP (*.bmp)|*.bmp"},
    {CXIMAGE_FORMAT_GIF, "GIF (*.gif)|*.gif"},
    {CXIMAGE_FORMAT_TIF, "TIF(*.tif;*.tiff)|*.tif;*.tiff"},
    {CXIMAGE_FORMAT_PNG, "\t\tPNG(*.png)|*.png"},
    {0, "MNG(*.mng;*.jng)|*.mng;*.jng"},
    {CXIMAGE_FORMAT_ICO, "ICO(*.ico)|*.ico"},
    {CXIMAGE_FORMAT_TGA, "TGA(*.tga)|*.tga"},
    {CXIMAGE_FORMAT_PCX, "PCX(*.pcx)|*.pcx"},
    {CXIMAGE_FORMAT_WBMP, "WBMP(*.wbmp)|*.wbmp"},
    {CXIMAGE_FORMAT_WMF, "\t\tWMF(*.wmf;*.emf)|*.wmf;*.emf"},
    {CXIMAGE_FORMAT_JP2, "J2K(*.j2k;jp2)|*.j2k;jp2"},
    {0, "JBG(*.jbg)|*.jbg"},
    {CXIMAGE_FORMAT_JPC, "JPC(*.jpc;*.j2c)|*.jpc;*.j2c"},
    {CXIMAGE_FORMAT_PGX, "PGX(*.pgx)|*.pgx"},
    {CXIMAGE_FORMAT_PNM, "\t\tPNM(*.pnm;*.pgm;*.ppm)|*.pnm;*.pgm;*.ppm"},
    {CXIMAGE_FORMAT_RAS, "RAS(*.ras)|*.ras"},
}};

// The reordered Save As lists carry four tabs where the plain list has two.
std::string Retabbed(std::string_view text)
{
    if (text.starts_with("\t\t")) return "\t\t\t\t" + std::string(text.substr(2));
    return std::string(text);
}

bool Leads(int type)
{
    return type == CXIMAGE_FORMAT_GIF || (type >= CXIMAGE_FORMAT_BMP && type <= CXIMAGE_FORMAT_RAS &&
                                          type != CXIMAGE_FORMAT_JPG);
}

}  // namespace

std::string OpenFilter()
{
    std::string out;
    for (const auto& e : kEntries) out += std::string(e.text) + "|";
    return out + "(*.*)|*.*||";
}

std::string SaveAsFilter(int type)
{
    if (!Leads(type)) type = CXIMAGE_FORMAT_JPG;
    std::string out;
    for (const auto& e : kEntries) {
        if (e.type != type) continue;
        // The TIF-led list offers only the short extension in its first entry.
        out += type == CXIMAGE_FORMAT_TIF ? std::string("TIF(*.tif)|*.tif") : Retabbed(e.text);
        out += "|";
    }
    // The BMP-led list has always gone on with GIF before JPG.
    if (type == CXIMAGE_FORMAT_BMP) out += Retabbed(kEntries[2].text) + "|";
    for (const auto& e : kEntries) {
        if (e.type == type || (type == CXIMAGE_FORMAT_BMP && e.type == CXIMAGE_FORMAT_GIF)) continue;
        out += Retabbed(e.text) + "|";
    }
    return out + "|";
}

std::string SaveAsDefaultExtension(int type)
{
    return type == CXIMAGE_FORMAT_BMP ? "bmp" : "";
}

}  // namespace vestrel::document
