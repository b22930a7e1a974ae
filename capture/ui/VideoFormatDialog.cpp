#include "VideoFormatDialog.h"

#include "CaptureMessages.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QListWidget>
#include <QSpinBox>
#include <QVBoxLayout>

namespace vestrel {
namespace {

constexpr const char* kFormatLabel = "像素格式";
constexpr const char* kSizeLabel = "输出大小";
constexpr int kLargestSide = 8192;

QString sizeText(const FrameSize& s) { return QString("%1*%2").arg(s.width).arg(s.height); }

}  // namespace

VideoFormatDialog::VideoFormatDialog(std::vector<PixelFormatInfo> formats, FrameSize current, QWidget* parent)
    : QDialog(parent), formats_(std::move(formats)), current_(current),
      formatBox_(new QComboBox), sizeList_(new QListWidget), widthBox_(new QSpinBox), heightBox_(new QSpinBox)
{
    setWindowTitle(QString::fromUtf8(capturemsg::kFormatCaption));
    for (const PixelFormatInfo& f : formats_)
        formatBox_->addItem(QString("%1 (%2)").arg(QString::fromStdString(FourccText(f.fourcc)),
                                                   QString::fromStdString(f.description)));
    for (QSpinBox* box : {widthBox_, heightBox_}) box->setRange(1, kLargestSide);
    widthBox_->setValue(std::max(1, current.width));
    heightBox_->setValue(std::max(1, current.height));

    auto* form = new QFormLayout;
    form->addRow(QString::fromUtf8(kFormatLabel), formatBox_);
    form->addRow(QString::fromUtf8(kSizeLabel), sizeList_);
    auto* typed = new QHBoxLayout;
    typed->addWidget(widthBox_);
    typed->addWidget(heightBox_);
    form->addRow(QString(), typed);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* outer = new QVBoxLayout(this);
    outer->addLayout(form);
    outer->addWidget(buttons);

    connect(formatBox_, &QComboBox::currentIndexChanged, this, [this] { fillSizes(); });
    // Start on a camera-made format that offers the current size, when there is one.
    int start = 0;
    for (std::size_t i = 0; i < formats_.size(); ++i) {
        const auto& sizes = formats_[i].sizes;
        if (!formats_[i].emulated && std::find(sizes.begin(), sizes.end(), current) != sizes.end()) {
            start = int(i);
            break;
        }
    }
    selectFormat(start);
    fillSizes();
}

void VideoFormatDialog::selectFormat(int index)
{
    if (index >= 0 && index < formatBox_->count()) formatBox_->setCurrentIndex(index);
}

void VideoFormatDialog::fillSizes()
{
    sizeList_->clear();
    const int index = formatBox_->currentIndex();
    const bool anySize = index < 0 || formats_[std::size_t(index)].sizes.empty();
    widthBox_->setVisible(anySize);
    heightBox_->setVisible(anySize);
    sizeList_->setVisible(!anySize);
    if (anySize) return;
    for (const FrameSize& s : formats_[std::size_t(index)].sizes) {
        auto* item = new QListWidgetItem(sizeText(s), sizeList_);
        item->setData(Qt::UserRole, QSize(s.width, s.height));
        if (s == current_) sizeList_->setCurrentItem(item);
    }
}

void VideoFormatDialog::selectSize(const FrameSize& size)
{
    for (int i = 0; i < sizeList_->count(); ++i)
        if (sizeList_->item(i)->data(Qt::UserRole).toSize() == QSize(size.width, size.height))
            sizeList_->setCurrentRow(i);
    widthBox_->setValue(size.width);
    heightBox_->setValue(size.height);
}

std::optional<FrameSize> VideoFormatDialog::chosenSize() const
{
    if (!sizeList_->isHidden()) {
        const QListWidgetItem* item = sizeList_->currentItem();
        if (!item) return std::nullopt;
        const QSize s = item->data(Qt::UserRole).toSize();
        return FrameSize{s.width(), s.height()};
    }
    return FrameSize{widthBox_->value(), heightBox_->value()};
}

}  // namespace vestrel
