#include "FreeSelectTool.h"

#include "CQuorvanView.h"
#include "LassoOutline.h"

#include <QPainter>

namespace vestrel::selection {

using document::Tool;
using document::ToolInput;

FreeSelectTool::FreeSelectTool(document::CQuorvanDoc& doc, SelectionCommands& commands, document::CQuorvanView& view)
    : doc_(doc), commands_(commands), view_(view)
{
    timer_.setInterval(kOutlineRedrawMs);
    QObject::connect(&timer_, &QTimer::timeout, [this] { redraw(); });
}

bool FreeSelectTool::isOn() const
{
    return doc_.ToolOn(Tool::FreeSelect);
}

void FreeSelectTool::redraw()
{
    // The outline goes with its tool (another tool, Esc, a copy, a crop).
    if (!isOn() || doc_.LassoCount() == 0) {
        timer_.stop();
        return;
    }
    view_.viewport()->update();
}

bool FreeSelectTool::press(const ToolInput&)
{
    // The pane has dropped the last outline and selection already; the points come with
    // the moves.
    timer_.stop();
    buttonDown_ = true;
    return true;
}

bool FreeSelectTool::move(const ToolInput& in)
{
    if (!buttonDown_ || !(in.buttons & Qt::LeftButton)) return false;
    commands_.AddLassoPoint(in.pixel);
    view_.viewport()->update();
    return true;
}

bool FreeSelectTool::release(const ToolInput&)
{
    if (!buttonDown_) return false;
    buttonDown_ = false;
    if (commands_.CloseLasso()) timer_.start();
    return true;
}

void FreeSelectTool::paint(QPainter& painter, const document::ViewMapping& mapping)
{
    const std::vector<OutlinePixel> outline = LassoOutline(doc_.Lasso(), mapping);
    if (outline.empty()) return;
    QList<QPoint> white, black;
    for (const OutlinePixel& p : outline) (p.white ? white : black).append(QPoint(p.x, p.y));
    painter.save();
    painter.setPen(QPen(Qt::white, 1));
    painter.drawPoints(white.constData(), int(white.size()));
    painter.setPen(QPen(Qt::black, 1));
    painter.drawPoints(black.constData(), int(black.size()));
    painter.restore();
}

std::optional<QCursor> FreeSelectTool::cursorAt(QPoint) const
{
    return QCursor(Qt::CrossCursor);
}

void FreeSelectTool::cancel()
{
    buttonDown_ = false;
    timer_.stop();
}

}  // namespace vestrel::selection
