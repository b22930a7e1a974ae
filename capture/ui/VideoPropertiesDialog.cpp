#include "VideoPropertiesDialog.h"

#include "CVideoCapture.h"
#include "CaptureMessages.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QSpinBox>
#include <QVBoxLayout>

namespace vestrel {
namespace {

constexpr const char* kDefaultsText = "默认值";
constexpr const char* kNoControlsText = "该设备没有可调节的属性。";

}  // namespace

VideoPropertiesDialog::VideoPropertiesDialog(CVideoCapture& capture, QWidget* parent)
    : QDialog(parent), capture_(capture)
{
    setWindowTitle(QString::fromUtf8(capturemsg::kPropertiesCaption));
    build();
}

void VideoPropertiesDialog::apply(std::uint32_t id, int value) { capture_.SetControl(id, value); }

void VideoPropertiesDialog::build()
{
    controls_ = capture_.Controls();
    auto* outer = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    outer->addLayout(form);
    if (controls_.empty()) form->addRow(new QLabel(QString::fromUtf8(kNoControlsText)));
    for (const CameraControl& c : controls_) {
        const QString name = QString::fromStdString(c.name);
        const std::uint32_t id = c.id;
        switch (c.kind) {
        case CameraControl::Kind::Integer: {
            auto* row = new QHBoxLayout;
            auto* slider = new QSlider(Qt::Horizontal);
            auto* spin = new QSpinBox;
            slider->setRange(c.minimum, c.maximum);
            spin->setRange(c.minimum, c.maximum);
            slider->setSingleStep(c.step);
            spin->setSingleStep(c.step);
            slider->setValue(c.value);
            spin->setValue(c.value);
            slider->setObjectName(QString("control-%1").arg(id));
            connect(slider, &QSlider::valueChanged, spin, &QSpinBox::setValue);
            connect(spin, &QSpinBox::valueChanged, slider, &QSlider::setValue);
            connect(spin, &QSpinBox::valueChanged, this, [this, id](int v) { apply(id, v); });
            row->addWidget(slider, 1);
            row->addWidget(spin);
            form->addRow(name, row);
            break;
        }
        case CameraControl::Kind::Boolean: {
            auto* box = new QCheckBox;
            box->setChecked(c.value != 0);
            box->setObjectName(QString("control-%1").arg(id));
            connect(box, &QCheckBox::toggled, this, [this, id](bool on) { apply(id, on ? 1 : 0); });
            form->addRow(name, box);
            break;
        }
        case CameraControl::Kind::Menu: {
            auto* combo = new QComboBox;
            combo->setObjectName(QString("control-%1").arg(id));
            for (const auto& [value, label] : c.menu) {
                combo->addItem(QString::fromStdString(label), value);
                if (value == c.value) combo->setCurrentIndex(combo->count() - 1);
            }
            connect(combo, &QComboBox::activated, this,
                    [this, id, combo](int index) { apply(id, combo->itemData(index).toInt()); });
            form->addRow(name, combo);
            break;
        }
        case CameraControl::Kind::Button: {
            auto* button = new QPushButton(name);
            connect(button, &QPushButton::clicked, this, [this, id] { apply(id, 1); });
            form->addRow(QString(), button);
            break;
        }
        }
    }
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close);
    auto* defaults = buttons->addButton(QString::fromUtf8(kDefaultsText), QDialogButtonBox::ResetRole);
    connect(defaults, &QPushButton::clicked, this, &VideoPropertiesDialog::restoreDefaults);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    outer->addWidget(buttons);
}

void VideoPropertiesDialog::restoreDefaults()
{
    for (const CameraControl& c : controls_) {
        if (c.kind == CameraControl::Kind::Button) continue;
        apply(c.id, c.defaultValue);
        const QString name = QString("control-%1").arg(c.id);
        if (auto* slider = findChild<QSlider*>(name)) slider->setValue(c.defaultValue);
        if (auto* box = findChild<QCheckBox*>(name)) box->setChecked(c.defaultValue != 0);
        if (auto* combo = findChild<QComboBox*>(name)) combo->setCurrentIndex(combo->findData(c.defaultValue));
    }
}

}  // namespace vestrel
