// The main window's side of the selection: the commands of the selections, the crop, the
// clipboard and the floating paste, and "粘贴" following what the clipboard holds.

#include "CMainFrame.h"
#include "CommandIds.h"
#include "SelectionUi.h"

namespace vestrel {

using namespace cmd;

void CMainFrame::registerSelectionHandlers()
{
    handlers_[ID_RECT_SELECT] = [this] { selection_->OnRectSelect(); };
    handlers_[ID_FREE_SELECT] = [this] { selection_->OnFreeSelect(); };
    handlers_[ID_CROP] = [this] { selection_->OnCrop(); };
    handlers_[ID_EDIT_COPY] = [this] { selection_->OnCopy(); };
    handlers_[ID_EDIT_CUT] = [this] { selection_->OnCut(); };
    handlers_[ID_EDIT_PASTE] = [this] { selection_->OnPaste(); };
    handlers_[ID_REMOVE_PASTE] = [this] { selection_->OnRemovePaste(); };
    connect(selection_, &selection::SelectionUi::clipboardChanged, this, &CMainFrame::updateCommandUi);
}

}  // namespace vestrel
