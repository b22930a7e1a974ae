#pragma once
// The entries of the library pane: the names shown (newest first), the thumbnail of each
// as it arrives, and what a drag out carries (the files as URLs). Editing an entry's label
// does not change the entry; it asks for a rename, and the refresh after it shows the
// new name.

#include <QAbstractListModel>
#include <QPixmap>
#include <QString>

#include <string>
#include <vector>

namespace vestrel::library {

class LibraryModel : public QAbstractListModel {
    Q_OBJECT
public:
    explicit LibraryModel(QObject* parent = nullptr);

    // New entries; pictures only in the thumbnail grid. `folder` ends with '/'.
    void reset(const std::string& folder, const std::vector<std::string>& names, bool withPictures);
    void setPicture(int row, const QPixmap& picture);

    std::string nameAt(int row) const;
    QPixmap pictureAt(int row) const;  // null while the entry has no picture

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    QStringList mimeTypes() const override;
    QMimeData* mimeData(const QModelIndexList& indexes) const override;
    Qt::DropActions supportedDragActions() const override;

signals:
    // The label of an entry was edited to `newName` (not empty).
    void renameRequested(const QString& oldName, const QString& newName);

private:
    QString folder_;
    std::vector<QString> names_;
    std::vector<QPixmap> pictures_;
    bool withPictures_ = false;
    QPixmap emptySlot_;  // keeps the grid in step while a picture is missing or on its way
};

}  // namespace vestrel::library
