#include "RecordingToolWindow.h"

#include <QLabel>
#include <QToolBar>
#include <QVBoxLayout>

namespace vestrel {

RecordingToolWindow::RecordingToolWindow(const std::vector<QAction*>& buttons, QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::WindowTitleHint | Qt::WindowCloseButtonHint), figures_(new QLabel)
{
    setObjectName(QStringLiteral("recordingToolWindow"));
    setAttribute(Qt::WA_DeleteOnClose, false);
    setWindowTitle(QString::fromUtf8(kRecordingCaption));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    auto* bar = new QToolBar(this);
    bar->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    for (QAction* a : buttons) bar->addAction(a);
    layout->addWidget(bar);
    figures_->setObjectName(QStringLiteral("recordingFigures"));
    layout->addWidget(figures_);
    move(kRecordingToolWindowX, kRecordingToolWindowY);
}

void RecordingToolWindow::setFigures(const QString& text) { figures_->setText(text); }

QString RecordingToolWindow::figures() const { return figures_->text(); }

}  // namespace vestrel
