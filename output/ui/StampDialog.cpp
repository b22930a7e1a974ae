#include "StampDialog.h"

#include "MarkImage.h"
#include "Prompter.h"
#include "SignatureMessages.h"
#include "SignatureNames.h"
#include "StampThumbnail.h"

#include <QDialogButtonBox>
#include <QIcon>
#include <QImage>
#include <QListWidget>
#include <QPixmap>
#include <QVBoxLayout>

namespace vestrel::output {
namespace {

QString Text(const char* utf8) { return QString::fromUtf8(utf8); }

QPixmap ThumbnailPixmap(const std::filesystem::path& file)
{
    const cv::Mat cell = signature::MakeStampThumbnail(file).ToBgr();
    const QImage image(cell.data, cell.cols, cell.rows, int(cell.step), QImage::Format_BGR888);
    return QPixmap::fromImage(image.copy());
}

}  // namespace

StampDialog::StampDialog(Prompter& prompter, std::filesystem::path folder, QWidget* parent)
    : QDialog(parent), prompter_(prompter), folder_(std::move(folder))
{
    setWindowTitle(Text("图章"));
    auto* layout = new QVBoxLayout(this);
    list_ = new QListWidget(this);
    list_->setViewMode(QListView::IconMode);
    list_->setIconSize(QSize(signature::kStampCellWidth, signature::kStampCellHeight));
    list_->setResizeMode(QListView::Adjust);
    list_->setMovement(QListView::Static);
    list_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    list_->setMinimumSize(420, 300);
    for (const std::string& name : signature::ListStampNames(folder_))
        list_->addItem(new QListWidgetItem(QIcon(ThumbnailPixmap(folder_ / name)), QString::fromStdString(name)));
    layout->addWidget(list_);

    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(Text("确定"), QDialogButtonBox::AcceptRole);
    buttons->addButton(Text("取消"), QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(list_, &QListWidget::itemDoubleClicked, this, [this] { accept(); });
    layout->addWidget(buttons);
}

void StampDialog::accept()
{
    int last = -1;
    for (const QListWidgetItem* item : list_->selectedItems()) last = std::max(last, list_->row(item));
    if (last < 0) {
        prompter_.message(signature::msg::kNoStampChosen);
        return;
    }
    chosen_ = folder_ / list_->item(last)->text().toStdString();
    QDialog::accept();
}

}  // namespace vestrel::output
