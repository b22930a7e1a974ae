#include "CMyPreviewView.h"

#include "PicturePrinter.h"

#include <QAction>
#include <QEvent>
#include <QKeySequence>
#include <QPainter>
#include <QPixmap>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QShortcut>
#include <QToolBar>
#include <QVBoxLayout>

namespace vestrel::print {
namespace {

// A small page with a dark block where the picture would sit: the buttons explain
// themselves without pictures of their own on disk.
QIcon AlignmentIcon(int column, int row, bool tall)
{
    QPixmap pixmap(20, 20);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setPen(QColor(90, 90, 90));
    p.setBrush(Qt::white);
    p.drawRect(2, 1, 15, 17);
    const int w = tall ? 5 : 11, h = tall ? 11 : 5;
    const int x = column == 0 ? 4 : column == 1 ? 10 - w / 2 : 16 - w;
    const int y = row == 0 ? 3 : row == 1 ? 10 - h / 2 : 17 - h;
    p.fillRect(x, y, w, h, QColor(40, 80, 160));
    return QIcon(pixmap);
}

}  // namespace

CMyPreviewView::CMyPreviewView(QPrinter& printer, PrintAlignment& alignment, PictureSource picture,
                               ScaleSource scale, QWidget* parent)
    : QWidget(parent, Qt::Window),
      printer_(printer),
      alignment_(alignment),
      picture_(std::move(picture)),
      scale_(std::move(scale))
{
    setObjectName(QStringLiteral("printPreview"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("打印位置调整"));

    bar_ = new QToolBar(this);
    // Icons where the desktop has them, with the texts as tool tips; without one a button
    // shows its text.
    bar_->setToolButtonStyle(Qt::ToolButtonIconOnly);
    preview_ = new QPrintPreviewWidget(&printer_, this);
    preview_->setObjectName(QStringLiteral("printPreviewPage"));
    connect(preview_, &QPrintPreviewWidget::paintRequested, this, &CMyPreviewView::paintPage);

    print_ = bar_->addAction(QIcon::fromTheme(QStringLiteral("document-print")), QStringLiteral("打印"));
    connect(print_, &QAction::triggered, this, [this] {
        // As the standard preview does: it goes away, then the print dialog comes.
        close();
        emit printRequested();
    });
    QAction* zoomOut = bar_->addAction(QIcon::fromTheme(QStringLiteral("zoom-out")), QStringLiteral("缩小"));
    connect(zoomOut, &QAction::triggered, preview_, [this] { preview_->zoomOut(); });
    QAction* zoomIn = bar_->addAction(QIcon::fromTheme(QStringLiteral("zoom-in")), QStringLiteral("放大"));
    connect(zoomIn, &QAction::triggered, preview_, [this] { preview_->zoomIn(); });
    close_ = bar_->addAction(QIcon::fromTheme(QStringLiteral("window-close")), QStringLiteral("关闭"));
    connect(close_, &QAction::triggered, this, &QWidget::close);
    bar_->addSeparator();

    struct Button {
        const char* tip;
        int column, row;
        bool tall;
    };
    const Button horizontal[3] = {{"水平居中", 1, 1, true}, {"左对齐", 0, 1, true}, {"右对齐", 2, 1, true}};
    const Button vertical[3] = {{"垂直居中", 1, 1, false}, {"顶端对齐", 1, 0, false}, {"底端对齐", 1, 2, false}};
    // In the order the bar has always shown them: left, centre, right, top, middle, bottom.
    for (int value : {1, 0, 2}) {
        const Button& b = horizontal[value];
        horizontal_[value] = bar_->addAction(AlignmentIcon(b.column, b.row, b.tall), QString::fromUtf8(b.tip));
        connect(horizontal_[value], &QAction::triggered, this,
                [this, value] { setHorizontal(HorizontalAlignment(value)); });
    }
    for (int value : {1, 0, 2}) {
        const Button& b = vertical[value];
        vertical_[value] = bar_->addAction(AlignmentIcon(b.column, b.row, b.tall), QString::fromUtf8(b.tip));
        connect(vertical_[value], &QAction::triggered, this, [this, value] { setVertical(VerticalAlignment(value)); });
    }

    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, this, &QWidget::close);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(bar_);
    layout->addWidget(preview_, 1);
    resize(760, 900);
    updateButtons();
}

QAction* CMyPreviewView::horizontalAction(HorizontalAlignment value) const
{
    return horizontal_[int(value)];
}

QAction* CMyPreviewView::verticalAction(VerticalAlignment value) const
{
    return vertical_[int(value)];
}

void CMyPreviewView::setHorizontal(HorizontalAlignment value)
{
    if (alignment_.horizontal == value) return;
    alignment_.horizontal = value;
    redraw();
}

void CMyPreviewView::setVertical(VerticalAlignment value)
{
    if (alignment_.vertical == value) return;
    alignment_.vertical = value;
    redraw();
}

void CMyPreviewView::redraw()
{
    updateButtons();
    preview_->updatePreview();  // draws the page again before it returns
}

void CMyPreviewView::updateButtons()
{
    for (int value = 0; value < 3; ++value) {
        horizontal_[value]->setEnabled(int(alignment_.horizontal) != value);
        vertical_[value]->setEnabled(int(alignment_.vertical) != value);
    }
}

bool CMyPreviewView::event(QEvent* event)
{
    // The main window stays usable while the preview is open: coming back to the preview,
    // the page is drawn anew from the picture and the 1:1 state as they are now.
    if (event->type() == QEvent::WindowActivate) preview_->updatePreview();
    return QWidget::event(event);
}

void CMyPreviewView::paintPage(QPrinter* printer)
{
    // The page is painted even without a picture: the preview then shows it blank.
    QPainter painter(printer);
    lastRect_ = DrawPicturePage(painter, *printer, picture_ ? picture_() : nullptr,
                                scale_ ? scale_() : PrintScale{}, alignment_);
}

}  // namespace vestrel::print
