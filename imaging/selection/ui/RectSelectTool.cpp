#include "RectSelectTool.h"

#include "CQuorvanView.h"
#include "PaneScale.h"

#include <QPainter>

#include <algorithm>

namespace vestrel::selection {

using document::Tool;
using document::ToolInput;

namespace {

// The picture pixels a tracker rectangle covers (at least one).
PixelRect PictureRect(const TrackRect& r, float scale)
{
    if (!(scale > 0)) return {};
    PixelRect p{int(float(r.left) / scale), int(float(r.top) / scale), int(float(r.right) / scale),
                int(float(r.bottom) / scale)};
    p.right = std::max(p.right, p.left + 1);
    p.bottom = std::max(p.bottom, p.top + 1);
    return p;
}

Qt::CursorShape CursorOf(TrackHit hit)
{
    switch (hit) {
    case TrackHit::TopLeft:
    case TrackHit::BottomRight: return Qt::SizeFDiagCursor;
    case TrackHit::TopRight:
    case TrackHit::BottomLeft: return Qt::SizeBDiagCursor;
    case TrackHit::Top:
    case TrackHit::Bottom: return Qt::SizeVerCursor;
    case TrackHit::Left:
    case TrackHit::Right: return Qt::SizeHorCursor;
    case TrackHit::Inside: return Qt::SizeAllCursor;
    case TrackHit::Outside: break;
    }
    return Qt::CrossCursor;
}

}  // namespace

RectSelectTool::RectSelectTool(document::CQuorvanDoc& doc, SelectionCommands& commands, document::CQuorvanView& view)
    : doc_(doc), commands_(commands), view_(view)
{
}

bool RectSelectTool::isOn() const
{
    return doc_.ToolOn(Tool::RectSelect);
}

QPoint RectSelectTool::scrolled(QPoint client) const
{
    return client + ScrollOf(view_.mapping());
}

bool RectSelectTool::press(const ToolInput& in)
{
    down_ = scrolled(in.client);
    hit_ = HitTest(rect_, down_.x(), down_.y());
    rectAtDown_ = rect_;
    gesture_ = hit_ == TrackHit::Outside ? Gesture::Band : Gesture::Drag;
    if (gesture_ == Gesture::Band) rect_ = {down_.x(), down_.y(), down_.x(), down_.y()};
    return true;
}

bool RectSelectTool::move(const ToolInput& in)
{
    if (gesture_ == Gesture::None || !(in.buttons & Qt::LeftButton)) return false;
    const QPoint at = scrolled(in.client);
    if (gesture_ == Gesture::Band) rect_ = {down_.x(), down_.y(), at.x(), at.y()};
    else rect_ = Dragged(rectAtDown_, hit_, at.x() - down_.x(), at.y() - down_.y());
    view_.viewport()->update();
    return true;
}

bool RectSelectTool::release(const ToolInput& in)
{
    if (gesture_ == Gesture::None) return false;
    move({in.client, in.pixel, Qt::LeftButton, in.modifiers});
    gesture_ = Gesture::None;
    rect_ = Normalised(rect_);
    // A click without a drag draws no band: the tracker goes, and with it the selection
    // (crop mode kept it through the button down), so that nothing unseen is cropped.
    if (rect_.empty()) {
        rect_ = {};
        if (CxImage* image = doc_.Image()) image->SelectionDelete();
        return true;
    }
    commands_.SelectRect(PictureRect(rect_, ScaleOf(view_.mapping())));
    return true;
}

bool RectSelectTool::doubleClick(const ToolInput&)
{
    if (!doc_.ToolOn(Tool::Crop)) return false;
    commands_.CropByDoubleClick();
    cancel();
    view_.imageChanged();
    return true;
}

void RectSelectTool::paint(QPainter& painter, const document::ViewMapping& mapping)
{
    if (rect_.empty() && gesture_ != Gesture::Band) return;
    const TrackRect r = Normalised(rect_);
    const QPoint scroll = ScrollOf(mapping);
    const QRect outline = QRect(QPoint(r.left, r.top), QPoint(r.right - 1, r.bottom - 1)).translated(-scroll);
    painter.save();
    painter.setPen(QPen(Qt::white, 1));
    painter.drawRect(outline);
    painter.setPen(QPen(Qt::black, 1, Qt::DotLine));
    painter.drawRect(outline);
    if (gesture_ == Gesture::None) {
        for (TrackHit hit : {TrackHit::TopLeft, TrackHit::Top, TrackHit::TopRight, TrackHit::Right,
                             TrackHit::BottomRight, TrackHit::Bottom, TrackHit::BottomLeft, TrackHit::Left}) {
            const TrackRect h = HandleRect(r, hit);
            painter.fillRect(QRect(h.left, h.top, h.right - h.left, h.bottom - h.top).translated(-scroll), Qt::black);
        }
    }
    painter.restore();
}

std::optional<QCursor> RectSelectTool::cursorAt(QPoint client) const
{
    const QPoint at = scrolled(client);
    return QCursor(CursorOf(gesture_ == Gesture::Drag ? hit_ : HitTest(rect_, at.x(), at.y())));
}

void RectSelectTool::cancel()
{
    rect_ = {};
    gesture_ = Gesture::None;
}

}  // namespace vestrel::selection
