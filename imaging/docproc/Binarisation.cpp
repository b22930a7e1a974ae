#include "Binarisation.h"

#include "GreyPicture.h"
#include "InkMask.h"
#include "NoThrow.h"

namespace vestrel::docproc {

bool Binarise(const cv::Mat& source, cv::Mat& blackWhite)
{
    if (!detail::IsAcceptedPicture(source))
        return false;
    return detail::NoThrow(false, [&] {
        const cv::Mat ink = detail::InkMask(detail::GreyOf(source));
        cv::Mat result;
        cv::bitwise_not(ink, result);
        blackWhite = result;
        return true;
    });
}

}  // namespace vestrel::docproc
