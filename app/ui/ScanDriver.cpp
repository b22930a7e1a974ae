#include "ScanDriver.h"

#include "AppDialogs.h"
#include "ProgramDir.h"
#include "TimedScan.h"

#include <QFile>
#include <QSoundEffect>
#include <QUrl>

namespace vestrel {

ScanDriver::ScanDriver(Settings& settings, scan::ScanState& state, Prompter& prompter,
                       scan::FrameSource& camera, QWidget* dialogParent, Hooks hooks)
    : settings_(settings),
      state_(state),
      prompter_(prompter),
      dialogParent_(dialogParent),
      hooks_(std::move(hooks)),
      scanner_(settings, state, prompter, camera, *this)
{
    timer_.setObjectName(QStringLiteral("timer85"));
    connect(&timer_, &QTimer::timeout, this, &ScanDriver::tick);

    const QString sound = QString::fromStdString(programpath::ShutterSound().string());
    if (QFile::exists(sound)) {
        shutter_ = std::make_unique<QSoundEffect>();
        shutter_->setSource(QUrl::fromLocalFile(sound));
    }
    scan::ScanEvents events;
    events.playShutter = [this] { playShutter(); };
    events.setCurrentFile = [this](const std::filesystem::path& path) {
        if (hooks_.stored) hooks_.stored(path);
    };
    if (hooks_.refreshLibrary) events.refreshLibrary = hooks_.refreshLibrary;
    events.redrawInformation = [this] {
        if (hooks_.redraw) hooks_.redraw();
    };
    scanner_.setEvents(std::move(events));
}

ScanDriver::~ScanDriver() = default;

void ScanDriver::playShutter()
{
    if (shutter_) shutter_->play();
}

scan::ScanOutcome ScanDriver::scanOnce()
{
    if (scanning_) {
        ++droppedTicks_;
        return {};
    }
    scanning_ = true;
    scan::ScanOutcome outcome = scanner_.scan();
    scanning_ = false;
    if (hooks_.redraw) hooks_.redraw();
    return outcome;
}

scan::ScanOutcome ScanDriver::scanSecond(scan::FrameSource& camera)
{
    if (scanning_) return {};
    scanning_ = true;
    scan::ScanOutcome outcome = scanner_.scanSecondCamera(camera);
    scanning_ = false;
    if (hooks_.redraw) hooks_.redraw();
    return outcome;
}

void ScanDriver::tick()
{
    // A message box or dialog inside a scan runs its own event loop, where this timer keeps
    // firing: such ticks are dropped.
    if (scanning_) {
        ++droppedTicks_;
        return;
    }
    if (!state_.timedScanning) return;
    scanOnce();
}

bool ScanDriver::startTimed()
{
    const scan::TimedScanStart start = scan::StartTimedScan(settings_, state_, *this);
    if (start.started) timer_.start(std::max(1, start.periodMs));
    if (hooks_.redraw) hooks_.redraw();
    return start.started;
}

void ScanDriver::stopTimed()
{
    timer_.stop();
    scan::StopTimedScan(state_);
    if (hooks_.redraw) hooks_.redraw();
}

std::optional<std::string> ScanDriver::askFileName()
{
    if (fileNameAnswer_) return fileNameAnswer_();
    FileNameDialog dialog(prompter_, settings_.foramt, dialogParent_);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return dialog.acceptedName();
}

}  // namespace vestrel
