// The main window's side of printing: the print commands routed to PrintCommands, which
// keeps the printer, the 1:1 state, the alignment and the preview.

#include "CHelperView.h"
#include "CMainFrame.h"
#include "CQuorvanDoc.h"
#include "CommandIds.h"
#include "PrintCommands.h"

namespace vestrel {

using namespace cmd;

void CMainFrame::registerPrintHandlers()
{
    print_ = new PrintCommands(
        this, [this]() -> const CxImage* { return doc_->Image(); },
        [this] {
            updateCommandUi();
            if (helperView_) helperView_->update();
        });
    handlers_[ID_FILE_PRINT_SETUP] = [this] { print_->OnFilePrintSetup(); };
    handlers_[ID_FILE_PRINT] = [this] { print_->OnFilePrint(); };
    handlers_[ID_PRINT_POSITION] = [this] { print_->OnPrintPosition(); };
    handlers_[ID_PRINT11_TOP] = [this] { print_->OnPrintPosition11(print::kArmTop); };
    handlers_[ID_PRINT11_MIDDLE] = [this] { print_->OnPrintPosition11(print::kArmMiddle); };
    handlers_[ID_PRINT11_BOTTOM] = [this] { print_->OnPrintPosition11(print::kArmBottom); };
}

}  // namespace vestrel
