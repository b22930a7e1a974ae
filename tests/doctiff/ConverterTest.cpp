// The converter on sources that need no office program, and its failure paths.

#include "ConverterFixture.h"
#include "FaxTiffCheck.h"
#include "ScratchFiles.h"
#include "SourceType.h"
#include "UserAlert.h"

#include <signal.h>

#include <chrono>
#include <fstream>
#include <opencv2/imgproc.hpp>

namespace vestrel::doctiff::testing {
namespace {

using Clock = std::chrono::steady_clock;

// Collects what the converter reports to the user.
struct AlertLog {
    std::vector<std::string> texts;
    AlertLog() { previous = fax::SetUserAlertHandler(&AlertLog::Take, this); }
    ~AlertLog() { fax::SetUserAlertHandler(nullptr, nullptr); }
    static void Take(const std::string& text, void* self) { static_cast<AlertLog*>(self)->texts.push_back(text); }
    bool Has(const std::string& part) const {
        for (const auto& t : texts)
            if (t.find(part) != std::string::npos) return true;
        return false;
    }
    fax::UserAlertHandler previous;
};

TEST(SourceList, SplitsClassifiesAndKeepsTheOldRules) {
    EXPECT_EQ(SplitSourceList(" a.doc ; b.jpg;"), (std::vector<std::string>{"a.doc", "b.jpg"}));
    EXPECT_EQ(SplitSourceList("a;;b"), (std::vector<std::string>{"a", "", "b"}));
    EXPECT_EQ(SplitSourceList("1;2;3;4;5;6;7;8;9;10;11;12").size(), 10u);
    EXPECT_EQ(ClassifySource("/x/report.DOCX"), SourceKind::WordDocument);
    EXPECT_EQ(ClassifySource("/x/page.html"), SourceKind::WebPage);
    EXPECT_EQ(ClassifySource("/x/scan.tiff"), SourceKind::Tiff);
    EXPECT_EQ(ClassifySource("/x/a.pdf.jpg"), SourceKind::Pdf);  // first substring wins
    EXPECT_EQ(ClassifySource(".jpg"), SourceKind::Unknown);      // not after the first character
    EXPECT_EQ(ClassifySource("/x/photo.png"), SourceKind::Unknown);
}

TEST_F(ConverterTest, PicturesAndLandscapeTiffsBecomeUprightFaxPagesAppendedToTheOutput) {
    Doc2TifConverter converter(Options());
    ASSERT_EQ(converter.Init(), 1);
    const std::string tif = WriteLandscapeTiff("wide.tif");
    const std::string before = FileBytes(tif);
    const std::string out = Path("out.tif");

    EXPECT_EQ(converter.Print(tif, out), 1);
    EXPECT_EQ(FileBytes(tif), before) << "the caller's source is never written";
    // Turned clockwise: the black block of the top-left corner is now top right, and the
    // 6 in x 3 in page fills the fax page's width.
    const cv::Mat page = ReadPagePixels(out, 0);
    const cv::Rect ink = cv::boundingRect(page < 128);
    EXPECT_GT(ink.x, 1728 / 2);
    EXPECT_LT(ink.y, 2444 / 4);

    // Appended: one more call adds two pages behind the first.
    const std::string jpg = WriteJpg("photo.jpg", 640, 480);
    EXPECT_EQ(converter.Print(jpg + ";" + jpg, out), 3);
    ExpectFaxPages(out, 3);
    EXPECT_EQ(cv::countNonZero(ReadPagePixels(out, 0) != page), 0) << "earlier pages are kept";
}

TEST_F(ConverterTest, RefusesWhatItCannotConvertAtOnce) {
    Doc2TifConverter converter(Options());
    ASSERT_EQ(converter.Init(), 1);
    const std::string jpg = WriteJpg("a.jpg", 320, 240);
    const std::string out = Path("out.tif");

    const auto start = Clock::now();
    EXPECT_EQ(converter.Print(WriteText("a.pdf", "%PDF-1.4"), out), 0);
    EXPECT_EQ(converter.Print(Path("a.png"), out), 0);
    EXPECT_LT(Clock::now() - start, std::chrono::seconds(1));
    EXPECT_FALSE(std::filesystem::exists(out));

    // Eleven sources: the eleventh (which does not exist and would fail) is never tried.
    std::string eleven;
    for (int i = 0; i < 10; ++i) eleven += jpg + ";";
    eleven += Path("missing.jpg");
    EXPECT_EQ(converter.Print(eleven, out), 10);
    ExpectFaxPages(out, 10);

    // A damaged GIF whose error code has no text in the GIF library is refused with a
    // message of our own (it once ended the calling process).
    EXPECT_EQ(converter.Print(WriteText("damaged.gif", std::string("GIFMM\n@M", 8)), out), 0);
    EXPECT_EQ(ReadPageTags(out).size(), 10u);

    // A failing source ends the call with 0; the pages before it stay.
    EXPECT_EQ(converter.Print(jpg + ";" + Path("missing.jpg"), out), 0);
    EXPECT_EQ(ReadPageTags(out).size(), 11u);

    // An output path that would break the command strings is refused.
    AlertLog alerts;
    EXPECT_EQ(converter.Print(jpg, Path("a;b.tif")), 0);
    EXPECT_TRUE(alerts.Has("cannot be used"));

    // A web-page path that does not fit the 240-byte request is refused before sending.
    const std::string longPage = Path(std::string(240, 'p') + ".htm");
    EXPECT_EQ(converter.Print(longPage, out), 0);
    EXPECT_TRUE(alerts.Has("does not fit the 240-byte request"));
}

TEST_F(ConverterTest, APrinterThatNeverSignalsFailsAfterTheWaitAndIsEnded) {
    ConverterOptions options = Options();
    const std::string pidFile = Path("printer.pid");
    options.printerProgram = WriteScript("silent-printer", "echo $$ > " + pidFile + "\nexec sleep 60");
    options.semaphoreRounds = 3;
    options.semaphoreRound = std::chrono::milliseconds(200);
    Doc2TifConverter converter(options);
    ASSERT_EQ(converter.Init(), 1);
    AlertLog alerts;
    const auto start = Clock::now();
    EXPECT_EQ(converter.Print(WriteText("a.txt", "hello"), Path("out.tif")), 0);
    const auto waited = Clock::now() - start;
    EXPECT_GE(waited, std::chrono::milliseconds(600));
    EXPECT_LT(waited, std::chrono::seconds(5));
    EXPECT_TRUE(alerts.Has("did not deliver"));
    EXPECT_NE(FileBytes(scratch::HtmlLog()).find("did not deliver"), std::string::npos)
        << "what used to be a message box is in the converter's log as well";
    std::ifstream in(pidFile);
    pid_t pid = 0;
    ASSERT_TRUE(in >> pid);
    EXPECT_NE(::kill(pid, 0), 0) << "the printer we started is gone";

    // A printer that fails is not waited for until the end.
    ConverterOptions failing = Options();
    failing.printerProgram = WriteScript("broken-printer", "exit 3");
    Doc2TifConverter quick(failing);
    ASSERT_EQ(quick.Init(), 1);
    const auto again = Clock::now();
    EXPECT_EQ(quick.Print(Path("a.txt"), Path("out.tif")), 0);
    EXPECT_LT(Clock::now() - again, std::chrono::seconds(5));
    EXPECT_TRUE(alerts.Has("exit code 3"));
}

TEST_F(ConverterTest, TheHtmlRequestGivesUpAfterABoundedNumberOfAttempts) {
    ConverterOptions options = Options();
    options.html.serviceProgram.clear();  // nothing listens and nothing is started
    options.html.attempts = 3;
    Doc2TifConverter converter(options);
    ASSERT_EQ(converter.Init(), 1);
    AlertLog alerts;
    const auto start = Clock::now();
    EXPECT_EQ(converter.Print(WriteText("page.htm", "<h1>x</h1>"), Path("out.tif")), 0);
    EXPECT_LT(Clock::now() - start, std::chrono::seconds(5));
    EXPECT_TRUE(alerts.Has("after 3 attempts"));
}

}  // namespace
}  // namespace vestrel::doctiff::testing
