// The text-recognition command from the checks to the opened document, with the scripted
// prompter and a recording opener in a fresh program folder.

#include "OcrFiles.h"
#include "OcrMessages.h"
#include "OcrTestPages.h"
#include "ScriptedPrompter.h"
#include "TempProgramDir.h"
#include "TextRecognition.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QXmlStreamReader>

#include <cstdlib>
#include <fstream>

namespace vestrel::ocr {
namespace {

namespace msg = messages;
using testkit::Letters;

const std::vector<std::string> kLines = {"Quarterly report", "Shipping dock seven"};

class TextRecognitionCommandTest : public testkit::ProgramDirTest {
protected:
    void SetUp() override { testkit::InstallShippedData(programDir.path()); }

    std::optional<RecognitionFiles> run(const CxImage* image, bool live = false)
    {
        TextRecognitionCommand command(prompter, opener, testkit::kTestLanguage);
        const auto request = command.prepare(live, image);
        if (!request) return std::nullopt;
        lastRequest = *request;
        return command.deliver(TextRecognitionCommand::recognise(*request, recogniser));
    }

    std::vector<std::filesystem::path> ocrFiles(const std::string& extension) const
    {
        std::vector<std::filesystem::path> found;
        for (const auto& entry : std::filesystem::directory_iterator(programDir / "OCR"))
            if (entry.path().extension() == extension) found.push_back(entry.path());
        return found;
    }

