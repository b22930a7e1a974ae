#include "GreyPicture.h"

#include <opencv2/imgproc.hpp>

namespace vestrel::docproc::detail {

bool IsAcceptedPicture(const cv::Mat& picture)
{
    if (picture.empty() || picture.dims != 2)
        return false;
    switch (picture.type()) {
    case CV_8UC1:
    case CV_8UC3:
    case CV_8UC4:
    case CV_16UC1:
        return true;
    default:
        return false;
    }
}

cv::Mat GreyOf(const cv::Mat& picture)
{
    cv::Mat grey;
    switch (picture.type()) {
    case CV_8UC1:
        grey = picture;
        break;
    case CV_8UC3:
        cv::cvtColor(picture, grey, cv::COLOR_BGR2GRAY);
        break;
    case CV_8UC4:
        cv::cvtColor(picture, grey, cv::COLOR_BGRA2GRAY);
        break;
    case CV_16UC1:
        picture.convertTo(grey, CV_8U, 1.0 / 257.0);
        break;
    default:
        break;
    }
    return grey;
}

}  // namespace vestrel::docproc::detail
