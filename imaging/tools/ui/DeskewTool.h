#pragma once
// The manual deskew's handle on the fitted picture: dragging it turns the picture kept
// when the tool started so that the line from the pane's centre to the handle stands
// upright; a double click keeps the turned picture and ends the tool (in full screen the
// first double click leaves full screen instead).

#include "CQuorvanDoc.h"
#include "StillTool.h"

namespace vestrel::document {
class CQuorvanView;
}

namespace vestrel::tools {

class DeskewTool : public document::StillTool {
public:
    DeskewTool(document::CQuorvanDoc& doc, document::CQuorvanView& view);

    bool isOn() const override { return m_doc.ToolOn(document::Tool::Deskew); }
    bool press(const document::ToolInput& input) override;
    bool move(const document::ToolInput& input) override;
    bool release(const document::ToolInput& input) override;
    bool doubleClick(const document::ToolInput& input) override;
    void paint(QPainter& painter, const document::ViewMapping& mapping) override;
    std::optional<QCursor> cursorAt(QPoint client) const override;
    void cancel() override { m_buttonDown = false; }

private:
    bool onHandle(QPoint client) const;

    document::CQuorvanDoc& m_doc;
    document::CQuorvanView& m_view;
    bool m_buttonDown = false;
};

}  // namespace vestrel::tools
