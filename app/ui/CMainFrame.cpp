#include "CMainFrame.h"

#include "AppIcons.h"
#include "AppMessages.h"
#include "CButtonView.h"
#include "CHelperView.h"
#include "CLiveView.h"
#include "CommandIds.h"
#include "ImageCommands.h"
#include "ImageSizeList.h"
#include "CQuorvanDoc.h"
#include "CQuorvanView.h"
#include "CThumbViewerView.h"
#include "CounterRecount.h"
#include "EBookSession.h"
#include "GlobalHotKey.h"
#include "PrintCommands.h"
#include "ProgramDir.h"
#include "Prompter.h"
#include "SignatureHost.h"
#include "RecordingCommands.h"
#include "ScanDriver.h"
#include "SelectionUi.h"
#include "ViewToolCommands.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QScrollArea>
#include <QShortcut>
#include <QSplitter>
#include <QStackedWidget>
#include <QStatusBar>
#include <QSystemTrayIcon>
#include <QTimer>
#include <QToolBar>

namespace vestrel {

using namespace cmd;

CMainFrame::CMainFrame(Prompter& prompter, std::unique_ptr<LiveCamera> camera, QWidget* parent)
    : QMainWindow(parent),
      prompter_(prompter),
      camera_(std::move(camera)),
      programDir_(ProgramDir()),
      settings_(DefaultSettings(programDir_))
{
    doc_ = std::make_unique<document::CQuorvanDoc>(prompter_, documentHooks());
    // The naming counters continue from whatever the photo folder holds now.
    connect(doc_.get(), &document::CQuorvanDoc::libraryChanged, this, [this] {
        scan::RecountFromNames(doc_->PhotoNames(), settings_.bookname, settings_.name, scan_.counters);
    });
    setWindowTitle(QString::fromUtf8(appmsg::kMainWindowTitle));
    setWindowIcon(ApplicationIcon());
    settings_.w = settings_.lwidth;
    settings_.h = settings_.lheight;

    buildMenus();
    buildToolBars();
    statusBar()->showMessage(QStringLiteral("就绪"));
    // Registered once, for every camera the window will open; it still starts without.
    if (camera_ && !camera_->registerDeviceNotifications()) prompter_.message(appmsg::kDeviceNotifyFailed);
    buildPanes();
    // A missing picture costs its button the picture, not the program its window.
    if (!buttonView_->picturesLoaded()) prompter_.message(appmsg::kButtonImagesFailed);
    buildTray();
    buildShortcuts();
    registerHandlers();
    registerDocumentHandlers();
    registerMailHandlers();
    recording_ = new RecordingCommands(*this, prompter_);
    recording_->registerHandlers(handlers_);
    registerPrintHandlers();
    registerImageHandlers();
    registerSelectionHandlers();
    registerToolHandlers();
    ebook_ = std::make_unique<EBookSession>(settings_, scan_, prompter_, this);
    connect(ebook_.get(), &EBookSession::ended, this, [this](bool wasOpen) {
        if (wasOpen && scan_.timedScanning && scanDriver_) scanDriver_->stopTimed();
        updateCommandUi();
        redrawPanes();
    });

    if (camera_) {
        scan::ScanEvents events;
        events.setCurrentFile = [this](const std::filesystem::path& path) { onScanStored(path); };
        events.refreshLibrary = [this] { doc_->RefreshLibrary(); };
        events.redrawInformation = [this] {
            // A book whose file could not be created has ended inside the scan.
            ebook_->closeIfEnded();
            updateCommandUi();
            redrawPanes();
        };
        scanDriver_ = std::make_unique<ScanDriver>(settings_, scan_, prompter_, *camera_, this, std::move(events));
        scanDriver_->setPdfWriter(&ebook_->writer());
        camera_->setDeviceLostHandler([this] {
            // A recording keeps what it has; then the program ends, as without a camera.
            recording_->deviceLost();
            prompter_.message(appmsg::kDeviceRemoved);
            QCoreApplication::exit(0);
        });
    }

    registerCopyAndSettingsHandlers();
    registerSignatureHandlers();

    // The old frame refreshed its buttons on every idle moment; a short timer does the same
    // for the state that changes outside our own commands.
    commandUiTimer_ = new QTimer(this);
    commandUiTimer_->setInterval(250);
    connect(commandUiTimer_, &QTimer::timeout, this, &CMainFrame::updateCommandUi);
    commandUiTimer_->start();
    updateCommandUi();
}

CMainFrame::~CMainFrame()
{
    // An operation still running finishes before the document it works for goes.
    if (imageOps_) imageOps_->Wait();
    // An e-book still open at the end keeps every page written so far.
    ebook_->finish();
    // A recording still running is finished while its camera is there.
    delete recording_;
    recording_ = nullptr;
    SaveConfig();
    scanDriver_.reset();
    if (tray_) tray_->hide();
    // The camera, with its video window, goes before the panes that host that window.
    camera_.reset();
}

QAction* CMainFrame::makeAction(int id)
{
    if (auto it = actions_.find(id); it != actions_.end()) return it->second;
    const CommandInfo* info = FindCommand(id);
    auto* action = new QAction(QString::fromUtf8(info ? info->text : "?"), this);
    action->setData(id);
    action->setIcon(CommandIcon(id));
    action->setToolTip(action->text().remove(QLatin1Char('&')));
    action->setStatusTip(action->toolTip());
    action->setCheckable(true);  // unchecked items look like plain items; rules check some
    connect(action, &QAction::triggered, this, [this, id] {
        OnCommand(id);
        updateCommandUi();
    });
    actions_[id] = action;
    return action;
}

QAction* CMainFrame::action(int id) const
{
    const auto it = actions_.find(id);
    return it == actions_.end() ? nullptr : it->second;
}

QMenu* CMainFrame::buildMenu(const std::vector<MenuNode>& nodes, QMenu* into)
{
    for (const MenuNode& node : nodes) {
        switch (node.kind) {
        case MenuNode::Kind::Separator: into->addSeparator(); break;
        case MenuNode::Kind::Command: {
            QAction* a = makeAction(node.id);
            // The same command may read differently in different menus; the first text wins
            // on the shared action, so menus that differ get their own text through a copy.
            if (a->text() != QString::fromStdString(node.text)) {
                auto* alias = new QAction(QString::fromStdString(node.text), into);
                alias->setCheckable(true);
                alias->setData(node.id);
                connect(alias, &QAction::triggered, a, &QAction::trigger);
                connect(a, &QAction::changed, alias, [alias, a] {
                    alias->setEnabled(a->isEnabled());
                    alias->setChecked(a->isChecked());
                });
                into->addAction(alias);
            } else {
                into->addAction(a);
            }
            break;
        }
        case MenuNode::Kind::Popup:
            buildMenu(node.items, into->addMenu(QString::fromStdString(node.text)));
            break;
        }
    }
    connect(into, &QMenu::aboutToShow, this, &CMainFrame::updateCommandUi);
    return into;
}

void CMainFrame::buildMenus()
{
    for (const MenuNode& top : MainMenu())
        buildMenu(top.items, menuBar()->addMenu(QString::fromStdString(top.text)));
    liveContextMenu_ = buildMenu(LiveContextMenu(), new QMenu(this));
    stillContextMenu_ = buildMenu(StillContextMenu(), new QMenu(this));
    // Pop-up 230 (manual deskew, restore defaults): Shift with the right button on the still
    // picture brings it up instead of menu 163.
    deskewMenu_ = buildMenu(DeskewDefaultsMenu(), new QMenu(this));
    // Accelerators (table 128).
    auto keys = [this](int id, std::initializer_list<QKeySequence> seqs) {
        makeAction(id)->setShortcuts(QList<QKeySequence>(seqs));
    };
    keys(ID_FILE_NEW, {QKeySequence(Qt::CTRL | Qt::Key_N)});
    keys(ID_FILE_OPEN, {QKeySequence(Qt::CTRL | Qt::Key_O)});
    keys(ID_FILE_SAVE, {QKeySequence(Qt::CTRL | Qt::Key_S)});
    keys(ID_FILE_PRINT, {QKeySequence(Qt::CTRL | Qt::Key_P)});
    keys(ID_EDIT_UNDO, {QKeySequence(Qt::CTRL | Qt::Key_Z), QKeySequence(Qt::ALT | Qt::Key_Backspace)});
    keys(ID_EDIT_CUT, {QKeySequence(Qt::CTRL | Qt::Key_X), QKeySequence(Qt::SHIFT | Qt::Key_Delete)});
    keys(ID_EDIT_COPY, {QKeySequence(Qt::CTRL | Qt::Key_C), QKeySequence(Qt::CTRL | Qt::Key_Insert)});
    keys(ID_EDIT_PASTE, {QKeySequence(Qt::CTRL | Qt::Key_V), QKeySequence(Qt::SHIFT | Qt::Key_Insert)});
}

void CMainFrame::buildToolBars()
{
    auto fill = [this](QToolBar* bar, const std::vector<int>& ids) {
        bool sizeListPlaced = false;
        for (int id : ids) {
            if (id == ID_SIZE_LIST) {
                // The size list covers the room the old bar kept for it.
                if (!sizeListPlaced) buildSizeList(bar);
                sizeListPlaced = true;
                continue;
            }
            if (id == 0) bar->addSeparator();
            else bar->addAction(makeAction(id));
        }
    };
    mainBar_ = addToolBar(QStringLiteral("主工具栏"));
    mainBar_->setObjectName(QStringLiteral("mainToolBar"));
    mainBar_->setIconSize(QSize(20, 20));
    fill(mainBar_, MainToolBar());

    secondBar_ = addToolBar(QStringLiteral("第二工具栏"));
    secondBar_->setObjectName(QStringLiteral("secondToolBar"));
    secondBar_->setIconSize(QSize(22, 22));
    secondBar_->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    fill(secondBar_, SecondToolBar());

    leftBar_ = new QToolBar(QStringLiteral("左工具栏"), this);
    leftBar_->setObjectName(QStringLiteral("leftToolBar"));
    leftBar_->setIconSize(QSize(22, 22));
    addToolBar(Qt::LeftToolBarArea, leftBar_);
    fill(leftBar_, LeftToolBar());
}

void CMainFrame::buildSizeList(QToolBar* bar)
{
    sizeList_ = new QComboBox(bar);
    sizeList_->setObjectName(QStringLiteral("sizeList"));
    for (const auto& entry : scan::ImageSizeList()) sizeList_->addItem(QString::fromUtf8(entry.label.data(), int(entry.label.size())));
    sizeList_->setFixedWidth(135);
    sizeList_->setMaxVisibleItems(9);
    QFont font(QStringLiteral("宋体"));
    font.setPixelSize(14);
    sizeList_->setFont(font);
    sizeList_->setToolTip(QStringLiteral("图像大小"));
    sizeList_->setCurrentIndex(0);
    connect(sizeList_, &QComboBox::activated, this, [this](int index) {
        OnSizeEntry(index);
        updateCommandUi();
    });
    QAction* holder = bar->addWidget(sizeList_);
    holder->setData(ID_SIZE_LIST);
}

void CMainFrame::buildPanes()
{
    mainSplitter_ = new QSplitter(Qt::Horizontal, this);
    leftSplitter_ = new QSplitter(Qt::Vertical, mainSplitter_);
    rightSplitter_ = new QSplitter(Qt::Vertical, mainSplitter_);
    mainSplitter_->setObjectName(QStringLiteral("mainSplitter"));
    leftSplitter_->setObjectName(QStringLiteral("leftSplitter"));
    rightSplitter_->setObjectName(QStringLiteral("rightSplitter"));

    imagePane_ = new QStackedWidget(leftSplitter_);
    // The live picture scrolls when shown at its own size, as the old scroll view did.
    liveScroll_ = new QScrollArea(imagePane_);
    liveScroll_->setFrameShape(QFrame::NoFrame);
    liveScroll_->setWidgetResizable(true);
    liveView_ = new CLiveView(liveScroll_);
    liveScroll_->setWidget(liveView_);
    stillView_ = new document::CQuorvanView(*doc_, imagePane_);
    // The paste's tool goes on first: it wins over every tool beneath the paste.
    selection_ = new selection::SelectionUi(*doc_, prompter_, *stillView_, this);
    selection_->installTools();
    imagePane_->addWidget(liveScroll_);
    imagePane_->addWidget(stillView_);
    installStillTools();
    helperView_ = new CHelperView(leftSplitter_);
    buttonView_ = new CButtonView(rightSplitter_);
    libraryView_ = new library::CThumbViewerView(*doc_, prompter_, libraryHooks(), rightSplitter_);
    for (QSplitter* s : {mainSplitter_, leftSplitter_, rightSplitter_}) s->setChildrenCollapsible(true);
    setCentralWidget(mainSplitter_);
    applyNormalSplitterSizes();

    helperView_->setPieceSource([this] {
        if (!scan_.liveMode) {
            const Print11State none;
            const Print11State& print11 = print_ ? print_->print11() : none;
            return StillHelperPieces(
                StillHelperInputOf(*doc_, fullScreen_, print11.m_bPrint11 != 0, print11.m_nPrintPos));
        }
        LiveHelperInput in;
        in.timedScanning = scan_.timedScanning;
        if (recording_) recording_->fillHelper(in);
        in.sizeEntry = sizeList_ ? sizeList_->currentIndex() : 0;
        in.presetState = liveView_->presetDraw();
        in.settings = &settings_;
        return LiveHelperPieces(in);
    });

    connect(buttonView_, &CButtonView::commandTriggered, this, [this](int id) {
        OnCommand(id);
        // The big scan button scans with the second camera too when it is open.
        if (id == cmd::ID_SCAN && scanDriver_ && camera_ && camera_->secondCamera())
            scanDriver_->scanSecond(*camera_->secondCamera());
        updateCommandUi();
    });
    connect(liveView_, &CLiveView::scanRequested, this, [this] { OnCommand(ID_SCAN); });
    // A file dropped on the live picture opens as one dropped on the still picture does.
    connect(liveView_, &CLiveView::filesDropped, stillView_, &document::CQuorvanView::openDroppedFiles);
    connect(stillView_, &document::CQuorvanView::scanRequested, this, [this] { OnCommand(ID_SCAN); });
    connect(stillView_, &document::CQuorvanView::stopRequested, this, &CMainFrame::OnStopAll);
    connect(stillView_, &document::CQuorvanView::leaveFullScreenRequested, this, [this] { setFullScreen(false); });
    connect(stillView_, &document::CQuorvanView::contextMenuRequested, this, [this](QPoint at) {
        updateCommandUi();
        if (QGuiApplication::keyboardModifiers() & Qt::ShiftModifier) deskewMenu_->popup(at);
        else stillContextMenu_->popup(at);
    });
    connect(liveView_, &CLiveView::stopRequested, this, &CMainFrame::OnStopAll);
    connect(liveView_, &CLiveView::contextMenuRequested, this, [this](QPoint at) {
        updateCommandUi();
        liveContextMenu_->popup(at);
    });
    connect(liveView_, &CLiveView::presetDrawn, this, [this](FrameRect r) { OnPresetDrawn(r); });
    connect(liveView_, &CLiveView::previewPauseRequested, this, [this](bool paused) {
        if (camera_) camera_->holdPicture(paused);
    });
    liveView_->setGeometrySource([this] {
        LiveViewGeometry g;
        // The drag arrives in the live view's own pixels, which already include the
        // scroll position of the area around it.
        g.clientWidth = liveView_->width();
        g.clientHeight = liveView_->height();
        g.actualSize = scan_.actualSize;
        g.frameWidth = settings_.lwidth;
        g.frameHeight = settings_.lheight;
        g.orientation = settings_.orientation;
        return g;
    });
}

void CMainFrame::OnTrayActivated(QSystemTrayIcon::ActivationReason why)
{
    // A double click wakes the window; a single click belongs to the icon's menu.
    if (why == QSystemTrayIcon::DoubleClick) wake();
}

void CMainFrame::buildTray()
{
    if (!QSystemTrayIcon::isSystemTrayAvailable()) return;
    tray_ = new QSystemTrayIcon(ApplicationIcon(), this);
    tray_->setToolTip(QString::fromUtf8(appmsg::kMainWindowTitle));
    auto* menu = new QMenu(this);
    buildMenu(TrayMenu(), menu);
    tray_->setContextMenu(menu);
    connect(tray_, &QSystemTrayIcon::activated, this, &CMainFrame::OnTrayActivated);
    tray_->show();
}

void CMainFrame::buildShortcuts()
{
    // F11 shows the window. Where no global grab is available it works while the program
    // has the keyboard, which the tray icon's double click covers otherwise.
    auto* f11 = new QShortcut(QKeySequence(Qt::Key_F11), this);
    f11->setContext(Qt::ApplicationShortcut);
    connect(f11, &QShortcut::activated, this, &CMainFrame::wake);
    auto* desktopF11 = new GlobalHotKey(this);
    connect(desktopF11, &GlobalHotKey::activated, this, &CMainFrame::wake);
    // F6 and Shift+F6 walk through the panes.
    auto* next = new QShortcut(QKeySequence(Qt::Key_F6), this);
    connect(next, &QShortcut::activated, this, [this] { focusNextChild(); });
    auto* previous = new QShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F6), this);
    connect(previous, &QShortcut::activated, this, [this] { focusPreviousChild(); });
}

