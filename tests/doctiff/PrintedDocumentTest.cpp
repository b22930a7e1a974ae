// Documents printed through LibreOffice and Ghostscript. Each conversion costs seconds,
// so the cases are few and each checks much.

#include "ConverterFixture.h"
#include "FaxTiffCheck.h"
#include "TiffProcessor.h"

#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <opencv2/imgproc.hpp>

namespace vestrel::doctiff::testing {
namespace {

bool SomethingListensOn(int port) {
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<uint16_t>(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    const bool connected = ::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    ::close(fd);
    return connected;
}

double InkShare(const cv::Mat& page) { return cv::countNonZero(page < 128) / double(page.total()); }

std::string Lines(int count) {
    std::string text;
    for (int i = 1; i <= count; ++i) text += "Line " + std::to_string(i) + " of the long letter.\n";
    return text;
}

TEST_F(ConverterTest, ADocAndAJpgGiveTheDocPagesFollowedByOnePage) {
    // Two pages of text: 60 lines do not fit one page.
    const std::string doc = WriteDoc("letter.doc", "Dear customer,\n" + Lines(80));
    const std::string jpg = WriteJpg("photo.jpg", 800, 600);
    Doc2TifConverter converter(Options());
    ASSERT_EQ(converter.Init(), 1);
    const std::string out = Path("out.tif");
    const int pages = converter.Print(doc + ";" + jpg, out);
    ASSERT_EQ(pages, 3);
    ExpectFaxPages(out, 3);
    EXPECT_GT(InkShare(ReadPagePixels(out, 0)), 0.002) << "the letter's text is on page 1";
    EXPECT_GT(InkShare(ReadPagePixels(out, 1)), 0.0005);
    // The last page is the JPG, exactly as the TIFF processor makes it on its own.
    TiffProcessor processor;
    ASSERT_EQ(processor.Run("in=" + jpg + ";out=" + Path("alone.tif") +
                            ";Save=0;Res=204/196;Format=tiff/34;size=1728pix/2444pix"), 0);
    EXPECT_EQ(cv::countNonZero(ReadPagePixels(out, 2) != ReadPagePixels(Path("alone.tif"), 0)), 0);
    // The printer's scratch folders and office profiles are gone.
    for (const auto& entry : std::filesystem::directory_iterator(programDir.path()))
        EXPECT_EQ(entry.path().filename().string().rfind("doc2tif-", 0), std::string::npos) << entry.path();
}

TEST_F(ConverterTest, WebPagesPrintThroughTheServiceTheConverterStarts) {
    ConverterOptions options = Options();
    options.connectHtmlAtInit = true;
    const std::string page = WriteText("news.html",
        "<html><body><h1>Big Heading</h1><p>Some paragraph text for the fax.</p></body></html>");
    {
        Doc2TifConverter converter(options);
        ASSERT_EQ(converter.Init(), 1);
        EXPECT_TRUE(SomethingListensOn(options.html.port));
        EXPECT_EQ(converter.Print(page, Path("out.tif")), 1);
        ExpectFaxPages(Path("out.tif"), 1);
        EXPECT_GT(InkShare(ReadPagePixels(Path("out.tif"), 0)), 0.001);
        EXPECT_EQ(converter.Close(), 1);
    }
    EXPECT_FALSE(SomethingListensOn(options.html.port)) << "close stops the service it started";
}

TEST_F(ConverterTest, TwoProcessesConvertingAtOnceEachGetTheirOwnPages) {
    const std::string txt = WriteText("short.txt", "Only one page here.\n");
    const std::string jpg = WriteJpg("photo.jpg", 640, 480);
    const std::string outA = Path("a.tif"), outB = Path("b.tif");
    auto convertInChild = [&](const std::string& sources, const std::string& out) {
        const pid_t pid = ::fork();
        if (pid == 0) {
            Doc2TifConverter converter(Options());
            const int pages = converter.Init() == 1 ? converter.Print(sources, out) : -1;
            ::_exit(pages < 0 ? 99 : pages);
        }
        return pid;
    };
    const pid_t a = convertInChild(txt + ";" + jpg + ";" + jpg, outA);
    const pid_t b = convertInChild(jpg + ";" + txt, outB);
    int statusA = 0, statusB = 0;
    ::waitpid(a, &statusA, 0);
    ::waitpid(b, &statusB, 0);
    ASSERT_TRUE(WIFEXITED(statusA) && WIFEXITED(statusB));
    EXPECT_EQ(WEXITSTATUS(statusA), 3);
    EXPECT_EQ(WEXITSTATUS(statusB), 2);
    ExpectFaxPages(outA, 3);
    ExpectFaxPages(outB, 2);
    const cv::Mat text = ReadPagePixels(outA, 0), picture = ReadPagePixels(outA, 1);
    EXPECT_GT(cv::countNonZero(text != picture), 1000) << "page 1 is the text, not the picture";
    EXPECT_EQ(cv::countNonZero(ReadPagePixels(outA, 2) != picture), 0);
    EXPECT_EQ(cv::countNonZero(ReadPagePixels(outB, 0) != picture), 0);
    EXPECT_EQ(cv::countNonZero(ReadPagePixels(outB, 1) != text), 0);
}

}  // namespace
}  // namespace vestrel::doctiff::testing
