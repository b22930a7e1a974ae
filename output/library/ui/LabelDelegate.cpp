#include "LabelDelegate.h"

#include <QVariant>

#include <algorithm>

namespace vestrel::library {

namespace {
constexpr const char* kFilled = "vestrelLabelFilled";
}

void LabelDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const
{
    if (editor->property(kFilled).toBool()) return;
    QStyledItemDelegate::setEditorData(editor, index);
    editor->setProperty(kFilled, true);
}

QSize LabelDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    QStyleOptionViewItem wide = option;
    if (itemWidth_ > 0) wide.rect.setWidth(itemWidth_);
    QSize size = QStyledItemDelegate::sizeHint(wide, index);
    if (itemWidth_ > 0) size.setWidth(std::max(size.width(), itemWidth_));
    return size;
}

}  // namespace vestrel::library
