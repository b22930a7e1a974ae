#include "TextRecognition.h"

#include "OcrFiles.h"
#include "OcrMessages.h"
#include "OdfTextDocument.h"
#include "ProgramDir.h"
#include "Prompter.h"

#include <algorithm>
#include <system_error>

namespace vestrel::ocr {
namespace {

bool Exists(const std::filesystem::path& path)
{
    std::error_code ec;
    return std::filesystem::exists(path, ec);
}

}  // namespace

CxImage PlaceOnCanvas(const CxImage& source, const std::filesystem::path& canvasFile)
{
    CxImage canvas;
    if (!canvasFile.empty()) canvas.Load(canvasFile, 0);
    const int width = std::max({source.GetWidth(), canvas.GetWidth(), kSmallestReadSide});
    const int height = std::max({source.GetHeight(), canvas.GetHeight(), kSmallestReadSide});
    CxImage placed(width, height, 24);
    placed.Clear(255);
    if (canvas.IsValid()) placed.MixFrom(canvas, 0, 0);
    CxImage top(source, true, false, false);
    if (top.GetBpp() != 24) top.IncreaseBpp(24);
    placed.MixFrom(top, 0, 0);
    placed.SetXDPI(source.GetXDPI());
    placed.SetYDPI(source.GetYDPI());
    return placed;
}

std::optional<CxImage> PictureToRead(const CxImage& image, bool& onCanvas)
{
    onCanvas = false;
    CxImage source;
    if (image.SelectionIsValid()) {
        PixelRect box;
        // Crop keeps the selection with the pixels; the copy is ours to cut.
        CxImage whole(image, true, false, false);
        if (!image.SelectionGetBox(box) || !whole.Crop(box, &source) || !source.IsValid())
            return std::nullopt;
    } else {
        source = CxImage(image, true, false, false);
    }
    if (source.GetWidth() < kSmallestReadSide || source.GetHeight() < kSmallestReadSide) {
        // The engine reads a lone line or word far better with paper around it.
        const auto canvas = ShippedFile(kCanvasName);
        source = PlaceOnCanvas(source, canvas ? *canvas : std::filesystem::path{});
        onCanvas = true;
    }
    return source;
}

TextRecognitionCommand::TextRecognitionCommand(Prompter& prompter, DesktopOpener& opener,
                                               std::string languages)
    : prompter_(prompter), opener_(opener), languages_(std::move(languages))
{
}

std::optional<RecognitionRequest> TextRecognitionCommand::prepare(bool liveMode, const CxImage* image)
{
    if (liveMode) {
        prompter_.message(messages::kSwitchToStill, messages::kPromptCaption);
        return std::nullopt;
    }
    if (const auto missing = MissingLanguages(languages_); !missing.empty()) {
        prompter_.message(messages::kMissingComponent + DescribeMissing(missing), {},
                          MessageKind::Warning);
        return std::nullopt;
    }
    if (!image || !image->IsValid()) {
        prompter_.message(messages::kNoImage);
        return std::nullopt;
    }
    RecognitionRequest request;
    request.languages = languages_;
    auto picture = PictureToRead(*image, request.onCanvas);
    if (!picture) {
        prompter_.message(messages::kInvalidSelection);
        return std::nullopt;
    }
    picture->GrayScale();
    const std::filesystem::path bitmap = programpath::OcrDir() / kBitmapName;
    if (!picture->Save(bitmap, CXIMAGE_FORMAT_BMP)) {
        prompter_.message(messages::kFileAccessFailed, {}, MessageKind::Error);
        return std::nullopt;
    }
    request.tiff = programpath::OcrDir() / kTiffName;
    CxImage stored;
    if (!stored.Load(bitmap, CXIMAGE_FORMAT_BMP) || !stored.Save(request.tiff, CXIMAGE_FORMAT_TIF)) {
        prompter_.message(messages::kFileAccessFailed, {}, MessageKind::Error);
        std::error_code ignored;
        std::filesystem::remove(bitmap, ignored);
        return std::nullopt;
    }
    return request;
}

RecognitionOutcome TextRecognitionCommand::recognise(const RecognitionRequest& request,
                                                     TextRecogniser& recogniser,
                                                     const std::atomic<bool>* cancel,
                                                     const std::function<void(int)>& progress)
{
    RecognitionOutcome outcome;
    if (!Exists(request.tiff)) {
        outcome.status = RecognitionOutcome::FileMissing;
        return outcome;
    }
    CxImage picture;
    if (!picture.Load(request.tiff, CXIMAGE_FORMAT_TIF) ||
        (!recogniser.isOpen() && !recogniser.open(request.languages))) {
        outcome.status = RecognitionOutcome::Failed;
        return outcome;
    }
    outcome.page = ReadPicture(recogniser, picture, cancel, progress);
    outcome.status = outcome.page                 ? RecognitionOutcome::Read
                     : cancel && cancel->load()   ? RecognitionOutcome::Cancelled
                                                  : RecognitionOutcome::Failed;
    return outcome;
}

bool TextRecognitionCommand::openTextFile(const std::filesystem::path& text)
{
    if (!text.empty() && opener_.open(text)) return true;
    prompter_.message(messages::kNoTextEditor, {}, MessageKind::Warning);
    return false;
}

std::optional<RecognitionFiles> TextRecognitionCommand::deliver(const RecognitionOutcome& outcome)
{
    switch (outcome.status) {
    case RecognitionOutcome::Cancelled:
        return std::nullopt;
    case RecognitionOutcome::FileMissing:
        prompter_.message(messages::kRecognitionFileMissing, {}, MessageKind::Error);
        return std::nullopt;
    case RecognitionOutcome::Failed:
        prompter_.message(messages::kRecognitionFailed, {}, MessageKind::Error);
        return std::nullopt;
    case RecognitionOutcome::Read:
        break;
    }
    const std::string& text = outcome.page->text;
    RecognitionFiles files;
    // Never over the result of an earlier run in the same second.
    const auto textFile = ClaimNewFile(programpath::OcrDir(), DatedStemNow(), ".txt");
    if (!textFile || !WriteWholeFile(*textFile, text)) {
        prompter_.message(messages::kFileAccessFailed, {}, MessageKind::Error);
        return std::nullopt;
    }
    files.text = *textFile;

    const auto templateFile = ShippedFile(kTemplateName);
    const auto templateXml = templateFile ? ReadWholeFile(*templateFile) : std::nullopt;
    const auto documentXml = templateXml ? FillTemplate(*templateXml, text) : std::nullopt;
    if (!documentXml) {
        prompter_.message(messages::kTemplateMissing, {}, MessageKind::Warning);
        openTextFile(files.text);
        return files;
    }
    const auto document = ClaimNewFile(programpath::OcrDir(), files.text.stem().string(), ".fodt");
    if (!document || !WriteWholeFile(*document, *documentXml)) {
        if (document) {
            std::error_code ignored;
            std::filesystem::remove(*document, ignored);
        }
        prompter_.message(messages::kFileAccessFailed, {}, MessageKind::Error);
        openTextFile(files.text);
        return files;
    }
    files.document = *document;
    if (!opener_.open(files.document)) {
        prompter_.message(messages::kNoWordProcessor, {}, MessageKind::Warning);
        openTextFile(files.text);
    }
    return files;
}

}  // namespace vestrel::ocr
