#pragma once
// The main window's side of scanning: the scan command, timer 85 of timed scanning, the
// file-name dialog and the shutter sound, around the scanning core's Scanner. A tick that
// comes while a scan still runs is dropped, never queued, so a slow scan cannot pile up
// work behind the window.

#include "Prompter.h"
#include "ScanSeams.h"
#include "ScanState.h"
#include "Scanner.h"
#include "Settings.h"

#include <QObject>
#include <QTimer>

#include <functional>
#include <memory>
#include <optional>
#include <string>

class QSoundEffect;
class QWidget;

namespace vestrel {

class ScanDriver : public QObject, public scan::FileNameSource {
    Q_OBJECT
public:
    // `events` go to the scanner as they are, with the shutter sound added; their
    // redrawInformation also follows a start or stop of the timed scan.
    ScanDriver(Settings& settings, scan::ScanState& state, Prompter& prompter,
               scan::FrameSource& camera, QWidget* dialogParent, scan::ScanEvents events);
    ~ScanDriver() override;

    // Where ".pdf" scans and e-book pages go.
    void setPdfWriter(scan::PdfScanWriter* writer) { scanner_.setPdfWriter(writer); }
    // Where scans go while the ID-card copy mode is on.
    void setIdCardCopy(scan::IdCardCopy* copy) { scanner_.setIdCardCopy(copy); }
    // res/sound.wav, for the steps of the ID-card copy.
    void playShutter();

    scan::ScanOutcome scanOnce();
    // The "扫 描" button of the second camera's dialog.
    scan::ScanOutcome scanSecond(scan::FrameSource& camera);
    bool startTimed();
    void stopTimed();
    bool timerActive() const { return timer_.isActive(); }
    int droppedTicks() const { return droppedTicks_; }
    void tick();  // what timer 85 does

    // The file-name dialog (211); tests answer it instead.
    std::optional<std::string> askFileName() override;
    void setFileNameAnswer(std::function<std::optional<std::string>()> answer)
    {
        fileNameAnswer_ = std::move(answer);
    }

private:
    Settings& settings_;
    scan::ScanState& state_;
    Prompter& prompter_;
    QWidget* dialogParent_;
    std::function<void()> redraw_;
    scan::Scanner scanner_;
    QTimer timer_;
    std::unique_ptr<QSoundEffect> shutter_;
    bool scanning_ = false;
    int droppedTicks_ = 0;
    std::function<std::optional<std::string>()> fileNameAnswer_;
};

}  // namespace vestrel
