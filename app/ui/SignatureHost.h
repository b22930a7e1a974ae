#pragma once
// The main window as the signature and stamp commands see it: the document and panes they
// work on, and the three dialogs they open (output/ui).

#include "SignatureCommands.h"

namespace vestrel {

class CMainFrame;

class SignatureHost final : public signature::MarkHost, public signature::SignatureDialogs {
public:
    explicit SignatureHost(CMainFrame& frame) : f_(frame) {}

    bool LiveShown() const override;
    CxImage* Image() override;
    void ResetTools() override;
    bool RunCrop() override;
    bool PlaceMark(std::unique_ptr<CxImage> mark) override;
    void DiscardPicture() override;
    void Repaint() override;

    signature::MakeDialogResult MakeSignature(const signature::MakeDialogSetup& setup) override;
    std::unique_ptr<CxImage> OpenSignature(const std::filesystem::path& folder) override;
    std::optional<std::filesystem::path> ChooseStamp(const std::filesystem::path& folder) override;

private:
    CMainFrame& f_;
};

}  // namespace vestrel
