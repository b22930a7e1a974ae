#include "OperationDialogs.h"

#include "OperationMessages.h"
#include "Prompter.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QSpinBox>
#include <QVBoxLayout>

namespace vestrel::operations {
namespace {

QDialogButtonBox* OkCancel(QDialog* dialog)
{
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, dialog);
    QObject::connect(buttons, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
    return buttons;
}

QDoubleSpinBox* GammaBox(float value, QWidget* parent)
{
    auto* box = new QDoubleSpinBox(parent);
    box->setRange(0.01, 10.0);
    box->setDecimals(2);
    box->setSingleStep(0.1);
    box->setValue(value);
    return box;
}

QSpinBox* IntBox(int low, int high, int value, QWidget* parent)
{
    auto* box = new QSpinBox(parent);
    box->setRange(low, high);
    box->setValue(value);
    return box;
}

}  // namespace

GammaDialog::GammaDialog(const GammaSettings& s, QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("伽马校正"));
    independent_ = new QRadioButton(QStringLiteral("独立通道"), this);
    linked_ = new QRadioButton(QStringLiteral("连续通道"), this);
    (s.independentChannels ? independent_ : linked_)->setChecked(true);
    gamma_ = GammaBox(s.gamma, this);
    red_ = GammaBox(s.red, this);
    green_ = GammaBox(s.green, this);
    blue_ = GammaBox(s.blue, this);
    auto* form = new QFormLayout;
    form->addRow(linked_, gamma_);
    form->addRow(independent_);
    form->addRow(QStringLiteral("红"), red_);
    form->addRow(QStringLiteral("绿"), green_);
    form->addRow(QStringLiteral("蓝"), blue_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(OkCancel(this));
}

GammaSettings GammaDialog::settings() const
{
    GammaSettings s;
    s.independentChannels = independent_->isChecked();
    s.gamma = float(gamma_->value());
    s.red = float(red_->value());
    s.green = float(green_->value());
    s.blue = float(blue_->value());
    return s;
}

ColourCorrectionDialog::ColourCorrectionDialog(Prompter& prompter, const ColourCorrectionSettings& s,
                                               QWidget* parent)
    : QDialog(parent), prompter_(prompter)
{
    setWindowTitle(QStringLiteral("颜色校正"));
    mode_ = new QButtonGroup(this);
    auto* rgb = new QRadioButton(QStringLiteral("RGB颜色模式"), this);
    auto* hsl = new QRadioButton(QStringLiteral("HSL颜色模式"), this);
    auto* exposure = new QRadioButton(QStringLiteral("曝光"), this);
    mode_->addButton(rgb, ColourCorrectionSettings::Rgb);
    mode_->addButton(hsl, ColourCorrectionSettings::Hsl);
    mode_->addButton(exposure, ColourCorrectionSettings::Exposure);
    linked_ = new QCheckBox(QStringLiteral("连续颜色"), this);
    hue_ = IntBox(0, 255, 0, this);
    saturation_ = IntBox(0, 255, 0, this);
    blend_ = IntBox(0, 255, 0, this);
    red_ = IntBox(-255, 255, 0, this);
    green_ = IntBox(-255, 255, 0, this);
    blue_ = IntBox(-255, 255, 0, this);
    level_ = IntBox(0, 255, 0, this);
    auto* colour = new QPushButton(QStringLiteral("颜色"), this);
    connect(colour, &QPushButton::clicked, this, &ColourCorrectionDialog::chooseColour);

    auto* form = new QFormLayout;
    form->addRow(rgb);
    form->addRow(QStringLiteral("红"), red_);
    form->addRow(QStringLiteral("绿"), green_);
    form->addRow(QStringLiteral("蓝"), blue_);
    form->addRow(hsl);
    form->addRow(QStringLiteral("色调"), hue_);
    form->addRow(QStringLiteral("饱和度"), saturation_);
    form->addRow(QStringLiteral("混合(%)"), blend_);
    form->addRow(exposure);
    form->addRow(QStringLiteral("阈值"), level_);
    form->addRow(linked_);
    form->addRow(colour);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(OkCancel(this));
    showSettings(s);
}

void ColourCorrectionDialog::showSettings(const ColourCorrectionSettings& s)
{
    if (QAbstractButton* button = mode_->button(s.mode)) button->setChecked(true);
    linked_->setChecked(s.linkedChannels);
    hue_->setValue(s.hue);
    saturation_->setValue(s.saturation);
    blend_->setValue(s.blendPercent);
    red_->setValue(s.red);
    green_->setValue(s.green);
    blue_->setValue(s.blue);
    level_->setValue(s.level);
}

ColourCorrectionSettings ColourCorrectionDialog::settings() const
{
    ColourCorrectionSettings s;
    s.mode = mode_->checkedId() < 0 ? ColourCorrectionSettings::Rgb : mode_->checkedId();
    s.linkedChannels = linked_->isChecked();
    s.hue = std::uint8_t(hue_->value());
    s.saturation = std::uint8_t(saturation_->value());
    s.blendPercent = std::uint8_t(blend_->value());
    s.red = red_->value();
    s.green = green_->value();
    s.blue = blue_->value();
    s.level = std::uint8_t(level_->value());
    return s;
}

void ColourCorrectionDialog::chooseColour()
{
    ColourCorrectionSettings s = settings();
    const COLORREF start = ChooserStartColour(s);
    const auto chosen = prompter_.chooseColour(
        {int(start & 0xFF), int((start >> 8) & 0xFF), int((start >> 16) & 0xFF)});
    if (!chosen) return;
    TakeChosenColour(s, MakeColorRef(chosen->red, chosen->green, chosen->blue));
    showSettings(s);
}

RotateDialog::RotateDialog(Prompter& prompter, const RotateSettings& s, Preview preview, QWidget* parent)
    : QDialog(parent), prompter_(prompter), settings_(s), preview_(std::move(preview))
{
    setWindowTitle(QStringLiteral("旋转"));
    angle_ = new QLineEdit(QString::fromStdString(s.angleText), this);
    keepSize_ = new QCheckBox(QStringLiteral("保持图像大小不变"), this);
    keepSize_->setChecked(s.keepSize);
    clockwise_ = new QRadioButton(QStringLiteral("顺时针"), this);
    anticlockwise_ = new QRadioButton(QStringLiteral("逆时针"), this);
    (s.direction == 1 ? anticlockwise_ : clockwise_)->setChecked(true);
    connect(angle_, &QLineEdit::textEdited, this, &RotateDialog::angleEdited);
    for (QAbstractButton* button : {static_cast<QAbstractButton*>(keepSize_), static_cast<QAbstractButton*>(clockwise_),
                                    static_cast<QAbstractButton*>(anticlockwise_)})
        connect(button, &QAbstractButton::clicked, this, &RotateDialog::optionsClicked);

    auto* directions = new QHBoxLayout;
    directions->addWidget(clockwise_);
    directions->addWidget(anticlockwise_);
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("角度"), angle_);
    form->addRow(directions);
    form->addRow(keepSize_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(OkCancel(this));
}

void RotateDialog::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    // As it opens the dialog previews the angle as it stands, whichever the direction.
    if (preview_) preview_(settings_.angle, settings_.keepSize);
}

