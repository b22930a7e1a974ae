#pragma once
// The program's one top-level window: the image pane (live picture or still picture) over
// the information pane on the left, the button pane over the photo library on the right,
// the eight menus, three tool bars with the size list, the status bar and the tray icon.
// It owns the scan settings and state and routes every command through the command table;
// the work itself belongs to the subsystem that owns each command.

#include "CQuorvanDoc.h"
#include "CommandTable.h"
#include "LibraryHooks.h"
#include "FrameLayout.h"
#include "IdCardCopier.h"
#include "LiveCamera.h"
#include "MenuLayout.h"
#include "ScanSettingsForm.h"
#include "ScanState.h"
#include "Settings.h"

#include <QRect>
#include <QMainWindow>
#include <QSystemTrayIcon>

#include <filesystem>
#include <functional>
#include <map>
#include <memory>

class QAction;
class QComboBox;
class QMenu;
class QSplitter;
class QScrollArea;
class QStackedWidget;
class QSystemTrayIcon;
class QTimer;
class QToolBar;

namespace vestrel {

namespace document {
class CQuorvanView;
}  // namespace document
namespace operations {
class ImageCommands;
struct CommandHooks;
}  // namespace operations
namespace signature {
class SignatureCommands;
}
namespace library {
class CThumbViewerView;
}
namespace selection {
class SelectionUi;
}
namespace tools {
class ViewToolCommands;
}

class CButtonView;
class EBookSession;
class CHelperView;
class CLiveView;
class Prompter;
class RecordingCommands;
class PrintCommands;
class ScanDriver;
class SignatureHost;

class CMainFrame : public QMainWindow {
    Q_OBJECT
public:
    // `camera` may be null: the window then runs without a live picture (tests).
    CMainFrame(Prompter& prompter, std::unique_ptr<LiveCamera> camera, QWidget* parent = nullptr);
    ~CMainFrame() override;

    // Puts the camera's video window into the live pane and starts the picture; false when
    // the preview cannot be built.
    bool startCamera();
    // Reads config.ini and applies it: size entry, frame size, scan area, orientation.
    void LoadConfig();
    // Writes config.ini; false when it could not be written.
    bool SaveConfig();

    // Runs command `id` if the command table enables it now.
    void OnCommand(int id);
    FrameState State() const;
    void updateCommandUi();

    // The wake-up of a second start, the tray's double click and F11: show maximised (in
    // full screen when it was) and run the live picture again if live mode is on.
    void wake();
    // The tray icon's clicks: a double click wakes the window.
    void OnTrayActivated(QSystemTrayIcon::ActivationReason why);

    Settings& settings() { return settings_; }
    const scan::ScanState& scanState() const { return scan_; }
    QAction* action(int id) const;
    QComboBox* sizeList() const { return sizeList_; }
    CHelperView* helperView() const { return helperView_; }
    CButtonView* buttonView() const { return buttonView_; }
    CLiveView* liveView() const { return liveView_; }
    QToolBar* mainToolBar() const { return mainBar_; }
    bool fullScreenMode() const { return fullScreen_; }
    SplitterSizes splitterSizes() const;
    LiveCamera* camera() const { return camera_.get(); }
    document::CQuorvanDoc& document() { return *doc_; }
    document::CQuorvanView* stillView() const { return stillView_; }
    library::CThumbViewerView* libraryView() const { return libraryView_; }
    // Where scans are made; null until a scanner is attached.
    void setScanDriver(std::unique_ptr<ScanDriver> driver);
    ScanDriver* scanDriver() const { return scanDriver_.get(); }
    PrintCommands* printCommands() const { return print_; }
    const EBookSession& ebook() const { return *ebook_; }
    QWidget* ebookToolWindow() const;
    // Asks "此操作将停止合成pdf，是否继续？" while an e-book is open and ends it on Yes; true
    // when nothing stands in the way any more.
    bool confirmStopEBook();
    // The ID-card copy mode's floating tool window (null while the mode is off) and copier.
    QWidget* copyToolWindow() const { return copyToolWindow_; }
    const scan::IdCardCopier* idCardCopier() const { return idCopier_.get(); }
    // Opens an image as the current document, leaving the live picture (the file argument).
    void openFile(const std::string& path);
    // Video recording: its commands, tool window and timers.
    RecordingCommands& recording() const { return *recording_; }
    // The commands of the "图像" and "效果" menus.
    operations::ImageCommands& imageOperations() { return *imageOps_; }
    // The rotate dialog's live preview: the picture from before the dialog, turned.
    void previewRotation(int degrees, bool keepSize);
    // Selections, crop, the clipboard and the floating paste.
    selection::SelectionUi& selection() { return *selection_; }

protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    friend class RecordingCommands;  // recording reaches the view settings the way scans do
    void buildMenus();
    QMenu* buildMenu(const std::vector<MenuNode>& nodes, QMenu* into);
    void buildToolBars();
    void buildSizeList(QToolBar* bar);
    void buildPanes();
    void buildTray();
    void buildShortcuts();
    QAction* makeAction(int id);
    void registerHandlers();

