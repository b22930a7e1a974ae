#include "ToolCursors.h"

#include "ProgramDir.h"

#include <QFile>
#include <QPixmap>

#include <array>
#include <cstdlib>

namespace vestrel::tools {
namespace {

// res/cursors/`file` with its hot spot, or a cross when the picture is not there.
QCursor OwnCursor(const char* file, int hotX, int hotY)
{
    const QString path = QString::fromStdString((ProgramDir() / "res" / "cursors" / file).string());
    QPixmap picture;
    if (QFile::exists(path) && picture.load(path)) return QCursor(picture, hotX, hotY);
    return QCursor(Qt::CrossCursor);
}

}  // namespace

QCursor EraserCursor(int side)
{
    struct Entry {
        int side;
        const char* file;
    };
    static constexpr std::array<Entry, 4> kEntries{
        {{1, "eraser-1.svg"}, {5, "eraser-5.svg"}, {10, "eraser-10.svg"}, {32, "eraser-32.svg"}}};
    const Entry* best = &kEntries[0];
    for (const Entry& e : kEntries)
        if (std::abs(e.side - side) < std::abs(best->side - side)) best = &e;
    // Every eraser picture is 33 x 33 with the square centred on the hot spot.
    return OwnCursor(best->file, 16, 16);
}

QCursor PenCursor()
{
    return OwnCursor("pen.svg", 1, 30);  // the pen's tip at the lower left
}

QCursor DeskewHandleCursor()
{
    return OwnCursor("deskew-handle.svg", 16, 16);
}

}  // namespace vestrel::tools
