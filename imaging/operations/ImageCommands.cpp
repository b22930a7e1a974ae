#include "ImageCommands.h"

#include "CQuorvanDoc.h"
#include "OperationMessages.h"
#include "PageOperations.h"
#include "Prompter.h"

namespace vestrel::operations {

ImageCommands::ImageCommands(document::CQuorvanDoc& doc, Prompter& prompter, CommandHooks hooks)
    : m_doc(doc), m_prompter(prompter), m_hooks(std::move(hooks))
{
}

ImageCommands::~ImageCommands()
{
    // A result still on its way is dropped: the document may be going too.
    m_runner.Wait();
}

void ImageCommands::Call(const std::function<void()>& hook) const
{
    if (hook) hook();
}

void ImageCommands::Repaint()
{
    Call(m_hooks.repaintImageView);
    m_doc.RepaintInfoPane();
}

bool ImageCommands::ResetAndCheck()
{
    if (Busy()) return false;
    m_doc.ResetTools();
    return m_doc.Image() != nullptr;
}

bool ImageCommands::Run(OperationRunner::Work work, std::function<void()> afterwards)
{
    if (!m_doc.PushHistory()) return false;
    if (!m_runner.Start(*m_doc.Image(), std::move(work))) {
        m_prompter.message(msg::kNoMemoryForOperation, {}, MessageKind::Error);
        return false;
    }
    m_afterwards = std::move(afterwards);
    if (m_hooks.busyChanged) m_hooks.busyChanged(true);
    return true;
}

void ImageCommands::Deliver(std::unique_ptr<CxImage> result)
{
    // A work that changed nothing (no angle found, a failing routine) leaves the picture
    // as it was; its history step stays, as it always has.
    if (result) {
        m_doc.SetImage(std::move(result));
        if (m_afterwards) m_afterwards();
    }
    m_afterwards = {};
    if (m_hooks.busyChanged) m_hooks.busyChanged(false);
    Repaint();
}

bool ImageCommands::Poll()
{
    bool finished = false;
    auto result = m_runner.Take(finished);
    if (!finished) return false;
    Deliver(std::move(result));
    return true;
}

void ImageCommands::Wait()
{
    if (Busy()) Deliver(m_runner.Wait());
}

bool ImageCommands::RunEffect(Effect effect)
{
    if (!ResetAndCheck()) return false;
    auto work = [effect](CxImage& image) { return ApplyEffect(effect, image); };
    if (!TurnsByRightAngle(effect)) return Run(work);
    return Run(work, [this] {
        m_doc.Image()->SelectionDelete();
        m_doc.ApplyPanRule();
    });
}

bool ImageCommands::Binarise()
{
    if (!ResetAndCheck() || m_doc.Image()->IsGrayScale()) return false;
    // Kept aside as the command always has; the history step is taken before the picture
    // is raised to 24 bits, so Back gives back exactly what was there.
    m_doc.KeepBackup();
    return Run([](CxImage& image) { return BinariseImage(image); },
               [this] { m_doc.Image()->SelectionDelete(); });
}

bool ImageCommands::RemoveBackground()
{
    if (!ResetAndCheck()) return false;
    m_doc.Image()->SelectionDelete();
    return Run([](CxImage& image) { return RemoveBackgroundImage(image); });
}

bool ImageCommands::AutoDeskew()
{
    if (!ResetAndCheck()) return false;
    m_doc.Image()->SelectionDelete();
    return Run([](CxImage& image) { return DeskewImage(image); });
}

bool ImageCommands::StartManualDeskew()
{
    if (Busy()) return false;
    // The picture fitted to the pane (tools off), then the deskew tool on.
    m_doc.OnWindowSize();
    m_doc.SelectTool(document::Tool::Deskew);
    if (!m_doc.Image()) return false;
    if (!m_doc.PushHistory()) {
        m_doc.ResetTools();
        return false;
    }
    Call(m_hooks.resetScroll);
    if (m_hooks.placeRotationHandle && m_hooks.viewClientSize) {
        const auto [width, height] = m_hooks.viewClientSize();
        m_hooks.placeRotationHandle(0.5f * float(width), 0.3f * float(height));
    }
    m_doc.KeepBackup();
    Repaint();
    return true;
}

bool ImageCommands::BeginFreeRotate()
{
    if (!ResetAndCheck()) return false;
    m_doc.Image()->SelectionDelete();
    if (!m_doc.PushHistory()) return false;
    m_doc.KeepBackup();
    m_doc.ApplyPanRule();
    return true;
}

void ImageCommands::PreviewRotation(int signedDegrees, bool keepSize)
{
    CxImage* image = m_doc.Image();
    if (Busy() || !image || !m_doc.Backup().IsValid()) return;
    operations::PreviewRotation(*image, m_doc.Backup(), signedDegrees, keepSize);
    Call(m_hooks.repaintImageView);
}

void ImageCommands::EndFreeRotate(bool accepted)
{
    CxImage* image = m_doc.Image();
    if (!accepted && image && m_doc.Backup().IsValid()) *image = m_doc.Backup();
    Repaint();
}

bool ImageCommands::PrepareCorrection()
{
    if (!ResetAndCheck()) return false;
    m_doc.RepaintInfoPane();
    return true;
}

bool ImageCommands::ApplyGamma(const GammaSettings& settings)
{
    if (Busy() || !m_doc.Image()) return false;
    return Run([settings](CxImage& image) { return operations::ApplyGamma(image, settings); });
}

bool ImageCommands::ApplyColourCorrection(const ColourCorrectionSettings& settings)
{
    if (Busy() || !m_doc.Image()) return false;
    return Run([settings](CxImage& image) { return operations::ApplyColourCorrection(image, settings); });
}

std::optional<ResolutionSettings> ImageCommands::BeginResolution()
{
    CxImage* image = m_doc.Image();
    if (Busy() || !image) return std::nullopt;
    image->SelectionDelete();
    m_doc.ResetTools();
    return InitialResolution(image->GetWidth(), image->GetHeight());
}

bool ImageCommands::ApplyResolution(int newWidth, int newHeight)
{
    if (!ResetAndCheck()) return false;
    // A size the picture cannot take is refused before any step is recorded.
    if (!UsableNewSize(newWidth, newHeight)) {
        m_prompter.message(msg::kBadNewSize);
        return false;
    }
    return Run([newWidth, newHeight](CxImage& image) { return image.Resample(newWidth, newHeight, 2); });
}

int ImageCommands::JpegQuality() const
{
    return m_doc.JpegQuality();
}

void ImageCommands::SetJpegQuality(int quality)
{
    m_doc.SetJpegQuality(quality);
}

}  // namespace vestrel::operations
