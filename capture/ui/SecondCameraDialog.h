#pragma once
// "视频 2": the second camera's small window beside the live pane, with its scan button,
// its frame-size list and the button that shrinks it to a corner.

#include <QDialog>
#include <QSize>

#include <functional>
#include <string>

class QComboBox;
class QPushButton;

namespace vestrel {

class CVideoCapture;
class Prompter;
class VideoWindow;

class SecondCameraDialog : public QDialog {
    Q_OBJECT
public:
    static constexpr int kScanButtonId = 1085;
    static constexpr int kSizeComboId = 1029;
    static constexpr int kMiniButtonId = 1086;
    static constexpr QSize kMiniSize{65, 60};

    SecondCameraDialog(CVideoCapture& capture, QWidget* parent);
    ~SecondCameraDialog() override;

    // What "扫 描" does; the scanning side connects it.
    void setScanHook(std::function<void()> hook) { scanHook_ = std::move(hook); }

    VideoWindow* videoWindow() const { return video_; }
    QComboBox* sizeBox() const { return sizeBox_; }
    QPushButton* miniButton() const { return miniButton_; }
    QPushButton* scanButton() const { return scanButton_; }
    bool isMini() const { return mini_; }
    void toggleMini();
    // "160*120" and the like: splits at '*' and switches the camera to that size.
    bool chooseSize(const QString& text);

protected:
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void shutDownCamera();

    CVideoCapture& capture_;
    VideoWindow* video_;
    QComboBox* sizeBox_;
    QPushButton* scanButton_;
    QPushButton* miniButton_;
    bool mini_ = false;
    QSize normalSize_;
    bool cameraClosed_ = false;
    std::function<void()> scanHook_;
};

// Opens the second camera, found by its USB ids, in a new "视频 2" dialog placed at the
// live pane's client right - 390 and top + 80. Shows "没找第二个视频设备" and returns null
// when no listed device has the ids; the main camera goes on untouched either way.
// A dialog still open from before (`previous`) is closed first.
SecondCameraDialog* OpenSecondCamera(CVideoCapture& second, Prompter& prompter, const std::string& vid,
                                     const std::string& pid, QWidget* livePane,
                                     SecondCameraDialog* previous = nullptr);

}  // namespace vestrel
