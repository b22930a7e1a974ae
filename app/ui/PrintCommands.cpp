#include "PrintCommands.h"

#include "PicturePrinter.h"

#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrinter>

namespace vestrel {
namespace {

bool ShowPrintDialog(QPrinter& printer, QWidget* parent)
{
    QPrintDialog dialog(&printer, parent);
    // The picture is one page: there is no range or selection to choose.
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
    dialog.setOption(QAbstractPrintDialog::PrintSelection, false);
    dialog.setOption(QAbstractPrintDialog::PrintCurrentPage, false);
    return dialog.exec() == QDialog::Accepted;
}

bool ShowPageSetupDialog(QPrinter& printer, QWidget* parent)
{
    QPageSetupDialog dialog(&printer, parent);
    return dialog.exec() == QDialog::Accepted;
}

}  // namespace

PrintCommands::PrintCommands(QWidget* window, PictureSource picture, std::function<void()> changed)
    : QObject(window),
      window_(window),
      picture_(std::move(picture)),
      changed_(std::move(changed)),
      printer_(std::make_unique<QPrinter>(QPrinter::HighResolution)),
      printDialog_(ShowPrintDialog),
      pageSetupDialog_(ShowPageSetupDialog)
{
}

PrintCommands::~PrintCommands()
{
    // The preview draws through our printer and alignment: it goes first, and quietly,
    // since the window that hears of it may be half destroyed by now.
    if (preview_) {
        preview_->disconnect(this);
        disconnect(preview_, nullptr, this, nullptr);
        delete preview_.data();
    }
}

void PrintCommands::OnFilePrintSetup()
{
    pageSetupDialog_(*printer_, window_);
}

void PrintCommands::OnFilePrint()
{
    const CxImage* picture = picture_();
    if (!picture) return;  // an empty page is not worth a sheet of paper
    if (!printDialog_(*printer_, window_)) return;
    // The dialog may have run an event loop: the picture is asked for again.
    print::PrintPicture(*printer_, picture_(), ScaleOf(state_), alignment_);
}

void PrintCommands::OnPrintPosition()
{
    if (preview_) {
        raisePreview();
        return;
    }
    preview_ = new print::CMyPreviewView(*printer_, alignment_, picture_, [this] { return ScaleOf(state_); },
                                         window_);
    connect(preview_, &print::CMyPreviewView::printRequested, this, &PrintCommands::OnFilePrint,
            Qt::QueuedConnection);
    connect(preview_, &QObject::destroyed, this, [this] {
        // A widget announces its end before its guards learn of it: forget it here.
        preview_.clear();
        if (changed_) changed_();
    });
    preview_->show();
    if (changed_) changed_();
}

void PrintCommands::raisePreview()
{
    if (!preview_) return;
    preview_->raise();
    preview_->activateWindow();
}

void PrintCommands::OnPrintPosition11(int position)
{
    ChoosePrintPosition(state_, position);
    if (changed_) changed_();
}

void PrintCommands::applyArmPosition(scan::ArmPosition arm)
{
    ApplyArmPosition(state_, arm);
    if (changed_) changed_();
}

}  // namespace vestrel
