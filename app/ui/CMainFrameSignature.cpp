// The main window's side of signatures and stamps: the document and panes the commands
// work on, and the three dialogs they open.

#include "SignatureHost.h"

#include "CMainFrame.h"
#include "CQuorvanView.h"
#include "CommandIds.h"
#include "ProgramDir.h"
#include "SelectionUi.h"
#include "SignatureDialog.h"
#include "SignatureOpenDialog.h"
#include "StampDialog.h"
#include "Trash.h"

namespace vestrel {

using namespace cmd;

bool SignatureHost::LiveShown() const { return f_.doc_->IsLiveShown(); }
CxImage* SignatureHost::Image() { return f_.doc_->Image(); }
void SignatureHost::ResetTools() { f_.doc_->ResetTools(); }

bool SignatureHost::RunCrop()
{
    // Only a crop command that is there and enabled can take over.
    if (!f_.handlers_.count(ID_CROP) || !StatusOf(ID_CROP, f_.State()).enabled) return false;
    f_.OnCommand(ID_CROP);
    return true;
}

bool SignatureHost::PlaceMark(std::unique_ptr<CxImage> mark)
{
    // The window's paste entry: the history step, the mark starting at the picture's
    // top-left, a mark too large refused; into an empty document it is the picture.
    const bool hadPicture = f_.doc_->Image() != nullptr;
    if (!f_.selection_->PastePicture(std::move(mark), true)) return false;
    if (!hadPicture) f_.doc_->OnWindowSize();  // a signature alone is shown fitted
    return true;
}

void SignatureHost::DiscardPicture()
{
    f_.doc_->ClearHistory();
    f_.doc_->OnDelete();
    f_.doc_->SetImage(nullptr);
    f_.doc_->SetPath(f_.doc_->FileDir());  // the document is empty: no file name either
}

void SignatureHost::Repaint()
{
    if (f_.stillView_) f_.stillView_->imageChanged();
    f_.redrawPanes();
}

signature::MakeDialogResult SignatureHost::MakeSignature(const signature::MakeDialogSetup& setup)
{
    output::SignatureDialog dialog(f_.prompter_, setup, &f_);
    dialog.exec();
    return dialog.outcome();
}

std::unique_ptr<CxImage> SignatureHost::OpenSignature(const std::filesystem::path& folder)
{
    output::SignatureOpenDialog dialog(
        f_.prompter_, folder, [](const std::filesystem::path& file) { return document::MoveToTrash(file); }, &f_);
    if (dialog.exec() != QDialog::Accepted) return nullptr;
    return dialog.takeMark();
}

std::optional<std::filesystem::path> SignatureHost::ChooseStamp(const std::filesystem::path& folder)
{
    output::StampDialog dialog(f_.prompter_, folder, &f_);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return dialog.chosenPath();
}

void CMainFrame::registerSignatureHandlers()
{
    signatureHost_ = std::make_unique<SignatureHost>(*this);
    signatures_ = std::make_unique<signature::SignatureCommands>(*signatureHost_, *signatureHost_, prompter_,
                                                                 programpath::SignDir(), programpath::StampDir());
    handlers_[ID_MAKE_SIGNATURE] = [this] {
        signatures_->OnMakeSignature(settings_.eraservalue, settings_.thresholdvalue);
    };
    handlers_[ID_INSERT_SIGNATURE] = [this] { signatures_->OnInsertSignature(); };
    handlers_[ID_STAMP] = [this] { signatures_->OnStamp(); };
}

}  // namespace vestrel
