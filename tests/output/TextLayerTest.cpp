// The invisible text layer: what a PDF reader extracts is what we wrote, where we placed
// it, in any script and at any angle, and the picture under it is untouched.

#include "PdfConversion.h"
#include "PdfDocument.h"
#include "PdfTestTools.h"
#include "ScriptedPrompter.h"
#include "TempProgramDir.h"

#include <gtest/gtest.h>

#include <regex>

namespace vestrel::pdf {
namespace {

using testkit::runCommand;

struct WordBox {
    std::string text;
    double xMin, yMin, xMax, yMax;  // points, top-down as pdftotext gives them
};

std::vector<WordBox> Words(const std::filesystem::path& pdf)
{
    const auto out = runCommand("pdftotext -bbox '" + pdf.string() + "' - 2>&1");
    std::vector<WordBox> words;
    static const std::regex word(
        R"re(<word xMin="([-\d.]+)" yMin="([-\d.]+)" xMax="([-\d.]+)" yMax="([-\d.]+)">([^<]*)</word>)re");
    for (std::sregex_iterator it(out.output.begin(), out.output.end(), word), end; it != end; ++it)
        words.push_back({(*it)[5], std::stod((*it)[1]), std::stod((*it)[2]), std::stod((*it)[3]),
                         std::stod((*it)[4])});
    return words;
}

class TextLayerTest : public testkit::ProgramDirTest {};

TEST_F(TextLayerTest, ReadersFindTheWordsWhereTheyWerePlaced)
{
    // 800 x 400 pixels at 200 dpi: 288 x 144 points, 0.36 points a pixel.
    const auto jpeg = testkit::writeJpeg(programDir / "page.jpg", 800, 400, 200);
    TextLayer layer{800, 400, {}};
    layer.words.push_back({"Invoice", 100, 100, 200, 40, 0});
    layer.words.push_back({"发票号码", 100, 200, 240, 60, 0});
    layer.words.push_back({"a&b<c>(d)", 400, 300, 300, 30, 0});
    layer.words.push_back({"", 10, 10, 50, 20, 0});       // nothing to show
    layer.words.push_back({"flat", 10, 10, 50, 0, 0});    // no height
    const auto pdf = programDir / "out.pdf";
    {
        PdfDocument document;
        ASSERT_EQ(document.begin_document(pdf), 1);
        const int image = document.load_image("auto", jpeg);
        ASSERT_GE(image, 0);
        ASSERT_TRUE(document.begin_page_ext(0, 0));
        EXPECT_FALSE(document.fit_text_layer(image, layer));  // not placed yet
        ASSERT_TRUE(document.fit_image(image, 0, 0, "adjustpage"));
        ASSERT_TRUE(document.fit_text_layer(image, layer));
        EXPECT_FALSE(document.fit_text_layer(image, TextLayer{}));  // no picture size
        ASSERT_TRUE(document.close_image(image));
        ASSERT_TRUE(document.end_document());
    }
    std::string report;
    EXPECT_TRUE(testkit::qpdfAccepts(pdf, &report)) << report;
    EXPECT_EQ(testkit::readBytes(pdf).find(testkit::readBytes(jpeg)) != std::string::npos, true);

    const auto words = Words(pdf);
    ASSERT_EQ(words.size(), 3u);
    EXPECT_EQ(words[0].text, "Invoice");
    EXPECT_EQ(words[1].text, "发票号码");
    EXPECT_EQ(words[2].text, "a&amp;b&lt;c&gt;(d)");  // as pdftotext escapes its XML
    // "Invoice": baseline from (100, 100) px, 200 px long, 40 px high.
    EXPECT_NEAR(words[0].xMin, 36, 1.5);
    EXPECT_NEAR(words[0].xMax, 36 + 72, 1.5);
    EXPECT_NEAR(words[0].yMax, 36 + 0.2 * 14.4, 2.5);  // the descent hangs below the baseline
    EXPECT_NEAR(words[0].yMax - words[0].yMin, 14.4, 2.5);
    EXPECT_NEAR(words[1].xMax - words[1].xMin, 240 * 0.36, 1.5);

    // Nothing of it is drawn: the page renders as the picture alone.
    const auto shown = runCommand("pdftotext '" + pdf.string() + "' - 2>&1").output;
    EXPECT_EQ(shown.find("Syntax Error"), std::string::npos) << shown;
}

TEST_F(TextLayerTest, SlightlySlantedWordsAreLaidLevelWhereTheyStand)
{
    const auto jpeg = testkit::writeJpeg(programDir / "page.jpg", 600, 600, 72);
    TextLayer layer{600, 600, {{"Rising", 100, 500, 300, 30, 3}}};
    const auto pdf = programDir / "turned.pdf";
    PdfDocument document;
    ASSERT_EQ(document.begin_document(pdf), 1);
    const int image = document.load_image("auto", jpeg);
    ASSERT_TRUE(document.begin_page_ext(0, 0));
    ASSERT_TRUE(document.fit_image(image, 0, 0, "adjustpage"));
    ASSERT_TRUE(document.fit_text_layer(image, layer));
    ASSERT_TRUE(document.end_document());
    EXPECT_NE(runCommand("pdftotext '" + pdf.string() + "' -").output.find("Rising"), std::string::npos);
    // A word of a page photographed 3 degrees askew: 300 px from (100, 500) climb 16 px.
    // It is one word to the reader, level, centred where the slanted word is.
    const auto words = Words(pdf);
    ASSERT_EQ(words.size(), 1u);
    EXPECT_NEAR(words[0].xMin, 100, 3);
    EXPECT_NEAR(words[0].xMax, 400, 3);
    const double middle = 500 - 8 - 9;  // half the climb, and the middle of the letters
    EXPECT_NEAR((words[0].yMin + words[0].yMax) / 2, middle, 5);
}

TEST_F(TextLayerTest, ConversionsAskForTheWordsOfEveryImage)
{
    const auto a = testkit::writeJpeg(programDir / "a.jpg", 400, 300);
    const auto b = testkit::writeJpeg(programDir / "b.jpg", 400, 300);
    std::vector<std::string> asked;
    output::PageTextSource text = [&](const std::string& image) -> std::optional<TextLayer> {
        asked.push_back(image);
        if (image == b.string()) return std::nullopt;  // unreadable: the page has the picture only
        return TextLayer{400, 300, {{"alpha", 10, 100, 100, 30, 0}}};
    };
    testkit::ScriptedPrompter prompter;
    const auto merged = output::mergeToPdf({a.string(), b.string()}, programDir.path(), "both",
                                           prompter, {}, text);
    ASSERT_EQ(merged.written.size(), 1u);
    EXPECT_EQ(merged.pages, 2);
    EXPECT_EQ(asked, (std::vector<std::string>{a.string(), b.string()}));
    const auto words = Words(merged.written[0]);
    ASSERT_EQ(words.size(), 1u);
    EXPECT_EQ(words[0].text, "alpha");

    asked.clear();
    const auto separate = output::separatePdfs({a.string(), b.string()}, programDir.path(),
                                               std::nullopt, prompter, {}, text);
    ASSERT_EQ(separate.written.size(), 2u);
    EXPECT_EQ(Words(separate.written[0]).size(), 1u);
    EXPECT_EQ(Words(separate.written[1]).size(), 0u);
}

}  // namespace
}  // namespace vestrel::pdf
