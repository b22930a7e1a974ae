#pragma once
// Reads the pages of a source picture for the TIFF processor: every page of a TIFF file
// (any compression or pixel layout libtiff knows), or the one picture of a JPEG, BMP, PNG
// or GIF file. Pages come out as 8-bit grey, top row first, with their resolution.

#include <opencv2/core.hpp>

#include <memory>
#include <string>
#include <vector>

namespace vestrel::doctiff {

struct SourcePage {
    cv::Mat gray;             // CV_8UC1, 0 black .. 255 white
    double xResolution = 0;   // dots per inch; 0 when the file does not say
    double yResolution = 0;
    bool bilevel = false;     // the page was stored with one bit per pixel
};

// Largest page we decode: 100 megapixels (the biggest A3 scan at 600 dpi is 70).
inline constexpr double kMaxPagePixels = 100e6;

// A fax page exactly as stored: one CCITT G4 strip, white is 0, first bit leftmost.
struct FaxStrip {
    std::vector<uint8_t> data;
    int width = 0, height = 0;
    double xResolution = 0, yResolution = 0;
};

class PageReader {
public:
    PageReader();
    ~PageReader();
    PageReader(const PageReader&) = delete;
    PageReader& operator=(const PageReader&) = delete;

    // Opens a source; false with a reason in error() when it cannot be read.
    bool Open(const std::string& path);
    int PageCount() const;
    // Size and resolution of a page without decoding its pixels.
    bool PageInfo(int index, int& width, int& height, double& xRes, double& yRes);
    bool ReadPage(int index, SourcePage& page);
    // The compressed page of a TIFF page stored the way fax pages are, so that appending
    // it needs no decoding; false (and no error) for any other page.
    bool ReadFaxStrip(int index, FaxStrip& strip);
    const std::string& error() const { return error_; }

private:
    struct Tiff;
    std::unique_ptr<Tiff> tiff_;  // set for TIFF files
    SourcePage picture_;          // the one page of any other picture file
    std::string error_;
};

}  // namespace vestrel::doctiff
