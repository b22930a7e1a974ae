#include "CThumbViewerView.h"

#include "CQuorvanDoc.h"
#include "LabelDelegate.h"
#include "LibraryCommandIds.h"
#include "LibraryFileCommands.h"
#include "LibraryItems.h"
#include "LibraryModel.h"
#include "LibraryOpen.h"
#include "PictureSource.h"
#include "ThumbnailCountDialog.h"
#include "ThumbnailGeometry.h"
#include "ThumbnailQueue.h"

#include <QContextMenuEvent>
#include <QDesktopServices>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QUrl>

#include <algorithm>

namespace vestrel::library {

CThumbViewerView::CThumbViewerView(document::CQuorvanDoc& doc, Prompter& prompter, LibraryHooks hooks,
                                   QWidget* parent)
    : QListView(parent), doc_(doc), prompter_(prompter), thumbnailCount_(kDefaultThumbnailCount)
{
    model_ = new LibraryModel(this);
    thumbnails_ = new ThumbnailQueue(this);
    setModel(model_);
    labels_ = new LabelDelegate(this);
    setItemDelegate(labels_);
    setHooks(std::move(hooks));

    setSelectionMode(QAbstractItemView::ExtendedSelection);
    // Labels are edited from "重命名" or with F2; a click never starts it, so the second
    // click of a double click cannot turn into a rename.
    setEditTriggers(QAbstractItemView::EditKeyPressed);
    setMinimumSize(10, 10);
    applyViewStyle();

    connect(model_, &LibraryModel::renameRequested, this, &CThumbViewerView::onRenameRequested,
            Qt::QueuedConnection);
    connect(thumbnails_, &ThumbnailQueue::thumbnailMade, this, [this](int row, const QImage& picture) {
        if (!picture.isNull()) model_->setPicture(row, QPixmap::fromImage(picture));
    });
    connect(thumbnails_, &ThumbnailQueue::allMade, this, &CThumbViewerView::thumbnailsMade);
    // Whoever lists the folder again (a scan, a save, a command of this pane), the pane follows.
    connect(&doc_, &document::CQuorvanDoc::libraryChanged, this, &CThumbViewerView::rebuild);
}

CThumbViewerView::~CThumbViewerView()
{
    // The workers must be gone before the model they report to.
    thumbnails_->cancel();
    delete thumbnails_;
    thumbnails_ = nullptr;
}

void CThumbViewerView::setHooks(LibraryHooks hooks)
{
    hooks_ = std::move(hooks);
    if (!hooks_.openWithDesktop)
        hooks_.openWithDesktop = [](const std::string& path) {
            return QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(path)));
        };
}

void CThumbViewerView::applyViewStyle()
{
    if (listMode_) {
        setViewMode(QListView::ListMode);
        setFlow(QListView::TopToBottom);
        setWrapping(true);
        setGridSize({});
        labels_->setItemWidth(0);
        setUniformItemSizes(false);
    } else {
        setViewMode(QListView::IconMode);
        setIconSize(QSize(kThumbnailSide, kThumbnailSide));
        // Room for the picture and two lines of its name under it, wide enough for a scan's
        // generated name; a longer one loses its middle, so the extension stays readable.
        const int text = fontMetrics().height();
        const int nameWidth = fontMetrics().horizontalAdvance(QStringLiteral("Image0000.jpeg")) + 12;
        const int cellWidth = std::max(kThumbnailSide + 24, nameWidth);
        setGridSize(QSize(cellWidth, kThumbnailSide + 2 * text + 12));
        labels_->setItemWidth(cellWidth - 4);
        setWordWrap(true);
        setTextElideMode(Qt::ElideMiddle);
        setUniformItemSizes(true);
    }
    // The grid arranges itself as the pane is resized; entries are never moved by hand.
    setMovement(QListView::Static);
    setResizeMode(QListView::Adjust);
    setDragEnabled(true);
    setDragDropMode(QAbstractItemView::DragOnly);
    setDefaultDropAction(Qt::CopyAction);
}

void CThumbViewerView::rebuild()
{
    thumbnails_->cancel();
    clickedItem_ = -1;
    const auto names = ShownNames(doc_.PhotoNames(), listMode_, thumbnailCount_);
    model_->reset(doc_.PhotoDir(), names, !listMode_);
    if (listMode_) {
        thumbnails_->restart({});
        return;
    }
    std::vector<std::filesystem::path> sources;
    sources.reserve(names.size());
    for (const std::string& name : names) sources.push_back(PictureSource(doc_.PhotoDir(), name));
    thumbnails_->restart(sources);
}

std::vector<std::string> CThumbViewerView::entryNames() const
{
    std::vector<std::string> names;
    for (int row = 0; row < model_->rowCount(); ++row) names.push_back(model_->nameAt(row));
    return names;
}

QImage CThumbViewerView::thumbnailAt(int row) const
{
    const QPixmap picture = model_->pictureAt(row);
    return picture.isNull() ? QImage() : picture.toImage();
}

