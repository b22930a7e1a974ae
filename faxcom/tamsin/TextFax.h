#pragma once
// A plain text set as fax pages: lines broken where the text breaks them and wrapped at
// the page width (after a space where a line of words allows, anywhere in Chinese),
// a form feed starting a new page, in a Song-style CJK font at 12 points.

#include <opencv2/core.hpp>

#include <string>
#include <vector>

namespace vestrel::tamsin {

struct TextFaxLayout {
    int pageWidth = 1728;        // dots
    int pageHeight = 2444;
    double xResolution = 204;    // dots per inch
    double yResolution = 196;
    int marginX = 102;           // half an inch
    int marginY = 98;
    int pixelSize = 33;          // 12 points at 196 dpi
    std::string family = "宋体";
};

// The lines as they will stand on the pages (wrapped, tabs expanded), page by page.
bool LayOutText(const std::string& utf8, const TextFaxLayout& layout,
                std::vector<std::vector<std::u32string>>& pages, std::string& error);

// Black-and-white pages (CV_8UC1, 0 black, 255 white) of the text; at least one page.
bool RenderTextPages(const std::string& utf8, const TextFaxLayout& layout, std::vector<cv::Mat>& pages,
                     std::string& error);

// Reads the UTF-8 text file and writes its pages as one fax TIFF, replacing `tiffPath`
// only when every page was written.
bool WriteTextFax(const std::string& textPath, const std::string& tiffPath, std::string& error);

}  // namespace vestrel::tamsin
