#pragma once
// "视频格式": the frame sizes the camera can deliver. Frames always reach the program as
// 24-bit BGR, and libv4l2 picks the camera's own pixel format behind it for the size
// asked, so the page offers the sizes of all the camera's formats together; each size
// tells in its tool tip which of the camera's formats make it.

#include "CaptureTypes.h"

#include <QDialog>

#include <optional>

class QListWidget;
class QSpinBox;

namespace vestrel {

class VideoFormatDialog : public QDialog {
    Q_OBJECT
public:
    VideoFormatDialog(const std::vector<PixelFormatInfo>& formats, FrameSize current, QWidget* parent);

    // The size chosen; nothing when none is (an empty list and no typed size).
    std::optional<FrameSize> chosenSize() const;
    void selectSize(const FrameSize& size);
    QListWidget* sizeList() const { return sizeList_; }

private:
    QListWidget* sizeList_;
    QSpinBox* widthBox_;   // shown when some format takes any size
    QSpinBox* heightBox_;
};

}  // namespace vestrel
