#include "SignatureCommands.h"

#include "MarkImage.h"
#include "ProcessingPreview.h"
#include "SignatureMessages.h"
#include "SignatureNames.h"

#include <algorithm>

namespace vestrel::signature {

SignatureCommands::SignatureCommands(MarkHost& host, SignatureDialogs& dialogs, Prompter& prompter,
                                     std::filesystem::path signFolder, std::filesystem::path stampFolder)
    : host_(host),
      dialogs_(dialogs),
      prompter_(prompter),
      signFolder_(std::move(signFolder)),
      stampFolder_(std::move(stampFolder))
{
}

void SignatureCommands::OnMakeSignature(int strength, int threshold)
{
    if (!StillViewReady(msg::kMakeNeedsStillView)) return;
    CxImage* image = host_.Image();
    if (!image) {
        prompter_.message(msg::kMakeNeedsPicture);
        return;
    }
    image->SelectionDelete();
    if (prompter_.askYesNo(msg::kWholePictureQuestion) != Answer::Yes) {
        // The user crops first and makes the signature from the cropped picture afterwards.
        if (!host_.RunCrop()) prompter_.message(msg::kCropUnavailable);
        host_.Repaint();
        return;
    }

    previewSource_ = *image;
    MakeDialogSetup setup;
    setup.folder = signFolder_;
    setup.strength = std::clamp(strength, 1, 5);
    setup.threshold = std::clamp(threshold, 0, 255);
    setup.preview = [this](int t, int s) { PreviewProcessing(t, s); };
    setup.writeBmp = [this](const std::filesystem::path& path) {
        const CxImage* current = host_.Image();
        if (!current) return false;
        CxImage written(*current);  // saving notes the format in the picture: keep the shown one as it is
        return written.Save(path, CXIMAGE_FORMAT_BMP);
    };
    const MakeDialogResult result = dialogs_.MakeSignature(setup);

    switch (result) {
    case MakeDialogResult::Made:
        // The processed picture stays unless the user lets it go with its file.
        if (prompter_.askYesNo(msg::kDeletePictureQuestion) == Answer::Yes) host_.DiscardPicture();
        break;
    case MakeDialogResult::Failed:
        prompter_.message(msg::kSignatureAtRisk);
        RestorePreviewSource();
        break;
    case MakeDialogResult::Cancelled:
        RestorePreviewSource();
        break;
    }
    previewSource_ = CxImage();
    host_.Repaint();
}

bool SignatureCommands::StillViewReady(const char* liveMessage)
{
    host_.ResetTools();
    if (!host_.LiveShown()) return true;
    prompter_.message(liveMessage);
    return false;
}

void SignatureCommands::PreviewProcessing(int threshold, int strength)
{
    CxImage* image = host_.Image();
    if (!image || !previewSource_.IsValid()) return;
    *image = previewSource_;
    ApplyProcessingPreview(*image, threshold, strength);
    host_.Repaint();
}

void SignatureCommands::RestorePreviewSource()
{
    if (CxImage* image = host_.Image(); image && previewSource_.IsValid()) *image = previewSource_;
}

void SignatureCommands::OnInsertSignature()
{
    if (!StillViewReady(msg::kInsertNeedsStillView)) return;
    if (ListSignatureNames(signFolder_).empty()) {
        prompter_.message(msg::kNoSignatures);
        return;
    }
    if (auto mark = dialogs_.OpenSignature(signFolder_)) {
        host_.PlaceMark(std::move(mark));
        host_.Repaint();
    }
}

void SignatureCommands::OnStamp()
{
    if (!StillViewReady(msg::kStampNeedsStillView)) return;
    if (ListStampNames(stampFolder_).empty()) {
        prompter_.message(msg::kNoStamps);
        return;
    }
    const auto chosen = dialogs_.ChooseStamp(stampFolder_);
    if (!chosen) return;
    auto mark = std::make_unique<CxImage>();
    if (!LoadStampMark(*chosen, *mark)) {
        prompter_.message(msg::kStampUnreadable);
        return;
    }
    host_.PlaceMark(std::move(mark));
    host_.Repaint();
}

}  // namespace vestrel::signature
