#include "VideoFormatDialog.h"

#include "CaptureMessages.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QListWidget>
#include <QSpinBox>
#include <QStringList>
#include <QVBoxLayout>

#include <algorithm>

namespace vestrel {
namespace {

constexpr const char* kSizeLabel = "输出大小";
constexpr int kLargestSide = 8192;

QString sizeText(const FrameSize& s) { return QString("%1*%2").arg(s.width).arg(s.height); }

struct OfferedSize {
    FrameSize size;
    QStringList formats;  // the formats that make it, camera-made ones first
};

// Every listed size once, in the order the camera lists them.
std::vector<OfferedSize> OfferedSizes(const std::vector<PixelFormatInfo>& formats)
{
    std::vector<OfferedSize> out;
    for (const bool emulated : {false, true}) {
        for (const PixelFormatInfo& f : formats) {
            if (f.emulated != emulated) continue;
            const QString name = QString::fromStdString(FourccText(f.fourcc));
            for (const FrameSize& s : f.sizes) {
                auto it = std::find_if(out.begin(), out.end(), [&](const OfferedSize& o) { return o.size == s; });
                if (it == out.end()) it = out.insert(out.end(), {s, {}});
                if (!it->formats.contains(name)) it->formats << name;
            }
        }
    }
    return out;
}

}  // namespace

VideoFormatDialog::VideoFormatDialog(const std::vector<PixelFormatInfo>& formats, FrameSize current, QWidget* parent)
    : QDialog(parent), sizeList_(new QListWidget), widthBox_(new QSpinBox), heightBox_(new QSpinBox)
{
    setWindowTitle(QString::fromUtf8(capturemsg::kFormatCaption));
    for (const OfferedSize& o : OfferedSizes(formats)) {
        auto* item = new QListWidgetItem(sizeText(o.size), sizeList_);
        item->setData(Qt::UserRole, QSize(o.size.width, o.size.height));
        item->setToolTip(o.formats.join(QStringLiteral(", ")));
        if (o.size == current) sizeList_->setCurrentItem(item);
    }
    // A format without a list takes any size within its limits: the size is typed then.
    const bool anySize = formats.empty() || std::any_of(formats.begin(), formats.end(),
                                                         [](const PixelFormatInfo& f) { return f.sizes.empty(); });
    for (QSpinBox* box : {widthBox_, heightBox_}) box->setRange(1, kLargestSide);
    widthBox_->setValue(std::max(1, current.width));
    heightBox_->setValue(std::max(1, current.height));
    connect(sizeList_, &QListWidget::currentItemChanged, this, [this](QListWidgetItem* item) {
        if (!item) return;
        const QSize s = item->data(Qt::UserRole).toSize();
        widthBox_->setValue(s.width());
        heightBox_->setValue(s.height());
    });

    auto* form = new QFormLayout;
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
    // Shown or hidden once they belong to the dialog, never as windows of their own.
    for (QSpinBox* box : {widthBox_, heightBox_}) box->setVisible(anySize);
    sizeList_->setVisible(sizeList_->count() > 0);
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
    if (!widthBox_->isHidden()) return FrameSize{widthBox_->value(), heightBox_->value()};
    const QListWidgetItem* item = sizeList_->currentItem();
    if (!item) return std::nullopt;
    const QSize s = item->data(Qt::UserRole).toSize();
    return FrameSize{s.width(), s.height()};
}

}  // namespace vestrel
