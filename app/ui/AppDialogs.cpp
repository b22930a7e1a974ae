#include "AppDialogs.h"

#include "AppIcons.h"
#include "AppMessages.h"
#include "FileNameRules.h"
#include "Prompter.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSlider>
#include <QSpinBox>
#include <QVBoxLayout>

namespace vestrel {

FileNameDialog::FileNameDialog(Prompter& prompter, std::string extension, QWidget* parent)
    : QDialog(parent), prompter_(prompter), extension_(std::move(extension))
{
    setWindowTitle(QString::fromUtf8(appmsg::kFileNameCaption));
    auto* layout = new QVBoxLayout(this);
    auto* row = new QHBoxLayout;
    row->addWidget(new QLabel(QString::fromUtf8(appmsg::kFileNameCaption), this));
    field_ = new QLineEdit(this);
    field_->setMaxLength(int(scan::kFileNameFieldLimit));
    row->addWidget(field_);
    layout->addLayout(row);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
}

void FileNameDialog::accept()
{
    const scan::FileNameVerdict verdict =
        scan::CheckTypedFileName(field_->text().toStdString(), extension_);
    if (!verdict.accepted) {
        prompter_.message(verdict.message);
        if (verdict.clearField) field_->clear();
        return;
    }
    accepted_ = verdict.name;
    QDialog::accept();
}

ZoomDialog::ZoomDialog(int level, std::function<void(int)> apply, QWidget* parent)
    : QDialog(parent), former_(level), apply_(std::move(apply))
{
    setWindowTitle(QString::fromUtf8(appmsg::kZoomDialogCaption));
    auto* layout = new QVBoxLayout(this);
    auto* row = new QHBoxLayout;
    slider_ = new QSlider(Qt::Horizontal, this);
    slider_->setRange(0, 6);
    slider_->setTickPosition(QSlider::TicksBelow);
    slider_->setValue(level);
    edit_ = new QSpinBox(this);
    edit_->setRange(0, 6);
    edit_->setValue(level);
    row->addWidget(slider_);
    row->addWidget(edit_);
    layout->addLayout(row);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);

    connect(slider_, &QSlider::valueChanged, this, [this](int v) {
        edit_->setValue(v);
        if (apply_) apply_(v);
    });
    connect(edit_, &QSpinBox::valueChanged, slider_, &QSlider::setValue);
}

int ZoomDialog::level() const { return slider_->value(); }
void ZoomDialog::setLevel(int level) { slider_->setValue(level); }

void ZoomDialog::reject()
{
    if (apply_) apply_(former_);
    QDialog::reject();
}

void ShowAboutBox(QWidget* parent)
{
    QDialog box(parent);
    box.setWindowTitle(QString::fromUtf8(appmsg::kShortName));
    auto* layout = new QHBoxLayout(&box);
    auto* icon = new QLabel(&box);
    icon->setPixmap(ApplicationIcon().pixmap(64, 64));
    layout->addWidget(icon);
    auto* column = new QVBoxLayout;
    auto* text = new QLabel(QString::fromUtf8(appmsg::kDescriptiveTitle), &box);
    text->setObjectName(QStringLiteral("descriptiveTitle"));
    text->setWordWrap(true);
    column->addWidget(text);
    column->addWidget(new QLabel(QStringLiteral("版本 %1").arg(QStringLiteral(VESTREL_VERSION)), &box));
    auto* ok = new QDialogButtonBox(QDialogButtonBox::Ok, &box);
    QObject::connect(ok, &QDialogButtonBox::accepted, &box, &QDialog::accept);
    column->addWidget(ok);
    layout->addLayout(column);
    box.exec();
}

}  // namespace vestrel