void RotateDialog::angleEdited(const QString& text)
{
    const AngleText checked = CheckAngleText(text.toStdString());
    if (!checked.accepted) {
        prompter_.message(msg::kAngleDigitsOnly);
        angle_->setText(QString::fromStdString(checked.text));
    }
    settings_.angleText = checked.text;
    settings_.angle = checked.angle;
    sendPreview();
}

void RotateDialog::optionsClicked()
{
    settings_.keepSize = keepSize_->isChecked();
    settings_.direction = anticlockwise_->isChecked() ? 1 : 0;
    sendPreview();
}

void RotateDialog::sendPreview() const
{
    if (preview_) preview_(SignedAngle(settings_.angle, settings_.direction), settings_.keepSize);
}

ResolutionDialog::ResolutionDialog(const ResolutionSettings& s, QWidget* parent) : QDialog(parent), settings_(s)
{
    setWindowTitle(QStringLiteral("分辨率"));
    auto* originalWidth = new QLineEdit(QString::number(s.originalWidth), this);
    auto* originalHeight = new QLineEdit(QString::number(s.originalHeight), this);
    originalWidth->setReadOnly(true);
    originalHeight->setReadOnly(true);
    width_ = IntBox(0, 1 << 20, s.newWidth, this);
    height_ = IntBox(0, 1 << 20, s.newHeight, this);
    factor_ = new QLineEdit(QString::number(double(s.factor)), this);
    connect(factor_, &QLineEdit::textEdited, this, &ResolutionDialog::factorEdited);
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("原始宽度"), originalWidth);
    form->addRow(QStringLiteral("原始高度"), originalHeight);
    form->addRow(QStringLiteral("比例"), factor_);
    form->addRow(QStringLiteral("新宽度"), width_);
    form->addRow(QStringLiteral("新高度"), height_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(OkCancel(this));
}

void ResolutionDialog::factorEdited(const QString& text)
{
    const auto size = SizeForFactorText(text.toStdString(), settings_.originalWidth, settings_.originalHeight);
    if (!size) return;
    width_->setValue(size->width);
    height_->setValue(size->height);
}

int ResolutionDialog::newWidth() const { return width_->value(); }
int ResolutionDialog::newHeight() const { return height_->value(); }

JpegQualityDialog::JpegQualityDialog(int quality, QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("JPG保存质量"));
    slider_ = new QSlider(Qt::Horizontal, this);
    slider_->setRange(0, 100);
    slider_->setValue(quality);
    percent_ = new QLineEdit(this);  // empty until the slider is first let go
    percent_->setReadOnly(true);
    connect(slider_, &QSlider::sliderReleased, this,
            [this] { percent_->setText(QString::number(slider_->value()) + QLatin1Char('%')); });
    auto* row = new QHBoxLayout;
    row->addWidget(slider_);
    row->addWidget(percent_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(row);
    layout->addWidget(OkCancel(this));
}

int JpegQualityDialog::quality() const { return slider_->value(); }

}  // namespace vestrel::operations
