#include "PdfConversion.h"

#include "CxImage.h"
#include "PdfDocument.h"
#include "PdfMessages.h"

#include <system_error>

namespace vestrel::output {
namespace {

constexpr int kThumbnailSide = 100;

// Places one image on a page of its own size; false (no page) when it cannot be read.
bool addImagePage(pdf::PdfDocument& document, const std::string& image)
{
    const int handle = document.load_image("auto", image);
    if (handle < 0)
        return false;
    document.begin_page_ext(0, 0);
    document.fit_image(handle, 0, 0, "adjustpage");
    document.close_image(handle);
    return document.end_page_ext();
}

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

}  // namespace

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
                            Prompter& prompter, const ConversionProgress& progress)
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
    const std::filesystem::path output = saveFolder / (base + ".pdf");
    pdf::PdfDocument document;
    if (!beginDocument(document, output)) {
        prompter.message(kCreatePdfFailed, kPromptCaption, MessageKind::Error);
        return result;
    }
    const int total = int(images.size());
    for (int i = 0; i < total; ++i) {
        if (addImagePage(document, images[std::size_t(i)]))
            ++result.pages;
        else
            result.skipped.push_back(images[std::size_t(i)]);
        if (progress && !progress(i + 1, total) && i + 1 < total) {
            result.cancelled = true;
            break;
        }
    }
    const bool complete = document.end_document();
    // A PDF without a single page (every image unreadable) is not worth leaving behind.
    if (result.cancelled || !complete || result.pages == 0) {
        removeQuietly(output);
        result.pages = 0;
        if (!complete)
            prompter.message(kCreatePdfFailed, kPromptCaption, MessageKind::Error);
    } else {
        result.written.push_back(output);
    }
    reportSkipped(result.skipped, prompter);
    return result;
}

ConversionResult separatePdfs(const std::vector<std::string>& images,
                              const std::filesystem::path& saveFolder,
                              const std::optional<std::string>& name, Prompter& prompter,
                              const ConversionProgress& progress)
{
    ConversionResult result;
    if (images.empty()) {
        prompter.message(kNoFilesToConvert, kPromptCaption);
        return result;
    }
    const int total = int(images.size());
    for (int i = 0; i < total; ++i) {
        const std::string& image = images[std::size_t(i)];
        const std::filesystem::path output =
            saveFolder / (name ? targetBaseName(*name) + std::to_string(i) + ".pdf"
                               : defaultPdfName(image));
        pdf::PdfDocument document;
        if (beginDocument(document, output)) {
            // An unreadable image gives no empty PDF.
            const bool placed = addImagePage(document, image);
            const bool complete = document.end_document();
            if (placed && complete) {
                result.written.push_back(output);
                ++result.pages;
            } else {
                removeQuietly(output);
                if (!placed)
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
