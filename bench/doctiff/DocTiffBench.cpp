// bench_doctiff: how long the converter takes per source kind, next to the bare pipeline
// it wraps (soffice --convert-to pdf, then gs to fax pages) timed in the same run, and how
// legible its fax pages are to Tesseract.
//
//   build-bench/bench/doctiff/bench_doctiff [runs]
//
// Goals: printed kinds within 1.2x of the bare pipeline; a JPG under 200 ms; character
// error rate of 12 pt Latin text at fine resolution at most 2 %.

#include "ChildProcess.h"
#include "Doc2TifConverter.h"
#include "PageReader.h"
#include "ScratchFiles.h"
#include "TextLegibility.h"

#include <netinet/in.h>
#include <semaphore.h>
#include <sys/socket.h>
#include <unistd.h>

#include <opencv2/imgcodecs.hpp>
#include <opencv2/imgproc.hpp>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>

namespace fs = std::filesystem;
using namespace vestrel::doctiff;

namespace {

using Clock = std::chrono::steady_clock;

std::string root;

std::string PathIn(const std::string& name) { return root + "/" + name; }

void WriteFile(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

double MedianMs(int runs, const std::function<bool()>& once) {
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        const auto start = Clock::now();
        if (!once()) return -1;
        times.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

int FreePort() {
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t size = sizeof a;
    ::bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof a);
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&a), &size);
    ::close(fd);
    return ntohs(a.sin_port);
}

// A printed-looking page: lines of text on white.
cv::Mat TextPage(int width, int height) {
    cv::Mat page(height, width, CV_8UC1, cv::Scalar(250));
    for (int y = height / 10; y < height * 9 / 10; y += height / 40)
        cv::putText(page, "The quick brown fox jumps over the lazy dog 0123456789", {width / 12, y},
                    cv::FONT_HERSHEY_SIMPLEX, width / 1400.0, cv::Scalar(20), std::max(1, width / 1000));
    return page;
}

// The bare pipeline the printer wraps: one warm LibreOffice profile, then Ghostscript.
bool BarePipeline(const std::string& document, bool html) {
    const std::string out = PathIn("bare");
    std::vector<std::string> soffice = {"soffice", "--headless", "--norestore",
                                        "-env:UserInstallation=file://" + PathIn("bare-profile")};
    if (html) soffice.push_back("--infilter=HTML (StarWriter)");
    soffice.insert(soffice.end(), {"--convert-to", "pdf:writer_pdf_Export", "--outdir", out, document});
    std::string error;
    if (RunProgram(soffice, std::chrono::seconds(120), error) != 0) return false;
    const std::string pdf = out + "/" + fs::path(document).stem().string() + ".pdf";
    return RunProgram({"gs", "-q", "-dSAFER", "-dBATCH", "-dNOPAUSE", "-sDEVICE=tiffg4", "-r204x196",
                       "-g1728x2444", "-dFIXEDMEDIA", "-dPDFFitPage", "-sOutputFile=" + out + "/bare.tif", pdf},
                      std::chrono::seconds(60), error) == 0;
}

std::string MakeDoc(const std::string& name, const std::string& text) {
    const std::string txt = PathIn(name + ".txt");
    WriteFile(txt, text);
    std::string error;
    RunProgram({"soffice", "--headless", "--norestore", "-env:UserInstallation=file://" + PathIn("maker-profile"),
                "--convert-to", "doc", "--outdir", PathIn("made"), txt},
               std::chrono::seconds(120), error);
    fs::rename(PathIn("made/" + name + ".doc"), PathIn(name));
    return PathIn(name);
}

// RTF of 12 pt text, Latin in Liberation Serif, Chinese in the Song-style font.
std::string Rtf12pt(const std::u32string& text, bool chinese) {
    std::string rtf = "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 Liberation Serif;}{\\f1 AR PL UMing CN;}}"
                      "\\uc1\\pard\\sl360\\slmult1";
    rtf += chinese ? "\\f1\\fs24 " : "\\f0\\fs24 ";
    for (char32_t c : text) {
        if (c == '\n') rtf += "\\par ";
        else if (c < 128) rtf += static_cast<char>(c);
        else rtf += "\\u" + std::to_string(static_cast<int>(static_cast<int16_t>(c))) + "?";
    }
    return rtf + "}";
}

std::u32string FromUtf8(const std::string& s) {
    std::u32string out;
    for (size_t i = 0; i < s.size();) {
        const unsigned char c = static_cast<unsigned char>(s[i]);
        const int extra = c >= 0xF0 ? 3 : c >= 0xE0 ? 2 : c >= 0xC0 ? 1 : 0;
        char32_t cp = extra == 0 ? c : c & (0x3F >> extra);
        for (int k = 1; k <= extra; ++k) cp = (cp << 6) | (static_cast<unsigned char>(s[i + k]) & 0x3F);
        out.push_back(cp);
        i += static_cast<size_t>(extra) + 1;
    }
    return out;
}

