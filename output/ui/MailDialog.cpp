#include "MailDialog.h"

#include "MailAddress.h"
#include "Prompter.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace vestrel::output {

MailDialog::MailDialog(Prompter& prompter, const std::string& address, QWidget* parent)
    : QDialog(parent), prompter_(prompter)
{
    setWindowTitle(QString::fromUtf8("邮件"));
    auto* layout = new QVBoxLayout(this);
    auto* row = new QHBoxLayout;
    row->addWidget(new QLabel(QString::fromUtf8("邮件服务器"), this));
    field_ = new QLineEdit(QString::fromStdString(address), this);
    field_->setMinimumWidth(320);
    row->addWidget(field_);
    layout->addLayout(row);
    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(QString::fromUtf8("确定"), QDialogButtonBox::AcceptRole);
    buttons->addButton(QString::fromUtf8("取消"), QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    // Only the user's edits are judged, not the address the dialog starts with.
    connect(field_, &QLineEdit::textEdited, this, &MailDialog::onEdited);
}

std::string MailDialog::address() const
{
    return field_->text().toStdString();
}

void MailDialog::onEdited(const QString& text)
{
    invalid_ = mail::MailPrefixInvalid(text.toStdString());
    if (invalid_) prompter_.message(mail::kInvalidMailAddress);
}

void MailDialog::accept()
{
    if (invalid_ || !mail::MailAddressAcceptable(address())) {
        prompter_.message(mail::kInvalidMailAddress);
        return;
    }
    QDialog::accept();
}

}  // namespace vestrel::output
