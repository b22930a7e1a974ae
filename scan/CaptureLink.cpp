#include "CaptureLink.h"

#include "CVideoCapture.h"
#include "FrameGrabber.h"

namespace vestrel::scan {

bool GrabberFrameSource::copyNewestFrame(cv::Mat& frame) { return grabber_.TakeFrameForScan(frame); }

bool CaptureFormatControl::setFrameSize(int width, int height)
{
    return capture_.SetFrameSize(width, height);
}

bool CaptureFormatControl::setRgb24() { return capture_.SetRgb24(); }

}  // namespace vestrel::scan
