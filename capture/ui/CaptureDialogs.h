#pragma once
// The camera's own pages: "视频属性" (its controls: brightness, contrast, exposure,
// focus ...) and "视频格式" (pixel format and frame size), each shown at (30, 30) in its
// owner window.

#include <functional>

class QWidget;

namespace vestrel {

class CVideoCapture;

inline constexpr int kPropertyPageX = 30;
inline constexpr int kPropertyPageY = 30;

// Shows the controls of the open device; "视频设备未到位！" and false when none is open.
bool ShowDeviceProperties(CVideoCapture& capture, QWidget* owner);

// Stops the stream, lets the user pick a format and applies it; then, while recording,
// `rebuildRecording` builds the recording again, otherwise the preview is built and run.
// False when no device is open.
bool ShowFormatPages(CVideoCapture& capture, QWidget* owner, bool recording,
                     const std::function<void()>& rebuildRecording = {});

}  // namespace vestrel
