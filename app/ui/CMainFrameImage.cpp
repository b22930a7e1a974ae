// The main window's side of the image operations: the commands of the "图像" and "效果"
// menus, their dialogs, the rotate dialog's live preview, and the lock while an operation
// runs (wait cursor, panes that touch the picture disabled, the result taken by a timer).

#include "CHelperView.h"
#include "CLiveView.h"
#include "CMainFrame.h"
#include "CQuorvanView.h"
#include "CThumbViewerView.h"
#include "CommandIds.h"
#include "ImageCommands.h"
#include "OperationDialogs.h"

#include <QApplication>
#include <QTimer>

namespace vestrel {

using namespace cmd;
using operations::Effect;

operations::CommandHooks CMainFrame::imageHooks()
{
    operations::CommandHooks hooks;
    hooks.repaintImageView = [this] {
        if (stillView_) stillView_->imageChanged();
    };
    hooks.resetScroll = [this] {
        if (stillView_) stillView_->resetScroll();
    };
    hooks.placeRotationHandle = [this](float x, float y) {
        if (stillView_) stillView_->setRotationHandle(QPointF(x, y));
    };
    hooks.viewClientSize = [this] {
        if (!stillView_) return std::pair{0, 0};
        const document::PaneSize client = stillView_->clientSize();
        return std::pair{client.width, client.height};
    };
    hooks.busyChanged = [this](bool running) { onImageBusy(running); };
    return hooks;
}

void CMainFrame::registerImageHandlers()
{
    imageOps_ = std::make_unique<operations::ImageCommands>(*doc_, prompter_, imageHooks());
    operationTimer_ = new QTimer(this);
    operationTimer_->setInterval(15);
    connect(operationTimer_, &QTimer::timeout, this, [this] {
        if (imageOps_->Poll()) updateCommandUi();
    });

    const std::pair<int, Effect> effects[] = {
        {ID_SHARPEN, Effect::Sharpen},
        {ID_SOFTEN, Effect::Soften},
        {ID_BLUR, Effect::Blur},
        {ID_EMBOSS, Effect::Emboss},
        {ID_EDGES, Effect::EdgeDetect},
        {ID_ERODE, Effect::Erode},
        {ID_DILATE, Effect::Dilate},
        {ID_INVERT, Effect::Negative},
        {ID_GREY, Effect::GreyScale},
        {ID_BRIGHTER, Effect::Brighter},
        {ID_DARKER, Effect::Darker},
        {ID_MORE_SATURATION, Effect::MoreSaturation},
        {ID_LESS_SATURATION, Effect::LessSaturation},
        {ID_MORE_CONTRAST, Effect::MoreContrast},
        {ID_LESS_CONTRAST, Effect::LessContrast},
        {ID_DENOISE, Effect::Denoise},
        {ID_RED_EYE, Effect::RedEyeRemoval},
        {ID_ROTATE_LEFT90, Effect::RotateLeft90},
        {ID_ROTATE_RIGHT90, Effect::RotateRight90},
    };
    for (const auto& [id, effect] : effects) handlers_[id] = [this, effect = effect] { imageOps_->RunEffect(effect); };
    handlers_[ID_BINARISE] = [this] { imageOps_->Binarise(); };
    handlers_[ID_REMOVE_BACKGROUND] = [this] { imageOps_->RemoveBackground(); };
    handlers_[ID_DESKEW] = [this] {
        // The page is measured on the worker; the cursor waits from the click on.
        imageOps_->AutoDeskew();
    };
    handlers_[ID_MANUAL_DESKEW] = [this] {
        if (imageOps_->StartManualDeskew()) stillView_->refresh();
    };
    handlers_[ID_ROTATE] = [this] { OnFreeRotate(); };
    handlers_[ID_GAMMA] = [this] { OnGamma(); };
    handlers_[ID_COLOUR_CORRECT] = [this] { OnColourCorrect(); };
    handlers_[ID_RESOLUTION] = [this] { OnResolution(); };
    handlers_[ID_FILE_SIZE] = [this] { OnFileSize(); };
}

void CMainFrame::onImageBusy(bool running)
{
    // The panes that could touch the picture (its tools, drops, the library's open) rest
    // until the result is in; the command table refuses the rest.
    for (QWidget* pane : {static_cast<QWidget*>(stillView_), static_cast<QWidget*>(libraryView_)})
        if (pane) pane->setEnabled(!running);
    if (liveView_) liveView_->setAcceptDrops(!running);
    if (running) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        operationTimer_->start();
    } else {
        operationTimer_->stop();
        QApplication::restoreOverrideCursor();
        if (stillView_) stillView_->setFocus();
    }
    updateCommandUi();
}

void CMainFrame::previewRotation(int degrees, bool keepSize)
{
    // Turning a camera page takes a moment: the cursor says so, and the pane repaints.
    QApplication::setOverrideCursor(Qt::WaitCursor);
    imageOps_->PreviewRotation(degrees, keepSize);
    stillView_->refresh();
    QApplication::restoreOverrideCursor();
}

void CMainFrame::OnFreeRotate()
{
    if (!imageOps_->BeginFreeRotate()) return;
    stillView_->refresh();
    operations::RotateDialog dialog(prompter_, operations::RotateSettings{},
                                    [this](int degrees, bool keepSize) { previewRotation(degrees, keepSize); }, this);
    imageOps_->EndFreeRotate(dialog.exec() == QDialog::Accepted);
    stillView_->refresh();
}

void CMainFrame::OnGamma()
{
    if (!imageOps_->PrepareCorrection()) return;
    operations::GammaDialog dialog(operations::GammaSettings{}, this);
    if (dialog.exec() == QDialog::Accepted) imageOps_->ApplyGamma(dialog.settings());
}

void CMainFrame::OnColourCorrect()
{
    if (!imageOps_->PrepareCorrection()) return;
    operations::ColourCorrectionDialog dialog(prompter_, operations::ColourCorrectionSettings{}, this);
    if (dialog.exec() == QDialog::Accepted) imageOps_->ApplyColourCorrection(dialog.settings());
}

void CMainFrame::OnResolution()
{
    const auto start = imageOps_->BeginResolution();
    if (!start) return;
    stillView_->imageChanged();
    operations::ResolutionDialog dialog(*start, this);
    if (dialog.exec() == QDialog::Accepted) imageOps_->ApplyResolution(dialog.newWidth(), dialog.newHeight());
}

void CMainFrame::OnFileSize()
{
    operations::JpegQualityDialog dialog(imageOps_->JpegQuality(), this);
    if (dialog.exec() == QDialog::Accepted) imageOps_->SetJpegQuality(dialog.quality());
}

}  // namespace vestrel