const char kLatin[] =
    "Please find attached the signed contract for the delivery of spare parts.\n"
    "The first shipment leaves our warehouse on Monday, the second one week later.\n"
    "Invoices are payable within thirty days; questions go to our sales office.\n"
    "Reference number 4711-B, order date 12 March, quantity 250 pieces.\n"
    "We thank you for your trust and look forward to working with you again.\n";
const char kChinese[] =
    "请查收附件中已签署的备件供货合同。\n"
    "第一批货物将于星期一从我们的仓库发出，第二批在一周后发出。\n"
    "发票应在三十天内付款，如有问题请联系我们的销售部门。\n";

}  // namespace

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3;
    char pattern[] = "/tmp/bench-doctiff-XXXXXX";
    if (!::mkdtemp(pattern)) return 1;
    root = pattern;
    ::setenv("TOLVY_ROOT", root.c_str(), 1);
    ::setenv("OMP_THREAD_LIMIT", "1", 1);

    std::string oneTextPage;
    for (int i = 1; i <= 30; ++i) oneTextPage += "Line " + std::to_string(i) + ": the quick brown fox jumps over the lazy dog.\n";
    const std::string txt = PathIn("page.txt");
    WriteFile(txt, oneTextPage);
    const std::string doc = MakeDoc("page.doc", oneTextPage);
    const std::string html = PathIn("page.html");
    WriteFile(html, "<html><body><h1>Quarterly report</h1><p>" + oneTextPage + "</p></body></html>");
    const std::string jpg = PathIn("scan.jpg");
    cv::imwrite(jpg, TextPage(2592, 1944), {cv::IMWRITE_JPEG_QUALITY, 85});
    const std::string tif = PathIn("landscape.tif");
    cv::imwrite(tif, TextPage(3300, 2550), {cv::IMWRITE_TIFF_RESUNIT, 2, cv::IMWRITE_TIFF_XDPI, 300, cv::IMWRITE_TIFF_YDPI, 300});

    ConverterOptions options;
    options.printerProgram = VESTREL_FAXPRINTER;
    options.html.serviceProgram = VESTREL_HTMLPRINTD;
    options.html.port = FreePort();
    Doc2TifConverter converter(options);
    if (converter.Init() != 1) return 1;
    const std::string out = PathIn("out.tif");
    auto convert = [&](const std::string& source) {
        return [&, source] {
            fs::remove(out);
            return converter.Print(source, out) >= 1;
        };
    };
    // Warm-up, not timed: the first LibreOffice run of each profile fills it.
    convert(txt)();
    convert(html)();
    BarePipeline(txt, false);

    struct Row { const char* kind; std::string source; bool printed; bool html; const char* goal; };
    const Row rows[] = {{"TXT, 1 page", txt, true, false, ""}, {"DOC, 1 page", doc, true, false, ""},
                        {"HTML page", html, true, true, ""}, {"JPG 2592x1944", jpg, false, false, "< 200 ms"},
                        {"landscape TIFF 3300x2550", tif, false, false, "-"}};
    std::printf("%-26s %12s %12s %7s  %s\n", "source", "converter ms", "bare ms", "ratio", "goal");
    for (const Row& row : rows) {
        const double ours = MedianMs(row.printed ? runs : runs * 4, convert(row.source));
        if (row.printed) {
            const double bare = MedianMs(runs, [&] { return BarePipeline(row.source, row.html); });
            std::printf("%-26s %12.0f %12.0f %7.2f  <= 1.20\n", row.kind, ours, bare, bare > 0 ? ours / bare : 0);
        } else {
            std::printf("%-26s %12.0f %12s %7s  %s\n", row.kind, ours, "-", "-", row.goal);
        }
    }

    std::printf("\n%-26s %12s  %s\n", "legibility (12 pt)", "CER", "goal");
    for (const bool chinese : {false, true}) {
        const std::string text = chinese ? kChinese : kLatin;
        const std::string rtf = PathIn(chinese ? "chinese.rtf" : "latin.rtf");
        WriteFile(rtf, Rtf12pt(FromUtf8(text), chinese));
        fs::remove(out);
        if (converter.Print(rtf, out) < 1) {
            std::printf("%-26s %12s\n", chinese ? "Chinese" : "Latin", "failed");
            continue;
        }
        PageReader reader;
        SourcePage page;
        if (!reader.Open(out) || !reader.ReadPage(0, page)) return 1;
        const std::string seen = bench::Recognise(page.gray, chinese ? "chi_sim" : "eng");
        std::printf("%-26s %11.2f%%  %s\n", chinese ? "Chinese (chi_sim)" : "Latin (eng)",
                    100 * bench::CharacterErrorRate(text, seen), chinese ? "-" : "<= 2%");
    }
    converter.Close();
    ::sem_unlink(scratch::SemaphoreName().c_str());
    std::error_code ec;
    fs::remove_all(root, ec);
    return 0;
}
