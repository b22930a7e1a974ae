#include "TextTool.h"

#include "CQuorvanView.h"
#include "TextEntryGeometry.h"

#include <QFontMetrics>
#include <QPlainTextEdit>
#include <QTextDocument>

#include <algorithm>

namespace vestrel::tools {

namespace {

QFont EntryFont(const FontChoice& choice)
{
    QFont font(QString::fromStdString(choice.faceName));
    font.setPixelSize(std::max(1, std::abs(choice.height)));
    font.setWeight(choice.weight >= 600 ? QFont::Bold : QFont::Normal);
    font.setItalic(choice.italic);
    font.setUnderline(choice.underline);
    return font;
}

QColor ToQColor(COLORREF c)
{
    const RGBQUAD q = CxImage::RGBtoRGBQUAD(c);
    return QColor(q.rgbRed, q.rgbGreen, q.rgbBlue);
}

}  // namespace

TextTool::TextTool(document::CQuorvanDoc& doc, document::CQuorvanView& view, Prompter& prompter)
    : m_doc(doc), m_view(view), m_commands(doc, prompter)
{
    m_doc.SetTextEntryCloser([this] { closeBox(); });
}

TextTool::~TextTool()
{
    delete m_box.data();
}

QPlainTextEdit* TextTool::entryBox() const
{
    return m_box.data();
}

bool TextTool::press(const document::ToolInput& input)
{
    if (!(input.buttons & Qt::LeftButton) || !m_doc.Image()) return false;
    if (m_box) {
        const bool placed = commit();
        closeBox();
        if (placed) return true;
    }
    openBox(input.client);
    return true;
}

void TextTool::openBox(QPoint client)
{
    auto* box = new QPlainTextEdit(m_view.viewport());
    box->setObjectName(QString::number(kTextEntryId));
    box->setLineWrapMode(QPlainTextEdit::NoWrap);
    box->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    box->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    box->document()->setDocumentMargin(0);
    box->setFont(EntryFont(m_doc.TextFont()));
    QPalette palette = box->palette();
    palette.setColor(QPalette::Text, ToQColor(m_doc.PenColour()));
    box->setPalette(palette);
    // The first character starts at the point clicked: the frame sits just outside it.
    const int frame = box->frameWidth();
    box->setGeometry(client.x() - frame, client.y() - frame, kTextEntryStart, kTextEntryStart);
    QObject::connect(box, &QPlainTextEdit::textChanged, box, [this] { grow(); });
    m_box = box;
    box->show();
    box->setFocus();
}

void TextTool::grow()
{
    if (!m_box) return;
    const QString text = m_box->toPlainText();
    const QFontMetrics metrics(m_box->font());
    int widest = 0;
    for (const QString& line : text.split(QLatin1Char('\n')))
        widest = std::max(widest, metrics.horizontalAdvance(line));
    const EntrySize size = GrownEntrySize(widest, metrics.lineSpacing(), LineFeeds(text.toStdString()));
    const int frame = 2 * m_box->frameWidth();
    m_box->resize(size.width + frame, size.height + frame);
}

QPoint TextTool::textOrigin() const
{
    const int frame = m_box ? m_box->frameWidth() : 0;
    return m_box ? m_box->pos() + QPoint(frame, frame) : QPoint();
}

bool TextTool::commit()
{
    if (!m_box) return false;
    const std::string text = m_box->toPlainText().toStdString();
    // Where the box is now: it moves with the picture when the pane scrolls.
    const PixelPoint at = m_view.imagePointAt(textOrigin());
    if (!m_commands.CommitText(text, at)) return false;
    m_view.imageChanged();
    return true;
}

void TextTool::closeBox()
{
    if (!m_box) return;
    QPlainTextEdit* box = m_box;
    m_box = nullptr;
    box->hide();
    box->deleteLater();
    m_view.viewport()->update();
}

}  // namespace vestrel::tools
