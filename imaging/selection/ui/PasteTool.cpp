#include "PasteTool.h"

#include "CQuorvanDoc.h"
#include "CQuorvanView.h"
#include "PaneScale.h"
#include "PastePlacement.h"

namespace vestrel::selection {

using document::ToolInput;

namespace {

PictureSize SizeOf(const CxImage& image)
{
    return {image.GetWidth(), image.GetHeight()};
}

}  // namespace

PasteTool::PasteTool(document::CQuorvanDoc& doc, document::CQuorvanView& view) : doc_(doc), view_(view) {}

bool PasteTool::isOn() const
{
    return doc_.HasFloatingPaste() && doc_.Image();
}

bool PasteTool::covers(QPoint client) const
{
    return view_.pasteRect().contains(QPointF(client));
}

void PasteTool::followPointer(QPoint client)
{
    const document::ViewMapping map = view_.mapping();
    const QPoint wanted = client + ScrollOf(map);
    const PastePoint at =
        ClampMark({wanted.x(), wanted.y()}, SizeOf(*doc_.Image()), SizeOf(*doc_.Paste()), ScaleOf(map));
    view_.setPastePosition({at.x, at.y});
}

void PasteTool::merge()
{
    const QPoint at = view_.pastePosition();
    const PastePoint cell = MergeCell({at.x(), at.y()}, ScaleOf(view_.mapping()));
    doc_.MergePaste({cell.x, cell.y});
    view_.setPastePosition({});
    dragging_ = false;
    view_.imageChanged();
}

bool PasteTool::press(const ToolInput& in)
{
    if (doc_.PasteIsMark()) {
        // The mark sits under the pointer: a click anywhere places it there.
        followPointer(in.client);
        merge();
        return true;
    }
    if (!covers(in.client)) {
        merge();
        return true;
    }
    dragging_ = true;
    grab_ = view_.pastePosition() - (in.client + ScrollOf(view_.mapping()));
    return true;
}

bool PasteTool::move(const ToolInput& in)
{
    if (doc_.PasteIsMark()) {
        followPointer(in.client);
    } else if (dragging_ && (in.buttons & Qt::LeftButton)) {
        view_.setPastePosition(in.client + ScrollOf(view_.mapping()) + grab_);
    } else {
        return false;
    }
    view_.viewport()->update();
    return true;
}

bool PasteTool::release(const ToolInput&)
{
    if (!dragging_) return false;
    dragging_ = false;
    return true;
}

std::optional<QCursor> PasteTool::cursorAt(QPoint client) const
{
    if (doc_.PasteIsMark() || dragging_ || covers(client)) return QCursor(Qt::SizeAllCursor);
    return std::nullopt;
}

void PasteTool::cancel()
{
    dragging_ = false;
}

void PasteTool::turn()
{
    if (!isOn() || !doc_.TurnPaste()) return;
    if (doc_.PasteIsMark()) {
        const QPoint at = view_.pastePosition();
        const PastePoint kept =
            ClampMark({at.x(), at.y()}, SizeOf(*doc_.Image()), SizeOf(*doc_.Paste()), ScaleOf(view_.mapping()));
        view_.setPastePosition({kept.x, kept.y});
    }
    view_.imageChanged();
}

}  // namespace vestrel::selection
