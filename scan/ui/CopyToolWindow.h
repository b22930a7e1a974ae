#pragma once
// The floating tool window of the two-sided ID-card copy, "证件双面复印模式": the front,
// back and leave buttons in a small window of its own at screen position 700, 100. It
// holds the main window's actions, so their enabled states follow the command table.
// It has no close button: the copy mode ends through its leave button.

#include <QList>
#include <QWidget>

class QAction;

namespace vestrel::scan {

inline constexpr const char* kCopyToolWindowTitle = "证件双面复印模式";

class CopyToolWindow : public QWidget {
    Q_OBJECT
public:
    static constexpr int kScreenX = 700;
    static constexpr int kScreenY = 100;

    CopyToolWindow(const QList<QAction*>& actions, QWidget* parent);
};

}  // namespace vestrel::scan
