// "文字识别" from the main window: both command ids, the refusals, and a run whose engine
// works on a worker thread while the window goes on, ending in the text file and document.

#include "AppTestSupport.h"

#include "CQuorvanDoc.h"
#include "CommandIds.h"
#include "MenuLayout.h"
#include "OcrMessages.h"
#include "RecognitionRun.h"

#include <QProgressDialog>
#include <QPushButton>

#include <gtest/gtest.h>

#include <algorithm>

using namespace vestrel;
using namespace vestrel::cmd;
using testkit::MainFrameTest;
using testkit::WaitFor;
namespace fs = std::filesystem;

namespace {

class OpenerRecord final : public ocr::DesktopOpener {
public:
    explicit OpenerRecord(std::vector<fs::path>& opened) : opened_(opened) {}
    bool open(const fs::path& file) override
    {
        opened_.push_back(file);
        return true;
    }

private:
    std::vector<fs::path>& opened_;
};

bool MenuHolds(const std::vector<MenuNode>& nodes, int id)
{
    return std::any_of(nodes.begin(), nodes.end(), [id](const MenuNode& n) {
        return n.id == id || MenuHolds(n.items, id);
    });
}

TEST_F(MainFrameTest, TextRecognitionRunsOffTheUiThreadAndOpensItsDocument)
{
    EXPECT_TRUE(MenuHolds(MainMenu(), ID_OCR));
    EXPECT_TRUE(MenuHolds(StillContextMenu(), ID_OCR_2));
    EXPECT_FALSE(MenuHolds(StillContextMenu(), ID_OCR));

    CMainFrame& f = make(false);
    // The window's run, reading English only and opening nothing for real.
    std::vector<fs::path> opened;
    auto* run = new ocr::RecognitionRun(prompter, &f, std::make_unique<OpenerRecord>(opened), "eng");
    f.updateCommandUi();
    EXPECT_TRUE(f.action(ID_OCR)->isEnabled());
    f.OnCommand(ID_OCR);
    ASSERT_EQ(prompter.shown().size(), 1u);
    EXPECT_EQ(prompter.shown()[0].text, ocr::messages::kSwitchToStill);
    EXPECT_EQ(prompter.shown()[0].caption, ocr::messages::kPromptCaption);

    f.OnCommand(ID_LIVE_STILL);
    prompter.clear();
    f.OnCommand(ID_OCR_2);
    EXPECT_EQ(prompter.texts(), std::vector<std::string>{ocr::messages::kNoImage});

    CxImage page(700, 500, 24);
    page.Clear(255);
    page.DrawString(40, 200, "Customs declaration", MakeRgbQuad(0, 0, 0), "Liberation Sans", 40);
    const fs::path file = programDir / "Photo" / "page.png";
    ASSERT_TRUE(page.Save(file, CXIMAGE_FORMAT_PNG));
    f.openFile(file.string());
    ASSERT_NE(f.document().Image(), nullptr);
    fs::copy_file(fs::path(VESTREL_SOURCE_DIR) / "res/ocr/Doc.fodt", programDir / "Doc.fodt");

    prompter.clear();
    f.OnCommand(ID_OCR);
    ASSERT_TRUE(run->isRunning());
    EXPECT_TRUE(run->progressWindow()->isVisible());
    EXPECT_FALSE(run->start(false, f.document().Image()));  // one run at a time
    ASSERT_TRUE(WaitFor([&] { return !run->isRunning(); }, 60000));
    EXPECT_FALSE(run->progressWindow()->isVisible());
    ASSERT_TRUE(run->files()) << ::testing::PrintToString(prompter.texts());
    EXPECT_TRUE(prompter.texts().empty());
    EXPECT_EQ(opened, std::vector<fs::path>{run->files()->document});
    EXPECT_NE(testkit::TempProgramDir::readFile(run->files()->text).find("Customs declaration"),
              std::string::npos);

    // Cancelled from the progress window: no result, no message, the files of the first run
    // stay as they were.
    opened.clear();
    f.OnCommand(ID_OCR);
    ASSERT_TRUE(run->isRunning());
    run->progressWindow()->findChild<QPushButton*>()->click();  // "取消"
    ASSERT_TRUE(WaitFor([&] { return !run->isRunning(); }, 60000));
    EXPECT_FALSE(run->files());
    EXPECT_TRUE(prompter.texts().empty());
    EXPECT_TRUE(opened.empty());
}

}  // namespace
