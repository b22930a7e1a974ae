#include "RecordDialog.h"

#include "Capabilities.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QRadioButton>
#include <QVBoxLayout>

namespace vestrel {
namespace {

constexpr const char* kCaption = "录制时间";
constexpr const char* kOpenEnded = "自定义录制时间，自行控制停止录制";
constexpr const char* kTimed = "录制视频时间";
constexpr const char* kMinutes = "分钟";
constexpr const char* kSound = "录制声音";
constexpr const char* kFormatLabel = "视频格式";
constexpr const char* kSizeLabel = "视频大小";
constexpr double kLongestMinutes = 24 * 60;

}  // namespace

RecordDialog::RecordDialog(std::vector<std::string> capabilities, QWidget* parent)
    : QDialog(parent),
      capabilities_(std::move(capabilities)),
      formats_(new QComboBox),
      sizes_(new QComboBox),
      openEnded_(new QRadioButton(QString::fromUtf8(kOpenEnded))),
      timed_(new QRadioButton(QString::fromUtf8(kTimed))),
      minutes_(new QDoubleSpinBox),
      sound_(new QCheckBox(QString::fromUtf8(kSound)))
{
    setWindowTitle(QString::fromUtf8(kCaption));
    formats_->setObjectName(QStringLiteral("formatList"));   // 1029
    sizes_->setObjectName(QStringLiteral("sizeList"));       // 1030
    openEnded_->setObjectName(QStringLiteral("openEnded"));  // 1005
    timed_->setObjectName(QStringLiteral("timed"));          // 1006
    minutes_->setObjectName(QStringLiteral("minutes"));      // 1000
    sound_->setObjectName(QStringLiteral("sound"));          // 1083

    for (const std::string& entry : capabilities_)
        formats_->addItem(QString::fromStdString(recording::CapabilityName(entry)));
    // A timed recording lasts at least a few seconds; the field takes tenths of a minute.
    minutes_->setRange(0.1, kLongestMinutes);
    minutes_->setDecimals(1);
    minutes_->setValue(1.0);
    minutes_->setEnabled(false);
    openEnded_->setChecked(true);
    sound_->setChecked(false);
    sound_->setEnabled(false);

    auto* form = new QFormLayout;
    form->addRow(QString::fromUtf8(kFormatLabel), formats_);
    form->addRow(QString::fromUtf8(kSizeLabel), sizes_);
    auto* timedRow = new QHBoxLayout;
    timedRow->addWidget(timed_);
    timedRow->addWidget(minutes_);
    timedRow->addWidget(new QLabel(QString::fromUtf8(kMinutes)));
    timedRow->addStretch();
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* outer = new QVBoxLayout(this);
    outer->addLayout(form);
    outer->addWidget(openEnded_);
    outer->addLayout(timedRow);
    outer->addWidget(sound_);
    outer->addWidget(buttons);

    connect(timed_, &QRadioButton::toggled, minutes_, &QWidget::setEnabled);
    connect(formats_, &QComboBox::activated, this, [this](int index) { fillSizes(index); });
    if (!capabilities_.empty()) formats_->setCurrentIndex(0);
    fillSizes(0);
    // The usual recording size when the first format offers it.
    const int preferred = sizes_->findText(QString::fromUtf8(recording::kPreferredRecordSize));
    if (preferred >= 0) sizes_->setCurrentIndex(preferred);
}

void RecordDialog::fillSizes(int format)
{
    sizes_->clear();
    if (format < 0 || std::size_t(format) >= capabilities_.size()) return;
    for (const std::string& size : recording::CapabilitySizes(capabilities_[std::size_t(format)]))
        sizes_->addItem(QString::fromStdString(size));
    sizes_->setCurrentIndex(sizes_->count() > 0 ? 0 : -1);
}

RecordSettings RecordDialog::settings() const
{
    RecordSettings s;
    const FrameSize size = recording::ParseRecordSize(sizes_->currentText().toStdString());
    s.width = size.width;
    s.height = size.height;
    // A name outside the list keeps the default format.
    const std::string name = formats_->currentText().toStdString();
    if (!name.empty() && recording::FormatName(0) != name + ":") s.formatName = name;
    s.sound = sound_->isChecked();
    s.timed = timed_->isChecked();
    s.minutes = minutes_->value();
    return s;
}

}  // namespace vestrel
