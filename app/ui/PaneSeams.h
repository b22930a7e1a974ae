#pragma once
// The panes whose subsystems come later: the still picture of the image document and the
// photo library. They hold their place in the layout and do nothing yet; their commands
// stay disabled in the command table until their subsystems are built.

#include <QWidget>

namespace vestrel {

// The still picture of the current document (image view and its mouse tools).
class CQuorvanView : public QWidget {
    Q_OBJECT
public:
    explicit CQuorvanView(QWidget* parent = nullptr) : QWidget(parent) { setMinimumSize(10, 10); }
};

// The photo library: thumbnails of the photo folder.
class CThumbViewerView : public QWidget {
    Q_OBJECT
public:
    explicit CThumbViewerView(QWidget* parent = nullptr) : QWidget(parent) { setMinimumSize(10, 10); }
};

}  // namespace vestrel
