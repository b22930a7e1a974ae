#pragma once
// The recording's small floating tool window: record again, stop, play and close, with the
// recording's state in its caption ("正在录制视频中..." or "录制视频停止") and its figures
// on a line below the buttons. Its close box only hides it; the main window notices (its
// watch timer) and ends the recording as the close button would.

#include <QWidget>

#include <vector>

class QAction;
class QLabel;

namespace vestrel {

inline constexpr const char* kRecordingCaption = "正在录制视频中...";
inline constexpr const char* kRecordingStoppedCaption = "录制视频停止";
inline constexpr int kRecordingToolWindowX = 700;  // screen position
inline constexpr int kRecordingToolWindowY = 100;

class RecordingToolWindow : public QWidget {
    Q_OBJECT
public:
    // `buttons` in their order on the bar.
    RecordingToolWindow(const std::vector<QAction*>& buttons, QWidget* parent);

    void setFigures(const QString& text);
    QString figures() const;

private:
    QLabel* figures_;
};

}  // namespace vestrel
