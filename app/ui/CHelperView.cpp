#include "CHelperView.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QPainter>

namespace vestrel {
namespace {

// The pane as accessibility clients see it: static text that reads what is drawn now.
class HelperViewAccessible final : public QAccessibleWidget {
public:
    explicit HelperViewAccessible(CHelperView* view) : QAccessibleWidget(view, QAccessible::StaticText) {}

    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Name) return static_cast<const CHelperView*>(widget())->accessibleText();
        return QAccessibleWidget::text(t);
    }
};

QAccessibleInterface* HelperViewAccessibleFactory(const QString& className, QObject* object)
{
    if (className == QLatin1String(CHelperView::staticMetaObject.className()) && object && object->isWidgetType())
        return new HelperViewAccessible(static_cast<CHelperView*>(object));
    return nullptr;
}

}  // namespace

CHelperView::CHelperView(QWidget* parent) : QWidget(parent)
{
    static const bool installed = [] {
        QAccessible::installFactory(HelperViewAccessibleFactory);
        return true;
    }();
    (void)installed;
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

QString CHelperView::accessibleText() const
{
    QStringList lines;
    for (int line : {0, 1})
        if (const QString text = lineText(line); !text.isEmpty()) lines << text;
    return lines.join(QLatin1Char('\n'));
}

void CHelperView::paintEvent(QPaintEvent*)
{
    ++paintCount_;
    // Every change of the texts comes with a repaint: the clients hear of it here.
    if (const QString text = accessibleText(); text != announced_) {
        announced_ = text;
        QAccessibleEvent changed(this, QAccessible::NameChanged);
        QAccessible::updateAccessibility(&changed);
    }
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
