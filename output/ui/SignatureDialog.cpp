#include "SignatureDialog.h"

#include "Prompter.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QVBoxLayout>

#include <algorithm>

namespace vestrel::output {
namespace {

constexpr int kStrengthMin = 1, kStrengthMax = 5;
constexpr int kThresholdMin = 0, kThresholdMax = 255;
constexpr int kNameLimit = 255;

QString Text(const char* utf8) { return QString::fromUtf8(utf8); }

}  // namespace

SignatureDialog::SignatureDialog(Prompter& prompter, signature::MakeDialogSetup setup, QWidget* parent)
    : QDialog(parent),
      prompter_(prompter),
      setup_(std::move(setup)),
      strength_(std::clamp(setup_.strength, kStrengthMin, kStrengthMax)),
      threshold_(std::clamp(setup_.threshold, kThresholdMin, kThresholdMax))
{
    setWindowTitle(Text("签名"));
    auto add = [this](Control id, QWidget* widget) {
        controls_[id] = widget;
        return widget;
    };
    auto* layout = new QVBoxLayout(this);
    auto* grid = new QGridLayout;
    auto* name = static_cast<QLineEdit*>(add(NameField, new QLineEdit(this)));
    name->setMaxLength(kNameLimit);
    name->setMinimumWidth(240);
    auto* password = static_cast<QLineEdit*>(add(PasswordField, new QLineEdit(this)));
    auto* again = static_cast<QLineEdit*>(add(PasswordAgainField, new QLineEdit(this)));
    password->setEchoMode(QLineEdit::Password);
    again->setEchoMode(QLineEdit::Password);
    grid->addWidget(new QLabel(Text("文件名"), this), 0, 0);
    grid->addWidget(name, 0, 1, 1, 3);
    grid->addWidget(new QLabel(Text("密码"), this), 1, 0);
    grid->addWidget(password, 1, 1, 1, 3);
    grid->addWidget(new QLabel(Text("确认密码"), this), 2, 0);
    grid->addWidget(again, 2, 1, 1, 3);

    grid->addWidget(new QLabel(Text("去背景强度"), this), 3, 0);
    auto* down = static_cast<QPushButton*>(add(StrengthDown, new QPushButton(Text("—"), this)));
    auto* strength = static_cast<QLineEdit*>(add(StrengthField, new QLineEdit(this)));
    auto* up = static_cast<QPushButton*>(add(StrengthUp, new QPushButton(Text("＋"), this)));
    strength->setReadOnly(true);
    strength->setAlignment(Qt::AlignCenter);
    strength->setMaximumWidth(48);
    auto* strengthRow = new QHBoxLayout;
    for (QPushButton* b : {down, up}) {
        b->setAutoDefault(false);
        b->setFixedWidth(40);
    }
    strengthRow->addWidget(down);
    strengthRow->addWidget(strength);
    strengthRow->addWidget(up);
    strengthRow->addStretch();
    grid->addLayout(strengthRow, 3, 1, 1, 3);

    grid->addWidget(new QLabel(Text("二值化阈值"), this), 4, 0);
    auto* slider = static_cast<QSlider*>(add(ThresholdSlider, new QSlider(Qt::Horizontal, this)));
    slider->setRange(kThresholdMin, kThresholdMax);
    auto* threshold = static_cast<QLineEdit*>(add(ThresholdField, new QLineEdit(this)));
    threshold->setReadOnly(true);
    threshold->setMaximumWidth(48);
    grid->addWidget(slider, 4, 1, 1, 2);
    grid->addWidget(threshold, 4, 3);
    layout->addLayout(grid);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    auto* ok = static_cast<QPushButton*>(add(OkButton, new QPushButton(Text("确定"), this)));
    auto* cancel = static_cast<QPushButton*>(add(CancelButton, new QPushButton(Text("取消"), this)));
    ok->setDefault(true);
    cancel->setAutoDefault(false);
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    layout->addLayout(buttons);

    strength->setText(QString::number(strength_));
    slider->setValue(threshold_);
    threshold->setText(QString::number(threshold_));
    connect(down, &QPushButton::clicked, this, [this] { stepStrength(-1); });
    connect(up, &QPushButton::clicked, this, [this] { stepStrength(+1); });
    connect(slider, &QSlider::valueChanged, this, &SignatureDialog::setThreshold);
    connect(ok, &QPushButton::clicked, this, &SignatureDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &SignatureDialog::reject);
    preview();
}

QLineEdit* SignatureDialog::edit(Control id) const
{
    return static_cast<QLineEdit*>(controls_.at(id));
}

void SignatureDialog::stepStrength(int step)
{
    strength_ = std::clamp(strength_ + step, kStrengthMin, kStrengthMax);
    edit(StrengthField)->setText(QString::number(strength_));
    preview();
}

void SignatureDialog::setThreshold(int value)
{
    threshold_ = std::clamp(value, kThresholdMin, kThresholdMax);
    edit(ThresholdField)->setText(QString::number(threshold_));
    preview();
}

void SignatureDialog::preview()
{
    if (setup_.preview) setup_.preview(threshold_, strength_);
}

void SignatureDialog::accept()
{
    const signature::SignatureRequest request{edit(NameField)->text().toStdString(),
                                              edit(PasswordField)->text().toStdString(),
                                              edit(PasswordAgainField)->text().toStdString()};
    const signature::MakeVerdict verdict = signature::ConfirmSignature(setup_.folder, request, setup_.writeBmp);
    if (verdict.message) prompter_.message(verdict.message);
    if (verdict.clearName) edit(NameField)->clear();
    switch (verdict.outcome) {
    case signature::MakeOutcome::Stay:
        return;
    case signature::MakeOutcome::Made:
        outcome_ = signature::MakeDialogResult::Made;
        QDialog::accept();
        return;
    case signature::MakeOutcome::Failed:
        outcome_ = signature::MakeDialogResult::Failed;
        QDialog::reject();
        return;
    }
}

void SignatureDialog::reject()
{
    outcome_ = signature::MakeDialogResult::Cancelled;
    QDialog::reject();
}

}  // namespace vestrel::output
