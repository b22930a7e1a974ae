#pragma once
// The free-hand selection on the image pane: the outline follows the pointer while the
// button is down and closes on release; the closed outline is drawn again every 333 ms so
// that it stays in sight over whatever else repaints the pane.

#include "SelectionCommands.h"
#include "StillTool.h"

#include <QTimer>

namespace vestrel::document {
class CQuorvanView;
}

namespace vestrel::selection {

class FreeSelectTool : public document::StillTool {
public:
    static constexpr int kOutlineRedrawMs = 333;

    FreeSelectTool(document::CQuorvanDoc& doc, SelectionCommands& commands, document::CQuorvanView& view);

    bool isOn() const override;
    bool press(const document::ToolInput& in) override;
    bool move(const document::ToolInput& in) override;
    bool release(const document::ToolInput& in) override;
    void paint(QPainter& painter, const document::ViewMapping& mapping) override;
    std::optional<QCursor> cursorAt(QPoint client) const override;
    void cancel() override;

    // The closed outline is being redrawn by the timer.
    bool outlineTimerRunning() const { return timer_.isActive(); }

private:
    void redraw();

    document::CQuorvanDoc& doc_;
    SelectionCommands& commands_;
    document::CQuorvanView& view_;
    QTimer timer_;
    bool buttonDown_ = false;
};

}  // namespace vestrel::selection