    // Commands of the window itself
    void OnLiveStill();
    void OnFullScreen();
    void setFullScreen(bool on);
    void OnActualSize();
    void OnWindowSize();
    void OnWindowRestore();
    void OnDigitalZoom();
    void applyZoom(int level);
    void OnRestoreDefaults();
    void OnSizeEntry(int index);
    void OnOrientation(scan::OrientationChoice choice);
    void OnHelpDocument(const char* file);
    void OnStopAll();
    void OnSecondCamera();
    void OnVideoFormat();
    void OnPresetDrawn(const struct FrameRect& rect);
    void applyNormalSplitterSizes();
    void placeVideo();
    void refreshLibrary();
    void redrawPanes();

    // The image document and the e-book
    document::DocumentHooks documentHooks();
    library::LibraryHooks libraryHooks();
    void registerDocumentHandlers();
    void registerMailHandlers();
    void OnSendMail();
    void onScanStored(const std::filesystem::path& path);
    void showPendingScan();
    void OnMakePdf();

    // The scan-settings dialog and its preview (CMainFrameScanSettings.cpp)
    void OnScanSettings();
    void applyScanSettings(const scan::ScanSettingsForm& form, bool presetWasInForce);
    void cancelScanSettings(const scan::ScanSettingsForm& form, bool presetWasInForce);
    friend class ScanSettingsPreview;
    // Signatures and stamps (CMainFrameSignature.cpp)
    friend class SignatureHost;
    void registerSignatureHandlers();
    // The two-sided ID-card copy (CMainFrameIdCardCopy.cpp)
    void registerCopyAndSettingsHandlers();
    void OnIdCardCopy();
    void OnCopyEnd();
    // Leaves the copy mode wherever it ends: the step starts over, the tool window goes.
    void EndCopyMode();
    scan::CopyEvents copyEvents();
    // Shows the live picture (true) or the still picture (false), as the live/still
    // switch does once nothing stands in its way.
    void switchLiveStill();
    // Printing, its 1:1 state and the position-adjusting preview
    void registerPrintHandlers();
    // The image operations (CMainFrameImage.cpp)
    operations::CommandHooks imageHooks();
    void registerImageHandlers();
    void onImageBusy(bool running);
    void OnFreeRotate();
    void OnGamma();
    void OnColourCorrect();
    void OnResolution();
    void OnFileSize();
    // Selections, crop, the clipboard and the floating paste (CMainFrameSelection.cpp)
    void registerSelectionHandlers();
    // The still view's mouse tools and their commands (CMainFrameTools.cpp)
    void installStillTools();
    void registerToolHandlers();
    // The size pop-up next to the tool-bar button of `buttonId`.
    void popUpSizeMenu(QMenu* menu, int buttonId);

    Prompter& prompter_;
    std::unique_ptr<LiveCamera> camera_;
    std::unique_ptr<ScanDriver> scanDriver_;
    std::filesystem::path programDir_;
    Settings settings_;
    scan::ScanState scan_;
    std::unique_ptr<document::CQuorvanDoc> doc_;
    std::unique_ptr<operations::ImageCommands> imageOps_;
    std::unique_ptr<SignatureHost> signatureHost_;
    std::unique_ptr<signature::SignatureCommands> signatures_;
    QTimer* operationTimer_ = nullptr;  // takes a finished operation's picture
    std::filesystem::path pendingScan_;  // the newest scan, shown when the still view comes
    std::unique_ptr<EBookSession> ebook_;
    std::unique_ptr<scan::IdCardCopier> idCopier_;
    QWidget* copyToolWindow_ = nullptr;  // the copy mode's floating tool window
    bool fullScreen_ = false;
    QRect savedPlacement_;  // the normal window's place before full screen
    Qt::WindowStates savedStates_;

    std::map<int, QAction*> actions_;
    std::map<int, std::function<void()>> handlers_;
    QToolBar* mainBar_ = nullptr;
    QToolBar* secondBar_ = nullptr;
    QToolBar* leftBar_ = nullptr;
    QComboBox* sizeList_ = nullptr;
    QSplitter* mainSplitter_ = nullptr;
    QSplitter* leftSplitter_ = nullptr;
    QSplitter* rightSplitter_ = nullptr;
    QStackedWidget* imagePane_ = nullptr;
    QScrollArea* liveScroll_ = nullptr;
    CLiveView* liveView_ = nullptr;
    document::CQuorvanView* stillView_ = nullptr;
    CHelperView* helperView_ = nullptr;
    CButtonView* buttonView_ = nullptr;
    library::CThumbViewerView* libraryView_ = nullptr;
    QMenu* liveContextMenu_ = nullptr;
    QMenu* stillContextMenu_ = nullptr;  // menu 163
    QMenu* deskewMenu_ = nullptr;        // pop-up 230
    QMenu* eraserSizeMenu_ = nullptr;    // pop-up 219
    QMenu* penSizeMenu_ = nullptr;       // pop-up 260
    std::unique_ptr<tools::ViewToolCommands> toolCommands_;
    QSystemTrayIcon* tray_ = nullptr;
    QTimer* commandUiTimer_ = nullptr;
    RecordingCommands* recording_ = nullptr;  // a child of the window
    PrintCommands* print_ = nullptr;  // a child of the window
    selection::SelectionUi* selection_ = nullptr;  // a child of the window
};

}  // namespace vestrel
