#include "PdfConversion.h"

#include "CxImage.h"
#include "PdfDocument.h"
#include "PdfMessages.h"

#include <atomic>
#include <cerrno>
#include <system_error>

#include <fcntl.h>
#include <unistd.h>

namespace vestrel::output {
namespace {

constexpr int kThumbnailSide = 100;

bool beginDocument(pdf::PdfDocument& document, const std::filesystem::path& output)
{
    document.set_parameter("errorpolicy", "return");
    document.set_parameter("hypertextencoding", "host");
    return document.begin_document(output) != -1;
}

void reportSkipped(const std::vector<std::string>& skipped, Prompter& prompter)
{
    if (skipped.empty())
        return;
    std::string text = kImagesSkipped;
    for (const auto& image : skipped)
        text += "\n" + image;
    prompter.message(text, kPromptCaption, MessageKind::Warning);
}

void removeQuietly(const std::filesystem::path& path)
{
    std::error_code ignored;
    std::filesystem::remove(path, ignored);
}

// A PDF on its way to `target`: written under a scratch name in the same folder and
// renamed over the target once complete, so nothing of an older file of that name is lost
// to a cancelled, failed or crashed job. The scratch is made with O_EXCL, never over a file
// that exists, and removed unless committed.
class ScratchTarget {
public:
    explicit ScratchTarget(std::filesystem::path target) : target_(std::move(target))
    {
        static std::atomic<unsigned> counter{0};
        for (int attempt = 0; attempt < 100; ++attempt) {
            std::filesystem::path candidate =
                target_.parent_path() / (".vestrel-" + std::to_string(::getpid()) + "-" +
                                         std::to_string(counter++) + ".pdf.part");
            const int fd = ::open(candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
            if (fd >= 0) {
                ::close(fd);
                scratch_ = std::move(candidate);
                return;
            }
            if (errno != EEXIST)
                return;
        }
    }
    ~ScratchTarget()
    {
        if (!scratch_.empty() && !committed_)
            removeQuietly(scratch_);
    }
    ScratchTarget(const ScratchTarget&) = delete;
    ScratchTarget& operator=(const ScratchTarget&) = delete;

    bool created() const { return !scratch_.empty(); }
    const std::filesystem::path& scratch() const { return scratch_; }
    const std::filesystem::path& target() const { return target_; }
    bool commit()
    {
        std::error_code error;
        std::filesystem::rename(scratch_, target_, error);
        committed_ = !error;
        return committed_;
    }

private:
    std::filesystem::path target_;
    std::filesystem::path scratch_;
    bool committed_ = false;
};

bool beginScratchDocument(pdf::PdfDocument& document, const ScratchTarget& target)
{
    return target.created() && beginDocument(document, target.scratch());
}

}  // namespace

bool addImagePage(pdf::PdfDocument& document, const std::string& image, const PageTextSource& text)
{
    const int handle = document.load_image("auto", image);
    if (handle < 0)
        return false;
    document.begin_page_ext(0, 0);
    document.fit_image(handle, 0, 0, "adjustpage");
    if (text)
        if (const auto layer = text(image))
            document.fit_text_layer(handle, *layer);
    document.close_image(handle);
    return document.end_page_ext();
}

std::string targetBaseName(const std::string& typed)
{
    return typed.substr(0, typed.find('.'));
}

std::string defaultPdfName(const std::filesystem::path& image)
{
    return targetBaseName(image.filename().string()) + ".pdf";
}

ConversionResult mergeToPdf(const std::vector<std::string>& images,
                            const std::filesystem::path& saveFolder, const std::string& name,
                            Prompter& prompter, const ConversionProgress& progress,
                            const PageTextSource& text)
{
    ConversionResult result;
    if (images.empty()) {
        prompter.message(kNoFilesToConvert, kPromptCaption);
        return result;
    }
    const std::string base = targetBaseName(name);
    if (base.empty()) {
        prompter.message(kEmptyTargetName, kPromptCaption);
        return result;
    }
    // Declared before the document, so the document closes its file before the scratch goes.
    ScratchTarget output(saveFolder / (base + ".pdf"));
    pdf::PdfDocument document;
    if (!beginScratchDocument(document, output)) {
        prompter.message(kCreatePdfFailed, kPromptCaption, MessageKind::Error);
        return result;
    }
    const int total = int(images.size());
    for (int i = 0; i < total; ++i) {
        if (addImagePage(document, images[std::size_t(i)], text))
            ++result.pages;
        else
            result.skipped.push_back(images[std::size_t(i)]);
        if (progress && !progress(i + 1, total) && i + 1 < total) {
            result.cancelled = true;
            break;
        }
    }
    const bool complete = document.end_document();
    // A PDF without a single page (every image unreadable) is not worth keeping.
    const bool keep = complete && !result.cancelled && result.pages > 0;
    if (keep && output.commit()) {
        result.written.push_back(output.target());
    } else {
        result.pages = 0;
        if (!complete || keep)
            prompter.message(kCreatePdfFailed, kPromptCaption, MessageKind::Error);
    }
    reportSkipped(result.skipped, prompter);
    return result;
}

ConversionResult separatePdfs(const std::vector<std::string>& images,
                              const std::filesystem::path& saveFolder,
                              const std::optional<std::string>& name, Prompter& prompter,
                              const ConversionProgress& progress, const PageTextSource& text)
{
    ConversionResult result;
    if (images.empty()) {
        prompter.message(kNoFilesToConvert, kPromptCaption);
        return result;
    }
    const int total = int(images.size());
    for (int i = 0; i < total; ++i) {
        const std::string& image = images[std::size_t(i)];
        ScratchTarget output(saveFolder / (name ? targetBaseName(*name) + std::to_string(i) + ".pdf"
                                                : defaultPdfName(image)));
        pdf::PdfDocument document;
        if (beginScratchDocument(document, output)) {
            // An unreadable image gives no empty PDF.
            const bool placed = addImagePage(document, image, text);
            const bool complete = document.end_document();
            if (placed && complete && output.commit()) {
                result.written.push_back(output.target());
                ++result.pages;
            } else if (!placed) {
                result.skipped.push_back(image);
            }
        }
        if (progress && !progress(i + 1, total) && i + 1 < total) {
            result.cancelled = true;
            break;
        }
    }
    reportSkipped(result.skipped, prompter);
    return result;
}

std::string conversionSummary(ConversionKind kind, const ConversionResult& result)
{
    const std::size_t files = result.written.size();
    std::string text;
    if (result.cancelled)
        text = files == 0 ? std::string(kCancelledNothingKept)
                          : kCancelledSomeKept + std::to_string(files) + kFilesUnit;
    else if (files == 0)
        text = kNothingWritten;
    else if (kind == ConversionKind::Merge)
        text = kMergeDone + result.written.front().string() + "（" + std::to_string(result.pages) +
               kPagesUnit + "）";
    else
        text = kSeparateDone + std::to_string(files) + kFilesUnit;
    if (!result.skipped.empty())
        text += kUnreadableCount + std::to_string(result.skipped.size()) + kFilesUnit;
    return text;
}

bool writePdfThumbnail(const std::filesystem::path& image, const std::filesystem::path& thumbnail)
{
    CxImage picture;
    if (!picture.Load(image, 0) || !picture.Resample(kThumbnailSide, kThumbnailSide, 1))
        return false;
    return picture.Save(thumbnail, CXIMAGE_FORMAT_JPG);
}

bool writeSinglePagePdf(const std::filesystem::path& output, const std::filesystem::path& image)
{
    pdf::PdfDocument document;
    if (!beginDocument(document, output))
        return false;
    document.set_info("Creator", kProductShortName);
    document.set_info("Author", kProductShortName);
    document.set_info("Title", kPdfTitle);
    const bool placed = addImagePage(document, image.string());
    const bool complete = document.end_document();
    if (!placed || !complete)
        removeQuietly(output);
    return placed && complete;
}

}  // namespace vestrel::output
