// Printing from the main window: the print and page-setup commands with their dialogs
// answered by the test, 1:1 printing set by the size entries and the position commands and
// shown in the information pane, and the preview that holds the window open.

#include "AppTestSupport.h"

#include "CHelperView.h"
#include "CMyPreviewView.h"
#include "CQuorvanDoc.h"
#include "CommandIds.h"
#include "PdfTestTools.h"
#include "PrintCommands.h"

#include <QAction>
#include <QPointer>
#include <QPrinter>

#include <gtest/gtest.h>

using namespace vestrel;
using namespace vestrel::cmd;
using testkit::MainFrameTest;
using testkit::WaitFor;
namespace fs = std::filesystem;

namespace {

// x-ppi of the images of the PDF, one per image.
std::vector<int> ImageXPpi(const fs::path& pdf)
{
    std::vector<int> ppi;
    for (const testkit::ListedImage& image : testkit::listImages(pdf)) ppi.push_back(image.xPpi);
    return ppi;
}

class PrintingFrameTest : public MainFrameTest {
protected:
    // The window on the still view of a 600 x 300 JPEG stored at 150 dpi (4 x 2 inches).
    CMainFrame& makeWithPicture()
    {
        CMainFrame& f = make(false);
        const fs::path picture = testkit::writeJpeg(programDir.path() / "Photo" / "page.jpg", 600, 300, 150);
        f.openFile(picture.string());
        EXPECT_NE(f.document().Image(), nullptr);
        EXPECT_FALSE(f.scanState().liveMode);
        f.updateCommandUi();
        return f;
    }

    // The print dialog answers OK and sends the page to `pdf`.
    void answerPrintDialogWithPdf(CMainFrame& f)
    {
        f.printCommands()->setPrintDialog([this](QPrinter& printer, QWidget*) {
            ++printDialogs;
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(QString::fromStdString(pdf.string()));
            printer.setResolution(300);
            return true;
        });
    }

