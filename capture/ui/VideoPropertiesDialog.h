#pragma once
// "视频属性": one row per camera control, each change applied at once.

#include "CaptureTypes.h"

#include <QDialog>

namespace vestrel {

class CVideoCapture;

class VideoPropertiesDialog : public QDialog {
    Q_OBJECT
public:
    VideoPropertiesDialog(CVideoCapture& capture, QWidget* parent);

    // Puts every control back to its default value.
    void restoreDefaults();

private:
    void build();
    void apply(std::uint32_t id, int value);

    CVideoCapture& capture_;
    std::vector<CameraControl> controls_;
};

}  // namespace vestrel
