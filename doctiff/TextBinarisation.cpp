#include "TextBinarisation.h"

#include <opencv2/imgproc.hpp>

#ifdef VESTREL_DOCTIFF_DOCPROC
#include "Binarisation.h"
#endif

namespace vestrel::doctiff {
namespace {

cv::Mat LocalThreshold(const cv::Mat& gray) {
    // A dot is black when it is clearly darker than its neighbourhood (thin strokes on
    // shaded paper), or dark in absolute terms (the inside of large black areas, where
    // the local mean is as dark as the dot itself). Paper-light dots are always white,
    // so scanner noise on a blank page does not turn into specks.
    cv::Mat localMean;
    cv::blur(gray, localMean, cv::Size(31, 31), cv::Point(-1, -1), cv::BORDER_REPLICATE);
    cv::Mat lifted, clearlyDarker, notPaper, dark;
    cv::add(gray, cv::Scalar(20), lifted);  // saturating
    cv::compare(lifted, localMean, clearlyDarker, cv::CMP_LT);
    cv::compare(gray, cv::Scalar(200), notPaper, cv::CMP_LT);
    cv::compare(gray, cv::Scalar(96), dark, cv::CMP_LT);
    cv::Mat black = dark | (clearlyDarker & notPaper);
    cv::Mat out;
    cv::bitwise_not(black, out);
    return out;
}

}  // namespace

cv::Mat BinariseText(const cv::Mat& gray) {
#ifdef VESTREL_DOCTIFF_DOCPROC
    cv::Mat blackWhite;
    if (docproc::Binarise(gray, blackWhite)) return blackWhite;
#endif
    return LocalThreshold(gray);
}

}  // namespace vestrel::doctiff
