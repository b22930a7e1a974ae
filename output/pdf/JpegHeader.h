#pragma once
// What a PDF needs to know of a JPEG file to carry it unchanged: its size, colour
// components and resolution, read from the markers before the first scan.

#include <cstdio>
#include <optional>

namespace vestrel::pdf {

struct JpegHeader {
    int width = 0;
    int height = 0;
    int components = 0;     // 1 grey, 3 colour, 4 CMYK
    double xdpi = 0;        // 0 when the file states none
    double ydpi = 0;
    bool adobeInverted = false;  // Adobe CMYK files store the inks inverted
};

// True when the file starts like a JPEG (the content decides, never the name).
bool looksLikeJpeg(std::FILE* file);
// Reads the header of an open JPEG file from its start; nothing for a malformed or
// unsupported one (a height given only after the scan, a size of 0, samples not of 8 bits).
std::optional<JpegHeader> readJpegHeader(std::FILE* file);

}  // namespace vestrel::pdf
