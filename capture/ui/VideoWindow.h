#pragma once
// The live picture: a child of its owner window that shows the grabber's newest masked
// and turned preview frame at the place the video-window placements give, and passes the
// mouse and keys on to its owner (unless zoomed in actual-size mode).

#include "VideoWindowPlacement.h"

#include <QImage>
#include <QWidget>

#include <opencv2/core.hpp>

#include <cstdint>
#include <functional>

class QTimer;

namespace vestrel {

class CVideoCapture;

// Runs `onUiThread` on `context`'s thread when `capture` loses its device (the capture
// thread only posts it). Replaces the capture's device-lost handler.
void ConnectDeviceLost(CVideoCapture& capture, QObject* context, std::function<void()> onUiThread);

class VideoWindow : public QWidget {
    Q_OBJECT
public:
    enum class Mode { FitWindow, ActualSize };

    VideoWindow(CVideoCapture& capture, QWidget* owner);

    // Re-places the window in its owner for the current mode, zoom, frame size and turn
    // (the owner's resizes do this by themselves).
    void relayout();
    // Runs the stream and shows the window, or pauses it and hides the window (the main
    // window minimised and restored).
    bool showPreview(bool on);
    void setMode(Mode mode);
    Mode mode() const { return mode_; }
    void setZoomLevel(int level);
    int zoomLevel() const { return zoom_; }
    // The zoom offsets of the last placement.
    QPoint zoomOffset() const { return zoomOffset_; }
    bool forwardsInput() const { return forwardsInput_; }

    // Frames painted since the window was made: what the live picture really shows.
    std::uint64_t framesShown() const { return framesShown_; }
    // Takes the newest preview frame when there is one; true when it was new.
    bool pollFrame();

protected:
    void paintEvent(QPaintEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;

private:
    void forwardMouse(QMouseEvent* event);
    cv::Size shownFrameSize() const;

    CVideoCapture& capture_;
    QWidget* owner_;
    QTimer* timer_;
    Mode mode_ = Mode::FitWindow;
    int zoom_ = 0;
    QPoint zoomOffset_;
    bool forwardsInput_ = true;
    cv::Mat preview_;
    std::uint64_t previewSequence_ = 0;
    cv::Mat scaled_;  // the painted part, scaled to the screen
    std::uint64_t framesShown_ = 0;
};

}  // namespace vestrel
