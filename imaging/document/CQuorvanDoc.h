#pragma once
// The one document of the program: the current still image and the file it came from, the
// 30-step history, the editing tool that is on, the display zoom, and the listing of the
// photo folder. It handles New, Open, Save, Save As, Delete, Back, Forward and zoom.
//
// Its state is private: the views, the main window, the library and the editing tools
// read it through the accessors and change it only through the commands below, so that
// every rule (one tool at a time, the save question, the pan rule) lives here once.

#include "CxImage.h"
#include "ImageHistory.h"
#include "Prompter.h"
#include "Settings.h"

#include <QObject>

#include <algorithm>
#include <array>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <vector>

namespace vestrel::document {

// What the document asks of the main window and its views. Every hook may be left empty.
struct DocumentHooks {
    std::function<bool()> liveShown;                 // the live camera picture is shown
    std::function<void()> switchToStillView;         // leave the live picture
    std::function<void()> repaintImageView;
    std::function<void()> repaintInfoPane;
    std::function<void()> resetImageScroll;          // scroll sizes back to 0 x 0
    std::function<void()> closeTextEntry;            // close the text box without applying it
    std::function<std::pair<int, int>()> viewClientSize;  // width, height of the image view
};

struct LassoPoint {
    int x = 0, y = 0;
};

// The square the eraser and the pen stamp: its side in picture pixels and its colour.
struct StrokeBrush {
    int side = 5;
    COLORREF colour = 0xFFFFFF;
    bool operator==(const StrokeBrush&) const = default;
};

// The editing tools of the still picture; at most one is on. The crop tool works on a
// rectangle selection, so while it is on the rectangle selection counts as on too.
enum class Tool { None, Text, Pan, RectSelect, FreeSelect, Crop, Deskew, Eraser, Pen };

class CQuorvanDoc : public QObject {
    Q_OBJECT
public:
    static constexpr int kLassoPoints = 8000;
    static constexpr float kZoomStep = 0.1f;
    static constexpr float kZoomMin = 0.1f;
    static constexpr float kZoomMax = 10.0f;

    // The photo folder starts as the program's Photo/ folder.
    CQuorvanDoc(Prompter& prompter, DocumentHooks hooks = {});
    CQuorvanDoc(const CQuorvanDoc&) = delete;
    CQuorvanDoc& operator=(const CQuorvanDoc&) = delete;

    // Takes the photo folder and the mail address of config.ini.
    void ApplySettings(const Settings& settings);

    static int GetFileType(const std::string& fileName);

    // ---- The photo folder ----------------------------------------------------------------
    const std::string& PhotoDir() const { return m_strPhotoDir; }  // ends with '/'
    // Another photo folder; the listing follows at the next RefreshLibrary.
    void SetPhotoDir(const std::string& folder);
    const std::vector<std::string>& PhotoNames() const { return m_photoNames; }
    const std::vector<std::string>& PhotoTimes() const { return m_photoTimes; }
    // Lists the photo folder again and tells whoever listens (libraryChanged).
    void RefreshLibrary();

    // ---- The current picture and its file ------------------------------------------------
    const CxImage* Image() const { return m_pImage.get(); }
    CxImage* Image() { return m_pImage.get(); }
    void SetImage(std::unique_ptr<CxImage> image) { m_pImage = std::move(image); }
    const std::string& FileDir() const { return m_strFileDir; }  // ends with '/'
    const std::string& FileName() const { return m_strFileName; }
    std::string CurrentPath() const { return m_strFileDir + m_strFileName; }
    void SetPath(const std::string& path);
    // Reads `path` as the current picture (empty when it does not decode), tools off.
    void LoadFile(const std::string& path);
    // The last Save or Save As wrote the picture.
    bool Saved() const { return m_bSaved; }
    int JpegQuality() const { return m_nJpegQuality; }
    // The quality of the next Save or Save As to a JPEG name (command "文件大小"), 0..100.
    void SetJpegQuality(int quality) { m_nJpegQuality = std::clamp(quality, 0, 100); }
    const std::string& MailUrl() const { return m_strMailUrl; }
    // The address the mail link opens, as the user last confirmed it.
    void SetMailUrl(const std::string& url) { m_strMailUrl = url; }

    // ---- History -------------------------------------------------------------------------
    const ImageHistory& History() const { return m_history; }
    // Records the current image before a change. False, after telling the user, when the
    // history has no memory to keep it: the change must not go ahead then.
    bool PushHistory();
    // Drops every history state, as opening another file does.
    void ClearHistory() { m_history.Clear(); }
    // Gives the history another byte budget (it starts empty again).
    void LimitHistory(std::size_t bytes) { m_history = ImageHistory(bytes); }
    // A copy of the picture taken before an operation that can be cancelled.
    void KeepBackup();
    const CxImage& Backup() const { return m_backup; }

