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
        blackWhite = detail::PaperMask(detail::GreyOf(source));
        return true;
    });
}

}  // namespace vestrel::docproc
