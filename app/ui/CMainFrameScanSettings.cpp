// The scan-settings command of the main window: the dialog (scan/ui), the preview it asks
// for while open, and applying or cancelling its values.

#include "CLiveView.h"
#include "CMainFrame.h"
#include "CQuorvanDoc.h"
#include "CQuorvanView.h"
#include "PreviewSnapshot.h"
#include "ProcessingPreview.h"
#include "Prompter.h"
#include "ScanDriver.h"
#include "ScanSettingsDialog.h"
#include "Scanner.h"

#include <QComboBox>

#include <system_error>

namespace vestrel {

namespace {

scan::OrientationChoice OrientationOf(int index)
{
    switch (index) {
    case 1: return scan::OrientationChoice::UpsideDown;
    case 2: return scan::OrientationChoice::RotateLeft;
    case 3: return scan::OrientationChoice::RotateRight;
    default: return scan::OrientationChoice::Normal;
    }
}

}  // namespace

// The window's side of the dialog's preview. The snapshot is shown as the document's
// picture; whatever the document held before (an edited picture too) is put back when
// the preview ends, so a look at the settings never costs the user an image.
class ScanSettingsPreview final : public scan::SettingsPreviewTarget {
public:
    explicit ScanSettingsPreview(CMainFrame& frame) : f_(frame) {}
    ~ScanSettingsPreview() override
    {
        if (active_) endPreview();
    }

    void takeSnapshot() override
    {
        if (active_ || !f_.camera_) return;
        cv::Mat frame;
        if (!f_.camera_->copyNewestFrame(frame) || frame.empty()) return;
        const scan::ChainInput input{&f_.settings_, f_.scan_.zoomLevel, scan::LocalTimeNow(),
                                     scan::ChainKind::MainCamera};
        const std::filesystem::path file = scan::PreviewSnapshotFile(f_.programDir_);
        if (!scan::StorePreviewSnapshot(frame, input, file)) return;
        if (f_.scanDriver_) f_.scanDriver_->playShutter();  // taken like a scan

        document::CQuorvanDoc& doc = *f_.doc_;
        if (const CxImage* held = doc.Image()) savedImage_ = std::make_unique<CxImage>(*held);
        savedPath_ = doc.CurrentPath();
        savedPending_ = std::exchange(f_.pendingScan_, {});
        doc.LoadFile(file.string());
        doc.KeepBackup();
        active_ = true;
        if (f_.scan_.liveMode) f_.switchLiveStill();
        f_.OnWindowSize();
    }

    void endPreview() override
    {
        if (!active_) return;
        active_ = false;
        document::CQuorvanDoc& doc = *f_.doc_;
        doc.SetImage(std::move(savedImage_));
        doc.SetPath(savedPath_);
        f_.pendingScan_ = savedPending_;
        std::error_code ignored;
        std::filesystem::remove(scan::PreviewSnapshotFile(f_.programDir_), ignored);
        if (!f_.scan_.liveMode) f_.switchLiveStill();
        f_.stillView_->imageChanged();
    }

    void selectSize(int index) override { f_.OnSizeEntry(index); }
    void selectOrientation(int index) override { f_.OnOrientation(OrientationOf(index)); }

    void previewProcessing(int threshold, int strength) override
    {
        CxImage* image = f_.doc_->Image();
        if (!active_ || !image || !f_.doc_->Backup().IsValid()) return;
        *image = f_.doc_->Backup();
        ApplyProcessingPreview(*image, threshold, strength);
        f_.stillView_->imageChanged();
    }

private:
    CMainFrame& f_;
    bool active_ = false;
    std::unique_ptr<CxImage> savedImage_;
    std::string savedPath_;
    std::filesystem::path savedPending_;
};

void CMainFrame::OnScanSettings()
{
    if (!confirmStopEBook()) return;
    const bool presetWasInForce = settings_.presetInForce;
    scan::ScanSettingsForm result;
    bool accepted = false;
    {
        ScanSettingsPreview preview(*this);
        scan::ScanSettingsDialog dialog(scan::FormFromSettings(settings_, sizeList_->currentIndex()), prompter_,
                                        preview, programDir_, this);
        accepted = dialog.exec() == QDialog::Accepted;
        result = dialog.form();
    }
    if (accepted) applyScanSettings(result, presetWasInForce);
    else cancelScanSettings(result, presetWasInForce);
    updateCommandUi();
    redrawPanes();
}

void CMainFrame::applyScanSettings(const scan::ScanSettingsForm& form, bool presetWasInForce)
{
    scan::CopyFormToSettings(form, settings_);
    OnSizeEntry(form.sizeIndex);
    // The rectangle drawn before the dialog opened stays the preset: choosing the entry
    // again must not throw it away.
    if (form.sizeIndex == scan::kPresetEntry) {
        scan::RestorePresetFromForm(form, presetWasInForce, settings_);
        liveView_->setPresetDraw(true);
    }
    OnOrientation(OrientationOf(form.orientationIndex));
    settings_.path = form.path;
    refreshLibrary();
    SaveConfig();
}

void CMainFrame::cancelScanSettings(const scan::ScanSettingsForm& form, bool presetWasInForce)
{
    OnSizeEntry(form.startSizeIndex);
    if (form.startSizeIndex == scan::kPresetEntry) scan::RestorePresetFromForm(form, presetWasInForce, settings_);
    OnOrientation(OrientationOf(form.startOrientationIndex));
}

}  // namespace vestrel
