#include "CQuorvanDoc.h"

#include "DocumentMessages.h"
#include "FileFilters.h"
#include "PhotoFolderListing.h"
#include "ImageTypes.h"
#include "ProgramDir.h"
#include "SafeImageWrite.h"
#include "Trash.h"

#include <filesystem>

namespace vestrel::document {
namespace fs = std::filesystem;

namespace {

std::string WithSlash(std::string folder)
{
    if (!folder.empty() && folder.back() != '/') folder += '/';
    return folder;
}

bool FileExists(const std::string& path)
{
    std::error_code error;
    return !path.empty() && fs::is_regular_file(path, error);
}

// The same name with its own extension replaced by ".bmp": a dot in a folder name is no
// extension.
std::string BmpName(const std::string& path)
{
    fs::path p(path);
    p.replace_extension(".bmp");
    return p.string();
}

// "temp" + `extension` in `folder`, numbered when a file of that name is already there so
// that no file of the user's is ever overwritten or removed by a save.
std::string ScratchName(const std::string& folder, const std::string& extension)
{
    std::string name = folder + "temp" + extension;
    for (int n = 1; fs::exists(fs::path(name)) && n < 1000; ++n)
        name = folder + "temp" + std::to_string(n) + extension;
    // With every candidate taken the save is refused rather than overwrite one of them.
    return fs::exists(fs::path(name)) ? std::string() : name;
}

}  // namespace

CQuorvanDoc::CQuorvanDoc(Prompter& prompter, DocumentHooks hooks)
    : m_prompter(prompter),
      m_hooks(std::move(hooks)),
      m_lasso(std::make_unique<std::array<LassoPoint, kLassoPoints>>())
{
    m_strPhotoDir = WithSlash(programpath::PhotoDir().string());
    m_strFileDir = m_strPhotoDir;
}

void CQuorvanDoc::ApplySettings(const Settings& settings)
{
    if (!settings.path.empty()) m_strPhotoDir = WithSlash(settings.path);
    if (!settings.address.empty()) m_strMailUrl = settings.address;
}

void CQuorvanDoc::SetPhotoDir(const std::string& folder)
{
    m_strPhotoDir = WithSlash(folder);
}

int CQuorvanDoc::GetFileType(const std::string& fileName)
{
    return vestrel::GetFileType(fileName);
}

bool CQuorvanDoc::LiveShown() const
{
    return m_hooks.liveShown && m_hooks.liveShown();
}

void CQuorvanDoc::Call(const std::function<void()>& hook) const
{
    if (hook) hook();
}

void CQuorvanDoc::DropTools()
{
    m_tool = Tool::None;
    m_bPasting = false;
    m_nLasso = 0;
}

void CQuorvanDoc::SelectTool(Tool tool)
{
    DropTools();
    Call(m_hooks.closeTextEntry);
    m_tool = tool;
}

bool CQuorvanDoc::ToolOn(Tool tool) const
{
    if (tool == Tool::RectSelect && m_tool == Tool::Crop) return true;
    return m_tool == tool;
}

StrokeBrush CQuorvanDoc::BrushFor(Tool tool) const
{
    if (tool == Tool::Pen) return {m_nPenSize, m_color};
    return {m_nEraserSize, m_eraserColor};
}

void CQuorvanDoc::EndManualDeskew()
{
    if (m_tool == Tool::Deskew) DropTools();
    m_bFitWindow = false;
    ApplyPanRule();
    Call(m_hooks.repaintImageView);
    Call(m_hooks.repaintInfoPane);
}

bool CQuorvanDoc::AddLassoPoint(LassoPoint point)
{
    if (m_nLasso >= kLassoPoints) return false;
    (*m_lasso)[std::size_t(m_nLasso++)] = point;
    return true;
}

void CQuorvanDoc::KeepBackup()
{
    if (m_pImage) m_backup = *m_pImage;
}

void CQuorvanDoc::SetPath(const std::string& path)
{
    const fs::path p(path);
    m_strFileDir = p.has_parent_path() ? WithSlash(p.parent_path().string()) : std::string();
    m_strFileName = p.filename().string();
}

void CQuorvanDoc::LoadFile(const std::string& path)
{
    // The fit-to-window and mark flags belong to the tool that set them and survive.
    DropTools();
    m_pImage.reset();
    const int type = GetFileType(path);
    if (path.empty() || type == CXIMAGE_FORMAT_UNKNOWN) return;
    SetPath(path);
    if (!FileExists(path)) return;
    auto image = std::make_unique<CxImage>(fs::path(path), type);
    // A file that does not decode leaves the document empty rather than holding a hollow image.
    if (!image->IsValid()) image.reset();
    ShowLoaded(path, std::move(image));
}

void CQuorvanDoc::ShowLoaded(const std::string& path, std::unique_ptr<CxImage> image)
{
    SetPath(path);
    m_pImage = std::move(image);
    m_fZoom = 1.0f;
    Call(m_hooks.resetImageScroll);
    Call(m_hooks.repaintImageView);
}

void CQuorvanDoc::RefreshLibrary()
{
    auto listing = ListPhotoFolder(m_strPhotoDir);
    m_photoNames = std::move(listing.names);
    m_photoTimes = std::move(listing.times);
    emit libraryChanged();
}

bool CQuorvanDoc::PushHistory()
{
    if (m_history.Push(m_pImage.get())) return true;
    m_prompter.message(msg::kHistoryFull, {}, MessageKind::Error);
    return false;
}

bool CQuorvanDoc::CanNew() const { return !LiveShown(); }
bool CQuorvanDoc::CanUseImage() const { return m_pImage && !LiveShown(); }
bool CQuorvanDoc::CanBack() const { return CanUseImage() && m_history.CanBack(); }
bool CQuorvanDoc::CanForward() const { return CanUseImage() && m_history.CanForward(); }
bool CQuorvanDoc::CanZoomIn() const { return CanUseImage() && !m_bFitWindow && m_fZoom < kZoomMax; }
bool CQuorvanDoc::CanZoomOut() const { return CanUseImage() && !m_bFitWindow && m_fZoom > kZoomMin; }

bool CQuorvanDoc::SaveIfWanted()
{
    if (m_history.Position() <= 0) return true;
    switch (m_prompter.askYesNoCancel(msg::kAskSaveCurrent)) {
    // The picture is replaced only once its edits are safely on disk.
    case Answer::Yes: return Save();
    case Answer::Cancel: return false;
    default: return true;
    }
}

void CQuorvanDoc::OnFileNew()
{
    if (!CanNew()) return;
    m_fZoom = 1.0f;
    ResetTools();
    m_bFitWindow = false;
    if (!SaveIfWanted()) return;
    m_strFileName = "Image.bmp";
    m_pImage.reset();
    m_history.Clear();
    Call(m_hooks.repaintInfoPane);
    Call(m_hooks.repaintImageView);
}

void CQuorvanDoc::OnFileOpen()
{
    FileDialogOptions options;
    options.filter = OpenFilter();
    options.directory = m_strFileDir;
    const auto chosen = m_prompter.openFiles(options);
    if (!chosen || chosen->empty()) return;
    const std::string path = chosen->front();

    m_fZoom = 1.0f;
    const bool pasting = m_bPasting;  // a floating paste stays over the newly opened image
    ResetTools();
    m_bPasting = pasting;
    m_bFitWindow = false;

    if (!FileExists(path)) {
        m_prompter.message(std::string(msg::kOpenMissingBefore) + path + msg::kOpenMissingAfter);
        return;
    }
    if (LiveShown()) Call(m_hooks.switchToStillView);
    if (!SaveIfWanted()) return;
    m_history.Clear();
    LoadFile(path);
    m_bPasting = pasting && m_pPaste != nullptr;
    ApplyPanRule();
    Call(m_hooks.repaintInfoPane);
}

void CQuorvanDoc::PrepareJpeg(int type)
{
    if (type != CXIMAGE_FORMAT_JPG) return;
    if (!m_pImage->IsGrayScale()) m_pImage->IncreaseBpp(24);
    m_pImage->SetTransIndex(-1);
    m_pImage->SetJpegQualityF(float(m_nJpegQuality));
}

std::string CQuorvanDoc::WriteWithFallback(const std::string& scratch, const std::string& target)
{
    auto result = WriteImageReplacing(*m_pImage, GetFileType(target), scratch, target);
    std::string written = target;
    if (result == WriteResult::FormatRefused) {
        m_prompter.message(msg::kFormatFallsBackToBmp);
        written = BmpName(target);
        const auto folder = WithSlash(fs::path(written).parent_path().string());
        result = WriteImageReplacing(*m_pImage, CXIMAGE_FORMAT_BMP, ScratchName(folder, ".bmp"),
                                     written);
    }
    if (result == WriteResult::Written) return written;
    m_prompter.message(std::string(msg::kSaveFailedBefore) + written + msg::kSaveFailedAfter,
                       {}, MessageKind::Error);
    return {};
}

bool CQuorvanDoc::Save()
{
    // No test of the live picture here: closing the window and the library's open save the
    // still picture whichever view is shown (the menu's Save rests while it is live).
    ResetTools();
    if (!m_pImage) return false;
    // A picture pasted into the empty document has no file yet: it needs a name first.
    if (m_strFileName.empty()) return OnFileSaveAs();
    m_pImage->SelectionDelete();

    // The scratch file sits beside the target and keeps the target's extension(s).
    const auto dot = m_strFileName.find('.');
    const std::string scratch = ScratchName(
        m_strFileDir, dot == std::string::npos ? std::string() : m_strFileName.substr(dot));
    const std::string target = m_strFileDir + m_strFileName;

    const int type = GetFileType(scratch);
    // The document's own TIF files are kept grey; Save As does not convert.
    if (type == CXIMAGE_FORMAT_TIF) m_pImage->GrayScale();
    PrepareJpeg(type);

    const std::string written = WriteWithFallback(scratch, target);
    if (written.empty()) {
        // Nothing was written: the history stays so that no edit is lost.
        m_bSaved = false;
        Call(m_hooks.repaintInfoPane);
        return false;
    }
    if (written != target) SetPath(written);
    RefreshLibrary();
    m_history.Clear();
    m_bSaved = true;
    Call(m_hooks.repaintInfoPane);
    return true;
}

bool CQuorvanDoc::OnFileSaveAs()
{
    if (LiveShown()) return false;
    ResetTools();
    if (!m_pImage) return false;
    m_pImage->SelectionDelete();
    m_bSaved = false;

    const int currentType = GetFileType(m_strFileName);
    FileDialogOptions options;
    options.filter = SaveAsFilter(currentType);
    options.directory = m_strFileDir;
    options.defaultName = m_strFileName;
    const auto chosen = m_prompter.saveFile(options);
    bool done = false;
    if (chosen && !chosen->empty()) {
        std::string path = *chosen;
        const std::string extension = SaveAsDefaultExtension(currentType);
        if (!extension.empty() && !fs::path(path).has_extension()) path += "." + extension;
        PrepareJpeg(GetFileType(path));
        const fs::path p(path);
        const std::string scratch =
            ScratchName(WithSlash(p.parent_path().string()), p.extension().string());
        const std::string written = WriteWithFallback(scratch, path);
        if (!written.empty()) {
            SetPath(written);
            RefreshLibrary();
            m_history.Clear();
            m_bSaved = true;
            done = true;
        }
    }
    Call(m_hooks.repaintInfoPane);
    return done;
}

void CQuorvanDoc::OnDelete()
{
    if (LiveShown()) return;
    ResetTools();
    if (!m_pImage) return;
    const std::string target = m_strFileDir + m_strFileName;
    Call(m_hooks.repaintInfoPane);
    if (!FileExists(target)) {
        m_prompter.message(msg::kDeleteMissing);
        RefreshLibrary();
    } else if (!MoveToTrash(target)) {
        m_prompter.message(std::string(msg::kDeleteFailedBefore) + target + msg::kDeleteFailedAfter,
                           {}, MessageKind::Error);
    } else if (!FileExists(target) && fs::path(m_strFileDir) == fs::path(m_strPhotoDir)) {
        RefreshLibrary();
    }
    Call(m_hooks.repaintImageView);
}

void CQuorvanDoc::OnBack()
{
    if (!CanBack()) return;
    ResetTools();
    m_history.Back(m_pImage);
    Call(m_hooks.repaintImageView);
    Call(m_hooks.repaintInfoPane);
}

void CQuorvanDoc::OnForward()
{
    if (!CanForward()) return;
    ResetTools();
    m_history.Forward(m_pImage);
    Call(m_hooks.repaintImageView);
    Call(m_hooks.repaintInfoPane);
}

void CQuorvanDoc::OnZoomIn()
{
    if (LiveShown()) return;
    ResetTools();
    if (!m_pImage || m_bFitWindow || !(m_fZoom < kZoomMax)) return;
    m_pImage->SelectionDelete();
    m_fZoom += kZoomStep;
    Call(m_hooks.repaintImageView);
    Call(m_hooks.repaintInfoPane);
}

bool CQuorvanDoc::OnActualSize()
{
    if (m_fZoom == 1.0f && !m_bFitWindow) return false;
    m_fZoom = 1.0f;
    m_bFitWindow = false;
    ResetTools();
    if (m_pImage) m_pImage->SelectionDelete();
    ApplyPanRule();
    return true;
}

void CQuorvanDoc::OnWindowSize()
{
    ResetTools();
    m_bFitWindow = true;
    if (m_pImage) m_pImage->SelectionDelete();
}

void CQuorvanDoc::OnZoomOut()
{
    if (LiveShown()) return;
    ResetTools();
    if (!m_pImage || m_bFitWindow || !(m_fZoom > kZoomMin)) return;
    m_pImage->SelectionDelete();
    m_fZoom -= kZoomStep;
    Call(m_hooks.repaintImageView);
    Call(m_hooks.repaintInfoPane);
}

}  // namespace vestrel::document
