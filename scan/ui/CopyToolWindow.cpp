#include "CopyToolWindow.h"

#include <QToolBar>
#include <QVBoxLayout>

namespace vestrel::scan {

CopyToolWindow::CopyToolWindow(const QList<QAction*>& actions, QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
{
    setObjectName(QStringLiteral("copyToolWindow"));
    setWindowTitle(QString::fromUtf8(kCopyToolWindowTitle));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    auto* bar = new QToolBar(this);
    bar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    bar->addActions(actions);
    layout->addWidget(bar);
    move(kScreenX, kScreenY);
}

}  // namespace vestrel::scan
