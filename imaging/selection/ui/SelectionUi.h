#pragma once
// The selection, crop, clipboard and paste commands as the main window runs them: the
// commands on the document, the tools they put on the image pane, and the desktop
// clipboard. The window routes the command ids here and follows clipboardChanged() to
// enable "粘贴".

#include "SelectionCommands.h"

#include <QObject>

#include <memory>

namespace vestrel {
class Prompter;
}
namespace vestrel::document {
class CQuorvanView;
}

namespace vestrel::selection {

class FreeSelectTool;
class PasteTool;
class RectSelectTool;

class SelectionUi : public QObject {
    Q_OBJECT
public:
    SelectionUi(document::CQuorvanDoc& doc, Prompter& prompter, document::CQuorvanView& view,
                QObject* parent = nullptr);
    ~SelectionUi() override;

    // Puts the paste, rectangle and free-hand tools on the pane, the paste first so that it
    // wins over the selection beneath it, and takes the pane's Space over a paste.
    void installTools();

    void OnRectSelect();
    void OnFreeSelect();
    void OnCrop();
    void OnCopy();
    void OnCut();
    void OnPaste();
    void OnRemovePaste();
    // A picture brought in by another command (a signature or stamp: `isMark`) as the
    // window places it: CQuorvanDoc::PastePicture, a mark starting at the picture's
    // top-left until the pointer moves, and the pane repainted. False when it was refused.
    bool PastePicture(std::unique_ptr<CxImage> picture, bool isMark);

    SelectionCommands& commands() { return commands_; }
    // The clipboard holds a picture a paste can take (followed as the clipboard changes).
    bool ClipboardOffersPicture() const { return clipboardOffers_; }

    RectSelectTool* rectTool() const { return rectTool_; }
    FreeSelectTool* freeTool() const { return freeTool_; }
    PasteTool* pasteTool() const { return pasteTool_; }

signals:
    void clipboardChanged();

private:
    // Hands the picture to the clipboard; a refusal is told and the command goes on.
    void putOnClipboard(const std::optional<CxImage>& picture);
    void readClipboard();

    document::CQuorvanDoc& doc_;
    Prompter& prompter_;
    document::CQuorvanView& view_;
    SelectionCommands commands_;
    RectSelectTool* rectTool_ = nullptr;  // owned by the view
    FreeSelectTool* freeTool_ = nullptr;
    PasteTool* pasteTool_ = nullptr;
    bool clipboardOffers_ = false;
};

}  // namespace vestrel::selection
