#include "EBookSession.h"

#include "PdfMessages.h"

#include <QAction>
#include <QTimer>
#include <QToolBar>
#include <QVBoxLayout>
#include <QWidget>

namespace vestrel {

EBookSession::EBookSession(const Settings& settings, scan::ScanState& state, Prompter& prompter,
                           QWidget* window)
    : prompter_(prompter), window_(window), writer_(settings, state, book_, prompter)
{
    timer_ = new QTimer(this);
    timer_->setObjectName(QStringLiteral("timer4"));
    timer_->setInterval(1000);
    connect(timer_, &QTimer::timeout, this, &EBookSession::watchToolWindow);
}

EBookSession::~EBookSession()
{
    book_.finish();
    delete toolWindow_.data();
}

void EBookSession::start(QAction* endAction)
{
    book_.start();

    // The floating tool window with its single end button; closing it ends the book too.
    toolWindow_ = new QWidget(window_, Qt::Tool | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    toolWindow_->setObjectName(QStringLiteral("ebookToolWindow"));
    toolWindow_->setAttribute(Qt::WA_DeleteOnClose, false);
    toolWindow_->setWindowTitle(QString::fromUtf8(output::kEBookToolBarTitle));
    auto* layout = new QVBoxLayout(toolWindow_);
    layout->setContentsMargins(2, 2, 2, 2);
    auto* bar = new QToolBar(toolWindow_);
    bar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    bar->addAction(endAction);
    layout->addWidget(bar);
    if (window_) toolWindow_->move(window_->mapToGlobal(QPoint(100, 100)));
    toolWindow_->show();
    timer_->start();
}

void EBookSession::finish()
{
    const bool wasOpen = book_.composing() || toolWindow_ != nullptr;
    book_.finish();
    timer_->stop();
    if (toolWindow_) {
        toolWindow_->hide();
        toolWindow_->deleteLater();
        toolWindow_ = nullptr;
    }
    emit ended(wasOpen);
}

void EBookSession::closeIfEnded()
{
    if (toolWindow_ && !book_.composing()) finish();
}

bool EBookSession::confirmStop()
{
    if (!book_.composing()) return true;
    if (prompter_.askYesNo(output::kStopEBookQuestion, output::kWarningCaption) != Answer::Yes) return false;
    finish();
    return true;
}

void EBookSession::watchToolWindow()
{
    // The user closed the tool window, or the book could not be created: it ends.
    if (!toolWindow_ || !toolWindow_->isVisible() || !book_.composing()) finish();
}

}  // namespace vestrel