FrameState CMainFrame::State() const
{
    FrameState s;
    s.features.add(Feature::Frame).add(Feature::Scanning).add(Feature::Document).add(Feature::Pdf).add(Feature::Library);
    s.features.add(Feature::ImageOperations);
    s.features.add(Feature::ViewTools);
    s.features.add(Feature::Signatures);
    s.imageBusy = imageOps_ && imageOps_->Busy();
    if (camera_) s.features.add(Feature::Capture).add(Feature::CaptureDialogs);
    if (scanDriver_) s.features.add(Feature::ScanStore).add(Feature::ScanSettings).add(Feature::IdCardCopy);
    s.features.add(Feature::Mail);
    s.features.add(Feature::TextRecognition);
    s.features.add(Feature::Selection).add(Feature::Clipboard);
    s.liveMode = scan_.liveMode;
    s.recording = scan_.recording;
    if (recording_) recording_->fillState(s);
    s.timedScanning = scan_.timedScanning;
    s.hasImage = doc_->Image() != nullptr;
    s.canBack = doc_->CanBack();
    s.canForward = doc_->CanForward();
    s.canZoomIn = doc_->CanZoomIn();
    s.canZoomOut = doc_->CanZoomOut();
    s.fitWindow = doc_->IsFitWindow();
    s.panTool = doc_->ToolOn(document::Tool::Pan);
    s.hasSelection = doc_->Image() && doc_->Image()->SelectionIsValid();
    s.floatingPaste = doc_->HasFloatingPaste();
    s.clipboardHasPicture = selection_ && selection_->ClipboardOffersPicture();
    s.rectSelectTool = doc_->ActiveTool() == document::Tool::RectSelect;
    s.freeSelectTool = doc_->ActiveTool() == document::Tool::FreeSelect;
    s.cropTool = doc_->ActiveTool() == document::Tool::Crop;
    s.textTool = doc_->ToolOn(document::Tool::Text);
    s.eraserTool = doc_->ToolOn(document::Tool::Eraser);
    s.penTool = doc_->ToolOn(document::Tool::Pen);
    s.eraserSize = doc_->EraserSize();
    s.penSize = doc_->PenSize();
    s.imageOverflows = doc_->PictureOverflowsView();
    s.fullScreen = fullScreen_;
    s.actualSize = scan_.actualSize;
    s.idCardCopyMode = scan_.idCardCopyMode;
    s.idCardCopyStep = idCopier_ ? int(idCopier_->nextSide()) : 1;
    s.ebookRunning = ebook_->composing();
    s.sizeEntryInForce = liveView_ && liveView_->presetDraw() && !settings_.presetInForce &&
                                 settings_.w == settings_.lwidth && settings_.h == settings_.lheight
                             ? scan::kPresetEntry
                             : scan::CheckedSizeEntry(settings_);
    s.orientation = settings_.orientation;
    if (print_) {
        s.features.add(Feature::Printing);
        s.printPreview = print_->previewOpen();
        s.print11 = print_->print11().m_bPrint11 != 0;
        s.printPos = print_->print11().m_nPrintPos;
    }
    return s;
}

