#pragma once
// Puts one image file into a PDF as an image object: JPEG files byte for byte, black-and-
// white pictures as 1-bit CCITT G4 (Flate when the encoder fails), everything else the
// image library reads as lossless Flate.

#include "PdfFile.h"

#include <filesystem>
#include <optional>
#include <string>

namespace vestrel::pdf {

struct EmbeddedImage {
    int object = 0;        // the image XObject
    double widthPt = 0;    // size at the image's resolution (72 dpi when it has none)
    double heightPt = 0;
};

// Writes the image object into `file`; nothing (and `error` set) when the file cannot be
// read as an image.
std::optional<EmbeddedImage> embedImage(PdfFile& file, const std::filesystem::path& path,
                                        std::string& error);

}  // namespace vestrel::pdf
