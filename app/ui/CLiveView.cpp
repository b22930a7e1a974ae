#include "CLiveView.h"

#include <QContextMenuEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QUrl>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QRubberBand>

namespace vestrel {

CLiveView::CLiveView(QWidget* parent) : QWidget(parent)
{
    setFocusPolicy(Qt::StrongFocus);
    setMinimumSize(10, 10);
    setAutoFillBackground(true);
    QPalette p = palette();
    p.setColor(QPalette::Window, QColor(40, 40, 40));
    setPalette(p);
    band_ = new QRubberBand(QRubberBand::Rectangle, this);
    setAcceptDrops(true);
}

void CLiveView::setVideoWindow(QWidget* window)
{
    video_ = window;
    if (!video_) return;
    // The video window passes its mouse and keys on to us by itself.
    video_->setParent(this);
    video_->show();
    band_->raise();
}

void CLiveView::setPresetDraw(bool on)
{
    presetDraw_ = on;
    if (!on) band_->hide();
    setCursor(on ? Qt::CrossCursor : Qt::ArrowCursor);
}

void CLiveView::finishPresetDrag(QPoint from, QPoint to)
{
    band_->setGeometry(QRect(from, to).normalized());
    const ClientRect r{from.x(), from.y(), to.x(), to.y()};
    // A click or a tiny drag leaves the rectangle as it was.
    if (!IsPresetDrag(r) || !geometry_) return;
    emit presetDrawn(ToFrameRect(r, geometry_()));
}

void CLiveView::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        emit scanRequested();
        return;
    }
    if (event->key() == Qt::Key_Escape) {
        band_->hide();
        emit stopRequested();
        return;
    }
    QWidget::keyPressEvent(event);
}

void CLiveView::mousePressEvent(QMouseEvent* event)
{
    setFocus();
    if (event->button() == Qt::RightButton) {
        emit contextMenuRequested(event->globalPosition().toPoint());
        return;
    }
    if (presetDraw_ && event->button() == Qt::LeftButton) {
        dragging_ = true;
        dragStart_ = event->position().toPoint();
        band_->setGeometry(QRect(dragStart_, QSize()));
        band_->show();
        emit previewPauseRequested(true);
        return;
    }
    QWidget::mousePressEvent(event);
}

void CLiveView::mouseMoveEvent(QMouseEvent* event)
{
    if (dragging_) {
        band_->setGeometry(QRect(dragStart_, event->position().toPoint()).normalized());
        return;
    }
    QWidget::mouseMoveEvent(event);
}

void CLiveView::mouseReleaseEvent(QMouseEvent* event)
{
    if (dragging_ && event->button() == Qt::LeftButton) {
        dragging_ = false;
        emit previewPauseRequested(false);
        finishPresetDrag(dragStart_, event->position().toPoint());
        return;
    }
    QWidget::mouseReleaseEvent(event);
}

void CLiveView::contextMenuEvent(QContextMenuEvent* event)
{
    // The right button's press already opened the menu.
    event->accept();
}

namespace {

QStringList LocalFiles(const QMimeData* data)
{
    QStringList paths;
    if (!data) return paths;
    for (const QUrl& url : data->urls())
        if (url.isLocalFile()) paths << url.toLocalFile();
    return paths;
}

}  // namespace

void CLiveView::dragEnterEvent(QDragEnterEvent* event)
{
    if (!LocalFiles(event->mimeData()).isEmpty()) event->acceptProposedAction();
}

void CLiveView::dropEvent(QDropEvent* event)
{
    const QStringList paths = LocalFiles(event->mimeData());
    if (paths.isEmpty()) return;
    event->acceptProposedAction();
    emit filesDropped(paths);
}

}  // namespace vestrel
