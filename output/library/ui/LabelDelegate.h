#pragma once
// Draws and edits the entries' labels. The label editor is filled with the entry's name
// once, when editing begins: a thumbnail arriving while the user types changes the entry,
// and the item view would otherwise put the old name back over what was typed. In the
// thumbnail grid an entry is as wide as its grid cell, not only as wide as its picture, so
// a name a little wider than the picture is not cut.

#include <QStyledItemDelegate>

namespace vestrel::library {

class LabelDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void setEditorData(QWidget* editor, const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    // The least width of an entry; 0 lets the style decide (list mode).
    void setItemWidth(int width) { itemWidth_ = width; }

private:
    int itemWidth_ = 0;
};

}  // namespace vestrel::library