    // ---- Commands ------------------------------------------------------------------------
    // Each does nothing while the live picture is shown, as its menu entry is disabled then.
    void OnFileNew();
    void OnFileOpen();
    // Returns whether the image was written. Works whichever view is shown.
    bool Save();
    bool OnFileSaveAs();
    // Asks "是否保存当前文件？" when the picture has edits and saves on Yes. False when the
    // user cancelled or the save failed: whatever was about to replace the picture stops.
    bool SaveIfWanted();
    void OnDelete();
    void OnBack();
    void OnForward();
    void OnZoomIn();
    void OnZoomOut();
    // The still picture at its own size, panned when larger than the pane; false when it
    // was shown so already.
    bool OnActualSize();
    // The still picture fitted to the pane.
    void OnWindowSize();

    // Enabled states of the commands.
    bool CanNew() const;
    bool CanBack() const;
    bool CanForward() const;
    bool CanZoomIn() const;
    bool CanZoomOut() const;
    bool CanUseImage() const;  // Save, Save As, Delete and the image commands

    // ---- Zoom ----------------------------------------------------------------------------
    float Zoom() const { return m_fZoom; }
    void SetZoom(float zoom) { m_fZoom = zoom; }
    bool IsFitWindow() const { return m_bFitWindow; }
    // Zoom 1 and not fitted, nothing else changed: how a freshly cropped picture is shown.
    void ShowUnfittedAtZoomOne()
    {
        m_fZoom = 1.0f;
        m_bFitWindow = false;
    }

    // ---- Tools ---------------------------------------------------------------------------
    // Turns every tool off, drops the lasso and stops the paste floating, closes the text
    // box; then turns `tool` on. SelectTool(Tool::None) is the reset almost every command
    // starts with.
    void SelectTool(Tool tool);
    void ResetTools() { SelectTool(Tool::None); }
    Tool ActiveTool() const { return m_tool; }
    // Whether `tool` is on; the rectangle selection also while cropping.
    bool ToolOn(Tool tool) const;

    // The free-hand selection's points, at most kLassoPoints.
    std::span<const LassoPoint> Lasso() const { return {m_lasso->data(), std::size_t(m_nLasso)}; }
    int LassoCount() const { return m_nLasso; }
    // False when the lasso is full.
    bool AddLassoPoint(LassoPoint point);
    void ClearLasso() { m_nLasso = 0; }

    // A pasted picture floats over the image, drawn and not yet merged.
    bool HasFloatingPaste() const { return m_pPaste != nullptr && m_bPasting; }
    // The pasted picture, floating or not (null when there is none).
    const CxImage* Paste() const { return m_pPaste.get(); }
    CxImage* Paste() { return m_pPaste.get(); }
    // `paste` floats over the image; `isMark` for a signature or stamp. A mark that does
    // not fit the current picture (MarkFitsPicture) is refused with "签名文件比当前文件大，
    // 无法粘贴！！！": nothing changes and the answer is false. The history step is the
    // caller's (PastePicture takes it).
    bool SetFloatingPaste(std::unique_ptr<CxImage> paste, bool isMark = false);
    // A picture brought in from outside (the clipboard, a signature, a stamp): the tools go
    // off; over a current picture it floats there, after the history step; into an empty
    // document it becomes the current picture itself, with no file name yet. False when it
    // was refused (a mark too large, no memory for the history step).
    bool PastePicture(std::unique_ptr<CxImage> picture, bool isMark = false);
    // A mark can be placed on a picture when it is no wider and no higher than it and not
    // exactly as large both ways.
    static bool MarkFitsPicture(int imageWidth, int imageHeight, int markWidth, int markHeight);
    bool PasteIsMark() const { return m_bPasteIsMark; }
    // The floating paste is thrown away (its menu command and the Delete key).
    void RemovePaste();
    // Mixes the floating paste into the picture with its top-left at picture pixel `at`
    // (its transparent pixels leave the picture as it was) and ends it. The history step
    // was taken when the paste was made.
    bool MergePaste(PixelPoint at);
    // Space over the floating paste: it turns 90 degrees clockwise. A mark turns only when
    // the turned mark still fits inside the picture; otherwise "签名文件比当前文件大，
    // 无法旋转!!!" and false.
    bool TurnPaste();