    testkit::ScriptedPrompter prompter;
    testkit::RecordingOpener opener;
    TextRecogniser recogniser;
    RecognitionRequest lastRequest;
};

TEST_F(TextRecognitionCommandTest, RefusesTheLivePictureAndAPictureThatIsNotThere)
{
    const CxImage picture = testkit::TextPicture(600, 600, kLines);
    EXPECT_FALSE(run(&picture, true));
    ASSERT_EQ(prompter.shown().size(), 1u);
    EXPECT_EQ(prompter.shown()[0].text, msg::kSwitchToStill);
    EXPECT_EQ(prompter.shown()[0].caption, msg::kPromptCaption);

    prompter.clear();
    EXPECT_FALSE(run(nullptr));
    EXPECT_EQ(prompter.texts(), std::vector<std::string>{msg::kNoImage});
    EXPECT_TRUE(ocrFiles(".BMP").empty());
}

TEST_F(TextRecognitionCommandTest, NamesTheLanguageDataThatIsMissing)
{
    const char* before = std::getenv("TESSDATA_PREFIX");
    const std::string saved = before ? before : "";
    setenv("TESSDATA_PREFIX", programDir.path().c_str(), 1);  // holds no language data
    const CxImage picture = testkit::TextPicture(600, 600, kLines);
    EXPECT_FALSE(run(&picture));
    before ? setenv("TESSDATA_PREFIX", saved.c_str(), 1) : unsetenv("TESSDATA_PREFIX");
    EXPECT_EQ(prompter.texts(),
              std::vector<std::string>{std::string(msg::kMissingComponent) + "eng (tesseract-ocr-eng)"});

    EXPECT_EQ(MissingLanguages("chi_sim+eng"), std::vector<std::string>{});
    EXPECT_EQ(MissingLanguages("eng+xx_none"), std::vector<std::string>{"xx_none"});
    EXPECT_EQ(MissingLanguages("../eng"), std::vector<std::string>{"../eng"});
    EXPECT_EQ(MissingLanguages("eng++"), std::vector<std::string>{"eng++"});
    EXPECT_EQ(DescribeMissing({"chi_sim", "x/y"}), "chi_sim (tesseract-ocr-chi-sim)、\"x/y\"");
}

TEST_F(TextRecognitionCommandTest, ASmallSelectionIsReadOnTheCanvasAndLosesNothing)
{
    CxImage picture = testkit::TextPicture(1000, 700, {}, 0, 0);
    picture.DrawString(320, 230, "Invoice 4711", MakeRgbQuad(0, 0, 0), "Liberation Sans", 30);
    picture.DrawString(20, 20, "Outside words", MakeRgbQuad(0, 0, 0), "Liberation Sans", 30);
    picture.SelectionAddRect(PixelRect{300, 200, 600, 400});  // 300 x 200

    const auto files = run(&picture);
    ASSERT_TRUE(files) << ::testing::PrintToString(prompter.texts());
    EXPECT_TRUE(prompter.texts().empty());
    EXPECT_TRUE(lastRequest.onCanvas);

    // The grey picture handed to the engine is the canvas with the selection at its corner.
    CxImage bitmap(programDir / "OCR" / "OCR.BMP", CXIMAGE_FORMAT_BMP);
    ASSERT_TRUE(bitmap.IsValid());
    EXPECT_EQ(bitmap.GetWidth(), 600);
    EXPECT_EQ(bitmap.GetHeight(), 600);
    EXPECT_TRUE(bitmap.IsGrayScale());
    EXPECT_TRUE(std::filesystem::exists(programDir / "OCR" / "OCR.TIF"));

    // The words of the selection, whole (nothing cut from the end), and nothing else.
    const std::string text = testkit::TempProgramDir::readFile(files->text);
    EXPECT_EQ(Letters(text), "invoice4711");
    EXPECT_EQ(files->text.parent_path(), programDir / "OCR");
    EXPECT_EQ(files->text.stem().string(), files->document.stem().string());
    EXPECT_EQ(opener.opened, std::vector<std::filesystem::path>{files->document});
}

TEST_F(TextRecognitionCommandTest, AFullCameraPictureIsReadWhole)
{
    CxImage picture = testkit::TextPicture(2592, 1944, {"Delivery note", "Pallet count twelve"},
                                           200, 300, 60);
    const auto files = run(&picture);
    ASSERT_TRUE(files) << ::testing::PrintToString(prompter.texts());
    EXPECT_FALSE(lastRequest.onCanvas);
    CxImage bitmap(programDir / "OCR" / "OCR.BMP", CXIMAGE_FORMAT_BMP);
    EXPECT_EQ(bitmap.GetWidth(), 2592);
    EXPECT_EQ(bitmap.GetHeight(), 1944);
    EXPECT_EQ(Letters(testkit::TempProgramDir::readFile(files->text)), "deliverynotepalletcounttwelve");
}

TEST_F(TextRecognitionCommandTest, WithoutAWordProcessorTheTextFileOpensAfterTheMessage)
{
    const CxImage picture = testkit::TextPicture(600, 600, kLines);
    opener.documents = false;
    const auto files = run(&picture);
    ASSERT_TRUE(files);
    EXPECT_EQ(prompter.texts(), std::vector<std::string>{msg::kNoWordProcessor});
    EXPECT_EQ(opener.opened, std::vector<std::filesystem::path>{files->text});

    // Nothing opens the text either: the text editor is named. The files stay.
    prompter.clear();
    opener.opened.clear();
    opener.texts = false;
    const auto again = run(&picture);
    ASSERT_TRUE(again);
    EXPECT_EQ(prompter.texts(), (std::vector<std::string>{msg::kNoWordProcessor, msg::kNoTextEditor}));
    EXPECT_TRUE(std::filesystem::exists(again->text));
    // The second run in the same second does not replace the first one's files.
    EXPECT_NE(again->text, files->text);
    EXPECT_EQ(testkit::TempProgramDir::readFile(again->text),
              testkit::TempProgramDir::readFile(files->text));
}

TEST_F(TextRecognitionCommandTest, WithoutTheTemplateTheTextFileOpens)
{
    std::filesystem::remove(programDir / "Doc.fodt");
    // The program folder has none and the test program's folder is no installation.
    const CxImage picture = testkit::TextPicture(600, 600, kLines);
    const auto files = run(&picture);
    ASSERT_TRUE(files);
    EXPECT_TRUE(files->document.empty());
    EXPECT_EQ(prompter.texts(), std::vector<std::string>{msg::kTemplateMissing});
    EXPECT_EQ(opener.opened, std::vector<std::filesystem::path>{files->text});
    EXPECT_TRUE(ocrFiles(".fodt").empty());
}

TEST_F(TextRecognitionCommandTest, FileFailuresEndTheCommandWithTheirMessages)
{
    const CxImage picture = testkit::TextPicture(600, 600, kLines);
    TextRecognitionCommand command(prompter, opener, testkit::kTestLanguage);

    // No OCR folder to write OCR.BMP into.
    std::filesystem::remove_all(programDir / "OCR");
    EXPECT_FALSE(command.prepare(false, &picture));
    EXPECT_EQ(prompter.texts(), std::vector<std::string>{msg::kFileAccessFailed});
    std::filesystem::create_directory(programDir / "OCR");

    // OCR.TIF gone before the engine gets to it.
    prompter.clear();
    auto request = command.prepare(false, &picture);
    ASSERT_TRUE(request);
    std::filesystem::remove(request->tiff);
    EXPECT_FALSE(command.deliver(TextRecognitionCommand::recognise(*request, recogniser)));
    EXPECT_EQ(prompter.texts(), std::vector<std::string>{msg::kRecognitionFileMissing});

    // A file the engine cannot read is a recognition failure; no text file is left.
    prompter.clear();
    request = command.prepare(false, &picture);
    ASSERT_TRUE(request);
    std::ofstream(request->tiff, std::ios::trunc) << "not a picture";
    EXPECT_FALSE(command.deliver(TextRecognitionCommand::recognise(*request, recogniser)));
    EXPECT_EQ(prompter.texts(), std::vector<std::string>{msg::kRecognitionFailed});
    EXPECT_TRUE(ocrFiles(".txt").empty());
    EXPECT_TRUE(opener.opened.empty());
}

TEST_F(TextRecognitionCommandTest, TheDocumentIsValidOdfWithTheTextAtTheBookmark)
{
    const CxImage picture = testkit::TextPicture(600, 600, kLines);
    const auto files = run(&picture);
    ASSERT_TRUE(files);
    QFile file(QString::fromStdString(files->document.string()));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    QXmlStreamReader xml(&file);
    std::vector<std::string> paragraphs;
    bool afterBookmark = false;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement() && xml.name() == u"bookmark" &&
            xml.attributes().value(QStringLiteral("text:name")) == QStringLiteral("Text"))
            afterBookmark = true;
        if (afterBookmark && xml.isStartElement() && xml.name() == u"p")
            paragraphs.push_back(xml.readElementText(QXmlStreamReader::IncludeChildElements).toStdString());
        else if (afterBookmark && xml.isCharacters() && !xml.isWhitespace() && paragraphs.empty())
            paragraphs.push_back(xml.text().toString().toStdString());
    }
    ASSERT_FALSE(xml.hasError()) << xml.errorString().toStdString();
    ASSERT_EQ(paragraphs.size(), 2u);
    EXPECT_EQ(Letters(paragraphs[0]), "quarterlyreport");
    EXPECT_EQ(Letters(paragraphs[1]), "shippingdockseven");
}

}  // namespace
}  // namespace vestrel::ocr
