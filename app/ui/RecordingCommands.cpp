#include "RecordingCommands.h"

#include "CButtonView.h"
#include "CHelperView.h"
#include "CLiveView.h"
#include "CMainFrame.h"
#include "CommandIds.h"
#include "ImageSizeList.h"
#include "Prompter.h"
#include "RecordDialog.h"
#include "RecordingMessages.h"
#include "RecordingName.h"
#include "RecordingToolWindow.h"

#include <QAction>
#include <QComboBox>
#include <QDesktopServices>
#include <QStackedWidget>
#include <QStatusBar>
#include <QTimer>
#include <QUrl>

#include <opencv2/imgcodecs.hpp>

#include <chrono>
#include <ctime>

namespace vestrel {

using namespace cmd;

namespace {

constexpr int kCountdownMs = 33;  // timer 2
constexpr int kWatchMs = 1000;    // timer 3
constexpr double kNominalFps = 15.0;

std::int64_t SteadyMs()
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

RecordingCommands::Seams DefaultSeams(CMainFrame& frame)
{
    RecordingCommands::Seams s;
    s.askSettings = [](const std::vector<std::string>& capabilities, QWidget* parent) -> std::optional<RecordSettings> {
        RecordDialog dialog(capabilities, parent);
        if (dialog.exec() != QDialog::Accepted) return std::nullopt;
        return dialog.settings();
    };
    s.formatPages = [&frame](QWidget* owner, const std::function<void()>& start) {
        if (frame.camera()) frame.camera()->showRecordFormats(owner, start);
    };
    s.play = [](const std::string& path) {
        return QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(path)));
    };
    s.clock = SteadyMs;
    return s;
}

QString FiguresText(const recording::RecordingStats& s)
{
    return QString::fromUtf8("已录制 %1 帧，丢弃 %2 帧，%3 帧/秒")
        .arg(s.framesWritten)
        .arg(s.framesDropped)
        .arg(s.framesPerSecond, 0, 'f', 1);
}

}  // namespace

RecordingCommands::RecordingCommands(CMainFrame& frame, Prompter& prompter)
    : QObject(&frame),
      frame_(frame),
      prompter_(prompter),
      seams_(DefaultSeams(frame)),
      state_([this] { return seams_.clock(); }),
      countdown_(new QTimer(this)),
      watch_(new QTimer(this))
{
    countdown_->setObjectName(QStringLiteral("timer2"));
    countdown_->setInterval(kCountdownMs);
    connect(countdown_, &QTimer::timeout, this, &RecordingCommands::countdownTick);
    watch_->setObjectName(QStringLiteral("timer3"));
    watch_->setInterval(kWatchMs);
    connect(watch_, &QTimer::timeout, this, &RecordingCommands::watchTick);

    // The tool window's buttons, in its order: record again, stop, play, close.
    for (int id : {ID_RECORD_OPEN_ENDED, ID_STOP_RECORD, ID_RECORD_PLAY, ID_RECORD_CLOSE}) {
        const CommandInfo* info = FindCommand(id);
        auto* action = new QAction(QString::fromUtf8(info ? info->text : ""), this);
        if (info && *info->iconTheme) action->setIcon(QIcon::fromTheme(QString::fromUtf8(info->iconTheme)));
        action->setData(id);
        connect(action, &QAction::triggered, this, [this, id] { frame_.OnCommand(id); });
        buttons_[id] = action;
    }
}

RecordingCommands::~RecordingCommands()
{
    // A recording still running when the window goes keeps every frame written so far.
    finishWriter();
    delete window_.data();
}

void RecordingCommands::setSeams(Seams seams)
{
    if (seams.askSettings) seams_.askSettings = std::move(seams.askSettings);
    if (seams.formatPages) seams_.formatPages = std::move(seams.formatPages);
    if (seams.play) seams_.play = std::move(seams.play);
    if (seams.clock) seams_.clock = std::move(seams.clock);
}

void RecordingCommands::registerHandlers(std::map<int, std::function<void()>>& handlers)
{
    handlers[ID_RECORD] = [this] { OnRecord(); };
    handlers[ID_STOP_RECORD] = [this] { OnStop(); };
    handlers[ID_RECORD_OPEN_ENDED] = [this] { OnRecordAgain(); };
    handlers[ID_RECORD_PLAY] = [this] { OnPlay(); };
    handlers[ID_RECORD_CLOSE] = [this] { OnClose(); };
}

