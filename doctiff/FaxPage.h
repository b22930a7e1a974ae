#pragma once
// Turning one source page into one fax page: fitted into the fax page keeping the
// page's proportions on paper, then black and white.

#include "PageReader.h"

#include <opencv2/core.hpp>

namespace vestrel::doctiff {

struct FaxPageFormat {
    int width = 1728;      // pixels
    int height = 2444;
    double xResolution = 204;  // dots per inch
    double yResolution = 196;
};

// The page scaled so that it fills as much of the fax page as its proportions allow,
// centred on white. A page without resolution is taken to have square pixels. Because the
// fax resolutions differ, square source pixels become 204:196 fax pixels.
cv::Mat FitToFaxPage(const SourcePage& page, const FaxPageFormat& format);

// True for a page whose grey values spread like a photograph's rather than like print.
bool LooksLikePhotograph(const cv::Mat& gray);

// Black and white for a fax: printed pages through the document binarisation, photographs
// through error diffusion so that their shades survive as dot density. A page that was
// bilevel already is only thresholded. Result: CV_8UC1 holding 0 and 255, or empty when
// the binarisation could not be done (out of memory).
cv::Mat FaxBlackAndWhite(const cv::Mat& fitted, bool sourceWasBilevel);

// Error diffusion (Floyd and Steinberg) to 0/255.
cv::Mat DitherPhotograph(const cv::Mat& gray);

}  // namespace vestrel::doctiff
