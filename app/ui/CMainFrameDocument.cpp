// The main window's side of the image document and the PDF e-book: the document's hooks
// into the panes, its commands, and the e-book with its floating tool window and the timer
// that watches it.

#include "AppDialogs.h"
#include "AppMessages.h"
#include "CButtonView.h"
#include "CHelperView.h"
#include "CMainFrame.h"
#include "CQuorvanDoc.h"
#include "CQuorvanView.h"
#include "CThumbViewerView.h"
#include "CommandIds.h"
#include "PdfCompositionDialog.h"
#include "PdfMessages.h"
#include "Prompter.h"
#include "ScanDriver.h"
#include "ScanToPdf.h"

#include <QAction>
#include <QApplication>
#include <QStackedWidget>
#include <QTimer>
#include <QToolBar>
#include <QVBoxLayout>

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
    hooks.libraryChanged = [this] {
        if (libraryView_) libraryView_->rebuild();
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
        scan_.idCardCopyMode = false;
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
    handlers_[ID_EBOOK_START] = [this] { OnEbookStart(); };
    handlers_[ID_EBOOK_STOP] = [this] { OnEbookStop(); };
}

void CMainFrame::onScanStored(const std::filesystem::path& path)
{
    // Every page of an e-book belongs to the one book file.
    const std::filesystem::path current = scan_.pdfEbookMode && !ebook_.path().empty() ? ebook_.path() : path;
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
    if (scan_.pdfEbookMode && !ebook_.composing()) finishEBook();  // the book could not be created
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
    dialog.exec();
}

void CMainFrame::OnEbookStart()
{
    ebook_.start();
    scan_.pdfEbookMode = true;
    scan_.ebookPageCount = 0;

    // The floating tool window with its single end button; closing it ends the book too.
    ebookBar_ = new QWidget(this, Qt::Tool | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    ebookBar_->setObjectName(QStringLiteral("ebookToolWindow"));
    ebookBar_->setAttribute(Qt::WA_DeleteOnClose, false);
    ebookBar_->setWindowTitle(QString::fromUtf8(output::kEBookToolBarTitle));
    auto* layout = new QVBoxLayout(ebookBar_);
    layout->setContentsMargins(2, 2, 2, 2);
    auto* bar = new QToolBar(ebookBar_);
    bar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    bar->addAction(makeAction(ID_EBOOK_STOP));
    layout->addWidget(bar);
    ebookBar_->move(mapToGlobal(QPoint(100, 100)));
    ebookBar_->show();

    if (!ebookTimer_) {
        ebookTimer_ = new QTimer(this);
        ebookTimer_->setObjectName(QStringLiteral("timer4"));
        ebookTimer_->setInterval(1000);
        connect(ebookTimer_, &QTimer::timeout, this, &CMainFrame::watchEbookBar);
    }
    ebookTimer_->start();
    updateCommandUi();
    redrawPanes();
}

void CMainFrame::OnEbookStop()
{
    finishEBook();
}

void CMainFrame::watchEbookBar()
{
    if (!scan_.pdfEbookMode) {
        ebookTimer_->stop();
        return;
    }
    // The user closed the tool window, or the book could not be created: it ends.
    if (!ebookBar_ || !ebookBar_->isVisible() || !ebook_.composing()) finishEBook();
}

void CMainFrame::finishEBook()
{
    ebook_.finish();
    const bool wasComposing = scan_.pdfEbookMode;
    scan_.pdfEbookMode = false;
    scan_.ebookPageCount = 0;
    if (wasComposing && scan_.timedScanning && scanDriver_) scanDriver_->stopTimed();
    if (ebookTimer_) ebookTimer_->stop();
    if (ebookBar_) {
        ebookBar_->hide();
        ebookBar_->deleteLater();
        ebookBar_ = nullptr;
    }
    updateCommandUi();
    redrawPanes();
}

bool CMainFrame::confirmStopEBook()
{
    if (!scan_.pdfEbookMode) return true;
    if (prompter_.askYesNo(output::kStopEBookQuestion, output::kWarningCaption) != Answer::Yes) return false;
    finishEBook();
    return true;
}

}  // namespace vestrel
