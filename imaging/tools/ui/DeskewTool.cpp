#include "DeskewTool.h"

#include "CQuorvanView.h"
#include "DeskewHandle.h"
#include "ToolCursors.h"

#include <QPainter>

namespace vestrel::tools {

using document::ToolInput;

DeskewTool::DeskewTool(document::CQuorvanDoc& doc, document::CQuorvanView& view) : m_doc(doc), m_view(view) {}

bool DeskewTool::onHandle(QPoint client) const
{
    const QPointF handle = m_view.rotationHandle();
    const document::PaneSize pane = m_view.clientSize();
    return HandleHit({float(handle.x()), float(handle.y())}, client.x(), client.y(), pane.width, pane.height);
}

bool DeskewTool::press(const ToolInput& input)
{
    if (!(input.buttons & Qt::LeftButton)) return false;
    m_buttonDown = true;
    return true;
}

bool DeskewTool::move(const ToolInput& input)
{
    if (!m_buttonDown || !(input.buttons & Qt::LeftButton) || !m_doc.IsFitWindow() || !m_doc.Image()) return true;
    if (!onHandle(input.client)) return true;
    m_view.setRotationHandle(QPointF(input.client));
    const document::PaneSize pane = m_view.clientSize();
    const float degrees = DeskewAngle({float(input.client.x()), float(input.client.y())}, pane.width, pane.height);
    // Each turn starts again from the picture as it was, so turning back and forth does
    // not blur it.
    if (m_doc.Backup().IsValid() && TurnedFromBackup(m_doc.Backup(), degrees, *m_doc.Image())) m_view.imageChanged();
    else m_view.viewport()->update();
    return true;
}

bool DeskewTool::release(const ToolInput&)
{
    m_buttonDown = false;
    return false;
}

bool DeskewTool::doubleClick(const ToolInput&)
{
    // Full screen goes first; the pane leaves it when the tool passes.
    if (m_view.frameFullScreen() || !m_doc.Image()) return false;
    m_buttonDown = false;
    m_doc.EndManualDeskew();
    m_view.imageChanged();
    return true;
}

void DeskewTool::paint(QPainter& painter, const document::ViewMapping&)
{
    const QPointF handle = m_view.rotationHandle();
    const document::PaneSize pane = m_view.clientSize();
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    // The upright the picture is turned to, from the pane's centre to the handle.
    painter.setPen(QPen(QColor(0, 120, 215), 1, Qt::DashLine));
    painter.drawLine(QPointF(0.5 * pane.width, 0.5 * pane.height), handle);
    painter.setPen(QPen(QColor(0, 120, 215), 2));
    painter.setBrush(QColor(255, 255, 255, 200));
    painter.drawEllipse(handle, 9.0, 9.0);
    painter.restore();
}

std::optional<QCursor> DeskewTool::cursorAt(QPoint client) const
{
    if (onHandle(client)) return DeskewHandleCursor();
    return std::nullopt;
}

}  // namespace vestrel::tools
