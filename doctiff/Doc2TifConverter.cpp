#include "Doc2TifConverter.h"

#include "Doc2TifMessages.h"
#include "ScratchFiles.h"
#include "UserAlert.h"

#include <dlfcn.h>

#include <cctype>
#include <cerrno>
#include <filesystem>
#include <thread>

namespace fs = std::filesystem;

namespace vestrel::doctiff {
namespace {

std::string Trim(const std::string& s) {
    size_t a = 0, b = s.size();
    while (a < b && std::isspace(static_cast<unsigned char>(s[a]))) ++a;
    while (b > a && std::isspace(static_cast<unsigned char>(s[b - 1]))) --b;
    return s.substr(a, b - a);
}

// The folder holding the programs: the program folder, one above the library's lib/.
fs::path ProgramFolder() {
    Dl_info info{};
    if (::dladdr(reinterpret_cast<void*>(&DefaultConverterOptions), &info) == 0 || !info.dli_fname)
        return {};
    const fs::path here = fs::path(info.dli_fname).parent_path();
    std::error_code ec;
    if (fs::exists(here / "vestrel_faxprinter", ec)) return here;
    return here.parent_path();
}

}  // namespace

ConverterOptions DefaultConverterOptions() {
    ConverterOptions options;
    const fs::path folder = ProgramFolder();
    options.printerProgram = (folder / "vestrel_faxprinter").string();
    options.html.serviceProgram = (folder / "vestrel_htmlprintd").string();
    return options;
}

std::vector<std::string> SplitSourceList(const std::string& list) {
    std::vector<std::string> paths;
    size_t start = 0;
    while (static_cast<int>(paths.size()) < kMaxSourcesPerCall) {
        const size_t end = list.find(';', start);
        if (end == std::string::npos) {
            if (!Trim(list.substr(start)).empty()) paths.push_back(Trim(list.substr(start)));
            break;
        }
        paths.push_back(Trim(list.substr(start, end - start)));
        start = end + 1;
    }
    return paths;
}

Doc2TifConverter::Doc2TifConverter(ConverterOptions options) : options_(std::move(options)) {}

Doc2TifConverter::~Doc2TifConverter() { Close(); }

void Doc2TifConverter::Report(const std::string& text) {
    if (log_.isOpen()) log_.write(text);
    fax::ShowUserAlert(text);
}

int Doc2TifConverter::Init() {
    Close();  // a second init makes new adapters
    tiff_ = std::make_unique<TiffAdapter>([this](const std::string& t) { Report(t); });
    if (!log_.open(scratch::HtmlLog()))
        fax::ShowUserAlert(fax::FormatText(messages::kLogOpenFailed, scratch::HtmlLog().c_str()));
    html_ = std::make_unique<HtmlAdapter>(options_.html, log_.isOpen() ? &log_ : nullptr,
                                          [this](const std::string& t) { Report(t); });
    if (options_.connectHtmlAtInit) html_->Connect();  // the outcome does not stop init
    if (!semaphore_.Create(scratch::SemaphoreName())) {
        Report(messages::kSemaphoreFailed);
        return 0;
    }
    return 1;
}

int Doc2TifConverter::Close() {
    html_.reset();
    tiff_.reset();
    log_.close();
    semaphore_.Close();
    return 1;
}

int Doc2TifConverter::Print(const std::string& sourceList, const std::string& output) {
    if (!tiff_ || !semaphore_.IsOpen()) return 0;
    // Paths travel inside ";"-separated command strings.
    if (output.find(';') != std::string::npos || output.empty()) {
        Report(fax::FormatText(messages::kPathHasSeparator, output.c_str()));
        return 0;
    }
    ConversionLock lock(options_.lockPatience);
    if (!lock.locked()) {
        Report(fax::FormatText(messages::kLockBusy, scratch::LockFile().c_str()));
        return 0;
    }
    const std::string piece = scratch::PieceTiff();
    for (const std::string& source : SplitSourceList(sourceList)) {
        if (ConvertOne(source, piece) < 1) return 0;
        if (!tiff_->Append(piece, output)) {
            Report(fax::FormatText(messages::kAppendFailed, source.c_str(), tiff_->error().c_str()));
            return 0;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    const int pages = tiff_->PageCount(output);
    return pages > 0 ? pages : 0;
}

int Doc2TifConverter::ConvertOne(const std::string& source, const std::string& piece) {
    const SourceKind kind = ClassifySource(source);
    switch (kind) {
    case SourceKind::Pdf:
    case SourceKind::Unknown: return 0;
    case SourceKind::Tiff:
    case SourceKind::Image: {
        const bool ok = kind == SourceKind::Tiff ? tiff_->ConvertTiff(source, piece)
                                                 : tiff_->ConvertImage(source, piece);
        return ok ? tiff_->PageCount(piece) : 0;
    }
    default: return PrintThroughPrinter(kind, source, piece);
    }
}

bool Doc2TifConverter::StartPrinter(SourceKind kind, const std::string& source, ChildProcess& printer) {
    std::vector<std::string> argv = {options_.printerProgram, "--kind"};
    switch (kind) {
    case SourceKind::Spreadsheet: argv.insert(argv.end(), {"calc", "--pages", "1-30"}); break;
    case SourceKind::Presentation: argv.push_back("impress"); break;
    default: argv.push_back("writer"); break;
    }
    argv.push_back(source);
    if (!printer.Start(argv)) {
        Report(fax::FormatText(messages::kPrinterStartFailed, options_.printerProgram.c_str()));
        return false;
    }
    return true;
}

int Doc2TifConverter::PrintThroughPrinter(SourceKind kind, const std::string& source,
                                          const std::string& piece) {
    // Signals of an earlier job that gave up waiting would be taken for ours.
    semaphore_.Drain();
    std::error_code ec;
    fs::remove(scratch::PrintedTiff(), ec);
    ChildProcess printer;
    if (kind == SourceKind::WebPage) {
        if (!html_ || !html_->Print(source)) return 0;
    } else if (!StartPrinter(kind, source, printer)) {
        return 0;
    }
    // A printer of ours that has already failed will not signal: stop waiting for it.
    const SignalWait outcome = semaphore_.Wait(
        options_.semaphoreRounds, options_.semaphoreRound,
        [&] { return printer.pid() > 0 && printer.Finished() && printer.exitCode() != 0; });
    // A printer that signalled is finishing; one that did not is ended, with its office
    // process, and nothing else.
    if (printer.Running() && (outcome != SignalWait::Signalled ||
                              !printer.WaitFor(std::chrono::seconds(10)))) {
        if (const int error = printer.Kill(); error != 0) {
            const std::string text = fax::FormatText(messages::kProcessEndFailed, error);
            Report(error == EPERM ? messages::kAccessDenied + text : text);
        }
    }
    switch (outcome) {
    case SignalWait::Signalled: break;
    case SignalWait::Abandoned:
        if (kind == SourceKind::Spreadsheet)
            Report(fax::FormatText(messages::kSpreadsheetOpenFailed, source.c_str(), printer.exitCode()));
        Report(fax::FormatText(messages::kPrinterFailed, source.c_str(), printer.exitCode()));
        return 0;
    case SignalWait::TimedOut:
        Report(fax::FormatText(messages::kPrinterNoSignal, source.c_str(),
                               static_cast<int>(options_.semaphoreRounds * options_.semaphoreRound.count() / 1000)));
        return 0;
    case SignalWait::Failed: Report(messages::kWaitSemaphoreFailed); return 0;
    }
    fs::copy_file(scratch::PrintedTiff(), Trim(piece), fs::copy_options::overwrite_existing, ec);
    if (ec) {
        Report(fax::FormatText(messages::kCopyTempFailed, scratch::PrintedTiff().c_str()));
        return 0;
    }
    const int pages = tiff_->PageCount(piece);
    return pages > 0 ? pages : 0;
}

}  // namespace vestrel::doctiff
