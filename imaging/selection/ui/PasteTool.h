#pragma once
// The floating paste on the image pane. A clipboard paste is dragged by the mouse and
// merged into the picture by a click outside it; a mark (signature or stamp) follows the
// pointer without a button, kept inside the picture, and a click anywhere places it. The
// pane draws the paste at the place kept in the view (CQuorvanView::pastePosition).

#include "StillTool.h"

namespace vestrel::document {
class CQuorvanDoc;
class CQuorvanView;
}  // namespace vestrel::document

namespace vestrel::selection {

class PasteTool : public document::StillTool {
public:
    PasteTool(document::CQuorvanDoc& doc, document::CQuorvanView& view);

    bool isOn() const override;
    bool press(const document::ToolInput& in) override;
    bool move(const document::ToolInput& in) override;
    bool release(const document::ToolInput& in) override;
    std::optional<QCursor> cursorAt(QPoint client) const override;
    void cancel() override;

    // Space: the paste turns 90 degrees clockwise (a mark only when it still fits, and
    // then kept inside the picture).
    void turn();

private:
    // The paste's drawn rectangle holds the pane point.
    bool covers(QPoint client) const;
    // A mark's top-left to the pointer, kept inside the picture.
    void followPointer(QPoint client);
    void merge();

    document::CQuorvanDoc& doc_;
    document::CQuorvanView& view_;
    bool dragging_ = false;
    QPoint grab_;  // paste position minus the scrolled pointer at the button down
};

}  // namespace vestrel::selection
