#pragma once
// The two numbers every selection tool needs from the view's mapping: the scale pixels are
// drawn at, and the scroll offset that turns pane points into scrolled pane points.

#include "ViewGeometry.h"

#include <QPoint>

namespace vestrel::selection {

inline float ScaleOf(const document::ViewMapping& m)
{
    return m.fitWindow ? m.fitScale : m.zoom;
}

// A fitted picture never scrolls.
inline QPoint ScrollOf(const document::ViewMapping& m)
{
    return m.fitWindow ? QPoint() : QPoint(m.scrollX, m.scrollY);
}

}  // namespace vestrel::selection
