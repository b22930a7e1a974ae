#pragma once
// Draws and edits the entries' labels. The label editor is filled with the entry's name
// once, when editing begins: a thumbnail arriving while the user types changes the entry,
// and the item view would otherwise put the old name back over what was typed.

#include <QStyledItemDelegate>

namespace vestrel::library {

class LabelDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void setEditorData(QWidget* editor, const QModelIndex& index) const override;
};

}  // namespace vestrel::library
