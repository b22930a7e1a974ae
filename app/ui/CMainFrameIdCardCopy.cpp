// The two-sided ID-card copy in the main window: entering the mode, its tool window, the
// copy steps (the copier of scan/ does the work; the scan command and the timed tick reach
// it through the scanner), and leaving the mode. Also registers the scan-settings command.

#include "AppMessages.h"
#include "CHelperView.h"
#include "CMainFrame.h"
#include "CQuorvanDoc.h"
#include "CQuorvanView.h"
#include "CommandIds.h"
#include "CopyToolWindow.h"
#include "DocumentMessages.h"
#include "ImageSizeList.h"
#include "Prompter.h"
#include "ScanDriver.h"

#include <QAction>

namespace vestrel {

using namespace cmd;

namespace {
constexpr int kIdCardEntry = 7;  // "身份证(下端)"
}  // namespace

void CMainFrame::registerCopyAndSettingsHandlers()
{
    handlers_[ID_SCAN_SETTINGS] = [this] { OnScanSettings(); };
    // The live picture's "扫描间隔": the interval is edited in the scan settings.
    handlers_[ID_SCAN_INTERVAL] = [this] { OnScanSettings(); };
    handlers_[ID_ID_CARD_COPY] = [this] { OnIdCardCopy(); };
    handlers_[ID_COPY_STEP_1] = [this] {
        if (idCopier_) idCopier_->step();
    };
    handlers_[ID_COPY_STEP_2] = [this] {
        if (idCopier_) idCopier_->finishCard();
    };
    handlers_[ID_COPY_END] = [this] { OnCopyEnd(); };
    // Called once the scan driver exists: the scan command and the timed tick reach the
    // copy through it.
    if (!camera_) return;
    idCopier_ = std::make_unique<scan::IdCardCopier>(settings_, prompter_, *camera_);
    idCopier_->setEvents(copyEvents());
    if (scanDriver_) scanDriver_->setIdCardCopy(idCopier_.get());
}

scan::CopyEvents CMainFrame::copyEvents()
{
    scan::CopyEvents events;
    events.playShutter = [this] {
        if (scanDriver_) scanDriver_->playShutter();
    };
    events.showPage = [this](const CxImage& page) {
        // The page is the document's picture while the card is copied; it is stored already.
        doc_->SetImage(std::make_unique<CxImage>(page));
        doc_->SetPath(idCopier_->pageFile().string());
        doc_->ClearHistory();
        pendingScan_.clear();  // the still view shows the page, not the scan before it
        stillView_->imageChanged();
    };
    events.openPage = [this](const std::filesystem::path& path) {
        doc_->LoadFile(path.string());
        doc_->ClearHistory();
        pendingScan_.clear();
        stillView_->imageChanged();
    };
    events.refreshLibrary = [this] { doc_->RefreshLibrary(); };
    events.redrawInformation = [this] {
        updateCommandUi();
        redrawPanes();
    };
    return events;
}

void CMainFrame::OnIdCardCopy()
{
    if (scan_.recording) {
        prompter_.message(appmsg::kRecordingRefusesCopy, appmsg::kPromptCaption);
        return;
    }
    if (scan_.idCardCopyMode || !idCopier_) return;
    doc_->SetZoom(1.0f);
    doc_->ResetTools();
    if (CxImage* image = doc_->Image()) image->SelectionDelete();
    if (doc_->History().Position() > 0) {
        const Answer answer = prompter_.askYesNoCancel(document::msg::kAskSaveCurrent);
        if (answer == Answer::Cancel) return;
        if (answer == Answer::Yes) doc_->Save();
        else doc_->ClearHistory();
    }
    copyToolWindow_ = new scan::CopyToolWindow(
        {makeAction(ID_COPY_STEP_1), makeAction(ID_COPY_STEP_2), makeAction(ID_COPY_END)}, this);
    copyToolWindow_->show();
    scan_.idCardCopyMode = true;
    idCopier_->reset();
    redrawPanes();
    OnSizeEntry(kIdCardEntry);
    updateCommandUi();
}

void CMainFrame::OnCopyEnd()
{
    if (!doc_->Image()) OnSizeEntry(scan::kWholeFrameEntry);
    else if (scan_.liveMode) switchLiveStill();
    EndCopyMode();
}

void CMainFrame::EndCopyMode()
{
    scan_.idCardCopyMode = false;
    if (idCopier_) idCopier_->reset();
    if (copyToolWindow_) {
        copyToolWindow_->hide();
        copyToolWindow_->deleteLater();
        copyToolWindow_ = nullptr;
    }
    updateCommandUi();
    redrawPanes();
}

}  // namespace vestrel
