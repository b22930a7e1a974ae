#pragma once
// One mouse tool of the still picture as the image pane sees it. The pane keeps what is
// common to every tool (scrolling, the pan tool, keys, drops, the context menu) and hands
// each gesture over the picture to the first installed tool that is on; the tool turns it
// into calls on the document, draws its own marks over the picture and picks its cursor.
//
// A tool is on when `isOn()` says so: most read the document's active tool (the pen is
// on while `ToolOn(Tool::Pen)`), the floating paste reads `HasFloatingPaste()`. Tools are
// asked in the order they were installed, so the one that must win (the floating paste
// over the selection beneath it) is installed first.

#include "ViewGeometry.h"

#include <QCursor>
#include <QPoint>

#include <optional>

class QPainter;

namespace vestrel::document {

// A mouse gesture over the pane: where it happened and which picture pixel lies there.
struct ToolInput {
    QPoint client;      // pane point, as the viewport sees it
    PixelPoint pixel;   // picture pixel under it (may lie outside the picture)
    Qt::MouseButtons buttons;
    Qt::KeyboardModifiers modifiers;
};

class StillTool {
public:
    virtual ~StillTool() = default;

    virtual bool isOn() const = 0;

    // Each returns true when the tool took the gesture; the pane then does nothing more
    // with it. After a press, release or double click the tool took, the pane repaints
    // itself whole; after a move it does not: the tool repaints what it changed (a pen
    // stroke touches a strip, not the pane).
    virtual bool press(const ToolInput&) { return false; }
    virtual bool move(const ToolInput&) { return false; }
    virtual bool release(const ToolInput&) { return false; }
    virtual bool doubleClick(const ToolInput&) { return false; }

    // Draws over the picture, after it and the floating paste, in pane coordinates.
    virtual void paint(QPainter&, const ViewMapping&) {}

    // The cursor over `client`, or nothing for the pane's own.
    virtual std::optional<QCursor> cursorAt(QPoint) const { return std::nullopt; }

    // Esc, or the tool was switched off: drop what the gesture had started.
    virtual void cancel() {}
};

}  // namespace vestrel::document
