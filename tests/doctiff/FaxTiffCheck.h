#pragma once
// Reading back what the converter wrote: the tags of every page of a TIFF file, and its
// pixels, through libtiff directly rather than through the code under test.

#include <opencv2/core.hpp>

#include <string>
#include <vector>

namespace vestrel::doctiff::testing {

struct PageTags {
    unsigned width = 0, height = 0;
    unsigned bitsPerSample = 0, compression = 0, photometric = 0, fillOrder = 0;
    unsigned subfileType = 0, resolutionUnit = 0, strips = 0;
    float xResolution = 0, yResolution = 0;
    unsigned pageNumber = 0, pageTotal = 0;
    bool hasPageNumber = false;
};

std::vector<PageTags> ReadPageTags(const std::string& path);
// Page `index` as 8-bit grey (0 black, 255 white); empty when it cannot be read.
cv::Mat ReadPagePixels(const std::string& path, int index);
// Asserts everything a fax server expects of a page written by the converter.
void ExpectFaxPages(const std::string& path, size_t expectedPages);
std::string FileBytes(const std::string& path);

}  // namespace vestrel::doctiff::testing
