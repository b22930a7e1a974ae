#include "Scanner.h"

#include "CounterRecount.h"
#include "ScanMessages.h"

#include <chrono>

namespace vestrel::scan {
namespace {

constexpr const char* kPdfExtension = ".pdf";

}  // namespace

std::tm LocalTimeNow()
{
    const std::time_t now = std::chrono::system_clock::to_time_t(std::chrono::system_clock::now());
    std::tm tm{};
    localtime_r(&now, &tm);
    return tm;
}

Scanner::Scanner(Settings& settings, ScanState& state, Prompter& prompter, FrameSource& mainCamera,
                 FileNameSource& fileNames)
    : settings_(settings), state_(state), prompter_(prompter), mainCamera_(mainCamera),
      fileNames_(fileNames), clock_(LocalTimeNow)
{
}

std::filesystem::path Scanner::photoFolder() const { return std::filesystem::path(settings_.path); }

ScanOutcome Scanner::scan()
{
    if (state_.idCardCopyMode && idCardCopy_) {
        idCardCopy_->nextStep();
        return {ScanStatus::IdCardStep, {}, {}};
    }
    return scanFrom(mainCamera_, ChainKind::MainCamera);
}

ScanOutcome Scanner::scanSecondCamera(FrameSource& secondCamera)
{
    return scanFrom(secondCamera, ChainKind::SecondCamera);
}

ScanOutcome Scanner::scanFrom(FrameSource& camera, ChainKind kind)
{
    // The picture of the moment the scan was asked for, before any dialog: without one
    // nothing is named and no counter moves.
    cv::Mat frame;
    if (!camera.copyNewestFrame(frame) || frame.empty()) return fail(messages::kNoFrame);

    const std::tm now = clock_();
    const bool composingBook = pdfWriter_ && pdfWriter_->composingBook();
    const bool continuedEbook = composingBook && pdfWriter_->bookPages() > 0;
    NamingInput naming{EffectiveNamingMode(settings_.name), settings_.bookname,
                       state_.bookScanning || continuedEbook, state_.timedBookName, now};

    std::string name;
    if (naming.mode == kNameCustom && !naming.bookScanning) {
        std::optional<std::string> typed = fileNames_.askFileName();
        if (!typed) return {ScanStatus::Cancelled, {}, {}};
        name = std::move(*typed);
    } else {
        name = NextGeneratedName(naming, state_.counters);
    }

    const bool toPdf = GetFileType(settings_.foramt) == CXIMAGE_FORMAT_PDF || composingBook;
    const std::string extension = toPdf ? kPdfExtension : settings_.foramt;
    const std::filesystem::path folder = photoFolder();
    // An e-book grows one file; every other scan takes a name nobody holds yet.
    if (!composingBook) {
        const std::optional<std::string> free =
            FreeName(name, naming, state_.counters, TakenInFolder(folder, extension));
        if (!free) return fail(std::string(messages::kScanNotStored) + (folder / (name + extension)).string());
        name = *free;
    }
    const std::filesystem::path target = folder / (name + extension);

    if (toPdf) {
        if (!pdfWriter_ || !pdfWriter_->writeFrame(frame, target))
            return fail(std::string(messages::kScanNotStored) + target.string());
        afterStored(target);
        return {ScanStatus::StoredPdf, target, {}};
    }

    if (events_.playShutter) events_.playShutter();
    const ChainInput input{&settings_, state_.zoomLevel, now, kind};
    const StoredScan stored = StoreScan(frame, target, input, observer_ ? &observer_ : nullptr);
    if (stored.result != NewFileResult::Stored) {
        const std::string why = stored.result == NewFileResult::TargetExists ? "File exists" : stored.error;
        return fail(std::string(messages::kScanNotStored) + target.string() +
                    (why.empty() ? "" : " (" + why + ")"));
    }
    afterStored(target);
    return {ScanStatus::Stored, target, {}};
}

void Scanner::afterStored(const std::filesystem::path& path)
{
    if (events_.setCurrentFile) events_.setCurrentFile(path);
    if (events_.refreshLibrary) events_.refreshLibrary();
    else RecountFromFolder(photoFolder(), settings_.bookname, settings_.name, state_.counters);
    if (events_.redrawInformation) events_.redrawInformation();
}

ScanOutcome Scanner::fail(const std::string& text)
{
    prompter_.message(text, {}, MessageKind::Error);
    if (events_.redrawInformation) events_.redrawInformation();
    return {ScanStatus::Failed, {}, text};
}

}  // namespace vestrel::scan
