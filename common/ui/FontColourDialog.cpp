#include "FontColourDialog.h"

#include "QtPrompter.h"

#include <QColor>
#include <QDialogButtonBox>
#include <QFontDialog>
#include <QPixmap>
#include <QPushButton>
#include <QVBoxLayout>

namespace vestrel {

FontColourDialog::FontColourDialog(const FontChoice& initial, QWidget* parent)
    : QDialog(parent), initial_(initial), colour_(initial.colour)
{
    setWindowTitle(QStringLiteral("字体"));
    QFont start(QString::fromStdString(initial.faceName));
    if (initial.height > 0) start.setPixelSize(initial.height);
    start.setWeight(initial.weight >= 700 ? QFont::Bold : QFont::Normal);
    start.setItalic(initial.italic);
    start.setUnderline(initial.underline);

    fonts_ = new QFontDialog(start, this);
    fonts_->setOptions(QFontDialog::NoButtons | QFontDialog::DontUseNativeDialog);
    fonts_->setWindowFlags(Qt::Widget);
    fonts_->setCurrentFont(start);

    colourButton_ = new QPushButton(QStringLiteral("颜色(&C)..."), this);
    connect(colourButton_, &QPushButton::clicked, this, [this] {
        if (const std::optional<Colour> chosen = QtPrompter(this).chooseColour(colour_)) setColour(*chosen);
    });
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(fonts_);
    layout->addWidget(colourButton_, 0, Qt::AlignLeft);
    layout->addWidget(buttons);
    showColour();
}

void FontColourDialog::setColour(const Colour& colour)
{
    colour_ = colour;
    showColour();
}

void FontColourDialog::showColour()
{
    QPixmap swatch(24, 14);
    swatch.fill(QColor(colour_.red, colour_.green, colour_.blue));
    colourButton_->setIcon(QIcon(swatch));
}

FontChoice FontColourDialog::choice() const
{
    const QFont f = fonts_->currentFont();
    FontChoice out = initial_;
    out.faceName = f.family().toStdString();
    // The panel speaks points; a size the user left alone keeps its exact pixel height
    // (27 pixels shows as 20 points, which would come back as 26 pixels).
    const int startPoints = qRound(initial_.height * 72.0 / 96.0);
    if (f.pixelSize() > 0) out.height = f.pixelSize();
    else if (f.pointSize() == startPoints && initial_.height > 0) out.height = initial_.height;
    else out.height = qRound(f.pointSizeF() * 96.0 / 72.0);
    out.weight = f.bold() ? 700 : 400;
    out.italic = f.italic();
    out.underline = f.underline();
    out.colour = colour_;
    return out;
}

}  // namespace vestrel
