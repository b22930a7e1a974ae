#pragma once
// The eraser and the pen on the image pane: the button goes down (a history step, one
// stamp), each move with the button held stamps along the line to the pointer and
// repaints only the strip it touched.

#include "BrushStroke.h"
#include "CQuorvanDoc.h"
#include "StillTool.h"

namespace vestrel::document {
class CQuorvanView;
}

namespace vestrel::tools {

class BrushTool : public document::StillTool {
public:
    // `kind` is Tool::Eraser or Tool::Pen.
    BrushTool(document::CQuorvanDoc& doc, document::CQuorvanView& view, document::Tool kind);

    bool isOn() const override { return m_doc.ToolOn(m_kind); }
    bool press(const document::ToolInput& input) override;
    bool move(const document::ToolInput& input) override;
    bool release(const document::ToolInput& input) override;
    std::optional<QCursor> cursorAt(QPoint) const override;
    void cancel() override { m_stroke.end(); }

private:
    document::CQuorvanDoc& m_doc;
    document::CQuorvanView& m_view;
    document::Tool m_kind;
    BrushStroke m_stroke;
};

}  // namespace vestrel::tools
