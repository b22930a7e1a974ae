// What the image pane's keys, drops and pan tool do to the document.

#include "CQuorvanDoc.h"
#include "DocumentMessages.h"
#include "ViewGeometry.h"

#include <filesystem>

namespace vestrel::document {
namespace fs = std::filesystem;

void CQuorvanDoc::RepaintInfoPane() const
{
    Call(m_hooks.repaintInfoPane);
}

bool CQuorvanDoc::OpenDropped(const std::string& path)
{
    // The file is read before anything is asked or dropped, so that a file that is no
    // picture (or a damaged one) costs the user nothing.
    std::error_code error;
    const int type = GetFileType(path);
    std::unique_ptr<CxImage> image;
    if (fs::is_regular_file(path, error) && type != CXIMAGE_FORMAT_UNKNOWN && type != CXIMAGE_FORMAT_PDF)
        image = std::make_unique<CxImage>(fs::path(path), type);
    if (!image || !image->IsValid()) {
        m_prompter.message(std::string(msg::kDropRefusedBefore) + path + msg::kDropRefusedAfter);
        return true;
    }

    ResetTools();
    m_bFitWindow = false;
    m_fZoom = 1.0f;
    if (LiveShown()) Call(m_hooks.switchToStillView);
    // The question comes before the document takes the new name: a Yes saves the edited
    // picture under its own name, never over the file that was dropped.
    if (!SaveIfWanted()) return false;
    m_history.Clear();
    ShowLoaded(path, std::move(image));
    ApplyPanRule();
    Call(m_hooks.repaintInfoPane);
    return true;
}

bool CQuorvanDoc::TurnImageRight()
{
    if (LiveShown() || !m_pImage) return false;
    m_nLasso = 0;
    if (!m_pImage->RotateRight()) return false;
    m_pImage->SelectionDelete();
    return true;
}

void CQuorvanDoc::OnEscape()
{
    if (m_pImage) {
        m_pImage->SelectionDelete();
        m_pImage->SetTransIndex(-1);
    }
    ResetTools();
    Call(m_hooks.repaintInfoPane);
}

bool CQuorvanDoc::MarkFitsPicture(int imageWidth, int imageHeight, int markWidth, int markHeight)
{
    if (markWidth > imageWidth || markHeight > imageHeight) return false;
    return !(markWidth == imageWidth && markHeight == imageHeight);
}

bool CQuorvanDoc::SetFloatingPaste(std::unique_ptr<CxImage> paste, bool isMark)
{
    if (paste && isMark && m_pImage &&
        !MarkFitsPicture(m_pImage->GetWidth(), m_pImage->GetHeight(), paste->GetWidth(), paste->GetHeight())) {
        m_prompter.message(msg::kMarkTooLarge);
        return false;
    }
    m_pPaste = std::move(paste);
    m_bPasting = m_pPaste != nullptr;
    m_bPasteIsMark = m_bPasting && isMark;
    return true;
}

bool CQuorvanDoc::PastePicture(std::unique_ptr<CxImage> picture, bool isMark)
{
    if (LiveShown() || !picture || !picture->IsValid()) return false;
    ResetTools();
    m_bPasteIsMark = false;
    if (!m_pImage) {
        // Nothing to float over: the picture is the document now, a file still to be named.
        picture->SelectionDelete();
        m_history.Clear();
        ShowLoaded(m_strFileDir, std::move(picture));  // the folder stays, the name goes
        ApplyPanRule();
        Call(m_hooks.repaintInfoPane);
        return true;
    }
    m_pImage->SelectionDelete();
    // A mark too large is refused before the history records a step nothing follows.
    if (isMark && !MarkFitsPicture(m_pImage->GetWidth(), m_pImage->GetHeight(), picture->GetWidth(),
                                   picture->GetHeight())) {
        m_prompter.message(msg::kMarkTooLarge);
        return false;
    }
    if (!PushHistory()) return false;
    SetFloatingPaste(std::move(picture), isMark);
    Call(m_hooks.repaintImageView);
    Call(m_hooks.repaintInfoPane);
    return true;
}

bool CQuorvanDoc::MergePaste(PixelPoint at)
{
    if (!HasFloatingPaste() || !m_pImage) return false;
    const bool mixed = m_pImage->MixFrom(*m_pPaste, at.x, at.y);
    m_pPaste.reset();
    m_bPasting = false;
    m_bPasteIsMark = false;
    Call(m_hooks.repaintImageView);
    return mixed;
}

bool CQuorvanDoc::TurnPaste()
{
    if (!HasFloatingPaste() || !m_pImage) return false;
    if (m_bPasteIsMark) {
        // Turned, the mark is as wide as it is high now: it must still fit strictly inside.
        const bool fits = m_pImage->GetWidth() > m_pPaste->GetHeight() && m_pImage->GetHeight() > m_pPaste->GetWidth();
        if (!fits) {
            m_prompter.message(msg::kMarkTurnTooLarge);
            return false;
        }
    }
    if (!m_pPaste->RotateRight()) return false;
    Call(m_hooks.repaintImageView);
    return true;
}

void CQuorvanDoc::RemovePaste()
{
    m_pPaste.reset();
    m_bPasting = false;
    m_bPasteIsMark = false;
    Call(m_hooks.closeTextEntry);
    Call(m_hooks.repaintImageView);
}

bool CQuorvanDoc::PictureOverflowsView() const
{
    if (!m_pImage || !m_hooks.viewClientSize) return false;
    const auto [width, height] = m_hooks.viewClientSize();
    return PictureOverflows({width, height}, m_pImage->GetWidth(), m_pImage->GetHeight(), m_fZoom,
                            m_bFitWindow);
}

bool CQuorvanDoc::CanPanTool() const
{
    return CanUseImage() && !m_bFitWindow && PictureOverflowsView();
}

void CQuorvanDoc::OnPanTool()
{
    if (!CanPanTool()) return;
    SelectTool(m_tool == Tool::Pan ? Tool::None : Tool::Pan);
    m_pImage->SelectionDelete();
    Call(m_hooks.repaintImageView);
    Call(m_hooks.repaintInfoPane);
}

void CQuorvanDoc::ApplyPanRule()
{
    if (PictureOverflowsView()) m_tool = Tool::Pan;
}

}  // namespace vestrel::document
