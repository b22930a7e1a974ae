// The main window's side of signatures and stamps: the document and panes the commands
// work on, and the three dialogs they open.

#include "SignatureHost.h"

#include "CMainFrame.h"
#include "CQuorvanView.h"
#include "CommandIds.h"
#include "ProgramDir.h"
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
    document::CQuorvanDoc& doc = *f_.doc_;
    if (!doc.Image()) {
        // The signature is the picture now, a file still to be named.
        doc.SetPath(doc.FileDir());
        doc.SetImage(std::move(mark));
        doc.ClearHistory();
        doc.OnWindowSize();
        return true;
    }
    doc.Image()->SelectionDelete();
    // The step is taken now, so that Back after the mark is placed takes it away again.
    if (!doc.PushHistory()) return false;
    doc.SetFloatingPaste(std::move(mark), true);
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
