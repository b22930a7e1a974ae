#pragma once
// "视频格式": the pixel formats the camera offers and, for the chosen one, its frame sizes.
// Frames always reach the program as 24-bit BGR; the camera's own format only decides
// which sizes it can deliver.

#include "CaptureTypes.h"

#include <QDialog>

#include <optional>

class QComboBox;
class QListWidget;
class QSpinBox;

namespace vestrel {

class VideoFormatDialog : public QDialog {
    Q_OBJECT
public:
    VideoFormatDialog(std::vector<PixelFormatInfo> formats, FrameSize current, QWidget* parent);

    // The size chosen; nothing when none is (an empty list and no typed size).
    std::optional<FrameSize> chosenSize() const;
    void selectFormat(int index);
    void selectSize(const FrameSize& size);

private:
    void fillSizes();

    std::vector<PixelFormatInfo> formats_;
    FrameSize current_;
    QComboBox* formatBox_;
    QListWidget* sizeList_;
    QSpinBox* widthBox_;   // for formats that take any size
    QSpinBox* heightBox_;
};

}  // namespace vestrel
