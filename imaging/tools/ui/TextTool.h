#pragma once
// The text tool: a click opens a multi-line entry box there, drawn in the pen colour and
// the text font, growing with its text; the next click on the picture places the text
// where the box shows it (an empty box just goes, without a history step). The box closes
// without placing its text when the tool goes off, on Esc and on the live/still switch.

#include "CQuorvanDoc.h"
#include "StillTool.h"
#include "ViewToolCommands.h"

#include <QPointer>

class QPlainTextEdit;

namespace vestrel::document {
class CQuorvanView;
}

namespace vestrel::tools {

class TextTool : public document::StillTool {
public:
    // Becomes the document's way to close the box (SetTextEntryCloser).
    TextTool(document::CQuorvanDoc& doc, document::CQuorvanView& view, Prompter& prompter);
    ~TextTool() override;

    bool isOn() const override { return m_doc.ToolOn(document::Tool::Text); }
    bool press(const document::ToolInput& input) override;
    std::optional<QCursor> cursorAt(QPoint) const override { return QCursor(Qt::IBeamCursor); }
    void cancel() override { closeBox(); }

    // The open box (null when none).
    QPlainTextEdit* entryBox() const;
    // Places the box's text on the picture and closes the box; false when there was no
    // text (no history step then).
    bool commit();
    void closeBox();

private:
    void openBox(QPoint client);
    void grow();
    // Pane point where the box's first character starts (inside its frame).
    QPoint textOrigin() const;

    document::CQuorvanDoc& m_doc;
    document::CQuorvanView& m_view;
    ViewToolCommands m_commands;
    QPointer<QPlainTextEdit> m_box;
};

}  // namespace vestrel::tools
