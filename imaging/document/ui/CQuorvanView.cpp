#include "CQuorvanView.h"

#include "CQuorvanDoc.h"

#include <QContextMenuEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <QUrl>

#include <algorithm>
#include <cmath>

namespace vestrel::document {
namespace {

// The local files among dropped URLs, in their order.
QStringList LocalFiles(const QMimeData* mime)
{
    QStringList paths;
    if (!mime || !mime->hasUrls()) return paths;
    for (const QUrl& url : mime->urls())
        if (url.isLocalFile()) paths << url.toLocalFile();
    return paths;
}

}  // namespace

CQuorvanView::CQuorvanView(CQuorvanDoc& doc, QWidget* parent) : QAbstractScrollArea(parent), doc_(doc)
{
    setMinimumSize(10, 10);
    setFrameShape(QFrame::NoFrame);
    setFocusPolicy(Qt::StrongFocus);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    // The picture covers what it is drawn over; the rest is painted white each time.
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    viewport()->setMouseTracking(true);
    setAcceptDrops(true);
    viewport()->setAcceptDrops(true);
}

// ---- State the pane reads from the document ----------------------------------------------

bool CQuorvanView::showsPicture() const
{
    return doc_.Image() && doc_.Image()->IsValid() && !doc_.IsLiveShown();
}

PaneSize CQuorvanView::scrollExtent() const
{
    if (!showsPicture() || doc_.IsFitWindow()) return {};
    const CxImage& image = *doc_.Image();
    return ZoomedExtent(image.GetWidth(), image.GetHeight(), doc_.Zoom());
}

QSize CQuorvanView::drawnSize() const
{
    if (!showsPicture()) return {};
    const CxImage& image = *doc_.Image();
    if (!doc_.IsFitWindow()) {
        const PaneSize extent = scrollExtent();
        return {extent.width, extent.height};
    }
    const float fit = FitScale(clientSize(), image.GetWidth(), image.GetHeight());
    return {int(float(image.GetWidth()) * fit), int(float(image.GetHeight()) * fit)};
}

PaneSize CQuorvanView::clientSize() const
{
    return {viewport()->width(), viewport()->height()};
}

QPoint CQuorvanView::scrollPosition() const
{
    return {horizontalScrollBar()->value(), verticalScrollBar()->value()};
}

ViewMapping CQuorvanView::mapping() const
{
    ViewMapping m;
    m.fitWindow = doc_.IsFitWindow();
    m.zoom = doc_.Zoom();
    if (const CxImage* image = doc_.Image())
        m.fitScale = FitScale(clientSize(), image->GetWidth(), image->GetHeight());
    const QPoint scroll = scrollPosition();
    m.scrollX = scroll.x();
    m.scrollY = scroll.y();
    return m;
}

PixelPoint CQuorvanView::imagePointAt(QPoint client) const
{
    return ClientToImage(mapping(), client.x(), client.y());
}

// ---- Updates --------------------------------------------------------------------------------

void CQuorvanView::imageChanged()
{
    cache_.invalidate();
    pasteCache_.invalidate();
    refresh();
}

void CQuorvanView::imageAreaChanged(const PixelRect& area)
{
    if (area.empty()) return;
    cache_.refreshArea(doc_.Image(), area.left, area.top, area.right, area.bottom);
    // ImageRectToClient already holds the point more on each side that the smoothing of a
    // scaled-down picture blends in.
    const PaneRect pane = ImageRectToClient(mapping(), area.left, area.top, area.right, area.bottom);
    viewport()->update(QRect(pane.left, pane.top, pane.right - pane.left, pane.bottom - pane.top));
}

void CQuorvanView::refresh()
{
    syncScrollBars();
    updateCursor();
    viewport()->update();
}

void CQuorvanView::resetScroll()
{
    horizontalScrollBar()->setValue(0);
    verticalScrollBar()->setValue(0);
}

void CQuorvanView::syncScrollBars()
{
    const PaneSize extent = scrollExtent();
    const PaneSize client = clientSize();
    QScrollBar* h = horizontalScrollBar();
    QScrollBar* v = verticalScrollBar();
    h->setRange(0, std::max(0, extent.width - client.width));
    v->setRange(0, std::max(0, extent.height - client.height));
    h->setPageStep(std::max(1, client.width));
    v->setPageStep(std::max(1, client.height));
    h->setSingleStep(std::max(1, client.width / 10));
    v->setSingleStep(std::max(1, client.height / 10));
}

void CQuorvanView::updateCursor()
{
    if (StillTool* tool = showsPicture() ? activeTool() : nullptr) {
        if (const std::optional<QCursor> cursor = tool->cursorAt(m_ptPointer)) {
            viewport()->setCursor(*cursor);
            return;
        }
    }
    if (showsPicture() && doc_.ToolOn(Tool::Pan) && !doc_.IsFitWindow())
        viewport()->setCursor(m_bButtonDown ? Qt::ClosedHandCursor : Qt::OpenHandCursor);
    else
        viewport()->unsetCursor();
}

void CQuorvanView::resizeEvent(QResizeEvent* event)
{
    QAbstractScrollArea::resizeEvent(event);
    syncScrollBars();
}

void CQuorvanView::scrollContentsBy(int dx, int dy)
{
    // What stays in sight is moved, not drawn again: only the uncovered strip is painted.
    viewport()->scroll(dx, dy);
}

// ---- Drawing --------------------------------------------------------------------------------

void CQuorvanView::paintEvent(QPaintEvent* event)
{
    syncScrollBars();
    QPainter painter(viewport());
    const QRect exposed = event->rect();
    painter.fillRect(exposed, Qt::white);
    if (!showsPicture()) return;
    drawPicture(painter, exposed);
    if (doc_.HasFloatingPaste()) drawPaste(painter);
    const ViewMapping map = mapping();
    for (const auto& tool : tools_)
        if (tool->isOn()) tool->paint(painter, map);
}

void CQuorvanView::drawPicture(QPainter& painter, const QRect& exposed)
{
    const CxImage* image = doc_.Image();
    const QSize drawn = drawnSize();
    if (drawn.isEmpty()) return;
    const QPoint origin = doc_.IsFitWindow() ? QPoint() : -scrollPosition();
    const QRect visible = exposed & QRect(origin, drawn);
    if (visible.isEmpty()) return;

    const QSize actual(image->GetWidth(), image->GetHeight());
    if (drawn == actual || drawn.width() < actual.width() || drawn.height() < actual.height()) {
        // At or below actual size the picture (scaled once) is copied pixel for pixel, only
        // the part that needs painting.
        const QImage& source = drawn == actual ? cache_.picture(image) : cache_.scaled(image, drawn);
        painter.drawImage(visible.topLeft(), source, visible.translated(-origin));
        return;
    }
    // Above actual size every picture pixel becomes a block: the exposed part is mapped
    // back to whole picture pixels, so neighbouring updates meet without seams.
    const QImage& source = cache_.picture(image);
    if (source.isNull()) return;
    const double kx = double(drawn.width()) / actual.width();
    const double ky = double(drawn.height()) / actual.height();
    const QRect content = visible.translated(-origin);
    const int left = std::max(0, int(std::floor(content.left() / kx)));
    const int top = std::max(0, int(std::floor(content.top() / ky)));
    const int right = std::min(actual.width(), int(std::ceil((content.right() + 1) / kx)));
    const int bottom = std::min(actual.height(), int(std::ceil((content.bottom() + 1) / ky)));
    if (right <= left || bottom <= top) return;
    const QRectF pixels(left, top, right - left, bottom - top);
    painter.save();
    painter.setClipRect(visible);
    painter.translate(origin);
    painter.scale(kx, ky);
    painter.drawImage(pixels, source, pixels);
    painter.restore();
}

QRectF CQuorvanView::pasteRect() const
{
    const CxImage* paste = doc_.Paste();
    if (!paste || !doc_.Image()) return {};
    const ViewMapping m = mapping();
    const float scale = m.fitWindow ? m.fitScale : m.zoom;
    // A fitted picture never scrolls.
    const QPoint origin = m.fitWindow ? QPoint() : QPoint(-m.scrollX, -m.scrollY);
    return QRectF(m_ptPaste + origin, QSizeF(paste->GetWidth() * scale, paste->GetHeight() * scale));
}

void CQuorvanView::drawPaste(QPainter& painter)
{
    const QImage& paste = pasteCache_.picture(doc_.Paste());
    if (paste.isNull()) return;
    const QRectF target = pasteRect();
    painter.save();
    // Smoothed only where it is drawn smaller than it is.
    painter.setRenderHint(QPainter::SmoothPixmapTransform, target.width() < paste.width());
    painter.drawImage(target, paste);
    painter.restore();
}

// ---- Tools ----------------------------------------------------------------------------------

void CQuorvanView::installTool(std::unique_ptr<StillTool> tool)
{
    if (tool) tools_.push_back(std::move(tool));
}

StillTool* CQuorvanView::activeTool() const
{
    for (const auto& tool : tools_)
        if (tool->isOn()) return tool.get();
    return nullptr;
}

void CQuorvanView::cancelTools()
{
    for (const auto& tool : tools_) tool->cancel();
}

ToolInput CQuorvanView::toolInput(const QMouseEvent& event)
{
    const QPoint point = event.position().toPoint();
    m_ptPointer = point;  // where the cursor is asked for next
    return {point, imagePointAt(point), event.buttons(), event.modifiers()};
}

// ---- Mouse ----------------------------------------------------------------------------------

void CQuorvanView::mousePressEvent(QMouseEvent* event)
{
    const QPoint point = event->position().toPoint();
    if (event->button() == Qt::RightButton) {
        m_ptPaste = point + scrollPosition();
        m_ptPasteStart = point;
        emit contextMenuRequested(event->globalPosition().toPoint());
        return;
    }
    if (event->button() != Qt::LeftButton || !showsPicture()) {
        QAbstractScrollArea::mousePressEvent(event);
        return;
    }
    doc_.ClearLasso();
    // A click starts over: the old selection goes, except while cropping it.
    if (!doc_.ToolOn(Tool::Crop)) doc_.Image()->SelectionDelete();
    if (StillTool* tool = activeTool(); tool && tool->press(toolInput(*event))) {
        updateCursor();
        viewport()->update();
        return;
    }
    if (doc_.ToolOn(Tool::Pan)) {
        m_ptScrollAtDown = scrollPosition();
        m_ptMouseAtDown = point;
        m_bButtonDown = true;
    }
    updateCursor();
}

void CQuorvanView::mouseMoveEvent(QMouseEvent* event)
{
    if (!showsPicture()) {
        QAbstractScrollArea::mouseMoveEvent(event);
        return;
    }
    const ToolInput input = toolInput(*event);
    if (StillTool* tool = activeTool(); tool && tool->move(input)) {
        updateCursor();
        return;
    }
    if (m_bButtonDown && doc_.ToolOn(Tool::Pan) && (event->buttons() & Qt::LeftButton)) {
        const QPoint point = event->position().toPoint();
        const PaneSize extent = scrollExtent();
        const PaneSize client = clientSize();
        horizontalScrollBar()->setValue(
            PanScrollTarget(m_ptMouseAtDown.x(), m_ptScrollAtDown.x(), point.x(), client.width, extent.width));
        verticalScrollBar()->setValue(
            PanScrollTarget(m_ptMouseAtDown.y(), m_ptScrollAtDown.y(), point.y(), client.height, extent.height));
    }
    updateCursor();
    viewport()->update();
}

void CQuorvanView::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        QAbstractScrollArea::mouseReleaseEvent(event);
        return;
    }
    m_bButtonDown = false;
    if (StillTool* tool = showsPicture() ? activeTool() : nullptr; tool && tool->release(toolInput(*event)))
        viewport()->update();
    updateCursor();
}

