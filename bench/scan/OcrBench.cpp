// bench_ocr: how well and how fast our text recognition reads camera pages, next to the
// tesseract command line on the very same files. Pages of known text (12 pt at 300 dpi,
// a Latin and a Chinese paragraph) are rendered, then photographed the way the camera
// does: skewed by ±3°, unevenly lit, noisy, stored as JPEG at quality 80. Prints one row
// per page: character error rate and seconds per page of each.
//   bench_ocr [--repeat N]   timings are the median of N runs (default 1)

#include "CxImage.h"
#include "PageReading.h"
#include "TestPages.h"
#include "TextRecogniser.h"

#include <opencv2/freetype.hpp>
#include <opencv2/imgcodecs.hpp>
#include <opencv2/imgproc.hpp>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;
using vestrel::bench::PageLook;

constexpr int kPixelSize = 50;  // 12 pt at 300 dpi
const cv::Size kPage(2480, 1300);

const char* const kLatin =
    "The delivery of forty two crates arrived at the northern warehouse on Tuesday morning. "
    "Each crate was weighed, counted and signed for by the shift manager before noon. Two "
    "of them showed water damage along the lower edge, and the driver agreed to take them "
    "back to the depot. Please send the corrected invoice to our accounts office.";
const char* const kChinese =
    "本公司于本月收到贵方寄来的合同文件共计三份，经财务部门审核后确认金额无误。请于下周五之前"
    "将盖章后的原件寄回上海服务中心，如有疑问请致电客户服务部门。感谢贵方一直以来的支持与合作。";

struct Script {
    const char* name;
    const char* text;
    const char* font;
    const char* language;
};

const Script kScripts[] = {
    {"Latin", kLatin, "/usr/share/fonts/truetype/liberation/LiberationSans-Regular.ttf", "eng"},
    {"Chinese", kChinese, "/usr/share/fonts/truetype/arphic/uming.ttc", "chi_sim"},
};

std::u32string Decode(const std::string& utf8)
{
    std::u32string out;
    for (std::size_t i = 0; i < utf8.size();) {
        const auto lead = static_cast<unsigned char>(utf8[i]);
        const int n = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
        char32_t c = n == 1 ? lead : lead & (0x7F >> n);
        for (int k = 1; k < n && i + k < utf8.size(); ++k) c = (c << 6) | (utf8[i + k] & 0x3F);
        out += c;
        i += n;
    }
    return out;
}

std::string Encode(char32_t c)
{
    std::string s;
    if (c < 0x80) s += char(c);
    else if (c < 0x800) s += {char(0xC0 | (c >> 6)), char(0x80 | (c & 0x3F))};
    else s += {char(0xE0 | (c >> 12)), char(0x80 | ((c >> 6) & 0x3F)), char(0x80 | (c & 0x3F))};
    return s;
}

// The paragraph wrapped into lines on white paper: Latin at word ends, Chinese anywhere.
cv::Mat RenderParagraph(const Script& script)
{
    cv::Mat page(kPage, CV_8UC3, cv::Scalar::all(255));
    auto font = cv::freetype::createFreeType2();
    font->loadFontData(script.font, 0);
    const int left = 200, width = kPage.width - 400;
    int y = 200;
    std::string line;
    auto flush = [&] {
        font->putText(page, line, cv::Point(left, y), kPixelSize, cv::Scalar::all(0), -1, cv::LINE_AA, true);
        y += kPixelSize * 3 / 2;
        line.clear();
    };
    const bool latin = std::strcmp(script.name, "Latin") == 0;
    std::string word;
    for (char32_t c : Decode(script.text) + U" ") {
        const std::string piece = Encode(c);
        if (latin && c != U' ') {
            word += piece;
            continue;
        }
        const std::string candidate = latin ? (line.empty() ? word : line + " " + word) : line + piece;
        int baseline = 0;
        if (font->getTextSize(candidate, kPixelSize, -1, &baseline).width > width) flush();
        if (latin) {
            line = line.empty() ? word : line + " " + word;
            word.clear();
        } else {
            line += piece;
        }
    }
    if (!line.empty()) flush();
    return page;
}

cv::Mat CameraLike(const cv::Mat& clean, double skew, std::uint64_t seed)
{
    cv::Mat turned;
    cv::warpAffine(clean, turned,
                   cv::getRotationMatrix2D(cv::Point2f(kPage.width / 2.0f, kPage.height / 2.0f), skew, 1.0),
                   kPage, cv::INTER_LINEAR, cv::BORDER_CONSTANT, cv::Scalar::all(255));
    PageLook look;
    look.lightFallOff = true;
    look.armShadow = true;
    look.noiseSigma = 6;
    look.blurSigma = 0.8;
    look.seed = seed;
    return vestrel::bench::Photograph(turned, look);
}

