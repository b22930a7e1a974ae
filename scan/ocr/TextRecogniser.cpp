#include "TextRecogniser.h"

#include <tesseract/baseapi.h>
#include <tesseract/ocrclass.h>
#include <tesseract/resultiterator.h>

#include <omp.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <exception>
#include <sstream>
#include <system_error>

namespace vestrel::ocr {
namespace {

constexpr const char* kDebianDataDir = "/usr/share/tesseract-ocr/5/tessdata";

bool IsLanguageName(const std::string& name)
{
    return !name.empty() && name.size() <= 32 &&
           std::all_of(name.begin(), name.end(), [](char c) {
               return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                      c == '_';
           });
}

// What the engine's monitor hands back to us: the cancel flag and the progress receiver.
struct MonitorLink {
    const std::atomic<bool>* cancel;
    const std::function<void(int)>* progress;
    tesseract::ETEXT_DESC* monitor;
    int lastProgress = -1;
};

bool CancelRequested(void* data, int)
{
    auto* link = static_cast<MonitorLink*>(data);
    if (link->progress && *link->progress && link->monitor->progress != link->lastProgress) {
        link->lastProgress = link->monitor->progress;
        (*link->progress)(link->lastProgress);
    }
    return link->cancel && link->cancel->load();
}

std::string Owned(char* text)
{
    std::string result = text ? text : "";
    delete[] text;
    return result;
}

}  // namespace

std::filesystem::path LanguageDataDir()
{
    if (const char* prefix = std::getenv("TESSDATA_PREFIX"); prefix && *prefix) return prefix;
    return kDebianDataDir;
}

std::vector<std::string> SplitLanguages(const std::string& languages)
{
    std::vector<std::string> names;
    std::stringstream stream(languages);
    std::string name;
    while (std::getline(stream, name, '+')) {
        if (!IsLanguageName(name)) return {};
        names.push_back(name);
    }
    return names;
}

std::vector<std::string> MissingLanguages(const std::string& languages)
{
    const std::vector<std::string> names = SplitLanguages(languages);
    if (names.empty()) return {languages};
    std::vector<std::string> missing;
    for (const std::string& name : names) {
        std::error_code ec;
        if (!std::filesystem::is_regular_file(LanguageDataDir() / (name + ".traineddata"), ec))
            missing.push_back(name);
    }
    return missing;
}

std::string DescribeMissing(const std::vector<std::string>& missing)
{
    std::string text;
    for (const std::string& name : missing) {
        if (!text.empty()) text += "、";
        std::string package = name;
        std::replace(package.begin(), package.end(), '_', '-');
        std::transform(package.begin(), package.end(), package.begin(),
                       [](unsigned char c) { return char(std::tolower(c)); });
        text += IsLanguageName(name) ? name + " (tesseract-ocr-" + package + ")" : "\"" + name + "\"";
    }
    return text;
}

TextRecogniser::TextRecogniser() = default;

TextRecogniser::~TextRecogniser()
{
    if (api_) api_->End();
}

bool TextRecogniser::open(const std::string& languages, std::string* error)
{
    open_ = false;
    if (const auto missing = MissingLanguages(languages); !missing.empty()) {
        if (error) *error = DescribeMissing(missing);
        return false;
    }
    try {
        if (!api_) api_ = std::make_unique<tesseract::TessBaseAPI>();
        const std::string dataDir = LanguageDataDir().string();
        if (api_->Init(dataDir.c_str(), languages.c_str(), tesseract::OEM_LSTM_ONLY) != 0) {
            if (error) *error = "Tesseract " + languages;
            return false;
        }
        // A page as the camera gives it: columns, headings and paragraphs.
        api_->SetPageSegMode(tesseract::PSM_AUTO);
        // Tesseract prints its guess of a resolution it was not told; we always tell it.
        api_->SetVariable("debug_file", "/dev/null");
        open_ = true;
    } catch (const std::exception& e) {
        if (error) *error = e.what();
    }
    return open_;
}

std::optional<RecognisedPage> TextRecogniser::recognise(const cv::Mat& grey, int dpi,
                                                        const std::atomic<bool>* cancel,
                                                        const std::function<void(int)>& progress)
{
    if (!open_ || grey.empty() || grey.type() != CV_8UC1) return std::nullopt;
    try {
        // One thread. Tesseract asks for its team sizes explicitly, which only the limit of
        // active parallel levels overrides; like the team size it is a setting of the
        // calling thread, so the program's environment needs no OMP_THREAD_LIMIT.
        omp_set_num_threads(1);
        omp_set_max_active_levels(0);
        const cv::Mat picture = grey.isContinuous() ? grey : grey.clone();
        api_->SetImage(picture.data, picture.cols, picture.rows, 1, int(picture.step[0]));
        api_->SetSourceResolution(dpi > 0 ? dpi : kAssumedDpi);

        tesseract::ETEXT_DESC monitor;
        MonitorLink link{cancel, &progress, &monitor};
        monitor.cancel = &CancelRequested;
        monitor.cancel_this = &link;
        const int status = api_->Recognize(&monitor);
        if (cancel && cancel->load()) {
            api_->Clear();
            return std::nullopt;
        }
        if (status != 0) {
            api_->Clear();
            return std::nullopt;
        }
        RecognisedPage page;
        page.text = Owned(api_->GetUTF8Text());
        std::unique_ptr<tesseract::ResultIterator> words(api_->GetIterator());
        if (words && !words->Empty(tesseract::RIL_WORD)) {
            do {
                RecognisedWord word;
                word.text = Owned(words->GetUTF8Text(tesseract::RIL_WORD));
                int left = 0, top = 0, right = 0, bottom = 0;
                if (word.text.empty() ||
                    !words->BoundingBox(tesseract::RIL_WORD, &left, &top, &right, &bottom))
                    continue;
                word.box = cv::Rect(left, top, right - left, bottom - top);
                page.words.push_back(std::move(word));
            } while (words->Next(tesseract::RIL_WORD));
        }
        api_->Clear();
        if (progress) progress(100);
        return page;
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

}  // namespace vestrel::ocr
