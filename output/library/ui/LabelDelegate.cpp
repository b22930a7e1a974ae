#include "LabelDelegate.h"

#include <QVariant>

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

}  // namespace vestrel::library
