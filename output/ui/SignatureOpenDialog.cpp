#include "SignatureOpenDialog.h"

#include "Prompter.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace vestrel::output {
namespace {

QString Text(const char* utf8) { return QString::fromUtf8(utf8); }

}  // namespace

SignatureOpenDialog::SignatureOpenDialog(Prompter& prompter, const std::filesystem::path& folder,
                                         signature::MoveToTrashFn moveToTrash, QWidget* parent)
    : QDialog(parent), prompter_(prompter), chooser_(folder), moveToTrash_(std::move(moveToTrash))
{
    setWindowTitle(Text("文件解密"));
    auto* layout = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    list_ = new QComboBox(this);
    list_->setMinimumWidth(240);
    password_ = new QLineEdit(this);
    password_->setEchoMode(QLineEdit::Password);
    form->addRow(Text("签名文件"), list_);
    form->addRow(Text("密码"), password_);
    layout->addLayout(form);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    insert_ = new QPushButton(Text("插入"), this);
    delete_ = new QPushButton(Text("删除"), this);
    auto* cancel = new QPushButton(Text("取消"), this);
    insert_->setDefault(true);
    delete_->setAutoDefault(false);
    cancel->setAutoDefault(false);
    buttons->addWidget(insert_);
    buttons->addWidget(delete_);
    buttons->addWidget(cancel);
    layout->addLayout(buttons);

    fillList();
    connect(list_, &QComboBox::currentIndexChanged, this, [this](int index) { chooser_.Select(index); });
    connect(insert_, &QPushButton::clicked, this, &SignatureOpenDialog::insertChosen);
    connect(delete_, &QPushButton::clicked, this, &SignatureOpenDialog::deleteChosen);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void SignatureOpenDialog::fillList()
{
    const QSignalBlocker hold(list_);
    list_->clear();
    for (const std::string& name : chooser_.Names()) list_->addItem(QString::fromStdString(name));
    list_->setCurrentIndex(chooser_.Selected());
}

void SignatureOpenDialog::insertChosen()
{
    signature::UnlockVerdict verdict = chooser_.Insert(password_->text().toStdString());
    if (verdict.message) prompter_.message(verdict.message);
    switch (verdict.step) {
    case signature::ChooserStep::Stay:
        return;
    case signature::ChooserStep::Accept:
        mark_ = std::move(verdict.mark);
        accept();
        return;
    case signature::ChooserStep::Cancel:
        reject();
        return;
    }
}

void SignatureOpenDialog::deleteChosen()
{
    const char* message = chooser_.Delete(password_->text().toStdString(), moveToTrash_);
    fillList();
    prompter_.message(message);
}

}  // namespace vestrel::output
