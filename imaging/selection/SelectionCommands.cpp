#include "SelectionCommands.h"

#include "SelectionEdits.h"

#include <vector>

namespace vestrel::selection {

using document::Tool;

SelectionCommands::SelectionCommands(document::CQuorvanDoc& doc, SelectionHooks hooks)
    : m_doc(doc), m_hooks(std::move(hooks))
{
}

void SelectionCommands::Call(const std::function<void()>& hook) const
{
    if (hook) hook();
}

// ---- The two selection tools ----------------------------------------------------------------

void SelectionCommands::OnRectSelect()
{
    // The crop tool counts as a rectangle selection, yet choosing the command leaves crop
    // mode for the plain selection.
    const bool on = m_doc.ActiveTool() == Tool::RectSelect;
    m_doc.SelectTool(on ? Tool::None : Tool::RectSelect);
    if (CxImage* image = m_doc.Image()) image->SelectionDelete();
    Call(m_hooks.clearTracker);
    m_doc.RepaintInfoPane();
}

void SelectionCommands::OnFreeSelect()
{
    const bool on = m_doc.ActiveTool() == Tool::FreeSelect;
    m_doc.SelectTool(on ? Tool::None : Tool::FreeSelect);
    if (CxImage* image = m_doc.Image()) image->SelectionDelete();
    Call(m_hooks.clearTracker);
    m_doc.RepaintInfoPane();
}

bool SelectionCommands::RectSelectChecked() const { return m_doc.ActiveTool() == Tool::RectSelect; }
bool SelectionCommands::FreeSelectChecked() const { return m_doc.ActiveTool() == Tool::FreeSelect; }
bool SelectionCommands::CropChecked() const { return m_doc.ActiveTool() == Tool::Crop; }

bool SelectionCommands::SelectRect(PixelRect rect)
{
    CxImage* image = m_doc.Image();
    if (!image) return false;
    image->SelectionDelete();
    return image->SelectionAddRect(rect, 255);
}

bool SelectionCommands::AddLassoPoint(PixelPoint pixel)
{
    const CxImage* image = m_doc.Image();
    if (!image || pixel.x < 0 || pixel.y < 0 || pixel.x >= image->GetWidth() || pixel.y >= image->GetHeight())
        return false;
    if (m_doc.LassoCount() >= kDrawnLassoPoints) return false;
    return m_doc.AddLassoPoint({pixel.x, pixel.y});
}

bool SelectionCommands::CloseLasso()
{
    CxImage* image = m_doc.Image();
    if (!image) return false;
    image->SelectionDelete();
    if (m_doc.LassoCount() < 3) return false;
    m_doc.AddLassoPoint(m_doc.Lasso().front());
    std::vector<PixelPoint> outline;
    outline.reserve(m_doc.Lasso().size());
    for (const document::LassoPoint& p : m_doc.Lasso()) outline.push_back({p.x, p.y});
    return image->SelectionAddPolygon(outline, 255);
}

// ---- Crop -----------------------------------------------------------------------------------

bool SelectionCommands::FreeHandInUse() const
{
    return m_doc.ToolOn(Tool::FreeSelect) && m_doc.LassoCount() > 0;
}

void SelectionCommands::OnCrop()
{
    CxImage* image = m_doc.Image();
    if (!image || m_doc.IsLiveShown()) return;
    // A selection tool stays on (with its outline); any other tool goes.
    const bool selecting = m_doc.ToolOn(Tool::RectSelect) || m_doc.ToolOn(Tool::FreeSelect);
    if (!selecting) m_doc.ResetTools();
    const RGBQUAD background = BackgroundOf(*image);
    const bool wasTransparent = image->IsTransparent();
    if (!m_doc.PushHistory()) return;

    PixelRect box;
    if (!selecting || !image->SelectionGetBox(box)) {
        // Nothing to cut to: crop mode, where the rectangle drawn next is cut.
        m_doc.SelectTool(Tool::Crop);
        image->SelectionDelete();
        image->SetTransIndex(-1);
        Call(m_hooks.clearTracker);
        m_doc.RepaintInfoPane();
        Call(m_hooks.repaintImageView);
        return;
    }
    const bool freeHand = FreeHandInUse();
    if (image->Crop(box) && freeHand) MaskOutsideSelection(*image, background, wasTransparent);
    m_doc.ClearLasso();
    image->SelectionDelete();
    // What was cut away around the outline shows in the background colour.
    image->SetTransIndex(-1);
    m_doc.ShowUnfittedAtZoomOne();
    Call(m_hooks.clearTracker);
    Call(m_hooks.repaintImageView);
    m_doc.RepaintInfoPane();
}

bool SelectionCommands::CropByDoubleClick()
{
    CxImage* image = m_doc.Image();
    if (!image || m_doc.IsLiveShown() || !m_doc.ToolOn(Tool::Crop)) return false;
    if (!m_doc.PushHistory()) return false;
    PixelRect box;
    const bool cropped = image->SelectionGetBox(box) && image->Crop(box);
    image->SelectionDelete();
    m_doc.ResetTools();
    m_doc.ShowUnfittedAtZoomOne();
    Call(m_hooks.clearTracker);
    Call(m_hooks.repaintImageView);
    m_doc.RepaintInfoPane();
    return cropped;
}

// ---- Copy and cut ---------------------------------------------------------------------------

std::optional<CxImage> SelectionCommands::OnCopy()
{
    CxImage* image = m_doc.Image();
    if (!image || m_doc.IsLiveShown()) return std::nullopt;
    std::optional<CxImage> picture = PictureOfSelection(*image, FreeHandInUse());
    image->SelectionDelete();
    m_doc.ResetTools();
    Call(m_hooks.clearTracker);
    return picture;
}

bool SelectionCommands::CanCut() const
{
    const CxImage* image = m_doc.Image();
    return image && !m_doc.IsLiveShown() && image->SelectionIsValid();
}

std::optional<CxImage> SelectionCommands::OnCut()
{
    if (!CanCut() || !m_doc.PushHistory()) return std::nullopt;
    CxImage* image = m_doc.Image();
    std::optional<CxImage> picture = PictureOfSelection(*image, FreeHandInUse());
    if (picture) FillSelection(*image, BackgroundOf(*image), image->IsTransparent());
    image->SelectionDelete();
    // The hole shows in the background colour.
    image->SetTransIndex(-1);
    m_doc.ResetTools();
    Call(m_hooks.clearTracker);
    Call(m_hooks.repaintImageView);
    return picture;
}

}  // namespace vestrel::selection
