#pragma once
// Writing an image so that a refused write never damages the file already at the target:
// the image goes to a scratch file in the target's folder first and is renamed over the
// target only once it is complete.

#include "CxImage.h"

#include <filesystem>

namespace vestrel::document {

enum class WriteResult {
    Written,
    FormatRefused,  // the folder takes files but the image cannot be written in this format
    DiskRefused,    // the folder or the disk refused the file
};

// Writes `image` as `type` to `scratch`, then renames it to `target`. The scratch file is
// gone afterwards whatever happened; `target` is either the new file or untouched.
WriteResult WriteImageReplacing(CxImage& image, int type, const std::filesystem::path& scratch,
                                const std::filesystem::path& target);

}  // namespace vestrel::document
