#pragma once
// The still picture of the current document: the image at the document's zoom with
// scroll bars, or fitted to the pane, the floating paste over it, and the pan tool. The
// pane also takes dropped picture files and the keys of the still picture; what belongs to
// the main window (its context menu, stopping what runs, full screen, scanning) leaves as
// signals.

#include "PictureCache.h"
#include "StillTool.h"
#include "ViewGeometry.h"

#include <QAbstractScrollArea>
#include <QPoint>
#include <QPointF>
#include <QRectF>
#include <QStringList>

#include <functional>
#include <memory>
#include <vector>

namespace vestrel::document {

class CQuorvanDoc;

class CQuorvanView : public QAbstractScrollArea {
    Q_OBJECT
public:
    explicit CQuorvanView(CQuorvanDoc& doc, QWidget* parent = nullptr);

    // The document's picture or floating paste changed (loaded, edited, turned, undone):
    // the drawn copy is made again at the next repaint. Cheap to call more than once.
    void imageChanged();
    // Zoom, fit or tool state changed: scroll bars follow the picture's size, repaint.
    void refresh();
    // Back to the picture's top-left corner (a newly loaded picture).
    void resetScroll();

    // The pane's drawing area (without scroll bars), the client area of the pan rule.
    PaneSize clientSize() const;
    QPoint scrollPosition() const;
    // How pane points map to picture pixels now, and the pixel under a pane point.
    ViewMapping mapping() const;
    PixelPoint imagePointAt(QPoint client) const;

    // Top-left of the floating paste in scrolled pane coordinates (set by a right click).
    QPoint pastePosition() const { return m_ptPaste; }
    void setPastePosition(QPoint position) { m_ptPaste = position; }
    // The pane area the floating paste is drawn over: its position less the scroll, its
    // size at the picture's scale. Empty without a paste.
    QRectF pasteRect() const;
    // Pane point of the last right click, where a paste drag starts from.
    QPoint pasteStart() const { return m_ptPasteStart; }

    // Opens dropped files in order, as a drop onto the pane does (the live pane may hand
    // its drops here). Stops when the user cancels the save question.
    void openDroppedFiles(const QStringList& paths);

    // The manual deskew's rotation handle, in pane client pixels (the tool drags it).
    void setRotationHandle(QPointF handle) { m_rotationHandle = handle; }
    QPointF rotationHandle() const { return m_rotationHandle; }

    // The mouse tools: gestures over the picture go to the first installed tool that is on
    // (see StillTool.h). The pane owns them.
    void installTool(std::unique_ptr<StillTool> tool);
    StillTool* activeTool() const;
    // Esc: every tool drops what its gesture had started.
    void cancelTools();

    // A tool changed pixels [left, right) x [top, bottom) of the picture in place: only
    // they are converted again and only their part of the pane is repainted.
    void imageAreaChanged(const PixelRect& area);

    // Whether the main window is full screen now (a double click leaves it first).
    void setFullScreenSource(std::function<bool()> source) { fullScreenSource_ = std::move(source); }
    bool frameFullScreen() const { return fullScreenSource_ && fullScreenSource_(); }

    // Conversions of the picture made so far (the cache keeps repaints from converting).
    int pictureConversions() const { return cache_.conversions(); }

signals:
    void contextMenuRequested(QPoint globalPos);  // right button: the still picture's menu
    void stopRequested();             // Esc: stop recording, timed scanning, full screen
    void scanRequested();             // Enter while the live picture is shown
    void leaveFullScreenRequested();  // left double-click
    void pasteTurnRequested();        // Space over a floating paste

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    bool showsPicture() const;
    // The scrolled area the picture covers: its zoomed size, or nothing when fitted.
    PaneSize scrollExtent() const;
    // Size the picture is drawn at.
    QSize drawnSize() const;
    void syncScrollBars();
    void updateCursor();
    void drawPicture(QPainter& painter, const QRect& exposed);
    void drawPaste(QPainter& painter);
    // Also remembers the pointer, for the tool's cursor.
    ToolInput toolInput(const QMouseEvent& event);

    CQuorvanDoc& doc_;
    PictureCache cache_;
    PictureCache pasteCache_;
    QPoint m_ptScrollAtDown;
    QPoint m_ptMouseAtDown;
    bool m_bButtonDown = false;
    QPoint m_ptPaste;
    QPoint m_ptPasteStart;
    QPointF m_rotationHandle;
    std::vector<std::unique_ptr<StillTool>> tools_;
    QPoint m_ptPointer;  // last pane point a mouse event reported
    std::function<bool()> fullScreenSource_;
};

}  // namespace vestrel::document