void CQuorvanView::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) return;
    doc_.RepaintInfoPane();
    if (StillTool* tool = showsPicture() ? activeTool() : nullptr; tool && tool->doubleClick(toolInput(*event))) {
        viewport()->update();
        return;
    }
    // A double-click while cropping belongs to the crop tool.
    if (doc_.ToolOn(Tool::Crop)) return;
    emit leaveFullScreenRequested();
}

void CQuorvanView::contextMenuEvent(QContextMenuEvent* event)
{
    // The right button has asked for the menu already; a context-menu key asks here.
    if (event->reason() != QContextMenuEvent::Mouse) emit contextMenuRequested(event->globalPos());
    event->accept();
}

// ---- Keys -----------------------------------------------------------------------------------

void CQuorvanView::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (doc_.IsLiveShown()) emit scanRequested();
        return;
    case Qt::Key_Escape:
        doc_.OnEscape();
        cancelTools();
        imageChanged();  // the transparent colour is gone
        emit stopRequested();
        return;
    case Qt::Key_Space:
        if (!showsPicture()) return;
        if (doc_.HasFloatingPaste()) {
            emit pasteTurnRequested();
        } else if (doc_.TurnImageRight()) {
            imageChanged();
        }
        return;
    default:
        QAbstractScrollArea::keyPressEvent(event);
    }
}

