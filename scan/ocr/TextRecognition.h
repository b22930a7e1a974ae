#pragma once
// The text-recognition command ("文字识别") without its window: the checks and the
// picture to read (on the UI thread), the reading itself (on a worker thread, it takes
// seconds), and the results: a dated UTF-8 text file in OCR/, and a word-processor document
// made from the Doc.fodt template, opened with the desktop's program, or the text file
// opened in a text editor when that fails.

#include "CxImage.h"
#include "PageReading.h"
#include "TextRecogniser.h"

#include <atomic>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>

namespace vestrel {
class Prompter;
}

namespace vestrel::ocr {

// Opens a file with the desktop's default program for its type; false when nothing did.
class DesktopOpener {
public:
    virtual ~DesktopOpener() = default;
    virtual bool open(const std::filesystem::path& file) = 0;
};

// Pictures narrower or lower than this go onto the blank canvas first.
inline constexpr int kSmallestReadSide = 500;

// The picture of a run, stored as OCR/OCR.TIF for the worker.
struct RecognitionRequest {
    std::filesystem::path tiff;
    std::string languages;
    bool onCanvas = false;
};

struct RecognitionOutcome {
    enum Status { Read, FileMissing, Failed, Cancelled } status = Failed;
    std::optional<ReadPage> page;
};

// What a finished run left behind.
struct RecognitionFiles {
    std::filesystem::path text;      // OCR/<dated>.txt
    std::filesystem::path document;  // OCR/<dated>.fodt, empty when none was made
};

// The part of the picture that is read: the bounding box of the selection when there is
// one (nothing when that gives no picture), else the whole picture; either placed on the
// canvas when it is smaller than kSmallestReadSide either way. `onCanvas` tells which.
std::optional<CxImage> PictureToRead(const CxImage& image, bool& onCanvas);

// Puts `source` at the top-left corner of the canvas (grown white where `source` is larger;
// a white canvas of the smallest size when the shipped one cannot be read).
CxImage PlaceOnCanvas(const CxImage& source, const std::filesystem::path& canvasFile);

class TextRecognitionCommand {
public:
    TextRecognitionCommand(Prompter& prompter, DesktopOpener& opener,
                           std::string languages = kDefaultLanguages);

    // Steps before the engine runs: live mode, the language data, a current image, the
    // selection, OCR.BMP and OCR.TIF. Nothing when a message ended the command.
    std::optional<RecognitionRequest> prepare(bool liveMode, const CxImage* image);

    // Reads OCR.TIF. Safe on any thread; shows nothing.
    static RecognitionOutcome recognise(const RecognitionRequest& request,
                                        TextRecogniser& recogniser,
                                        const std::atomic<bool>* cancel = nullptr,
                                        const std::function<void(int)>& progress = {});

    // Shows the outcome: the failure messages, or the text file and the document.
    std::optional<RecognitionFiles> deliver(const RecognitionOutcome& outcome);

private:
    bool openTextFile(const std::filesystem::path& text);

    Prompter& prompter_;
    DesktopOpener& opener_;
    std::string languages_;
};

}  // namespace vestrel::ocr
