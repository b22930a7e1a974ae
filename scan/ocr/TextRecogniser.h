#pragma once
// Tesseract behind one small class: which language data are installed, and the text of a
// grey picture with the box of every word. One recogniser is used by one thread at a
// time; loading the language data takes a moment, so a caller that reads several pages
// keeps its recogniser.

#include <opencv2/core.hpp>

#include <atomic>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace tesseract {
class TessBaseAPI;
}

namespace vestrel::ocr {

// The languages a page is read in unless the user says otherwise.
inline constexpr const char* kDefaultLanguages = "chi_sim+eng";
// A picture that does not say its resolution is read as a camera page: about 300 dpi.
inline constexpr int kAssumedDpi = 300;

struct RecognisedWord {
    std::string text;  // UTF-8
    cv::Rect box;      // in the pixels of the picture that was read, top-down
};

struct RecognisedPage {
    std::string text;  // UTF-8, lines ended by '\n', paragraphs by an empty line
    std::vector<RecognisedWord> words;
};

// Where the language data are looked for: $TESSDATA_PREFIX when set, else the folder the
// Debian packages install them in.
std::filesystem::path LanguageDataDir();
// The languages of a "chi_sim+eng" list, in order; empty for a malformed list.
std::vector<std::string> SplitLanguages(const std::string& languages);
// The languages of the list whose data are not installed (or whose names are not
// language names at all). A malformed list is returned whole as its one entry.
std::vector<std::string> MissingLanguages(const std::string& languages);
// "chi_sim (tesseract-ocr-chi-sim)": a missing language and the package that brings it.
std::string DescribeMissing(const std::vector<std::string>& missing);

class TextRecogniser {
public:
    TextRecogniser();
    ~TextRecogniser();
    TextRecogniser(const TextRecogniser&) = delete;
    TextRecogniser& operator=(const TextRecogniser&) = delete;

    // Loads the language data; false (and `error` set) when some are missing or unusable.
    bool open(const std::string& languages, std::string* error = nullptr);
    bool isOpen() const { return open_; }

    // Reads an 8-bit grey picture of `dpi` dots per inch. Nothing when the engine fails or
    // `cancel` became true meanwhile; `progress` receives 0..100 as the engine advances.
    // Tesseract runs on one thread: on this machine's two cores its own threads only slow
    // it down.
    std::optional<RecognisedPage> recognise(const cv::Mat& grey, int dpi,
                                            const std::atomic<bool>* cancel = nullptr,
                                            const std::function<void(int)>& progress = {});

private:
    std::unique_ptr<tesseract::TessBaseAPI> api_;
    bool open_ = false;
};

}  // namespace vestrel::ocr
