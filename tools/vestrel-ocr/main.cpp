// vestrel-ocr: text recognition without windows, with the clean-up and engine of the
// desktop program's "文字识别". Each image gives a text file, a document made from Doc.fodt,
// or a searchable PDF; with --format pdf and --out FILE.pdf all images go into one PDF.
// Outputs go to the program folder's OCR/ under dated names unless --out says otherwise,
// and never replace a file there. Every output path is printed on a line of its own.
// Exit status: 0 everything written; 1 an image that cannot be read or recognised, or an
// output that cannot be written (its message on standard error, no output left behind);
// 2 a malformed command line; 3 language data that are missing or unknown.

#include "CommandLine.h"
#include "CxImage.h"
#include "OcrFiles.h"
#include "OcrMessages.h"
#include "OdfTextDocument.h"
#include "PageReading.h"
#include "PdfConversion.h"
#include "ProgramDir.h"
#include "SearchablePages.h"
#include "TextRecognition.h"
#include "TextRecogniser.h"

#include <cstdlib>
#include <iostream>
#include <system_error>

namespace vestrel::tools {
namespace {

constexpr int kExitWritten = 0;
constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;
constexpr int kExitLanguage = 3;

namespace fs = std::filesystem;

// What a run has written so far; all of it goes again when a later image fails.
class Outputs {
public:
    ~Outputs()
    {
        if (kept_) return;
        for (const fs::path& path : paths_) {
            std::error_code ignored;
            fs::remove(path, ignored);
        }
    }
    void add(const fs::path& path) { paths_.push_back(path); }
    void keep() { kept_ = true; }
    const std::vector<fs::path>& paths() const { return paths_; }

private:
    std::vector<fs::path> paths_;
    bool kept_ = false;
};

int Fail(const std::string& message)
{
    std::cerr << message << '\n';
    return kExitFailed;
}

std::string Extension(OcrFormat format)
{
    return format == OcrFormat::Text ? ".txt" : format == OcrFormat::Document ? ".fodt" : ".pdf";
}

// An image as the recogniser takes it; nothing for a file that is empty or no picture.
std::optional<CxImage> LoadImage(const std::string& path)
{
    std::error_code ec;
    if (!fs::is_regular_file(path, ec) || fs::file_size(path, ec) == 0) return std::nullopt;
    CxImage image;
    if (!image.Load(path, 0) || !image.IsValid()) return std::nullopt;
    return image;
}

// Where an output goes: the dated name in OCR/, --out itself for a single output, or the
// image's own name in the --out folder. The file is claimed (made empty) so that nothing
// already there is replaced: a name that is taken gets "_2", "_3" ... as in OCR/.
std::optional<fs::path> ClaimOutput(const OcrCommandLine& line, const std::string& image, bool single)
{
    const std::string extension = Extension(line.format);
    if (!line.out) return ocr::ClaimNewFile(programpath::OcrDir(), ocr::DatedStemNow(), extension);
    if (single) {
        const fs::path out = *line.out;
        return ocr::ClaimNewFile(out.parent_path().empty() ? "." : out.parent_path(),
                                 out.stem().string(), out.extension().string());
    }
    return ocr::ClaimNewFile(*line.out, fs::path(image).stem().string(), extension);
}

int WriteTexts(const OcrCommandLine& line, ocr::TextRecogniser& recogniser, Outputs& outputs)
{
    std::string templateXml;
    if (line.format == OcrFormat::Document) {
        const auto file = ocr::ShippedFile(ocr::kTemplateName);
        const auto xml = file ? ocr::ReadWholeFile(*file) : std::nullopt;
        if (!xml) return Fail(ocr::messages::kTemplateMissing);
        templateXml = *xml;
    }
    for (const std::string& image : line.images) {
        const auto picture = LoadImage(image);
        bool onCanvas = false;
        const auto toRead = picture ? ocr::PictureToRead(*picture, onCanvas) : std::nullopt;
        const auto page = toRead ? ocr::ReadPicture(recogniser, *toRead) : std::nullopt;
        if (!page) return Fail(image + ": " + ocr::messages::kRecognitionFailed);
        std::string content = page->text;
        if (line.format == OcrFormat::Document) {
            const auto filled = ocr::FillTemplate(templateXml, page->text);
            if (!filled) return Fail(ocr::messages::kTemplateMissing);
            content = *filled;
        }
        const auto target = ClaimOutput(line, image, line.images.size() == 1);
        if (target) outputs.add(*target);
        if (!target || !ocr::WriteWholeFile(*target, content))
            return Fail((target ? target->string() : image) + ": " + ocr::messages::kFileAccessFailed);
    }
    return kExitWritten;
}

int WritePdfs(const OcrCommandLine& line, ocr::TextRecogniser& recogniser, Outputs& outputs)
{
    bool unread = false;
    std::string failedImage;
    const output::PageTextSource text = [&](const std::string& image) -> std::optional<pdf::TextLayer> {
        const auto picture = LoadImage(image);
        const auto page = picture ? ocr::ReadPicture(recogniser, *picture) : std::nullopt;
        if (!page) {
            unread = true;
            failedImage = image;
            return std::nullopt;
        }
        return ToTextLayer(*page);
    };
    // One PDF of every page with --out, else one each.
    const bool together = line.out.has_value();
    std::optional<pdf::PdfDocument> document;
    for (const std::string& image : line.images) {
        if (!document) {
            const auto target = ClaimOutput(line, image, true);
            if (target) outputs.add(*target);
            document.emplace();
            if (!target || document->begin_document(*target) != 1)
                return Fail((target ? target->string() : image) + ": " + ocr::messages::kFileAccessFailed);
        }
        const bool placed = LoadImage(image) && output::addImagePage(*document, image, text);
        if (!placed || unread) return Fail((unread ? failedImage : image) + ": " + ocr::messages::kRecognitionFailed);
        if (!together) {
            if (!document->end_document()) return Fail(ocr::messages::kFileAccessFailed);
            document.reset();
        }
    }
    if (document && !document->end_document()) return Fail(ocr::messages::kFileAccessFailed);
    return kExitWritten;
}

int Run(int argc, char** argv)
{
    std::string error;
    const auto line = ParseOcrCommandLine(argc, argv, error);
    if (!line) {
        std::cerr << error << '\n' << kOcrUsage << '\n';
        return kExitUsage;
    }
    if (line->home) setenv("VESTREL_HOME", line->home->c_str(), 1);
    if (const auto missing = ocr::MissingLanguages(line->languages); !missing.empty()) {
        std::cerr << ocr::messages::kMissingComponent << ocr::DescribeMissing(missing) << '\n';
        return kExitLanguage;
    }
    ocr::TextRecogniser recogniser;
    if (!recogniser.open(line->languages, &error)) {
        std::cerr << ocr::messages::kMissingComponent << error << '\n';
        return kExitLanguage;
    }
    Outputs outputs;
    const int status = line->format == OcrFormat::Pdf ? WritePdfs(*line, recogniser, outputs)
                                                      : WriteTexts(*line, recogniser, outputs);
    if (status != kExitWritten) return status;
    outputs.keep();
    for (const fs::path& path : outputs.paths()) std::cout << path.string() << '\n';
    return kExitWritten;
}

}  // namespace
}  // namespace vestrel::tools

int main(int argc, char** argv)
{
    return vestrel::tools::Run(argc, argv);
}
