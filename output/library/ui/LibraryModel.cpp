#include "LibraryModel.h"

#include "ThumbnailGeometry.h"

#include <QMimeData>
#include <QUrl>

namespace vestrel::library {

LibraryModel::LibraryModel(QObject* parent)
    : QAbstractListModel(parent), emptySlot_(kThumbnailSide, kThumbnailSide)
{
    emptySlot_.fill(Qt::transparent);
}

void LibraryModel::reset(const std::string& folder, const std::vector<std::string>& names,
                         bool withPictures)
{
    beginResetModel();
    folder_ = QString::fromStdString(folder);
    names_.clear();
    names_.reserve(names.size());
    for (const std::string& name : names) names_.push_back(QString::fromStdString(name));
    pictures_.assign(withPictures ? names.size() : 0, QPixmap());
    withPictures_ = withPictures;
    endResetModel();
}

void LibraryModel::setPicture(int row, const QPixmap& picture)
{
    if (row < 0 || std::size_t(row) >= pictures_.size()) return;
    pictures_[std::size_t(row)] = picture;
    const QModelIndex changed = index(row);
    emit dataChanged(changed, changed, {Qt::DecorationRole});
}

std::string LibraryModel::nameAt(int row) const
{
    if (row < 0 || std::size_t(row) >= names_.size()) return {};
    return names_[std::size_t(row)].toStdString();
}

QPixmap LibraryModel::pictureAt(int row) const
{
    if (row < 0 || std::size_t(row) >= pictures_.size()) return {};
    return pictures_[std::size_t(row)];
}

int LibraryModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(names_.size());
}

QVariant LibraryModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || std::size_t(index.row()) >= names_.size()) return {};
    const auto row = std::size_t(index.row());
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
    case Qt::ToolTipRole:
        return names_[row];
    case Qt::DecorationRole:
        if (!withPictures_) return {};
        return pictures_[row].isNull() ? emptySlot_ : pictures_[row];
    default:
        return {};
    }
}

Qt::ItemFlags LibraryModel::flags(const QModelIndex& index) const
{
    if (!index.isValid()) return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable | Qt::ItemIsDragEnabled;
}

bool LibraryModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (role != Qt::EditRole || !index.isValid() || std::size_t(index.row()) >= names_.size()) return false;
    const QString newName = value.toString();
    if (!newName.isEmpty()) emit renameRequested(names_[std::size_t(index.row())], newName);
    // The label keeps the old name; the listing after the rename shows the new one.
    return false;
}

QStringList LibraryModel::mimeTypes() const
{
    return {QStringLiteral("text/uri-list")};
}

QMimeData* LibraryModel::mimeData(const QModelIndexList& indexes) const
{
    QList<QUrl> urls;
    for (const QModelIndex& index : indexes)
        if (index.isValid() && std::size_t(index.row()) < names_.size())
            urls.push_back(QUrl::fromLocalFile(folder_ + names_[std::size_t(index.row())]));
    if (urls.isEmpty()) return nullptr;
    auto* data = new QMimeData;
    data->setUrls(urls);
    return data;
}

Qt::DropActions LibraryModel::supportedDragActions() const
{
    return Qt::CopyAction | Qt::MoveAction;
}

}  // namespace vestrel::library