void CMainFrame::updateCommandUi()
{
    const FrameState state = State();
    for (auto& [id, action] : actions_) {
        const CommandStatus status = StatusOf(id, state);
        action->setEnabled(status.enabled);
        action->setChecked(status.checked);
    }
    if (sizeList_) sizeList_->setEnabled(StatusOf(ID_SIZE_LIST, state).enabled);
    buttonView_->setScanEnabled(StatusOf(ID_SCAN, state).enabled);
    if (recording_) recording_->updateButtons(state);
}

void CMainFrame::OnCommand(int id)
{
    if (!StatusOf(id, State()).enabled) return;
    if (const auto it = handlers_.find(id); it != handlers_.end()) it->second();
    updateCommandUi();
}

SplitterSizes CMainFrame::splitterSizes() const
{
    const QList<int> m = mainSplitter_->sizes(), l = leftSplitter_->sizes(), r = rightSplitter_->sizes();
    return {m.value(0), m.value(1), l.value(0), l.value(1), r.value(0), r.value(1)};
}

void CMainFrame::applyNormalSplitterSizes()
{
    const QRect screen = this->screen() ? this->screen()->geometry() : QRect(0, 0, 1024, 768);
    const SplitterSizes s = NormalSplitterSizes(screen.width(), screen.height());
    mainSplitter_->setSizes({s.imageColumn, s.sideColumn});
    leftSplitter_->setSizes({s.imageRow, s.infoRow});
    rightSplitter_->setSizes({s.buttonRow, s.libraryRow});
}

void CMainFrame::redrawPanes()
{
    helperView_->update();
    buttonView_->update();
    stillView_->update();
}

bool CMainFrame::startCamera()
{
    if (!camera_ || !camera_->start(liveView_)) return false;
    liveView_->setVideoWindow(camera_->videoWindow());
    placeVideo();
    return true;
}

void CMainFrame::setScanDriver(std::unique_ptr<ScanDriver> driver)
{
    scanDriver_ = std::move(driver);
    if (scanDriver_ && idCopier_) scanDriver_->setIdCardCopy(idCopier_.get());
    updateCommandUi();
}

}  // namespace vestrel