void RecordingCommands::fillState(FrameState& s) const
{
    if (frame_.camera()) s.features.add(Feature::Recording);
    s.recording = state_.Capturing();
    s.recordingOpen = state_.Recording();
    s.recordingStopped = state_.Stopped();
    s.recordNoStopNeeded = state_.NoStopNeeded();
}

void RecordingCommands::fillHelper(LiveHelperInput& in) const
{
    in.recording = state_.Capturing();
    in.recordingLimitSet = state_.Timed();
    in.remainingSeconds = std::max(0L, state_.CountdownTick().remainingSeconds);
}

void RecordingCommands::updateButtons(const FrameState& s)
{
    for (auto& [id, action] : buttons_) action->setEnabled(StatusOf(id, s).enabled);
}

std::optional<std::string> RecordingCommands::askPath()
{
    FileDialogOptions options;
    options.filter = recording::msg::kAviFilter;
    options.directory = frame_.settings_.path;
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    ::localtime_r(&now, &local);
    options.defaultName = recording::FreeRecordingPath(frame_.settings_.path, local).filename().string();
    std::optional<std::string> path = prompter_.saveFile(options);
    if (path && std::filesystem::path(*path).extension().empty()) *path += ".avi";
    return path;
}

bool RecordingCommands::startWriter()
{
    int width = 0, height = 0;
    if (!frame_.camera() || !frame_.camera()->readFrameSize(width, height)) return false;
    recording::RecorderOptions options;
    options.width = width;
    options.height = height;
    options.nominalFps = kNominalFps;
    auto recorder = std::make_unique<recording::VideoRecorder>();
    if (!recorder->start(state_.Path(), options)) {
        prompter_.message(recording::msg::kCannotSetOutputFile);
        return false;
    }
    recorder_ = std::move(recorder);
    frame_.camera()->setFrameSink(recorder_.get());
    // The scan settings follow the frames now recorded.
    frame_.settings_.lwidth = width;
    frame_.settings_.lheight = height;
    return true;
}

void RecordingCommands::finishWriter()
{
    if (!recorder_) return;
    if (frame_.camera()) frame_.camera()->setFrameSink(nullptr);
    lastStats_ = recorder_->stop();
    recorder_.reset();
}

void RecordingCommands::prepareLivePicture()
{
    // The whole frame at zoom 0, at its own size when it is smaller than the pane; no
    // preset rectangle, no scans.
    frame_.OnSizeEntry(scan::kWholeFrameEntry);
    frame_.settings_.presetInForce = false;
    frame_.liveView_->setPresetDraw(false);
    const QSize pane = frame_.imagePane_->size();
    frame_.scan_.zoomLevel = 0;
    frame_.scan_.actualSize = frame_.settings_.lwidth < pane.width() || frame_.settings_.lheight < pane.height();
    frame_.placeVideo();
    frame_.updateCommandUi();
    redraw();
}

void RecordingCommands::openToolWindow()
{
    if (!window_) {
        std::vector<QAction*> buttons;
        for (int id : {ID_RECORD_OPEN_ENDED, ID_STOP_RECORD, ID_RECORD_PLAY, ID_RECORD_CLOSE})
            buttons.push_back(buttons_[id]);
        window_ = new RecordingToolWindow(buttons, &frame_);
    }
    window_->setWindowTitle(QString::fromUtf8(kRecordingCaption));
    window_->setFigures(QString());
    window_->move(kRecordingToolWindowX, kRecordingToolWindowY);
    window_->show();
    watch_->start();
}

void RecordingCommands::redraw()
{
    frame_.helperView_->update();
    frame_.buttonView_->update();
}

