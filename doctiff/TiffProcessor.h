#pragma once
// The TIFF processor: runs one command string (TiffCommand.h) and answers with an integer,
// the way the converter has always talked to its TIFF component.
//   queries "out=info_w/h/x/y/p": width, height, x/y resolution (dpi) of the first page,
//                                 or the page count; -1 when the file cannot be read
//   rotate=N                    : the chosen pages turned clockwise, written to out
//   format=tiff/34              : the chosen pages as fax pages (res=, size=) in a new out
//   format=tif/35               : the pages of in appended to out, PageNumber renumbered
// Conversions answer 0 on success and a TiffResult code otherwise; error() says why.

#include "FaxPage.h"

#include <string>
#include <string_view>

namespace vestrel::doctiff {

enum TiffResult : int {
    kTiffOk = 0,
    kTiffBadCommand = 1,
    kTiffCannotRead = 2,
    kTiffCannotWrite = 3,
    kTiffNoPages = 4,
};

class TiffProcessor {
public:
    int Run(std::string_view command);
    const std::string& error() const { return error_; }

private:
    int Rotate(const struct TiffCommand& cmd);
    int ToFaxPages(const struct TiffCommand& cmd);
    int AppendPages(const struct TiffCommand& cmd);
    int Fail(int code, const std::string& why);

    std::string error_;
};

}  // namespace vestrel::doctiff
