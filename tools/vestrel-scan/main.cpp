// vestrel-scan: the scanner without windows. It reads config.ini from the program folder as
// the desktop program does, opens the first camera (or --camera SPEC), makes --count scans
// (more than one as a timed scan every --interval milliseconds) and prints the full path of
// every stored file on a line of its own. Scans to ".pdf" are stored by the program's own
// PDF writer; with --ebook the run's pages go into one growing e-book PDF, as the program's
// e-book does, and that file is printed once.
// Exit status: 0 all scans stored; 1 a failure (its message on standard error);
// 2 a --name that the file-name rules refuse (the rule's message on standard error).
//
// With --id-copy it copies one card on both sides onto one page, as the program's copy
// mode does, with the size entry and preset rectangle of config.ini: the front at once,
// the back after --interval ms or, without it, once Enter is pressed; then it prints the
// page's path. A scan area too large for the page stores nothing and exits 1.

#include "CVideoCapture.h"
#include "CaptureLink.h"
#include "CommandLine.h"
#include "EBook.h"
#include "ConsolePrompter.h"
#include "FileNameRules.h"
#include "FileNaming.h"
#include "CounterRecount.h"
#include "IdCardCopier.h"
#include "ProgramDir.h"
#include "ScanAreaSelection.h"
#include "ScanMessages.h"
#include "ScanToPdf.h"
#include "Scanner.h"
#include "Settings.h"
#include "TimedScan.h"

#include <chrono>
#include <string>
#include <cstdlib>
#include <iostream>
#include <thread>

