#include "QtPrompter.h"

#include "FontColourDialog.h"

#include <QColorDialog>
#include <QFileDialog>
#include <QMessageBox>
#include <QStringList>

namespace vestrel {
namespace {

QString q(const std::string& s) { return QString::fromStdString(s); }

QMessageBox::Icon iconOf(MessageKind kind)
{
    switch (kind) {
    case MessageKind::Warning: return QMessageBox::Warning;
    case MessageKind::Error: return QMessageBox::Critical;
    case MessageKind::Question: return QMessageBox::Question;
    case MessageKind::Information: break;
    }
    return QMessageBox::Information;
}

Answer ask(QWidget* parent, const std::string& text, const std::string& caption,
           MessageKind kind, QMessageBox::StandardButtons buttons)
{
    QMessageBox box(iconOf(kind), q(caption), q(text), buttons, parent);
    // A box may come up while the main window is hidden in the tray; closing it must not
    // count as closing the program's last window, which would end the program.
    box.setAttribute(Qt::WA_QuitOnClose, false);
    switch (box.exec()) {
    case QMessageBox::Yes: return Answer::Yes;
    case QMessageBox::No: return Answer::No;
    case QMessageBox::Ok: return Answer::Ok;
    default: return Answer::Cancel;
    }
}

}  // namespace

std::string ToQtFilter(const std::string& filter)
{
    if (filter.find('|') == std::string::npos) return filter;
    const QStringList parts = q(filter).split('|', Qt::SkipEmptyParts);
    QStringList out;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString patterns = parts[i + 1];
        patterns.replace(';', ' ');
        out << QStringLiteral("%1 (%2)").arg(parts[i], patterns);
    }
    return out.join(QStringLiteral(";;")).toStdString();
}

void QtPrompter::showMessage(const std::string& text, const std::string& caption, MessageKind kind)
{
    ask(parent_, text, caption, kind, QMessageBox::Ok);
}

Answer QtPrompter::showYesNo(const std::string& text, const std::string& caption, MessageKind kind)
{
    return ask(parent_, text, caption, kind, QMessageBox::Yes | QMessageBox::No);
}

Answer QtPrompter::showYesNoCancel(const std::string& text, const std::string& caption,
                                  MessageKind kind)
{
    return ask(parent_, text, caption, kind,
               QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
}

std::optional<std::vector<std::string>> QtPrompter::openFiles(const FileDialogOptions& o)
{
    QStringList chosen;
    const QString dir = o.defaultName.empty() ? q(o.directory) : q(o.directory + "/" + o.defaultName);
    if (o.multiple) {
        chosen = QFileDialog::getOpenFileNames(parent_, q(o.title), dir, q(ToQtFilter(o.filter)));
    } else {
        const QString one = QFileDialog::getOpenFileName(parent_, q(o.title), dir, q(ToQtFilter(o.filter)));
        if (!one.isEmpty()) chosen << one;
    }
    if (chosen.isEmpty()) return std::nullopt;
    std::vector<std::string> paths;
    for (const QString& p : chosen) paths.push_back(p.toStdString());
    return paths;
}

std::optional<std::string> QtPrompter::saveFile(const FileDialogOptions& o)
{
    const QString dir = o.defaultName.empty() ? q(o.directory) : q(o.directory + "/" + o.defaultName);
    const QString path = QFileDialog::getSaveFileName(parent_, q(o.title), dir, q(ToQtFilter(o.filter)));
    if (path.isEmpty()) return std::nullopt;
    return path.toStdString();
}

std::optional<std::string> QtPrompter::chooseFolder(const std::string& title, const std::string& directory)
{
    const QString path = QFileDialog::getExistingDirectory(parent_, q(title), q(directory));
    if (path.isEmpty()) return std::nullopt;
    return path.toStdString();
}

std::optional<Colour> QtPrompter::chooseColour(const Colour& initial)
{
    const QColor c = QColorDialog::getColor(QColor(initial.red, initial.green, initial.blue), parent_);
    if (!c.isValid()) return std::nullopt;
    return Colour{c.red(), c.green(), c.blue()};
}

std::optional<FontChoice> QtPrompter::chooseFont(const FontChoice& initial)
{
    // The font with its colour, as the text tool draws them.
    FontColourDialog dialog(initial, parent_);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return dialog.choice();
}

}  // namespace vestrel
