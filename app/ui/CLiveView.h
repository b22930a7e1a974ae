#pragma once
// The live side of the image pane: the owner of the camera's video window. It takes the
// keys of the live picture (Enter scans, Esc stops what runs), its context menu, and, while
// the preset size entry waits for one, the rectangle the user drags over the picture.

#include "PresetRect.h"

#include <QPoint>
#include <QStringList>
#include <QWidget>

#include <functional>

class QRubberBand;

namespace vestrel {

class CLiveView : public QWidget {
    Q_OBJECT
public:
    explicit CLiveView(QWidget* parent = nullptr);

    // The child that shows the camera picture (the capture layer's video window).
    void setVideoWindow(QWidget* window);
    QWidget* videoWindow() const { return video_; }

    // The preset entry waits for, or holds, a drawn rectangle.
    void setPresetDraw(bool on);
    bool presetDraw() const { return presetDraw_; }
    // The geometry a drag is converted with; asked when the drag ends.
    void setGeometrySource(std::function<LiveViewGeometry()> source) { geometry_ = std::move(source); }

    // Ends a drag from `from` to `to` (client pixels), as a mouse release does.
    void finishPresetDrag(QPoint from, QPoint to);

signals:
    void scanRequested();                 // Enter
    void stopRequested();                 // Esc
    void contextMenuRequested(QPoint globalPos);
    void presetDrawn(vestrel::FrameRect rect);
    void previewPauseRequested(bool paused);  // the picture holds still while dragging
    void filesDropped(const QStringList& paths);  // local files dropped on the picture

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    QWidget* video_ = nullptr;
    QRubberBand* band_ = nullptr;
    bool presetDraw_ = false;
    bool dragging_ = false;
    QPoint dragStart_;
    std::function<LiveViewGeometry()> geometry_;
};

}  // namespace vestrel
