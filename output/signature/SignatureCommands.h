#pragma once
// The three commands of signatures and stamps: "制作签名" makes a signature file from the
// current picture through the signature dialog, "插入签名" and "图章" put an unlocked
// signature or a stamp over the picture as a mark. The document and the window are
// reached through MarkHost, the dialogs through SignatureDialogs, so the whole flow runs
// in a test without a display.

#include "CxImage.h"
#include "Prompter.h"
#include "SignatureMaking.h"

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>

namespace vestrel::signature {

// What the commands need of the document and the main window.
class MarkHost {
public:
    virtual ~MarkHost() = default;
    virtual bool LiveShown() const = 0;
    // The current picture, null when none is open.
    virtual CxImage* Image() = 0;
    // Every tool off, any paste in progress ended, the text box closed.
    virtual void ResetTools() = 0;
    // Runs the crop command; false when the program has none to run.
    virtual bool RunCrop() = 0;
    // `mark` floats over the current picture, after a history step, until the user places
    // it; with no picture open it becomes the picture, fitted to the pane. False when the
    // document refused it (it does not fit the picture, no memory for the history step).
    virtual bool PlaceMark(std::unique_ptr<CxImage> mark) = 0;
    // After a signature is made from it: the history dropped, the picture's file deleted
    // (the document's delete command) and the picture closed.
    virtual void DiscardPicture() = 0;
    // The picture changed: image and information panes redrawn.
    virtual void Repaint() = 0;
};

// How the signature dialog ended.
enum class MakeDialogResult {
    Made,       // the signature is written and scrambled
    Failed,     // it could not be written or scrambled
    Cancelled,  // "取消", Esc or the close box
};

// What the signature dialog starts with and may ask for while it is open.
struct MakeDialogSetup {
    std::filesystem::path folder;  // where signatures are kept
    int strength = 1;              // background strength 1 … 5
    int threshold = 0;             // binarisation threshold 0 … 255
    // Shows the current picture as processed with these values.
    std::function<void(int threshold, int strength)> preview;
    // Writes the current (processed) picture as BMP for ConfirmSignature.
    WriteBmp writeBmp;
};

class SignatureDialogs {
public:
    virtual ~SignatureDialogs() = default;
    virtual MakeDialogResult MakeSignature(const MakeDialogSetup& setup) = 0;
    // The signature the user unlocked, white transparent; null when none was.
    virtual std::unique_ptr<CxImage> OpenSignature(const std::filesystem::path& folder) = 0;
    // The stamp file the user chose; nothing when cancelled.
    virtual std::optional<std::filesystem::path> ChooseStamp(const std::filesystem::path& folder) = 0;
};

class SignatureCommands {
public:
    SignatureCommands(MarkHost& host, SignatureDialogs& dialogs, Prompter& prompter,
                      std::filesystem::path signFolder, std::filesystem::path stampFolder);

    // "制作签名", starting the dialog from the scan settings' strength and threshold.
    void OnMakeSignature(int strength, int threshold);
    // "插入签名".
    void OnInsertSignature();
    // "图章".
    void OnStamp();

private:
    // Every tool off; false, with `liveMessage` shown, while the live view is up, since
    // the commands work on the still picture only.
    bool StillViewReady(const char* liveMessage);
    void PreviewProcessing(int threshold, int strength);
    void RestorePreviewSource();

    MarkHost& host_;
    SignatureDialogs& dialogs_;
    Prompter& prompter_;
    std::filesystem::path signFolder_;
    std::filesystem::path stampFolder_;
    // The picture as it was when the dialog opened; each preview starts from it.
    CxImage previewSource_;
};

}  // namespace vestrel::signature
