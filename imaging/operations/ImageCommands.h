#pragma once
// The commands of the "图像" and "效果" menus on the document's picture. Each follows the
// same course: the tools go off, the picture is recorded in the history, the operation
// runs, and the image pane and the information pane are repainted. The operations run on
// a worker (OperationRunner); while one runs the window refuses everything that would
// touch the picture, and the result is taken when the window polls.
//
// The dialogs are the window's: the commands that have one are split into what happens
// before the dialog, what its changes preview, and what its OK (or Cancel) does.

#include "FreeRotation.h"
#include "ImageEffects.h"
#include "OperationRunner.h"
#include "ResolutionSettings.h"
#include "ToneCorrections.h"

#include <functional>
#include <optional>

namespace vestrel {
class Prompter;
namespace document {
class CQuorvanDoc;
}
}  // namespace vestrel

namespace vestrel::operations {

// What the commands ask of the window beyond the document. Every hook may be left empty.
struct CommandHooks {
    std::function<void()> repaintImageView;
    std::function<void()> resetScroll;  // scroll sizes back to 0 x 0
    // The manual deskew's rotation handle, in pane client pixels.
    std::function<void(float x, float y)> placeRotationHandle;
    std::function<std::pair<int, int>()> viewClientSize;
    // An operation started (true) or ended: the window shows the wait cursor and locks
    // what touches the picture.
    std::function<void(bool running)> busyChanged;
};

class ImageCommands {
public:
    ImageCommands(document::CQuorvanDoc& doc, Prompter& prompter, CommandHooks hooks = {});
    ~ImageCommands();
    ImageCommands(const ImageCommands&) = delete;
    ImageCommands& operator=(const ImageCommands&) = delete;

    // An operation is running: Back, Open, another operation and the rest wait.
    bool Busy() const { return m_runner.Busy(); }
    // Takes a finished operation's picture; true when one was delivered now.
    bool Poll();
    // Waits for a running operation and takes its picture (closing, tests).
    void Wait();

    // Every one-step effect, and binarisation, background removal and automatic deskew.
    // False when nothing was started (no picture, a grey picture for binarisation, the
    // history refused the step, an operation runs already).
    bool RunEffect(Effect effect);
    bool Binarise();
    bool RemoveBackground();
    bool AutoDeskew();
    // "倾斜校正" of pop-up 230: the manual deskew tool starts, the picture fitted to the pane.
    bool StartManualDeskew();

    // Free rotation: Begin records the step and keeps the picture aside; Preview turns
    // the kept picture; End keeps the preview (OK) or brings the kept picture back (Cancel),
    // the history step staying either way.
    bool BeginFreeRotate();
    void PreviewRotation(int signedDegrees, bool keepSize);
    void EndFreeRotate(bool accepted);

    // Gamma and colour correction: Prepare before the dialog (false: no picture), Apply on OK.
    bool PrepareCorrection();
    bool ApplyGamma(const GammaSettings& settings);
    bool ApplyColourCorrection(const ColourCorrectionSettings& settings);

    // Resolution: the dialog's starting values (nothing without a picture), and OK.
    std::optional<ResolutionSettings> BeginResolution();
    bool ApplyResolution(int newWidth, int newHeight);

    // "文件大小": the JPEG quality of the next save to a JPG name.
    int JpegQuality() const;
    void SetJpegQuality(int quality);

private:
    // Tools off; false without a picture.
    bool ResetAndCheck();
    // Records the step and starts `work`; `afterwards` runs in the window's thread once the
    // changed picture is the document's.
    bool Run(OperationRunner::Work work, std::function<void()> afterwards = {});
    void Deliver(std::unique_ptr<CxImage> result);
    void Repaint();
    void Call(const std::function<void()>& hook) const;

    document::CQuorvanDoc& m_doc;
    Prompter& m_prompter;
    CommandHooks m_hooks;
    OperationRunner m_runner;
    std::function<void()> m_afterwards;
};

}  // namespace vestrel::operations
