#include "CaptureDialogs.h"

#include "CVideoCapture.h"
#include "VideoFormatDialog.h"
#include "VideoPropertiesDialog.h"

#include <QWidget>

namespace vestrel {
namespace {

void placeInOwner(QWidget& dialog, QWidget* owner)
{
    if (owner) dialog.move(owner->mapToGlobal(QPoint(kPropertyPageX, kPropertyPageY)));
}

}  // namespace

bool ShowDeviceProperties(CVideoCapture& capture, QWidget* owner)
{
    if (!capture.CheckDevicePresent()) return false;
    VideoPropertiesDialog dialog(capture, owner);
    placeInOwner(dialog, owner);
    dialog.exec();
    return true;
}

bool ShowFormatPages(CVideoCapture& capture, QWidget* owner, bool recording,
                     const std::function<void()>& rebuildRecording)
{
    if (!capture.CheckDevicePresent()) return false;
    capture.Stop();
    capture.TearDownDownstream();
    VideoFormatDialog dialog(capture.Formats(), capture.FormatSize(), owner);
    placeInOwner(dialog, owner);
    if (dialog.exec() == QDialog::Accepted) {
        if (const auto size = dialog.chosenSize()) capture.ApplyFrameSize(size->width, size->height);
    }
    if (recording) {
        if (rebuildRecording) rebuildRecording();
    } else if (capture.BuildPreview()) {
        capture.Run();
    }
    return true;
}

}  // namespace vestrel