    // The eraser and the pen stamp a square brush of their size.
    int EraserSize() const { return m_nEraserSize; }
    int PenSize() const { return m_nPenSize; }
    COLORREF EraserColour() const { return m_eraserColor; }
    void SetEraserSize(int side) { m_nEraserSize = std::max(1, side); }
    void SetPenSize(int side) { m_nPenSize = std::max(1, side); }
    // The colour of the pen and of new text (black at first).
    COLORREF PenColour() const { return m_color; }
    void SetPenColour(COLORREF colour) { m_color = colour; }
    // The font of the text tool ("Times New Roman", 27 pixels at first); its colour field
    // is unused, the pen colour is the text's.
    const FontChoice& TextFont() const { return m_logFont; }
    void SetTextFont(const FontChoice& font) { m_logFont = font; }
    // What the eraser or pen stamps now; made again by their commands.
    const StrokeBrush& Brush() const { return m_brush; }
    void SetBrush(StrokeBrush brush) { m_brush = brush; }
    // The brush of `tool` (eraser or pen) at its own size and colour.
    StrokeBrush BrushFor(Tool tool) const;

    // The text tool's box closes without placing its text (the live/still switch). The box's
    // owner says how, once it exists.
    void CloseTextEntry() const { Call(m_hooks.closeTextEntry); }
    void SetTextEntryCloser(std::function<void()> close) { m_hooks.closeTextEntry = std::move(close); }

    // The manual deskew ends by a double click: the turned picture stays, shown at the
    // zoom again (panned when it overflows the pane).
    void EndManualDeskew();

    // ---- What the image pane asks of the document ----------------------------------------
    // The pane repaints itself afterwards.
    bool IsLiveShown() const { return LiveShown(); }
    void RepaintInfoPane() const;
    // Opens one file dropped onto the pane, after the save question when there are edits.
    // A file that is no picture, or does not decode, is refused with a message and the
    // document keeps what it has. False when the user cancelled: the drop ends there.
    bool OpenDropped(const std::string& path);
    // Space: the whole picture turns 90 degrees clockwise, without a history step.
    bool TurnImageRight();
    // Esc: no selection, no transparent colour, no tool.
    void OnEscape();

    // The pan tool, command "移动": offered only while the picture at its zoom is bigger
    // than the pane (the pane's size comes from the viewClientSize hook).
    bool PictureOverflowsView() const;
    bool CanPanTool() const;
    bool PanToolChecked() const { return m_tool == Tool::Pan && !m_bFitWindow; }
    void OnPanTool();
    // Switches the pan tool on when the picture overflows the pane; never switches it off.
    void ApplyPanRule();

signals:
    // The listing of the photo folder was made again (PhotoNames, PhotoTimes).
    void libraryChanged();

private:
    bool LiveShown() const;
    // Tools off, lasso empty, paste no longer floating; the text box is left alone.
    void DropTools();
    // Makes `image`, read from `path`, the current picture at zoom 1 with the scroll reset.
    void ShowLoaded(const std::string& path, std::unique_ptr<CxImage> image);
    void Call(const std::function<void()>& hook) const;
    // JPEG targets: 24 bits unless grey, no transparent index, the document's quality.
    void PrepareJpeg(int type);
    // Writes to `target` through `scratch`, falling back to BMP for a refused format.
    // Returns the path written, or empty when nothing was.
    std::string WriteWithFallback(const std::string& scratch, const std::string& target);

    Prompter& m_prompter;
    DocumentHooks m_hooks;
    std::unique_ptr<CxImage> m_pImage;
    ImageHistory m_history;

    std::vector<std::string> m_photoNames;
    std::vector<std::string> m_photoTimes;
    std::string m_strPhotoDir;   // ends with '/'
    std::string m_strFileDir;    // ends with '/'
    std::string m_strFileName;
    std::string m_strMailUrl = DefaultMailAddress();  // one default, config.ini's
    bool m_bSaved = false;
    int m_nJpegQuality = 100;

    float m_fZoom = 1.0f;
    bool m_bFitWindow = false;
    Tool m_tool = Tool::None;
    std::unique_ptr<std::array<LassoPoint, kLassoPoints>> m_lasso;
    int m_nLasso = 0;
    std::unique_ptr<CxImage> m_pPaste;
    bool m_bPasting = false;
    bool m_bPasteIsMark = false;
    CxImage m_backup;  // scratch copy before operations that can be cancelled
    COLORREF m_eraserColor = 0xFFFFFF;
    int m_nEraserSize = 5;
    int m_nPenSize = 4;
    COLORREF m_color = 0;
    FontChoice m_logFont{"Times New Roman", 27, 400, false, false, {}};
    StrokeBrush m_brush;
};

}  // namespace vestrel::document
