#include "Binarisation.h"

#include "GreyPicture.h"
#include "InkMask.h"

#include <exception>

namespace vestrel::docproc {

bool Binarise(const cv::Mat& source, cv::Mat& blackWhite)
{
    if (!detail::IsAcceptedPicture(source))
        return false;
    try {
        const cv::Mat ink = detail::InkMask(detail::GreyOf(source));
        cv::Mat result;
        cv::bitwise_not(ink, result);
        blackWhite = result;
        return true;
    } catch (const cv::Exception&) {
        return false;
    } catch (const std::exception&) {
        return false;
    }
}

}  // namespace vestrel::docproc
