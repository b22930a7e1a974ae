#include "BrushTool.h"

#include "CQuorvanView.h"
#include "ToolCursors.h"

namespace vestrel::tools {

using document::ToolInput;

BrushTool::BrushTool(document::CQuorvanDoc& doc, document::CQuorvanView& view, document::Tool kind)
    : m_doc(doc), m_view(view), m_kind(kind)
{
}

bool BrushTool::press(const ToolInput& input)
{
    if (!(input.buttons & Qt::LeftButton) || !m_doc.Image()) return false;
    m_stroke.end();
    // The step is taken once per stroke, before its first stamp.
    if (!m_doc.PushHistory()) return true;
    m_view.imageAreaChanged(m_stroke.begin(*m_doc.Image(), input.pixel, m_doc.Brush()));
    return true;
}

bool BrushTool::move(const ToolInput& input)
{
    // Hovering changes nothing; the pane need not repaint either.
    if (!m_stroke.active() || !(input.buttons & Qt::LeftButton) || !m_doc.Image()) return true;
    m_view.imageAreaChanged(m_stroke.extend(*m_doc.Image(), input.pixel, m_doc.Brush()));
    return true;
}

bool BrushTool::release(const ToolInput&)
{
    m_stroke.end();
    return false;
}

std::optional<QCursor> BrushTool::cursorAt(QPoint) const
{
    if (m_kind == document::Tool::Pen) return PenCursor();
    return EraserCursor(m_doc.EraserSize());
}

}  // namespace vestrel::tools
