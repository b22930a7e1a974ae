#pragma once
// The file type code of a name, from its extension compared without case: the image
// library's format numbers (imaging/codecs/CodecImage.h) plus 33 for PDF, 0 for anything
// else.

#include <string_view>

namespace vestrel::scan {

inline constexpr int kFileTypePdf = 33;

// Looks at the last three characters, and at the last four for "jpeg", "tiff" and "wbmp"
// ("wbmp" before "bmp"), as the photo library always has.
int GetFileType(std::string_view fileName);

}  // namespace vestrel::scan
