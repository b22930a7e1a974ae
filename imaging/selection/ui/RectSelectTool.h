#pragma once
// The rectangle selection and crop mode on the image pane: a tracker with a dotted outline
// and eight handles. A drag outside it draws a new rubber band, a drag of a handle or of
// the inside resizes or moves it; on release the rectangle becomes the picture's
// selection. A double click in crop mode crops to it.

#include "SelectionCommands.h"
#include "StillTool.h"
#include "TrackerGeometry.h"

namespace vestrel::document {
class CQuorvanView;
}

namespace vestrel::selection {

class RectSelectTool : public document::StillTool {
public:
    RectSelectTool(document::CQuorvanDoc& doc, SelectionCommands& commands, document::CQuorvanView& view);

    bool isOn() const override;
    bool press(const document::ToolInput& in) override;
    bool move(const document::ToolInput& in) override;
    bool release(const document::ToolInput& in) override;
    bool doubleClick(const document::ToolInput& in) override;
    void paint(QPainter& painter, const document::ViewMapping& mapping) override;
    std::optional<QCursor> cursorAt(QPoint client) const override;
    void cancel() override;

    // The tracker's rectangle in scrolled pane points (empty when there is none).
    TrackRect tracker() const { return rect_; }

private:
    enum class Gesture { None, Band, Drag };
    QPoint scrolled(QPoint client) const;

    document::CQuorvanDoc& doc_;
    SelectionCommands& commands_;
    document::CQuorvanView& view_;
    TrackRect rect_;
    TrackRect rectAtDown_;
    TrackHit hit_ = TrackHit::Outside;
    QPoint down_;
    Gesture gesture_ = Gesture::None;
};

}  // namespace vestrel::selection
