#include "ScanDriver.h"

#include "AppDialogs.h"
#include "ProgramDir.h"
#include "TimedScan.h"

#include <QFile>
#include <QSoundEffect>
#include <QUrl>

namespace vestrel {

ScanDriver::ScanDriver(Settings& settings, scan::ScanState& state, Prompter& prompter,
                       scan::FrameSource& camera, QWidget* dialogParent, scan::ScanEvents events)
    : settings_(settings),
      state_(state),
      prompter_(prompter),
      dialogParent_(dialogParent),
      redraw_(events.redrawInformation),
      scanner_(settings, state, prompter, camera, *this)
{
    timer_.setObjectName(QStringLiteral("timer85"));
    connect(&timer_, &QTimer::timeout, this, &ScanDriver::tick);

    const QString sound = QString::fromStdString(programpath::ShutterSound().string());
    if (QFile::exists(sound)) {
        shutter_ = std::make_unique<QSoundEffect>();
        shutter_->setSource(QUrl::fromLocalFile(sound));
    }
    events.playShutter = [this] { playShutter(); };
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
    // The scanner redraws after a stored or failed scan; nothing else changes anything.
    scanning_ = true;
    scan::ScanOutcome outcome = scanner_.scan();
    scanning_ = false;
    return outcome;
}

scan::ScanOutcome ScanDriver::scanSecond(scan::FrameSource& camera)
{
    if (scanning_) return {};
    scanning_ = true;
    scan::ScanOutcome outcome = scanner_.scanSecondCamera(camera);
    scanning_ = false;
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
    if (redraw_) redraw_();
    return start.started;
}

void ScanDriver::stopTimed()
{
    timer_.stop();
    scan::StopTimedScan(state_);
    if (redraw_) redraw_();
}

std::optional<std::string> ScanDriver::askFileName()
{
    if (fileNameAnswer_) return fileNameAnswer_();
    FileNameDialog dialog(prompter_, settings_.foramt, dialogParent_);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return dialog.acceptedName();
}

}  // namespace vestrel
