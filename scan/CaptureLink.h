#pragma once
// The scanner's view of a camera of the capture layer: its newest unchanged frame, and the
// two format switches that choosing a size or an orientation asks for.

#include "ScanAreaSelection.h"
#include "ScanSeams.h"

namespace vestrel {
class CVideoCapture;
class CFrameGrabber;
}  // namespace vestrel

namespace vestrel::scan {

class GrabberFrameSource final : public FrameSource {
public:
    explicit GrabberFrameSource(CFrameGrabber& grabber) : grabber_(grabber) {}
    // Takes the frame for a scan (see CFrameGrabber::TakeFrameForScan).
    bool copyNewestFrame(cv::Mat& frame) override;

private:
    CFrameGrabber& grabber_;
};

class CaptureFormatControl final : public CameraFormatControl {
public:
    explicit CaptureFormatControl(CVideoCapture& capture) : capture_(capture) {}
    bool setFrameSize(int width, int height) override;
    bool setRgb24() override;

private:
    CVideoCapture& capture_;
};

}  // namespace vestrel::scan
