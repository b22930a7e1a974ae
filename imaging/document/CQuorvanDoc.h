#pragma once
// The one document of the program: the current still image and the file it came from, the
// 30-step history, the state of the editing tools, the display zoom, and the listing of the
// photo folder. It handles New, Open, Save, Save As, Delete, Back, Forward and zoom; the
// views and the main window read and write the tool flags and the zoom directly.

#include "CxImage.h"
#include "ImageHistory.h"
#include "PhotoFolderListing.h"
#include "Prompter.h"
#include "ScanState.h"
#include "Settings.h"

#include <array>
#include <functional>
#include <memory>
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
    std::function<void()> libraryChanged;            // the photo library pane rebuilds
    std::function<std::pair<int, int>()> viewClientSize;  // width, height of the image view
};

struct LassoPoint {
    int x = 0, y = 0;
};

class CQuorvanDoc {
public:
    static constexpr int kLassoPoints = 8000;
    static constexpr float kZoomStep = 0.1f;
    static constexpr float kZoomMin = 0.1f;
    static constexpr float kZoomMax = 10.0f;

    // The photo folder starts as the program's Photo/ folder.
    CQuorvanDoc(Prompter& prompter, DocumentHooks hooks = {});
    CQuorvanDoc(const CQuorvanDoc&) = delete;
    CQuorvanDoc& operator=(const CQuorvanDoc&) = delete;

    // Takes the photo folder, mail address, book name and naming mode of config.ini.
    void ApplySettings(const Settings& settings);
    // The naming counters RefreshLibrary recomputes; the document's own until attached.
    void AttachCounters(scan::ScanCounters* counters);

    static int GetFileType(const std::string& fileName);
    void SetPath(const std::string& path);
    void LoadFile(const std::string& path);
    void RefreshLibrary();
    // Records the current image before a change. False, after telling the user, when the
    // history has no memory to keep it: the change must not go ahead then.
    bool PushHistory();
    // Drops every history state, as opening another file does.
    void ClearHistory() { m_history.Clear(); }
    // Gives the history another byte budget (it starts empty again).
    void LimitHistory(std::size_t bytes) { m_history = ImageHistory(bytes); }

    // Commands. Each does nothing while the live picture is shown, as its menu entry is
    // disabled then.
    void OnFileNew();
    void OnFileOpen();
    // Returns whether the image was written. Works whichever view is shown.
    bool Save();
    bool OnFileSaveAs();
    void OnDelete();
    void OnBack();
    void OnForward();
    void OnZoomIn();
    void OnZoomOut();

    // Enabled states of the commands.
    bool CanNew() const;
    bool CanBack() const;
    bool CanForward() const;
    bool CanZoomIn() const;
    bool CanZoomOut() const;
    bool CanUseImage() const;  // Save, Save As, Delete and the image commands

    // Turns every tool off, drops the lasso and the floating paste, closes the text box.
    void ResetTools();

    // What the image pane asks of the document. The pane repaints itself afterwards.
    bool IsLiveShown() const { return LiveShown(); }
    void RepaintInfoPane() const;
    // A pasted picture floats over the image, drawn and not yet merged.
    bool HasFloatingPaste() const { return m_pPaste != nullptr && m_bPasting; }
    // Opens one file dropped onto the pane, after the save question when there are edits.
    // A file that is no picture, or does not decode, is refused with a message and the
    // document keeps what it has. False when the user cancelled: the drop ends there.
    bool OpenDropped(const std::string& path);
    // Space: the whole picture turns 90 degrees clockwise, without a history step.
    bool TurnImageRight();
    // Esc: no selection, no transparent colour, no tool.
    void OnEscape();
    // The floating paste is thrown away (its menu command and the Delete key).
    void RemovePaste();

    // The pan tool, command "移动": offered only while the picture at its zoom is bigger
    // than the pane (the pane's size comes from the viewClientSize hook).
    bool PictureOverflowsView() const;
    bool CanPanTool() const;
    bool PanToolChecked() const { return m_bPanTool && !m_bFitWindow; }
    void OnPanTool();
    // Switches the pan tool on when the picture overflows the pane; never switches it off.
    void ApplyPanRule();

    const CxImage* Image() const { return m_pImage.get(); }
    CxImage* Image() { return m_pImage.get(); }
    void SetImage(std::unique_ptr<CxImage> image) { m_pImage = std::move(image); }
    const ImageHistory& History() const { return m_history; }
    std::string CurrentPath() const { return m_strFileDir + m_strFileName; }

    // Members the views and the other parts of the program use directly.
    std::vector<std::string> m_photoNames;
    std::vector<std::string> m_photoTimes;
    std::string m_strPhotoDir;   // ends with '/'
    std::string m_strFileDir;    // ends with '/'
    std::string m_strFileName;
    std::unique_ptr<std::array<LassoPoint, kLassoPoints>> m_lasso;
    int m_nLasso = 0;
    float m_fZoom = 1.0f;
    bool m_bFitWindow = false;
    bool m_bTextTool = false;
    bool m_bPanTool = false;
    bool m_bRectSelect = false;
    bool m_bFreeSelect = false;
    bool m_bCropTool = false;
    bool m_bPasteIsMark = false;
    bool m_bDeskewTool = false;
    bool m_bEraserTool = false;
    bool m_bPenTool = false;
    COLORREF m_eraserColor = 0xFFFFFF;
    std::unique_ptr<CxImage> m_pPaste;
    bool m_bPasting = false;
    std::string m_strMailUrl = "https://mail.example.com/";
    CxImage m_backup;  // scratch copy before operations that can be cancelled
    int m_nEraserSize = 5;
    int m_nPenSize = 4;
    CxImage m_brush;   // the square the eraser or pen stamps
    bool m_bSaved = false;
    int m_nJpegQuality = 100;

private:
    bool LiveShown() const;
    // Makes `image`, read from `path`, the current picture at zoom 1 with the scroll reset.
    void ShowLoaded(const std::string& path, std::unique_ptr<CxImage> image);
    void Call(const std::function<void()>& hook) const;
    // Asks whether to save when there is history; false when the user cancelled.
    bool SaveIfWanted();
    // JPEG targets: 24 bits unless grey, no transparent index, the document's quality.
    void PrepareJpeg(int type);
    // Writes to `target` through `scratch`, falling back to BMP for a refused format.
    // Returns the path written, or empty when nothing was.
    std::string WriteWithFallback(const std::string& scratch, const std::string& target);

    Prompter& m_prompter;
    DocumentHooks m_hooks;
    std::unique_ptr<CxImage> m_pImage;
    ImageHistory m_history;
    scan::ScanCounters m_ownCounters;
    scan::ScanCounters* m_pCounters = &m_ownCounters;
    std::string m_strBookName = "book";
    int m_nNamingMode = 3;
};

}  // namespace vestrel::document