void CQuorvanView::keyReleaseEvent(QKeyEvent* event)
{
    // A held key repeats its releases; the file goes once, when the key comes up.
    if (event->key() != Qt::Key_Delete || event->isAutoRepeat() || doc_.IsLiveShown()) {
        QAbstractScrollArea::keyReleaseEvent(event);
        return;
    }
    if (doc_.HasFloatingPaste()) doc_.RemovePaste();
    else doc_.OnDelete();
    imageChanged();
}

// ---- Dropped files ------------------------------------------------------------------------

void CQuorvanView::dragEnterEvent(QDragEnterEvent* event)
{
    if (!LocalFiles(event->mimeData()).isEmpty()) event->acceptProposedAction();
}

void CQuorvanView::dragMoveEvent(QDragMoveEvent* event)
{
    if (!LocalFiles(event->mimeData()).isEmpty()) event->acceptProposedAction();
}

void CQuorvanView::dropEvent(QDropEvent* event)
{
    const QStringList paths = LocalFiles(event->mimeData());
    if (paths.isEmpty()) return;
    event->acceptProposedAction();
    openDroppedFiles(paths);
}

void CQuorvanView::openDroppedFiles(const QStringList& paths)
{
    for (const QString& path : paths)
        if (!doc_.OpenDropped(path.toStdString())) break;
    imageChanged();
}

}  // namespace vestrel::document
