#include "ThumbnailCountDialog.h"

#include "LibraryItems.h"
#include "LibraryMessages.h"

#include <QDialogButtonBox>
#include <QLineEdit>
#include <QVBoxLayout>

namespace vestrel::library {

ThumbnailCountDialog::ThumbnailCountDialog(Prompter& prompter, int current, QWidget* parent)
    : QDialog(parent), prompter_(prompter), count_(current)
{
    setWindowTitle(QString::fromUtf8(msg::kThumbnailCountCaption));
    field_ = new QLineEdit(QString::number(current), this);
    field_->selectAll();
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &ThumbnailCountDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &ThumbnailCountDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(field_);
    layout->addWidget(buttons);
}

void ThumbnailCountDialog::accept()
{
    const auto count = ParseThumbnailCount(field_->text().toStdString());
    if (!count) {
        prompter_.message(msg::kThumbnailCountRange, msg::kThumbnailCountCaption, MessageKind::Warning);
        field_->setFocus();
        field_->selectAll();
        return;
    }
    count_ = *count;
    QDialog::accept();
}

std::optional<int> ThumbnailCountDialog::ask(Prompter& prompter, int current, QWidget* parent)
{
    ThumbnailCountDialog dialog(prompter, current, parent);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return dialog.count();
}

}  // namespace vestrel::library
