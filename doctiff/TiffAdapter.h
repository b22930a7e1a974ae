#pragma once
// The converter's side of the TIFF processor: the command strings it has always sent,
// and the rotation of landscape TIFF pages before they are normalised.

#include "TiffProcessor.h"

#include <functional>
#include <string>

namespace vestrel::doctiff {

class TiffAdapter {
public:
    // Where converter messages go (log and alert).
    using Reporter = std::function<void(const std::string&)>;
    explicit TiffAdapter(Reporter report) : report_(std::move(report)) {}

    // "in=%s;out=info_p"; -1 when the file cannot be read.
    int PageCount(const std::string& path);
    // A TIFF source into `piece`: turned upright when wider than high, then fax pages.
    // The source file is never written.
    bool ConvertTiff(const std::string& source, const std::string& piece);
    // A JPEG/BMP/GIF source into `piece`.
    bool ConvertImage(const std::string& source, const std::string& piece);
    // Appends the pages of `piece` to `output` (created when missing).
    bool Append(const std::string& piece, const std::string& output);
    const std::string& error() const { return processor_.error(); }

private:
    int Query(const std::string& path, const char* what);

    TiffProcessor processor_;
    Reporter report_;
};

// "Res=204/196;Format=tiff/34;size=1728pix/2444pix": the fine fax page.
extern const char kFaxNormalisation[];

}  // namespace vestrel::doctiff
