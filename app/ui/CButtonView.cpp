#include "CButtonView.h"

#include "AppIcons.h"
#include "CommandIds.h"

#include <QPushButton>
#include <QVBoxLayout>

namespace vestrel {
namespace {

// Rendered once here, so that a missing or damaged picture is known at once.
bool Loads(const QIcon& icon) { return !icon.isNull() && !icon.pixmap(QSize(32, 32)).isNull(); }

}  // namespace

CButtonView::CButtonView(QWidget* parent) : QWidget(parent)
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    scan_ = new QPushButton(QStringLiteral("扫描图片"), this);
    switch_ = new QPushButton(QStringLiteral("视图切换"), this);
    library_ = new QPushButton(QStringLiteral("打开图片库"), this);
    const QIcon scanIcon = CommandIcon(cmd::ID_SCAN);
    liveIcon_ = CommandIcon(cmd::ID_LIVE_STILL);
    stillIcon_ = StillSwitchIcon();
    picturesLoaded_ = Loads(scanIcon) && Loads(liveIcon_) && Loads(stillIcon_);
    scan_->setIcon(scanIcon);
    switch_->setIcon(liveIcon_);
    for (QPushButton* b : {scan_, switch_, library_}) {
        b->setIconSize(QSize(32, 32));
        b->setMinimumHeight(36);
        layout->addWidget(b);
    }
    scan_->setToolTip(QStringLiteral("扫描一张图片并保存到图片库"));
    switch_->setToolTip(QStringLiteral("在实时画面和静态图片之间切换"));
    library_->setToolTip(QStringLiteral("在文件管理器中打开图片库文件夹"));
    layout->addStretch();

    connect(scan_, &QPushButton::clicked, this, [this] { emit commandTriggered(cmd::ID_SCAN); });
    connect(switch_, &QPushButton::clicked, this, [this] { emit commandTriggered(cmd::ID_LIVE_STILL); });
    connect(library_, &QPushButton::clicked, this, [this] { emit commandTriggered(cmd::ID_OPEN_LIBRARY); });
}

void CButtonView::setScanEnabled(bool on) { scan_->setEnabled(on); }

void CButtonView::setLiveShown(bool live)
{
    liveShown_ = live;
    switch_->setIcon(live ? liveIcon_ : stillIcon_);
    switch_->setText(live ? QStringLiteral("视图切换") : QStringLiteral("返回实时"));
}

}  // namespace vestrel
