#pragma once
// The command strings of the TIFF processor: "key=value" pairs separated by ";", keys in
// any case ("in=a.tif;out=info_w", "in=a.tif;out=b.tif;Pages=0-9999;Save=0;Res=204/196;
// Format=tiff/34;size=1728pix/2444pix"). Parsing is separate from running so that the
// parser can be fuzzed and tested on its own.

#include <optional>
#include <string>
#include <string_view>

namespace vestrel::doctiff {

// What "out=info_*" asks for instead of writing a file.
enum class TiffQuery { None, Width, Height, XResolution, YResolution, PageCount };

struct TiffCommand {
    std::string input;                 // in=: the source file
    std::string output;                // out=: the target file (empty for queries)
    TiffQuery query = TiffQuery::None; // out=info_w/h/x/y/p
    int firstPage = 0;                 // pages=A-B, zero-based and inclusive
    int lastPage = 9999;
    bool save = false;                 // save=1: keep what the output already holds
    int rotate = 0;                    // rotate=90/180/270, clockwise
    int format = 0;                    // format=tif/35 or tiff/34: the number after '/'
    int xResolution = 0;               // res=X/Y in dots per inch
    int yResolution = 0;
    int pageWidth = 0;                 // size=Wpix/Hpix
    int pageHeight = 0;
};

// Largest value accepted for a page number, a resolution or a page size; keeps every later
// computation inside int and every allocation bounded.
inline constexpr int kMaxCommandNumber = 100000;

// Parses one command string. On failure returns nothing and says why in `error`.
std::optional<TiffCommand> ParseTiffCommand(std::string_view text, std::string& error);

}  // namespace vestrel::doctiff