int CThumbViewerView::thumbnailDecodes() const
{
    return thumbnails_->decodes();
}

int CThumbViewerView::pendingThumbnails() const
{
    return thumbnails_->pending();
}

std::vector<std::string> CThumbViewerView::selectedNames() const
{
    QModelIndexList rows = selectionModel()->selectedIndexes();
    std::sort(rows.begin(), rows.end(), [](const QModelIndex& a, const QModelIndex& b) { return a.row() < b.row(); });
    std::vector<std::string> names;
    for (const QModelIndex& index : rows) names.push_back(model_->nameAt(index.row()));
    return names;
}

std::string CThumbViewerView::clickedName() const
{
    return model_->nameAt(clickedItem_);
}

void CThumbViewerView::runCommand(int id)
{
    switch (id) {
    case ID_LIBRARY_VIEW: OnView(); break;
    case ID_LIBRARY_RENAME: OnRename(); break;
    case ID_LIBRARY_DELETE: OnDelete(); break;
    case ID_LIBRARY_OPEN_FOLDER: OnOpenFolder(); break;
    case ID_LIBRARY_CHOOSE_ON_ITEM:
    case ID_LIBRARY_CHOOSE: OnChooseLibrary(); break;
    case ID_LIBRARY_THUMBNAIL_COUNT: OnThumbnailCount(); break;
    case ID_LIBRARY_REFRESH: OnRefresh(); break;
    case ID_LIBRARY_LIST_DISPLAY: OnListDisplay(); break;
    case ID_LIBRARY_THUMBNAIL_DISPLAY: OnThumbnailDisplay(); break;
    default: break;
    }
}

void CThumbViewerView::OnView()
{
    ViewLibraryEntry(doc_, prompter_, hooks_, clickedName());
}

void CThumbViewerView::OnRename()
{
    const QModelIndex index = model_->index(clickedItem_);
    if (!index.isValid()) return;
    setCurrentIndex(index);
    edit(index);
}

void CThumbViewerView::onRenameRequested(const QString& oldName, const QString& newName)
{
    RenameLibraryFile(doc_, prompter_, hooks_, oldName.toStdString(), newName.toStdString());
}

void CThumbViewerView::OnDelete()
{
    const auto names = selectedNames();
    if (names.empty()) return;
    DeleteLibraryFiles(doc_, prompter_, hooks_, names);
}

void CThumbViewerView::OnOpenFolder()
{
    OpenLibraryFolder(doc_, prompter_, hooks_);
}

void CThumbViewerView::OnChooseLibrary()
{
    ChooseLibraryFolder(doc_, prompter_, hooks_);
}

void CThumbViewerView::OnThumbnailCount()
{
    if (const auto count = ThumbnailCountDialog::ask(prompter_, thumbnailCount_, this)) setThumbnailCount(*count);
}

void CThumbViewerView::setThumbnailCount(int count)
{
    if (count < kMinThumbnailCount || count > kMaxThumbnailCount || count == thumbnailCount_) return;
    thumbnailCount_ = count;
    rebuild();
}

void CThumbViewerView::OnRefresh()
{
    doc_.RefreshLibrary();
}

void CThumbViewerView::OnListDisplay()
{
    listMode_ = true;
    applyViewStyle();
    doc_.RefreshLibrary();
}

void CThumbViewerView::OnThumbnailDisplay()
{
    listMode_ = false;
    applyViewStyle();
    doc_.RefreshLibrary();
}

void CThumbViewerView::openEntry(int row)
{
    clickedItem_ = row;
    OpenLibraryEntry(doc_, prompter_, hooks_, model_->nameAt(row));
}

void CThumbViewerView::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        QListView::mouseDoubleClickEvent(event);
        return;
    }
    const QModelIndex index = indexAt(event->position().toPoint());
    openEntry(index.isValid() ? index.row() : -1);
    event->accept();
}

void CThumbViewerView::contextMenuEvent(QContextMenuEvent* event)
{
    // The scroll area hands the viewport's event on, in the viewport's coordinates.
    const QModelIndex index = indexAt(event->pos());
    clickedItem_ = index.isValid() ? index.row() : -1;
    QMenu menu(this);
    for (const MenuEntry& entry : LibraryContextMenu(index.isValid())) {
        QAction* action = menu.addAction(QString::fromStdString(entry.text));
        action->setData(entry.id);
    }
    if (QAction* chosen = menu.exec(event->globalPos())) runCommand(chosen->data().toInt());
}

void CThumbViewerView::keyReleaseEvent(QKeyEvent* event)
{
    // Held down, the key repeats its release; the files go once.
    if (event->key() == Qt::Key_Delete && !event->isAutoRepeat() && state() != QAbstractItemView::EditingState) {
        OnDelete();
        event->accept();
        return;
    }
    QListView::keyReleaseEvent(event);
}

}  // namespace vestrel::library