// Characters without white space: the engines differ in where they put spaces between
// Chinese characters, which is no reading error.
std::u32string Compact(const std::string& text)
{
    std::u32string out;
    for (char32_t c : Decode(text))
        if (c != U' ' && c != U'\n' && c != U'\t' && c != U'\f' && c != U'\r') out += c;
    return out;
}

double ErrorRate(const std::string& truth, const std::string& read)
{
    const std::u32string a = Compact(truth), b = Compact(read);
    std::vector<std::size_t> row(b.size() + 1);
    for (std::size_t j = 0; j <= b.size(); ++j) row[j] = j;
    for (std::size_t i = 1; i <= a.size(); ++i) {
        std::size_t diagonal = row[0];
        row[0] = i;
        for (std::size_t j = 1; j <= b.size(); ++j) {
            const std::size_t up = row[j];
            row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (a[i - 1] == b[j - 1] ? 0 : 1)});
            diagonal = up;
        }
    }
    return a.empty() ? 0 : double(row[b.size()]) / double(a.size());
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

double Seconds(std::chrono::steady_clock::time_point since)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

std::string CommandLineReading(const fs::path& file, const char* language)
{
    const std::string command = "OMP_THREAD_LIMIT=1 tesseract '" + file.string() + "' stdout -l " +
                                language + " --dpi 300 2>/dev/null";
    std::string out;
    if (FILE* pipe = ::popen(command.c_str(), "r")) {
        char buffer[4096];
        while (std::size_t n = std::fread(buffer, 1, sizeof buffer, pipe)) out.append(buffer, n);
        ::pclose(pipe);
    }
    return out;
}

}  // namespace

int main(int argc, char** argv)
{
    int repeat = 1;
    for (int i = 1; i + 1 < argc; ++i)
        if (std::strcmp(argv[i], "--repeat") == 0) repeat = std::max(1, std::atoi(argv[i + 1]));
    const fs::path folder = fs::temp_directory_path() / ("bench_ocr_" + std::to_string(::getpid()));
    fs::create_directories(folder);

    std::printf("%-8s %-24s %10s %10s %10s %10s\n", "script", "page", "CER ours", "CER cli",
                "s ours", "s cli");
    for (const Script& script : kScripts) {
        vestrel::ocr::TextRecogniser recogniser;
        const auto loadStart = std::chrono::steady_clock::now();
        if (!recogniser.open(script.language)) {
            std::printf("%s: language data %s missing\n", script.name, script.language);
            continue;
        }
        const double loadSeconds = Seconds(loadStart);
        const cv::Mat clean = RenderParagraph(script);
        struct Variant {
            std::string name;
            cv::Mat picture;
            bool jpeg;
        };
        const std::vector<Variant> variants = {
            {"clean, straight", clean, false},
            {"camera, level", CameraLike(clean, 0, 1), true},
            {"camera, skew +3", CameraLike(clean, 3, 2), true},
            {"camera, skew -3", CameraLike(clean, -3, 3), true},
        };
        for (const Variant& variant : variants) {
            const fs::path file = folder / (std::string(script.name) + std::to_string(&variant - variants.data()) +
                                            (variant.jpeg ? ".jpg" : ".png"));
            cv::imwrite(file.string(), variant.picture, {cv::IMWRITE_JPEG_QUALITY, 80});
            std::vector<double> ours, cli;
            std::string ourText, cliText;
            for (int r = 0; r < repeat; ++r) {
                auto start = std::chrono::steady_clock::now();
                vestrel::CxImage picture;
                picture.Load(file, 0);
                const auto page = vestrel::ocr::ReadPicture(recogniser, picture);
                ours.push_back(Seconds(start));
                ourText = page ? page->text : "";
                start = std::chrono::steady_clock::now();
                cliText = CommandLineReading(file, script.language);
                cli.push_back(Seconds(start));
            }
            std::printf("%-8s %-24s %9.2f%% %9.2f%% %10.2f %10.2f\n", script.name, variant.name.c_str(),
                        100 * ErrorRate(script.text, ourText), 100 * ErrorRate(script.text, cliText),
                        Median(ours), Median(cli));
            std::fflush(stdout);
        }
        std::printf("%-8s %-24s %10.2f s once per run (the command line loads it for every page)\n",
                    script.name, "language data load", loadSeconds);
    }
    fs::remove_all(folder);
    return 0;
}