    fs::path pdf = programDir.path() / "printed.pdf";
    int printDialogs = 0;
};

TEST_F(PrintingFrameTest, SizeEntriesAndTheStoredSizeSetOneToOnePrinting)
{
    programDir.writeFile("config.ini", "[Custom]\nsize=4\nh=870\nw=1220\n");
    CMainFrame& f = make(false);
    const PrintCommands& print = *f.printCommands();
    EXPECT_EQ(print.print11().m_bPrint11, 1) << "A6 at start-up: the bottom position";
    EXPECT_EQ(print.print11().m_nPrintPos, print::kArmBottom);

    f.OnCommand(ID_SIZE_A4);
    EXPECT_EQ(print.print11().m_bPrint11, 1);
    EXPECT_EQ(print.print11().m_nPrintPos, print::kArmTop);
    f.OnCommand(ID_SIZE_A5);
    EXPECT_EQ(print.print11().m_nPrintPos, print::kArmMiddle);
    f.OnCommand(ID_SIZE_ALL);
    EXPECT_EQ(print.print11().m_bPrint11, 0);
    f.OnCommand(ID_SIZE_ID_CARD);
    EXPECT_EQ(print.print11().m_bPrint11, 1);
    EXPECT_EQ(print.print11().m_nPrintPos, print::kArmBottom);
    f.OnCommand(ID_SIZE_PRESET);
    EXPECT_EQ(print.print11().m_bPrint11, 0);
}

TEST_F(PrintingFrameTest, PositionCommandsToggleAndTheInformationPaneSaysSo)
{
    CMainFrame& f = makeWithPicture();
    EXPECT_TRUE(f.helperView()->lineText(1).endsWith(QStringLiteral("打印机未设置打印 1:1 状态")));

    f.OnCommand(ID_PRINT11_TOP);
    EXPECT_TRUE(f.action(ID_PRINT11_TOP)->isChecked());
    EXPECT_TRUE(f.helperView()->lineText(1).endsWith(QStringLiteral("打印机处于上端打印 1:1 状态")));
    f.OnCommand(ID_PRINT11_MIDDLE);
    EXPECT_FALSE(f.action(ID_PRINT11_TOP)->isChecked());
    EXPECT_TRUE(f.action(ID_PRINT11_MIDDLE)->isChecked());
    EXPECT_TRUE(f.helperView()->lineText(1).endsWith(QStringLiteral("打印机处于中间打印 1:1 状态")));
    f.OnCommand(ID_PRINT11_MIDDLE);
    EXPECT_FALSE(f.action(ID_PRINT11_MIDDLE)->isChecked());
    EXPECT_TRUE(f.helperView()->lineText(1).endsWith(QStringLiteral("打印机未设置打印 1:1 状态")));

    // On the live picture the three wait, and change nothing.
    f.OnCommand(ID_LIVE_STILL);
    ASSERT_TRUE(f.scanState().liveMode);
    EXPECT_FALSE(f.action(ID_PRINT11_BOTTOM)->isEnabled());
    f.OnCommand(ID_PRINT11_BOTTOM);
    EXPECT_EQ(f.printCommands()->print11().m_bPrint11, 0);
}

TEST_F(PrintingFrameTest, PrintSendsOnePageAtTheOneToOneSizeAndLeavesThePictureAlone)
{
    CMainFrame& f = makeWithPicture();
    answerPrintDialogWithPdf(f);
    const cv::Mat before = f.document().Image()->Pixels().clone();
    f.OnCommand(ID_PRINT11_MIDDLE);

    // The page setup chooses landscape; the print then uses it.
    int setups = 0;
    f.printCommands()->setPageSetupDialog([&setups](QPrinter& printer, QWidget*) {
        ++setups;
        printer.setPageOrientation(QPageLayout::Landscape);
        return true;
    });
    f.OnCommand(ID_FILE_PRINT_SETUP);
    EXPECT_EQ(setups, 1);

    f.OnCommand(ID_FILE_PRINT);
    EXPECT_EQ(printDialogs, 1);
    ASSERT_TRUE(fs::exists(pdf));
    EXPECT_EQ(testkit::pageCount(pdf), 1);
    const auto sizes = testkit::pageSizes(pdf);
    ASSERT_EQ(sizes.size(), 1u);
    EXPECT_GT(sizes[0].first, sizes[0].second) << "landscape";
    // 0.59 of 4 inches: 600 pixels over 2.36 inches.
    EXPECT_EQ(ImageXPpi(pdf), std::vector<int>{254});

    const CxImage* after = f.document().Image();
    ASSERT_NE(after, nullptr);
    EXPECT_EQ(cv::norm(before, after->Pixels(), cv::NORM_INF), 0.0);
    EXPECT_EQ(after->GetXDPI(), 150.0);
    EXPECT_EQ(f.document().History().Position(), 0) << "printing is no edit";
}

TEST_F(PrintingFrameTest, NothingIsPrintedWithoutAPictureOrWhenTheDialogIsCancelled)
{
    CMainFrame& f = make(false);
    answerPrintDialogWithPdf(f);
    f.OnCommand(ID_LIVE_STILL);
    f.updateCommandUi();
    EXPECT_FALSE(f.action(ID_FILE_PRINT)->isEnabled());
    f.printCommands()->OnFilePrint();  // even when asked directly
    EXPECT_EQ(printDialogs, 0);
    EXPECT_FALSE(fs::exists(pdf));
    frame.reset();

    CMainFrame& g = makeWithPicture();
    g.printCommands()->setPrintDialog([this](QPrinter& printer, QWidget*) {
        printer.setOutputFileName(QString::fromStdString(pdf.string()));
        return false;  // Cancel
    });
    g.OnCommand(ID_FILE_PRINT);
    EXPECT_FALSE(fs::exists(pdf));
}

TEST_F(PrintingFrameTest, WhileThePreviewIsOpenTheWindowNeitherClosesNorSwitchesItsPicture)
{
    CMainFrame& f = makeWithPicture();
    f.OnCommand(ID_PRINT_POSITION);
    QPointer<print::CMyPreviewView> preview = f.printCommands()->preview();
    ASSERT_FALSE(preview.isNull());
    EXPECT_TRUE(preview->isVisible());
    EXPECT_TRUE(f.State().printPreview);
    EXPECT_FALSE(f.action(ID_LIVE_STILL)->isEnabled());

    f.OnCommand(ID_LIVE_STILL);
    EXPECT_FALSE(f.scanState().liveMode);
    EXPECT_FALSE(f.close()) << "the close box";
    f.OnCommand(ID_TRAY_EXIT);
    f.OnCommand(ID_APP_EXIT);
    f.wake();  // a second start
    QCoreApplication::processEvents();
    EXPECT_TRUE(f.isVisible());
    EXPECT_FALSE(preview.isNull());

    // A second 打印位置调整 brings the same preview forward.
    f.OnCommand(ID_PRINT_POSITION);
    EXPECT_EQ(f.printCommands()->preview(), preview.data());

    preview->closeAction()->trigger();
    ASSERT_TRUE(WaitFor([&] { return preview.isNull(); }));
    EXPECT_FALSE(f.State().printPreview);
    EXPECT_TRUE(f.action(ID_LIVE_STILL)->isEnabled());
    EXPECT_TRUE(f.close());
}

TEST_F(PrintingFrameTest, TheWindowCanBeDestroyedWithThePreviewStillOpen)
{
    // The program's end does not go through the close box: the preview goes with the
    // window, without drawing from or reporting to the half-destroyed window.
    CMainFrame& f = makeWithPicture();
    f.OnCommand(ID_PRINT_POSITION);
    QPointer<print::CMyPreviewView> preview = f.printCommands()->preview();
    ASSERT_FALSE(preview.isNull());
    frame.reset();
    EXPECT_TRUE(preview.isNull());
}

TEST_F(PrintingFrameTest, ThePreviewsPrintButtonClosesItAndPrintsWithItsAlignment)
{
    CMainFrame& f = makeWithPicture();
    answerPrintDialogWithPdf(f);
    f.OnCommand(ID_PRINT_POSITION);
    QPointer<print::CMyPreviewView> preview = f.printCommands()->preview();
    ASSERT_FALSE(preview.isNull());
    preview->horizontalAction(print::HorizontalAlignment::Left)->trigger();
    preview->printAction()->trigger();
    ASSERT_TRUE(WaitFor([&] { return preview.isNull() && fs::exists(pdf); }));
    EXPECT_EQ(printDialogs, 1);
    EXPECT_EQ(ImageXPpi(pdf), std::vector<int>{150});
    // The alignment stays for the rest of the run.
    EXPECT_EQ(f.printCommands()->alignment().horizontal, print::HorizontalAlignment::Left);
    EXPECT_TRUE(f.close());
}

}  // namespace
