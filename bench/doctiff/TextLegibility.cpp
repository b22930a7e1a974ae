#include "TextLegibility.h"

#include <tesseract/baseapi.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <vector>

namespace vestrel::doctiff::bench {
namespace {

std::u32string CodePoints(const std::string& utf8) {
    std::u32string out;
    for (size_t i = 0; i < utf8.size();) {
        const unsigned char c = static_cast<unsigned char>(utf8[i]);
        int extra = c >= 0xF0 ? 3 : c >= 0xE0 ? 2 : c >= 0xC0 ? 1 : 0;
        char32_t cp = extra == 0 ? c : c & (0x3F >> extra);
        for (int k = 1; k <= extra && i + static_cast<size_t>(k) < utf8.size(); ++k)
            cp = (cp << 6) | (static_cast<unsigned char>(utf8[i + static_cast<size_t>(k)]) & 0x3F);
        i += static_cast<size_t>(extra) + 1;
        if (cp != ' ' && cp != '\n' && cp != '\t' && cp != '\r' && cp != 0x3000) out.push_back(cp);
    }
    return out;
}

}  // namespace

std::string Recognise(const cv::Mat& page, const std::string& language) {
    ::setenv("OMP_THREAD_LIMIT", "1", 0);  // Tesseract's threads only slow two cores down
    tesseract::TessBaseAPI api;
    if (api.Init(nullptr, language.c_str()) != 0) return {};
    api.SetPageSegMode(tesseract::PSM_AUTO);
    api.SetImage(page.data, page.cols, page.rows, 1, static_cast<int>(page.step));
    api.SetSourceResolution(200);
    std::unique_ptr<char[]> text(api.GetUTF8Text());
    api.End();
    return text ? std::string(text.get()) : std::string();
}

double CharacterErrorRate(const std::string& reference, const std::string& recognised) {
    const std::u32string a = CodePoints(reference), b = CodePoints(recognised);
    if (a.empty()) return b.empty() ? 0.0 : 1.0;
    std::vector<size_t> previous(b.size() + 1), current(b.size() + 1);
    for (size_t j = 0; j <= b.size(); ++j) previous[j] = j;
    for (size_t i = 1; i <= a.size(); ++i) {
        current[0] = i;
        for (size_t j = 1; j <= b.size(); ++j)
            current[j] = std::min({previous[j] + 1, current[j - 1] + 1,
                                   previous[j - 1] + (a[i - 1] == b[j - 1] ? 0 : 1)});
        std::swap(previous, current);
    }
    return static_cast<double>(previous[b.size()]) / static_cast<double>(a.size());
}

}  // namespace vestrel::doctiff::bench
