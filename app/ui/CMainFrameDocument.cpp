// The main window's side of the image document and the PDF e-book: the document's hooks
// into the panes, its commands, and the e-book commands (the book itself is EBookSession's).

#include "AppDialogs.h"
#include "AppMessages.h"
#include "CButtonView.h"
#include "CHelperView.h"
#include "CMainFrame.h"
#include "CQuorvanDoc.h"
#include "CQuorvanView.h"
#include "CThumbViewerView.h"
#include "CommandIds.h"
#include "EBookSession.h"
#include "PdfCompositionDialog.h"
#include "Prompter.h"
#include "SearchablePages.h"

#include <QApplication>

namespace vestrel {

using namespace cmd;

document::DocumentHooks CMainFrame::documentHooks()
{
    document::DocumentHooks hooks;
    hooks.liveShown = [this] { return scan_.liveMode; };
    hooks.switchToStillView = [this] {
        // The file being opened is what the still view shows, not the last scan.
        pendingScan_.clear();
        if (scan_.liveMode) OnLiveStill();
    };
    hooks.repaintImageView = [this] {
        if (stillView_) stillView_->imageChanged();
    };
    hooks.resetImageScroll = [this] {
        if (stillView_) stillView_->resetScroll();
    };
    hooks.repaintInfoPane = [this] {
        if (helperView_) helperView_->update();
    };
    hooks.viewClientSize = [this] {
        if (!stillView_) return std::pair{0, 0};
        const document::PaneSize client = stillView_->clientSize();
        return std::pair{client.width, client.height};
    };
    return hooks;
}

library::LibraryHooks CMainFrame::libraryHooks()
{
    library::LibraryHooks hooks;
    hooks.liveShown = [this] { return scan_.liveMode; };
    hooks.confirmStopEBook = [this] { return confirmStopEBook(); };
    hooks.confirmEndIdCardCopy = [this] {
        if (!scan_.idCardCopyMode || !scan_.liveMode) return true;
        if (prompter_.askYesNo(appmsg::kEndCopyQuestion, appmsg::kPromptCaption) != Answer::Yes) return false;
        EndCopyMode();
        return true;
    };
    hooks.leaveLiveView = [this] {
        pendingScan_.clear();
        if (scan_.liveMode) OnLiveStill();
    };
    hooks.showLoadedImage = [this] {
        // Sized to the pane as Open does: panned when larger than it.
        doc_->ApplyPanRule();
        stillView_->imageChanged();
        redrawPanes();
    };
    hooks.repaintImageView = [this] { stillView_->imageChanged(); };
    hooks.activateImageView = [this] { stillView_->setFocus(); };
    hooks.photoFolderChanged = [this](const std::string& folder) {
        settings_.path = folder;
        SaveConfig();
    };
    return hooks;
}

void CMainFrame::registerDocumentHandlers()
{
    handlers_[ID_FILE_NEW] = [this] { doc_->OnFileNew(); };
    handlers_[ID_FILE_OPEN] = [this] { doc_->OnFileOpen(); };
    handlers_[ID_FILE_SAVE] = [this] { doc_->Save(); };
    handlers_[ID_FILE_SAVE_AS] = [this] { doc_->OnFileSaveAs(); };
    handlers_[ID_DELETE] = [this] { doc_->OnDelete(); };
    handlers_[ID_EDIT_UNDO] = [this] { doc_->OnBack(); };
    handlers_[ID_EDIT_REDO] = [this] { doc_->OnForward(); };
    handlers_[ID_ZOOM_IN] = [this] {
        doc_->OnZoomIn();
        stillView_->refresh();
    };
    handlers_[ID_ZOOM_OUT] = [this] {
        doc_->OnZoomOut();
        stillView_->refresh();
    };
    handlers_[ID_PAN] = [this] {
        doc_->OnPanTool();
        stillView_->refresh();
    };
    handlers_[ID_MAKE_PDF] = [this] { OnMakePdf(); };
    handlers_[ID_OPEN_LIBRARY] = [this] { libraryView_->OnOpenFolder(); };
    handlers_[ID_EBOOK_START] = [this] {
        ebook_->start(makeAction(ID_EBOOK_STOP));
        redrawPanes();
    };
    handlers_[ID_EBOOK_STOP] = [this] { ebook_->finish(); };
}

void CMainFrame::onScanStored(const std::filesystem::path& path)
{
    // Every page of an e-book belongs to the one book file.
    const std::filesystem::path current =
        ebook_->composing() && !ebook_->book().path().empty() ? ebook_->book().path() : path;
    // The document takes a scan's name only together with its picture, so that the picture
    // shown and the file a Save writes always agree. A picture with edits not saved yet
    // keeps its picture and its name; a PDF is no picture the document can hold.
    pendingScan_.clear();
    if (doc_->History().Position() == 0) {
        if (document::CQuorvanDoc::GetFileType(current.string()) != CXIMAGE_FORMAT_PDF) {
            pendingScan_ = current;  // loaded when the still picture is next shown
            showPendingScan();
        } else if (!doc_->Image()) {
            doc_->SetPath(current.string());
        }
    }
    ebook_->closeIfEnded();  // the book could not be created
}

void CMainFrame::showPendingScan()
{
    if (pendingScan_.empty()) return;
    const std::filesystem::path path = std::exchange(pendingScan_, {});
    if (doc_->History().Position() > 0) return;
    if (document::CQuorvanDoc::GetFileType(path.string()) == CXIMAGE_FORMAT_PDF) return;
    doc_->LoadFile(path.string());
}

void CMainFrame::openFile(const std::string& path)
{
    stillView_->openDroppedFiles({QString::fromStdString(path)});
    updateCommandUi();
}

void CMainFrame::OnMakePdf()
{
    // The composition asks for its target names with the scans' file-name dialog.
    output::PdfCompositionDialog dialog(
        prompter_,
        [this]() -> std::optional<std::string> {
            FileNameDialog names(prompter_, ".pdf", QApplication::activeModalWidget());
            if (names.exec() != QDialog::Accepted) return std::nullopt;
            return names.acceptedName();
        },
        this);
    // Searchable pages are offered when the language data are there to read them.
    if (ocr::MissingLanguages(ocr::kDefaultLanguages).empty())
        dialog.setPageTextSource(RecognisedPageText());
    dialog.exec();
}

QWidget* CMainFrame::ebookToolWindow() const
{
    return ebook_->toolWindow();
}

bool CMainFrame::confirmStopEBook()
{
    return ebook_->confirmStop();
}

}  // namespace vestrel
