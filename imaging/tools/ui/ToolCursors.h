#pragma once
// The cursors of the still view's tools. The desktop has shapes for text and for panning;
// the eraser squares, the pen and the deskew handle are our own small pictures shipped in
// res/cursors/ (a plain cross stands in when a picture is missing).

#include <QCursor>

namespace vestrel::tools {

// The eraser's square for its side (1, 5, 10 or 32; other sides take the nearest).
QCursor EraserCursor(int side);
QCursor PenCursor();
QCursor DeskewHandleCursor();

}  // namespace vestrel::tools
