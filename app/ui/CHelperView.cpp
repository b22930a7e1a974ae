#include "CHelperView.h"

#include <QPainter>

namespace vestrel {

CHelperView::CHelperView(QWidget* parent) : QWidget(parent)
{
    setAutoFillBackground(true);
    setMinimumHeight(10);
}

QString CHelperView::lineText(int line) const
{
    QString text;
    for (const HelperPiece& p : pieces())
        if (p.line == line) text += QString::fromStdString(p.text);
    return text;
}

void CHelperView::paintEvent(QPaintEvent*)
{
    ++paintCount_;
    QPainter painter(this);
    const int h = height(), w = width();
    painter.setPen(Qt::black);
    painter.drawLine(0, h / 2 - 3, w, h / 2 - 3);
    painter.drawLine(0, h - 2, w, h - 2);

    QFont font(QStringLiteral("宋体"));
    font.setPixelSize(15);
    painter.setFont(font);
    const int ascent = painter.fontMetrics().ascent();
    auto drawAt = [&](int x, int y, const QString& text, bool red) {
        painter.setPen(red ? QColor(255, 0, 0) : QColor(0, 0, 0));
        painter.drawText(x, y + ascent, text);
    };
    const QString title = QString::fromUtf8(kHelperTitle);
    drawAt(w - 90, 3, title, true);
    drawAt(w - 100, h / 2 + 2, title, true);
    for (const HelperPiece& p : pieces())
        drawAt(p.x, p.line == 0 ? 3 : h / 2 + 2, QString::fromStdString(p.text), p.label);
}

}  // namespace vestrel