void RecordingCommands::OnRecord()
{
    LiveCamera* camera = frame_.camera();
    if (!camera) return;
    int width = 0, height = 0;
    if (!camera->readFrameSize(width, height)) return;
    const FrameSize before{width, height};
    const std::optional<std::string> path = askPath();
    if (!path) return;
    const std::vector<std::string> capabilities = camera->recordCapabilities();
    if (capabilities.empty()) {
        prompter_.message(recording::msg::kNoCaptureInterface);
        return;
    }
    const std::optional<RecordSettings> settings = seams_.askSettings(capabilities, &frame_);
    if (!settings) return;

    state_.Begin(*path, *settings, settings->timed);
    state_.sizeBefore = before;
    frame_.scan_.recording = true;
    // The format pages come first; the writer starts once the picture runs in the format
    // chosen there. A writer that cannot start leaves the tool window to stop or close.
    seams_.formatPages(frame_.liveView_, [this] { startWriter(); });
    if (state_.Timed()) countdown_->start();
    openToolWindow();
    prepareLivePicture();
}

void RecordingCommands::OnStop()
{
    finishWriter();
    countdown_->stop();
    state_.MarkStopped();
    frame_.scan_.recording = false;
    frame_.scan_.zoomLevel = 0;
    if (window_) {
        window_->setWindowTitle(QString::fromUtf8(kRecordingStoppedCaption));
        window_->setFigures(FiguresText(lastStats_));
    }
    frame_.statusBar()->showMessage(FiguresText(lastStats_));
    // The camera goes back to the size it had; a camera that refuses keeps the recorded one.
    LiveCamera* camera = frame_.camera();
    const FrameSize before = state_.sizeBefore;
    if (camera && !before.empty() && camera->setFrameSize(before.width, before.height)) {
        frame_.settings_.lwidth = before.width;
        frame_.settings_.lheight = before.height;
    }
    frame_.OnSizeEntry(scan::kWholeFrameEntry);
    frame_.OnWindowSize();
    frame_.updateCommandUi();
    redraw();
}

void RecordingCommands::OnRecordAgain()
{
    LiveCamera* camera = frame_.camera();
    if (!camera) return;
    int width = 0, height = 0;
    if (!camera->readFrameSize(width, height)) return;
    const std::optional<std::string> path = askPath();
    if (!path) return;
    if (!cv::haveImageWriter(".jpg")) {
        prompter_.message(recording::msg::kNoCompressor);
        return;
    }
    RecordSettings again = state_.LastSettings();
    again.timed = false;
    state_.Begin(*path, again, false);
    state_.sizeBefore = {width, height};
    frame_.scan_.recording = true;
    // The size of the last record dialog; a camera that refuses it records at its own.
    if (FrameSize{again.width, again.height} != FrameSize{width, height})
        camera->setFrameSize(again.width, again.height);
    startWriter();
    openToolWindow();
    prepareLivePicture();
}

void RecordingCommands::OnPlay()
{
    state_.MarkPlayed();
    if (!seams_.play(state_.Path())) prompter_.message(recording::msg::kNoPlayer);
}

void RecordingCommands::OnClose()
{
    if (state_.Capturing()) OnStop();
    state_.Close();
    watch_->stop();
    countdown_->stop();
    if (window_) {
        window_->hide();
        window_->deleteLater();
        window_.clear();
    }
    frame_.updateCommandUi();
    redraw();
}

void RecordingCommands::escape()
{
    if (state_.Capturing()) OnStop();
}

void RecordingCommands::deviceLost()
{
    // The camera cannot be switched back: only the file is finished and the state cleared.
    finishWriter();
    countdown_->stop();
    watch_->stop();
    if (state_.Recording()) state_.MarkStopped();
    frame_.scan_.recording = false;
}

void RecordingCommands::countdownTick()
{
    const RecordingState::Countdown c = state_.CountdownTick();
    frame_.helperView_->update();
    if (c.stopNow) {
        OnStop();
        return;
    }
    if (!state_.Timed()) countdown_->stop();
}

void RecordingCommands::watchTick()
{
    const bool visible = window_ && window_->isVisible();
    switch (state_.WatchTick(visible, recorder_ && recorder_->failed())) {
    case RecordingState::Watch::Nothing:
        if (!state_.Recording()) watch_->stop();
        break;
    case RecordingState::Watch::CloseWindow:
        OnClose();
        break;
    case RecordingState::Watch::WriterFailed:
        OnStop();
        prompter_.message(recording::msg::kRecordingError);
        break;
    }
}

}  // namespace vestrel
