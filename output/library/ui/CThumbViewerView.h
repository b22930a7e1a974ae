#pragma once
// The photo library pane: a grid of 90 x 90 thumbnails of the newest files of the photo
// folder (6 unless the user chose another count), or a list of every file's name, newest
// first. It shows the document's listing and rebuilds itself on the document's
// libraryChanged signal: whoever changes the folder calls RefreshLibrary. Thumbnails are made
// on worker threads and appear one by one. From its context menu the user views, renames
// and deletes files, opens the folder and chooses another one; files can be dragged out.

#include "LibraryHooks.h"
#include "Prompter.h"

#include <QListView>

#include <string>
#include <vector>

namespace vestrel::document {
class CQuorvanDoc;
}

namespace vestrel::library {

class LabelDelegate;
class LibraryModel;
class ThumbnailQueue;

class CThumbViewerView : public QListView {
    Q_OBJECT
public:
    CThumbViewerView(document::CQuorvanDoc& doc, Prompter& prompter, LibraryHooks hooks = {},
                     QWidget* parent = nullptr);
    ~CThumbViewerView() override;

    // Replaces the hooks; an empty openWithDesktop is filled with the desktop services.
    void setHooks(LibraryHooks hooks);

    // Shows the document's listing again, and starts the thumbnails of the grid. Pictures
    // still being made for an earlier rebuild are dropped.
    void rebuild();

    // The context-menu commands, by their command id.
    void runCommand(int id);
    void OnView();
    void OnRename();
    void OnDelete();
    void OnOpenFolder();
    void OnChooseLibrary();
    void OnThumbnailCount();
    void OnRefresh();
    void OnListDisplay();
    void OnThumbnailDisplay();
    // Opens the entry in `row` as a double click does; -1 when the click hit no entry.
    void openEntry(int row);

    int thumbnailCount() const { return thumbnailCount_; }
    // Stores a count of 1..65536 and rebuilds when it changed (no rescan of the folder).
    void setThumbnailCount(int count);
    bool listMode() const { return listMode_; }
    // The entry last double-clicked or right-clicked; -1 for none. Cleared by a rebuild.
    int clickedItem() const { return clickedItem_; }
    void setClickedItem(int row) { clickedItem_ = row; }

    // What the pane shows, for its owner and for tests.
    std::vector<std::string> entryNames() const;
    QImage thumbnailAt(int row) const;  // null while the entry has no picture
    int pendingThumbnails() const;
    // Pictures decoded for thumbnails so far; unchanged files come from the cache.
    int thumbnailDecodes() const;

signals:
    // Every thumbnail of the latest rebuild has been made (or found to have no picture).
    void thumbnailsMade();

protected:
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;

private:
    void applyViewStyle();
    std::vector<std::string> selectedNames() const;
    std::string clickedName() const;
    void onRenameRequested(const QString& oldName, const QString& newName);

    document::CQuorvanDoc& doc_;
    Prompter& prompter_;
    LibraryHooks hooks_;
    LibraryModel* model_ = nullptr;
    LabelDelegate* labels_ = nullptr;
    ThumbnailQueue* thumbnails_ = nullptr;
    int thumbnailCount_;
    bool listMode_ = false;
    int clickedItem_ = -1;
};

}  // namespace vestrel::library
