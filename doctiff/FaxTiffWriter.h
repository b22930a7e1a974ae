#pragma once
// Writes multi-page TIFF files page by page. Fax pages are bilevel CCITT G4 in one strip
// with the Class F tags a fax server reads (NewSubfileType page, PageNumber n of total,
// resolution in inches, FillOrder 1); intermediate grey pages are stored losslessly.
// The file is written under a temporary name and renamed over the target by Commit(), so
// a failure half-way leaves an existing target as it was.

#include "TiffHandle.h"

#include <opencv2/core.hpp>

#include <string>

namespace vestrel::doctiff {

class FaxTiffWriter {
public:
    ~FaxTiffWriter();

    bool Open(const std::string& path);
    // `page` is CV_8UC1; any value below 128 is a black dot. pageNumber counts from 1.
    bool WriteFaxPage(const cv::Mat& page, double xRes, double yRes, int pageNumber, int pageTotal);
    // A page already compressed the fax way (PageReader::ReadFaxStrip), stored as it is.
    bool WriteFaxStrip(const struct FaxStrip& strip, int pageNumber, int pageTotal);
    // `page` is CV_8UC1 grey, stored uncompressed: only intermediate files hold grey.
    bool WriteGrayPage(const cv::Mat& page, double xRes, double yRes);
    // Closes the file and moves it over the target.
    bool Commit();
    const std::string& error() const { return error_; }

private:
    void SetFaxTags(uint32_t width, uint32_t height, double xRes, double yRes, int pageNumber, int pageTotal);
    bool Fail(const std::string& what);

    TiffMessages messages_;
    TiffPtr tif_;
    std::string target_;
    std::string temporary_;
    std::string error_;
};

}  // namespace vestrel::doctiff