namespace vestrel::tools {
namespace {

constexpr int kExitStored = 0;
constexpr int kExitFailed = 1;
constexpr int kExitNameRefused = 2;
// How long to wait for the camera's first picture of the configured size.
constexpr auto kFirstFrameWait = std::chrono::seconds(20);
constexpr const char* kTurnCardPrompt = "请将证件翻到反面，然后按回车键复印反面。";
// Followed by the page that holds only the front.
constexpr const char* kBackSideMissing = "没有复印反面，页面只有正面：";

// The name given on the command line stands for what the user types into the file-name
// dialog; it was judged before the camera opened.
class CommandLineName final : public scan::FileNameSource {
public:
    explicit CommandLineName(std::optional<std::string> name) : name_(std::move(name)) {}
    std::optional<std::string> askFileName() override { return name_; }

private:
    std::optional<std::string> name_;
};

// Opens the first camera, or the one of `spec`, at the configured frame size, and waits for
// its first picture. Every failure has shown its message.
bool OpenCamera(CVideoCapture& capture, Prompter& prompter, const std::string& spec,
                const Settings& settings)
{
    if (!capture.EnumerateDevices()) return false;
    int index = 0;
    if (!spec.empty()) {
        index = -1;
        const auto& devices = capture.Devices();
        for (std::size_t i = 0; i < devices.size(); ++i) {
            if (devices[i].location == spec) index = int(i);
        }
        if (index < 0) {
            prompter.message("vestrel-scan: no camera \"" + spec + "\"");
            return false;
        }
    }
    if (!capture.SelectDevice(index) || !capture.BuildGraph() || !capture.BuildPreview() ||
        !capture.Run())
        return false;
    // As at the program's start: a size the camera refuses keeps the one it has.
    capture.SetFrameSize(settings.lwidth, settings.lheight);
    capture.ReadFrameSize();
    const FrameSize wanted = capture.FormatSize();
    const auto deadline = std::chrono::steady_clock::now() + kFirstFrameWait;
    while (std::chrono::steady_clock::now() < deadline) {
        if (capture.Grabber().FrameCount() > 0 && capture.Grabber().LastFrameSize() == wanted) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    prompter.message(scan::messages::kNoFrame);
    return false;
}

// Prints the stored file; an e-book's pages are printed once, as the book, at the end.
bool Report(const scan::ScanOutcome& outcome, bool ebook)
{
    if (outcome.status != scan::ScanStatus::Stored && outcome.status != scan::ScanStatus::StoredPdf)
        return false;
    if (!ebook) std::cout << outcome.path.string() << '\n' << std::flush;
    return true;
}

// Waits for the card to be turned: a fixed time, or Enter on standard input. False when
// standard input ends first.
bool WaitForBackSide(const std::optional<int>& intervalMs)
{
    if (intervalMs) {
        std::this_thread::sleep_for(std::chrono::milliseconds(*intervalMs));
        return true;
    }
    std::cerr << kTurnCardPrompt << '\n' << std::flush;
    std::string line;
    return static_cast<bool>(std::getline(std::cin, line));
}

int RunIdCopy(const ScanCommandLine& line, const Settings& settings, Prompter& prompter)
{
    // Refused before the camera opens: nothing is stored, nobody waits for a camera.
    if (!scan::FitsCopyPage(scan::CopyArea(settings))) {
        prompter.message(scan::messages::kCardTooLarge);
        return kExitFailed;
    }
    CaptureOptions options;
    options.cameraSpec = CameraSpecOrEnvironment(line.camera);
    CVideoCapture capture(prompter, options);
    if (!OpenCamera(capture, prompter, options.cameraSpec, settings)) return kExitFailed;

    scan::GrabberFrameSource frames(capture.Grabber());
    scan::IdCardCopier copier(settings, prompter, frames);
    if (copier.step().status != scan::CopyStepStatus::FrontPlaced) return kExitFailed;
    if (!WaitForBackSide(line.intervalMs)) {
        prompter.message(kBackSideMissing + copier.pageFile().string());
        return kExitFailed;
    }
    const scan::CopyStepOutcome back = copier.finishCard();
    if (back.status != scan::CopyStepStatus::BackPlaced) return kExitFailed;
    std::cout << back.path.string() << '\n' << std::flush;
    return kExitStored;
}

// Finishes the e-book of the run and prints its file when it has pages.
int FinishEBook(output::EBook& ebook, bool allStored)
{
    const std::filesystem::path book = ebook.path();
    const bool hasPages = ebook.pageCount() > 0;
    ebook.finish();
    if (hasPages) std::cout << book.string() << '\n' << std::flush;
    return allStored && hasPages ? kExitStored : kExitFailed;
}

int Run(int argc, const char* const* argv)
{
    ConsolePrompter prompter(std::cerr);
    std::string error;
    const std::optional<ScanCommandLine> line = ParseScanCommandLine(argc, argv, error);
    if (!line) {
        std::cerr << "vestrel-scan: " << error << '\n' << kScanUsage << '\n';
        return kExitFailed;
    }
    if (line->home) ::setenv("VESTREL_HOME", line->home->c_str(), 1);

    const std::filesystem::path programDir = ProgramDir();
    Settings settings = DefaultSettings(programDir);
    LoadConfig(programpath::ConfigFile(), programDir, settings);
    scan::ApplyStartupSize(settings);
    if (line->idCopy) return RunIdCopy(*line, settings, prompter);

    // A name for mode 1 is judged by the dialog's rules before anything else happens; mode 1
    // without a name is what an empty dialog says.
    std::optional<std::string> typedName;
    if (line->name || scan::EffectiveNamingMode(settings.name) == scan::kNameCustom) {
        const scan::FileNameVerdict verdict = scan::CheckTypedFileName(line->name.value_or(""), settings.foramt);
        if (!verdict.accepted) {
            prompter.message(verdict.message);
            return kExitNameRefused;
        }
        typedName = verdict.name;
    }

    CaptureOptions options;
    options.cameraSpec = CameraSpecOrEnvironment(line->camera);
    CVideoCapture capture(prompter, options);
    if (!OpenCamera(capture, prompter, options.cameraSpec, settings)) return kExitFailed;

    scan::ScanState state;
    scan::RecountFromFolder(settings.path, settings.bookname, settings.name, state.counters);
    scan::GrabberFrameSource frames(capture.Grabber());
    CommandLineName names(typedName);
    scan::Scanner scanner(settings, state, prompter, frames, names);
    output::EBook ebook;
    ScanPdfWriter pdfWriter(settings, state, ebook, prompter);
    scanner.setPdfWriter(&pdfWriter);
    if (line->ebook) ebook.start();  // the scanner asks the writer whether a book is open

    if (line->count == 1) {
        const bool stored = Report(scanner.scan(), line->ebook);
        if (line->ebook) return FinishEBook(ebook, stored);
        return stored ? kExitStored : kExitFailed;
    }

    const scan::TimedScanStart start = scan::StartTimedScan(settings, state, names);
    if (!start.started) return kExitFailed;
    const auto period = std::chrono::milliseconds(line->intervalMs.value_or(start.periodMs));
    auto next = std::chrono::steady_clock::now();
    bool allStored = true;
    for (int i = 0; i < line->count && allStored; ++i) {
        next += period;
        std::this_thread::sleep_until(next);
        allStored = Report(scan::TimedScanTick(scanner, state), line->ebook);
    }
    scan::StopTimedScan(state);
    if (line->ebook) return FinishEBook(ebook, allStored);
    return allStored ? kExitStored : kExitFailed;
}

}  // namespace
}  // namespace vestrel::tools

int main(int argc, char** argv) { return vestrel::tools::Run(argc, argv); }
