#pragma once
// The main window's printing: the printer the print setup chooses, 1:1 printing and its
// arm position, the program-wide alignment, and the position-adjusting preview. The
// window routes 57606, 57607, 32955 and the three position commands here; it asks
// previewOpen() before it lets its picture switch or itself close.

#include "CMyPreviewView.h"
#include "PrintState.h"

#include <QObject>
#include <QPointer>

#include <functional>
#include <memory>

class QPrinter;
class QWidget;

namespace vestrel {

class PrintCommands : public QObject {
    Q_OBJECT
public:
    using PictureSource = std::function<const CxImage*()>;
    // Shows a dialog on the printer; true to go on. Replaced in tests, where no dialog may
    // wait for a user.
    using PrinterDialog = std::function<bool(QPrinter& printer, QWidget* parent)>;

    // `window` parents the dialogs and the preview; `picture` is the document's picture,
    // null when there is none; `changed` runs after the state or the preview's being open
    // changes (the window updates its commands and its information pane).
    PrintCommands(QWidget* window, PictureSource picture, std::function<void()> changed);
    ~PrintCommands() override;

    void OnFilePrintSetup();                    // 57606 "打印设置"
    void OnFilePrint();                         // 57607 "打印"
    void OnPrintPosition();                     // 32955 "打印位置调整"
    void OnPrintPosition11(int position);       // 32890, 32910, 32891
    // The arm position of a chosen size entry.
    void applyArmPosition(scan::ArmPosition arm);

    const Print11State& print11() const { return state_; }
    const print::PrintAlignment& alignment() const { return alignment_; }
    bool previewOpen() const { return !preview_.isNull(); }
    print::CMyPreviewView* preview() const { return preview_.data(); }
    // Brings the open preview to the front again (after the main window was shown).
    void raisePreview();
    QPrinter& printer() { return *printer_; }

    void setPrintDialog(PrinterDialog dialog) { printDialog_ = std::move(dialog); }
    void setPageSetupDialog(PrinterDialog dialog) { pageSetupDialog_ = std::move(dialog); }

private:
    QWidget* window_;
    PictureSource picture_;
    std::function<void()> changed_;
    std::unique_ptr<QPrinter> printer_;
    Print11State state_;
    print::PrintAlignment alignment_;  // kept for the whole run, never stored
    QPointer<print::CMyPreviewView> preview_;
    PrinterDialog printDialog_;
    PrinterDialog pageSetupDialog_;
};

}  // namespace vestrel
