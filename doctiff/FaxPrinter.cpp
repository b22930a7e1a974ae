#include "FaxPrinter.h"

#include "ChildProcess.h"
#include "PrinterSemaphore.h"
#include "ScratchFiles.h"
#include "ScratchRoot.h"

#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>

namespace fs = std::filesystem;

namespace vestrel::doctiff {
namespace {

// A folder of our own below $TOLVY_ROOT, removed with everything in it.
class TemporaryFolder {
public:
    TemporaryFolder() {
        std::string pattern = fax::TolvyPath("doc2tif-XXXXXX");
        if (::mkdtemp(pattern.data())) path_ = pattern;
    }
    ~TemporaryFolder() {
        std::error_code ec;
        if (!path_.empty()) fs::remove_all(path_, ec);
    }
    const std::string& path() const { return path_; }

private:
    std::string path_;
};

// A file URL for LibreOffice's -env: options: every byte outside the plain set escaped.
std::string FileUrl(const std::string& path) {
    static const char hex[] = "0123456789ABCDEF";
    std::string url = "file://";
    for (unsigned char c : path) {
        if (std::isalnum(c) || c == '/' || c == '-' || c == '_' || c == '.' || c == '~') {
            url += static_cast<char>(c);
        } else {
            url += '%';
            url += hex[c >> 4];
            url += hex[c & 15];
        }
    }
    return url;
}

// LibreOffice spends a second or more filling a new profile. The first run's profile is
// kept as a seed, and each later run starts from a copy of it: still a profile of its own
// per run, so runs never collide, without the start-up cost.
std::string ProfileSeed() { return fax::TolvyPath("Doc2TifProfileSeed"); }

void SeedProfile(const std::string& profile) {
    std::error_code ec;
    if (fs::exists(ProfileSeed(), ec)) fs::copy(ProfileSeed(), profile, fs::copy_options::recursive, ec);
    if (ec) {
        fs::remove_all(profile, ec);
        fs::create_directory(profile, ec);
    }
}

void KeepAsSeed(const std::string& profile) {
    std::error_code ec;
    if (fs::exists(ProfileSeed(), ec)) return;
    // Renamed whole: a seed is complete or absent.
    const std::string staging = profile + ".seed";
    fs::copy(profile, staging, fs::copy_options::recursive, ec);
    if (!ec) fs::rename(staging, ProfileSeed(), ec);
    if (ec) fs::remove_all(staging, ec);
}

std::string LowerExtension(const std::string& path) {
    std::string ext = fs::path(path).extension().string();
    std::transform(ext.begin(), ext.end(), ext.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return ext;
}

}  // namespace

bool OfficeKindFromName(const std::string& name, OfficeKind& kind) {
    for (OfficeKind k : {OfficeKind::Writer, OfficeKind::Calc, OfficeKind::Impress, OfficeKind::Html})
        if (name == OfficeKindName(k)) {
            kind = k;
            return true;
        }
    return false;
}

const char* OfficeKindName(OfficeKind kind) {
    switch (kind) {
    case OfficeKind::Writer: return "writer";
    case OfficeKind::Calc: return "calc";
    case OfficeKind::Impress: return "impress";
    case OfficeKind::Html: return "html";
    }
    return "writer";
}

bool ConvertToPdf(const PrintJob& job, const std::string& pdfPath, std::string& error) {
    std::error_code ec;
    const fs::path document = fs::absolute(job.document, ec);
    if (ec || !fs::is_regular_file(document, ec)) {
        error = "no such document: " + job.document;
        return false;
    }
    TemporaryFolder profile, outdir;
    if (profile.path().empty() || outdir.path().empty()) {
        error = "cannot create a scratch folder in " + fax::TolvyRoot();
        return false;
    }
    std::vector<std::string> argv = {"soffice", "--headless", "--norestore", "--nologo",
                                     "--nodefault", "--nolockcheck",
                                     "-env:UserInstallation=" + FileUrl(profile.path())};
    SeedProfile(profile.path());
    const char* exportFilter = "pdf:writer_pdf_Export";
    switch (job.kind) {
    case OfficeKind::Html:
        // Writer's own HTML import keeps headings; the web export drops them.
        argv.push_back("--infilter=HTML (StarWriter)");
        break;
    case OfficeKind::Calc: exportFilter = "pdf:calc_pdf_Export"; break;
    case OfficeKind::Impress: exportFilter = "pdf:impress_pdf_Export"; break;
    case OfficeKind::Writer:
        // Our text files are UTF-8; without this Writer guesses the encoding.
        if (LowerExtension(job.document) == ".txt") argv.push_back("--infilter=Text (encoded):UTF8,LF,,");
        break;
    }
    argv.insert(argv.end(), {"--convert-to", exportFilter, "--outdir", outdir.path(), document.string()});
    const std::string logFile = outdir.path() + "/soffice.log";
    std::string runError;
    const int rc = RunProgram(argv, job.officeTimeout, runError, logFile);
    // LibreOffice reports success even when it wrote nothing; the PDF decides.
    fs::path produced;
    for (const auto& entry : fs::directory_iterator(outdir.path(), ec))
        if (entry.path().extension() == ".pdf") produced = entry.path();
    if (produced.empty() || fs::file_size(produced, ec) == 0) {
        error = "LibreOffice produced no PDF for " + job.document +
                (runError.empty() ? std::string() : " (" + runError + ")");
        return false;
    }
    if (rc == 0) KeepAsSeed(profile.path());
    fs::rename(produced, pdfPath, ec);
    if (ec) {
        fs::copy_file(produced, pdfPath, fs::copy_options::overwrite_existing, ec);
        if (ec) {
            error = "cannot keep the PDF: " + ec.message();
            return false;
        }
    }
    return true;
}

bool RenderFaxPages(const PrintJob& job, const std::string& pdfPath, const std::string& tiffPath,
                    std::string& error) {
    std::vector<std::string> argv = {"gs", "-q", "-dSAFER", "-dBATCH", "-dNOPAUSE",
                                     "-sDEVICE=tiffg4", "-r204x196", "-g1728x2444",
                                     "-dFIXEDMEDIA", "-dPDFFitPage"};
    if (job.firstPage > 1) argv.push_back("-dFirstPage=" + std::to_string(job.firstPage));
    if (job.lastPage > 0) argv.push_back("-dLastPage=" + std::to_string(job.lastPage));
    argv.push_back("-sOutputFile=" + tiffPath);
    argv.push_back(pdfPath);
    std::error_code ec;
    fs::remove(tiffPath, ec);
    const int rc = RunProgram(argv, job.renderTimeout, error);
    if (rc != 0 || !fs::exists(tiffPath, ec) || fs::file_size(tiffPath, ec) == 0) {
        if (error.empty()) error = "Ghostscript produced no pages";
        return false;
    }
    return true;
}

bool PrintToFaxPrinter(const PrintJob& job, std::string& error) {
    {
        TemporaryFolder work;
        if (work.path().empty()) {
            error = "cannot create a scratch folder in " + fax::TolvyRoot();
            return false;
        }
        const std::string pdf = work.path() + "/printed.pdf";
        const std::string pages = work.path() + "/printed.tif";
        if (!ConvertToPdf(job, pdf, error) || !RenderFaxPages(job, pdf, pages, error)) return false;
        std::error_code ec;
        // One rename: whoever picks the file up never sees half of it.
        fs::rename(pages, scratch::PrintedTiff(), ec);
        if (ec) {
            error = "cannot write " + scratch::PrintedTiff() + ": " + ec.message();
            return false;
        }
    }
    // The signal comes last, when nothing of ours is left to tidy: the waiting side may
    // end the printer as soon as it has the file.
    PrinterSemaphore semaphore;
    if (!semaphore.Create(scratch::SemaphoreName()) || !semaphore.Post()) {
        error = "cannot signal the semaphore " + scratch::SemaphoreName();
        return false;
    }
    return true;
}

}  // namespace vestrel::doctiff
