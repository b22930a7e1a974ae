#pragma once
// The scan command: one scan from the main camera (menu, tool bar, button pane, a tick of
// the timed scan, vestrel-scan) or from the second camera. It names the file, hands the
// frame to the ID-card copy or the PDF writer when their modes are on, otherwise runs the
// processing chain into the photo folder, and then tells the window what changed.

#include "FileNaming.h"
#include "ProcessingChain.h"
#include "Prompter.h"
#include "ScanSeams.h"
#include "ScanState.h"
#include "Settings.h"

#include <ctime>
#include <filesystem>
#include <functional>
#include <string>

namespace vestrel::scan {

enum class ScanStatus {
    NotRun,       // scanning is not possible now (recording, still view, a stray tick)
    Cancelled,    // the file-name dialog was cancelled: nothing changed
    IdCardStep,   // the ID-card copy took the request
    Stored,       // an image file was stored
    StoredPdf,    // the frame went to the PDF writer
    Failed,       // nothing stored; the user has been told why
};

struct ScanOutcome {
    ScanStatus status = ScanStatus::NotRun;
    std::filesystem::path path;  // the stored file (Stored, StoredPdf)
    std::string message;         // what the user was told (Failed)
};

// What follows a scan in the window. Each may be left empty.
struct ScanEvents {
    std::function<void()> playShutter;                            // res/sound.wav
    std::function<void(const std::filesystem::path&)> setCurrentFile;  // the document's path
    // The document's RefreshLibrary; when empty the scanner recomputes the counters from
    // the photo folder itself, as that refresh would.
    std::function<void()> refreshLibrary;
    std::function<void()> redrawInformation;
};

class Scanner {
public:
    Scanner(Settings& settings, ScanState& state, Prompter& prompter, FrameSource& mainCamera,
            FileNameSource& fileNames);

    void setEvents(ScanEvents events) { events_ = std::move(events); }
    void setIdCardCopy(IdCardCopy* copy) { idCardCopy_ = copy; }
    void setPdfWriter(PdfScanWriter* writer) { pdfWriter_ = writer; }
    // The local time used for time names and stamps (tests fix it).
    void setClock(std::function<std::tm()> clock) { clock_ = std::move(clock); }
    // Told the duration of every chain step (benchmarks).
    void setStepObserver(StepObserver observer) { observer_ = std::move(observer); }

    // One scan from the main camera.
    ScanOutcome scan();
    // One scan from the second camera: same naming, the shorter chain.
    ScanOutcome scanSecondCamera(FrameSource& secondCamera);

    // The photo folder (setting `path`).
    std::filesystem::path photoFolder() const;

private:
    ScanOutcome scanFrom(FrameSource& camera, ChainKind kind);
    ScanOutcome fail(const std::string& text);
    void afterStored(const std::filesystem::path& path);

    Settings& settings_;
    ScanState& state_;
    Prompter& prompter_;
    FrameSource& mainCamera_;
    FileNameSource& fileNames_;
    ScanEvents events_;
    IdCardCopy* idCardCopy_ = nullptr;
    PdfScanWriter* pdfWriter_ = nullptr;
    std::function<std::tm()> clock_;
    StepObserver observer_;
};

// The local time now.
std::tm LocalTimeNow();

}  // namespace vestrel::scan
