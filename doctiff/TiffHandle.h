#pragma once
// Opening TIFF files with our own error handler and allocation limit, so that libtiff's
// complaints land in our error text instead of on the host program's standard error.

#include <tiffio.h>

#include <memory>
#include <string>

namespace vestrel::doctiff {

struct TiffCloser {
    void operator()(TIFF* t) const { if (t) TIFFClose(t); }
};
using TiffPtr = std::unique_ptr<TIFF, TiffCloser>;

// Collects libtiff's messages for one open file.
struct TiffMessages {
    std::string text;
};

// mode as for TIFFOpen ("r", "w", "w8" ...). `messages` must outlive the handle.
TiffPtr OpenTiff(const std::string& path, const char* mode, TiffMessages& messages);

}  // namespace vestrel::doctiff
