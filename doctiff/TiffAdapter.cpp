#include "TiffAdapter.h"

#include "Doc2TifMessages.h"
#include "UserAlert.h"
#include "ScratchFiles.h"

#include <chrono>
#include <filesystem>
#include <thread>

namespace vestrel::doctiff {

const char kFaxNormalisation[] = "Res=204/196;Format=tiff/34;size=1728pix/2444pix";

int TiffAdapter::Query(const std::string& path, const char* what) {
    return processor_.Run("in=" + path + ";out=" + what);
}

int TiffAdapter::PageCount(const std::string& path) { return Query(path, "info_p"); }

bool TiffAdapter::ConvertTiff(const std::string& source, const std::string& piece) {
    const long long w = Query(source, "info_w"), h = Query(source, "info_h");
    long long xr = Query(source, "info_x"), yr = Query(source, "info_y");
    if (w < 1 || h < 1) {
        report_(messages::kConvertPrintedFailed);
        return false;
    }
    if (xr < 1 || yr < 1) xr = yr = 1;  // no resolution: square dots
    // Wider than high on paper. Compared exactly (h/yr < w/xr without the integer
    // division that took every page under an inch for portrait).
    std::string input = source;
    if (h * xr < w * yr) {
        const std::string rotated = scratch::RotatedTiff();
        if (processor_.Run("in=" + source + ";out=" + rotated + ";pages=0-999;save=0;rotate=90") != 0) {
            report_(messages::kRotateFailed);
            return false;
        }
        input = rotated;
    }
    const std::string swap = scratch::SwapTiff();
    if (processor_.Run("in=" + input + ";out=" + swap + ";Pages=0-9999;Save=0;" + kFaxNormalisation) != 0) {
        report_(messages::kConvertPrintedFailed);
        return false;
    }
    std::error_code ec;
    if (input != source) std::filesystem::remove(input, ec);
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
    std::filesystem::copy_file(swap, piece, std::filesystem::copy_options::overwrite_existing, ec);
    if (ec) {
        report_(fax::FormatText(messages::kCopyTempFailed, swap.c_str()));
        return false;
    }
    return true;
}

bool TiffAdapter::ConvertImage(const std::string& source, const std::string& piece) {
    if (processor_.Run("in=" + source + ";out=" + piece + ";Save=0;" + kFaxNormalisation) != 0) {
        report_(fax::FormatText(messages::kConvertImageFailed, source.c_str()));
        return false;
    }
    return true;
}

bool TiffAdapter::Append(const std::string& piece, const std::string& output) {
    return processor_.Run("in=" + piece + ";out=" + output + ";save=1;format=tif/35") == 0;
}

}  // namespace vestrel::doctiff
