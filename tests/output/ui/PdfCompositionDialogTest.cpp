// The composition dialog offscreen: the list commands and their messages, the save
// folder, and conversions run through the dialog's worker thread, including a cancel
// while the worker is held in the middle of a job.

#include "IniFile.h"
#include "PdfCompositionDialog.h"
#include "PdfMessages.h"
#include "StorageFolder.h"
#include "PdfTestTools.h"
#include "ProgramDir.h"
#include "TempProgramDir.h"
#include "UiTestSupport.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTableWidget>

#include <gtest/gtest.h>

#include <atomic>
#include <csignal>
#include <deque>
#include <fstream>
#include <thread>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vestrel::output {
namespace {

using Paths = std::vector<std::string>;
using Dialog = PdfCompositionDialog;

// A named pipe in the image list holds the worker on it: opening a pipe for reading waits
// for a writer. release() serves every open with a few bytes that are no image, until the
// gate goes away.
class PipeGate {
public:
    explicit PipeGate(std::filesystem::path path) : path_(std::move(path))
    {
        // A reader may look at the pipe and go before the feeder writes.
        std::signal(SIGPIPE, SIG_IGN);
        EXPECT_EQ(::mkfifo(path_.c_str(), 0600), 0);
    }
    ~PipeGate()
    {
        release();
        stop_ = true;
        // Our own reader lets a feeder blocked in open() through to see stop_.
        const int reader = ::open(path_.c_str(), O_RDONLY | O_NONBLOCK);
        feeder_.join();
        if (reader >= 0)
            ::close(reader);
    }
    // Idempotent. A test that stops early releases the pipe before the dialog goes, or the
    // dialog would wait for its worker for ever.
    void release()
    {
        if (feeder_.joinable())
            return;
        feeder_ = std::thread([this] {
            while (!stop_) {
                const int fd = ::open(path_.c_str(), O_WRONLY);
                if (fd < 0)
                    return;
                [[maybe_unused]] const auto written = ::write(fd, "not an image", 12);
                ::close(fd);
            }
        });
    }
    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
    std::atomic<bool> stop_{false};
    std::thread feeder_;
};

struct ReleaseOnExit {
    PipeGate& gate;
    ~ReleaseOnExit() { gate.release(); }
};

class PdfCompositionDialogTest : public testkit::ProgramDirTest {
protected:
    void SetUp() override
    {
        testkit::TestApp();
        std::filesystem::create_directory(programDir / "in");
    }

    std::unique_ptr<Dialog> makeDialog()
    {
        auto dialog = std::make_unique<Dialog>(prompter, [this]() -> std::optional<std::string> {
            if (names.empty()) {
                ADD_FAILURE() << "the file-name dialog was not expected";
                return std::nullopt;
            }
            auto name = names.front();
            names.pop_front();
            return name;
        });
        QObject::connect(dialog.get(), &Dialog::conversionFinished, [this] { ++finishedJobs; });
        return dialog;
    }
    std::string file(const std::string& relative) const { return (programDir / relative).string(); }
    std::filesystem::path pdfFolder() const { return programDir / "PDF"; }

    // 640 x 480 at 72 dpi, 480 x 640 PNG, 1000 x 1000 at 144 dpi.
    Paths threeImages() const
    {
        cv::Mat tall(640, 480, CV_8UC3, cv::Scalar(30, 90, 200));
        return {testkit::writeJpeg(file("in/a.jpg"), 640, 480).string(),
                testkit::writePng(file("in/b.c.png"), tall).string(),
                testkit::writeJpeg(file("in/c.jpg"), 1000, 1000, 144).string()};
    }
    void addFiles(Dialog& dialog, const Paths& paths)
    {
        prompter.script.answerFiles(paths);
        dialog.button(Dialog::AddFiles)->click();
    }
    void select(Dialog& dialog, const std::vector<int>& rows)
    {
        dialog.sourceList()->clearSelection();
        for (int row : rows)
            dialog.sourceList()->selectionModel()->select(
                dialog.sourceList()->model()->index(row, 0),
                QItemSelectionModel::Select | QItemSelectionModel::Rows);
    }
    std::vector<int> selectedRows(const Dialog& dialog) const
    {
        std::vector<int> rows;
        for (const auto& index : dialog.sourceList()->selectionModel()->selectedRows())
            rows.push_back(index.row());
        std::sort(rows.begin(), rows.end());
        return rows;
    }
    // Clicks a conversion button and waits for the job to end.
    void convert(Dialog& dialog, Dialog::Control control)
    {
        const int before = finishedJobs;
        dialog.button(control)->click();
        ASSERT_TRUE(dialog.isConverting());
        ASSERT_TRUE(testkit::WaitFor([&] { return finishedJobs > before; }));
    }
    std::string status(const Dialog& dialog) const
    {
        return dialog.statusLabel()->text().toStdString();
    }
    static std::vector<std::string> folderEntries(const std::filesystem::path& folder)
    {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(folder))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

    testkit::UiThreadPrompter prompter;
    std::deque<std::optional<std::string>> names;
    int finishedJobs = 0;
};

TEST_F(PdfCompositionDialogTest, AddsFilesInInsertionOrderAndFolderImagesByExactExtension)
{
    auto dialog = makeDialog();
    EXPECT_EQ(dialog->windowTitle().toStdString(), "Pdf合成");
    addFiles(*dialog, {"/s/Image2.jpg", "/s/Image3.jpg"});
    addFiles(*dialog, {"/s/Image10.jpg"});
    EXPECT_EQ(dialog->sources(), (Paths{"/s/Image2.jpg", "/s/Image3.jpg", "/s/Image10.jpg"}));
    ASSERT_EQ(dialog->sourceList()->rowCount(), 3);
    EXPECT_EQ(dialog->sourceList()->item(2, 0)->text().toStdString(), "/s/Image10.jpg");
    EXPECT_EQ(prompter.script.shown().front().caption, kAddFilesFilter);

    prompter.script.answerFiles(std::nullopt);
    dialog->button(Dialog::AddFiles)->click();
    for (const char* name : {"Image1.jpg", "x.JPG", "y.tiff", "z.txt"})
        programDir.writeFile(std::string("in/") + name, "x");
    prompter.script.answerPath(file("in"));
    dialog->button(Dialog::AddFolder)->click();
    // The program folder's path sorts after "/s/", so the folder's images go last.
    EXPECT_EQ(dialog->sources(), (Paths{"/s/Image2.jpg", "/s/Image3.jpg", "/s/Image10.jpg",
                                        file("in/Image1.jpg"), file("in/y.tiff")}));
    EXPECT_EQ(dialog->sourceList()->rowCount(), 5);
    std::vector<std::string> kinds;
    for (const auto& shown : prompter.script.shown())
        kinds.push_back(shown.kind);
    EXPECT_EQ(kinds, (Paths{"open", "open", "open", "folder"}));  // and not one message
}

TEST_F(PdfCompositionDialogTest, MovesAndRemovalFollowTheSelectionWithTheirMessages)
{
    auto dialog = makeDialog();
    for (const char* name : {"a.jpg", "b.jpg", "c.jpg", "d.jpg"})
        programDir.writeFile(std::string("in/") + name, "x");
    addFiles(*dialog, {file("in/a.jpg"), file("in/b.jpg"), file("in/c.jpg"), file("in/d.jpg")});

    select(*dialog, {1, 3});
    dialog->button(Dialog::MoveUp)->click();
    EXPECT_EQ(dialog->sources(), (Paths{file("in/b.jpg"), file("in/a.jpg"), file("in/d.jpg"),
                                        file("in/c.jpg")}));
    EXPECT_EQ(selectedRows(*dialog), (std::vector<int>{0, 2}));
    EXPECT_EQ(dialog->sourceList()->currentIndex().row(), 2);
    dialog->button(Dialog::MoveUp)->click();  // b is at the top now
    select(*dialog, {0, 3});
    dialog->button(Dialog::MoveDown)->click();
    EXPECT_EQ(prompter.script.texts().back(), kAlreadyAtBottom);
    EXPECT_EQ(dialog->sources()[0], file("in/b.jpg"));
    EXPECT_TRUE(prompter.script.showed(kAlreadyAtTop));
    EXPECT_EQ(prompter.script.shown().back().caption, kPromptCaption);

    select(*dialog, {0});
    dialog->button(Dialog::MoveDown)->click();
    EXPECT_EQ(dialog->sources()[1], file("in/b.jpg"));
    EXPECT_EQ(selectedRows(*dialog), (std::vector<int>{1}));

    select(*dialog, {0, 1});
    dialog->button(Dialog::Remove)->click();
    EXPECT_EQ(dialog->sources(), (Paths{file("in/d.jpg"), file("in/c.jpg")}));
    EXPECT_EQ(dialog->sourceList()->rowCount(), 2);
    EXPECT_EQ(dialog->sourceList()->item(0, 0)->text().toStdString(), file("in/d.jpg"));
    EXPECT_TRUE(std::filesystem::exists(file("in/a.jpg")));  // the files stay
    EXPECT_EQ(prompter.offThreadCalls, 0);
}

TEST_F(PdfCompositionDialogTest, MergeWritesOnePagePerImageInListOrder)
{
    auto dialog = makeDialog();
    dialog->button(Dialog::Merge)->click();  // nothing to convert: no name asked
    EXPECT_EQ(prompter.script.texts(), Paths{kNoFilesToConvert});

    addFiles(*dialog, threeImages());
    names = {std::nullopt, std::string(), std::string("report.final")};
    dialog->button(Dialog::Merge)->click();  // name dialog cancelled
    dialog->button(Dialog::Merge)->click();  // empty name
    EXPECT_FALSE(dialog->isConverting());
    EXPECT_EQ(prompter.script.texts().back(), kEmptyTargetName);

    convert(*dialog, Dialog::Merge);
    const auto pdf = pdfFolder() / "report.pdf";
    EXPECT_EQ(testkit::pageSizes(pdf),
              (std::vector<std::pair<double, double>>{{640, 480}, {480, 640}, {500, 500}}));
    EXPECT_TRUE(testkit::qpdfAccepts(pdf));
    EXPECT_EQ(folderEntries(pdfFolder()), Paths{"report.pdf"});  // no scratch left over
    EXPECT_EQ(dialog->progressBar()->value(), 3);
    EXPECT_NE(status(*dialog).find(kMergeDone), std::string::npos) << status(*dialog);
    EXPECT_NE(status(*dialog).find(pdf.string()), std::string::npos);
    EXPECT_TRUE(dialog->button(Dialog::Merge)->isEnabled());
    EXPECT_FALSE(dialog->cancelButton()->isEnabled());
    EXPECT_EQ(prompter.script.shown().size(), 3u);  // the two refusals and the file dialog
    EXPECT_EQ(prompter.offThreadCalls, 0);
}

TEST_F(PdfCompositionDialogTest, SeparateWritesDefaultOrNumberedNames)
{
    auto dialog = makeDialog();
    addFiles(*dialog, threeImages());

    prompter.script.answer(Answer::Yes);
    convert(*dialog, Dialog::Separate);
    EXPECT_EQ(folderEntries(pdfFolder()), (Paths{"a.pdf", "b.pdf", "c.pdf"}));
    EXPECT_EQ(testkit::pageSizes(pdfFolder() / "b.pdf"),
              (std::vector<std::pair<double, double>>{{480, 640}}));
    EXPECT_NE(status(*dialog).find(kSeparateDone), std::string::npos);

    prompter.script.answer(Answer::No);
    names = {std::string("Scan")};
    convert(*dialog, Dialog::Separate);
    for (const char* name : {"Scan0.pdf", "Scan1.pdf", "Scan2.pdf"})
        EXPECT_EQ(testkit::pageCount(pdfFolder() / name), 1) << name;

    // An empty name is told and the default names are used.
    std::filesystem::remove_all(pdfFolder());
    std::filesystem::create_directory(pdfFolder());
    prompter.script.answer(Answer::No);
    names = {std::string()};
    convert(*dialog, Dialog::Separate);
    EXPECT_EQ(folderEntries(pdfFolder()), (Paths{"a.pdf", "b.pdf", "c.pdf"}));
    EXPECT_TRUE(prompter.script.showed(kEmptyNameUsesDefaults));

    prompter.script.answer(Answer::No);
    names = {std::nullopt};
    dialog->button(Dialog::Separate)->click();  // name dialog cancelled: nothing runs
    EXPECT_FALSE(dialog->isConverting());
    EXPECT_EQ(prompter.script.shown()[1].text, kUseDefaultNames);
    EXPECT_EQ(prompter.script.shown()[1].caption, kPromptCaption);
    EXPECT_EQ(prompter.offThreadCalls, 0);
}

TEST_F(PdfCompositionDialogTest, MissingSaveFolderAndUnreadableImagesAreToldOnTheUiThread)
{
    std::filesystem::remove_all(pdfFolder());
    auto dialog = makeDialog();
    EXPECT_EQ(dialog->saveFolderField()->text().toStdString(), programpath::PdfDir().string());
    addFiles(*dialog, threeImages());
    names = {std::string("x")};
    convert(*dialog, Dialog::Merge);
    EXPECT_EQ(prompter.script.texts().back(), kCreatePdfFailed);
    EXPECT_EQ(status(*dialog), kNothingWritten);

    std::filesystem::create_directory(pdfFolder());
    std::ofstream(file("in/broken.jpg")) << "\xFF\xD8\xFF not really";
    addFiles(*dialog, {file("in/broken.jpg")});
    names = {std::string("x")};
    convert(*dialog, Dialog::Merge);
    EXPECT_EQ(testkit::pageCount(pdfFolder() / "x.pdf"), 3);
    const std::string told = prompter.script.texts().back();
    EXPECT_EQ(told, std::string(kImagesSkipped) + "\n" + file("in/broken.jpg"));
    EXPECT_NE(status(*dialog).find(kUnreadableCount + std::string("1")), std::string::npos);
    EXPECT_EQ(prompter.offThreadCalls, 0);
}

TEST_F(PdfCompositionDialogTest, CancelMidJobLeavesNoHalfFileAndTheOlderPdfAsItWas)
{
    const std::string older = "an older report the user keeps";
    programDir.writeFile("PDF/report.pdf", older);
    auto images = threeImages();
    PipeGate gate(programDir / "in" / "a2.jpg");
    images.insert(images.begin() + 1, gate.path().string());

    auto dialog = makeDialog();
    ReleaseOnExit released{gate};
    dialog->show();
    addFiles(*dialog, images);
    ASSERT_EQ(dialog->sources()[1], gate.path().string());
    names = {std::string("report")};
    dialog->button(Dialog::Merge)->click();

    // The worker is held on the pipe after the first page; the dialog goes on working.
    ASSERT_TRUE(testkit::WaitFor([&] { return dialog->progressBar()->value() == 1; }));
    EXPECT_TRUE(dialog->isConverting());
    EXPECT_EQ(status(*dialog), kConverting);
    for (auto control : {Dialog::AddFiles, Dialog::AddFolder, Dialog::MoveUp, Dialog::MoveDown,
                         Dialog::Remove, Dialog::ChooseSaveFolder, Dialog::Merge, Dialog::Separate})
        EXPECT_FALSE(dialog->button(control)->isEnabled()) << control;
    EXPECT_FALSE(dialog->saveFolderField()->isEnabled());
    ASSERT_TRUE(dialog->cancelButton()->isEnabled());
    dialog->cancelButton()->click();
    EXPECT_EQ(status(*dialog), kCancelling);

    gate.release();
    ASSERT_TRUE(testkit::WaitFor([&] { return finishedJobs == 1; }));
    EXPECT_EQ(status(*dialog).rfind(kCancelledNothingKept, 0), 0u) << status(*dialog);
    EXPECT_EQ(folderEntries(pdfFolder()), Paths{"report.pdf"});
    EXPECT_EQ(testkit::readBytes(pdfFolder() / "report.pdf"), older);
    // The held image turned out unreadable: named once, after the job.
    EXPECT_EQ(prompter.script.texts().back(), std::string(kImagesSkipped) + "\n" + gate.path().string());
    EXPECT_TRUE(dialog->button(Dialog::Merge)->isEnabled());
    EXPECT_EQ(prompter.offThreadCalls, 0);
}

TEST_F(PdfCompositionDialogTest, ClosingDuringAJobStopsItAndStoresTheFolder)
{
    auto images = threeImages();
    PipeGate gate(programDir / "in" / "a2.png");
    images.insert(images.begin() + 1, gate.path().string());
    auto dialog = makeDialog();
    ReleaseOnExit released{gate};
    addFiles(*dialog, images);
    prompter.script.answer(Answer::Yes);
    dialog->button(Dialog::Separate)->click();
    ASSERT_TRUE(testkit::WaitFor([&] { return dialog->progressBar()->value() == 1; }));

    gate.release();
    dialog->reject();  // waits for the page in hand, then closes
    EXPECT_FALSE(dialog->isConverting());
    EXPECT_EQ(finishedJobs, 1);
    EXPECT_EQ(folderEntries(pdfFolder()), Paths{"a.pdf"});
    EXPECT_NE(status(*dialog).find(kCancelledSomeKept + std::string("1")), std::string::npos);
    IniFile config(programpath::ConfigFile());
    config.load();
    EXPECT_EQ(config.readString("Pdf", "SavePath", "", 1024), programpath::PdfDir().string());
}

TEST_F(PdfCompositionDialogTest, SaveFolderRefusesTheRootAndIsStoredOnClose)
{
    const std::string chosen = file("out");
    {
        auto dialog = makeDialog();
        const QString before = dialog->saveFolderField()->text();
        prompter.script.answerPath("/");
        dialog->button(Dialog::ChooseSaveFolder)->click();
        EXPECT_EQ(prompter.script.texts().back(), kSystemRootRefused);
        EXPECT_EQ(dialog->saveFolderField()->text(), before);
        prompter.script.answerPath(std::nullopt);
        dialog->button(Dialog::ChooseSaveFolder)->click();
        EXPECT_EQ(dialog->saveFolderField()->text(), before);
        prompter.script.answerPath(chosen);
        dialog->button(Dialog::ChooseSaveFolder)->click();
        EXPECT_EQ(dialog->saveFolderField()->text().toStdString(), chosen);
        dialog->reject();
    }
    auto reopened = makeDialog();
    EXPECT_EQ(reopened->saveFolderField()->text().toStdString(), chosen);

    // A folder typed into the field is where the PDF goes.
    std::filesystem::create_directory(chosen);
    reopened->saveFolderField()->setText(QString::fromStdString(chosen));
    addFiles(*reopened, {threeImages()[0]});
    names = {std::string("typed")};
    convert(*reopened, Dialog::Merge);
    EXPECT_EQ(testkit::pageCount(std::filesystem::path(chosen) / "typed.pdf"), 1);

    reopened->saveFolderField()->clear();
    reopened->reject();  // an emptied field stores the default
    IniFile config(programpath::ConfigFile());
    config.load();
    EXPECT_EQ(config.readString("Pdf", "SavePath", "", 1024), programpath::PdfDir().string());
}

}  // namespace
}  // namespace vestrel::output

namespace vestrel::output {
namespace {

TEST_F(PdfCompositionDialogTest, SearchableTextIsOfferedOnceThereIsASourceAndAskedOnTheWorker)
{
    auto dialog = makeDialog();
    EXPECT_EQ(dialog->searchableBox()->text(), QStringLiteral("可搜索文字"));
    EXPECT_FALSE(dialog->searchableBox()->isEnabled());

    const std::thread::id uiThread = std::this_thread::get_id();
    std::atomic<int> asked{0};
    std::atomic<bool> offUiThread{true};
    dialog->setPageTextSource([&](const std::string&) -> std::optional<pdf::TextLayer> {
        ++asked;
        offUiThread = offUiThread && std::this_thread::get_id() != uiThread;
        return pdf::TextLayer{640, 480, {{"Harbour", 10, 100, 200, 40, 0}}};
    });
    ASSERT_TRUE(dialog->searchableBox()->isEnabled());
    addFiles(*dialog, {threeImages()[0]});

    // Unticked: plain pages, the source is not asked.
    names = {std::string("plain")};
    convert(*dialog, Dialog::Merge);
    EXPECT_EQ(asked, 0);
    EXPECT_EQ(testkit::runCommand("pdftotext '" + (pdfFolder() / "plain.pdf").string() + "' -").output
                  .find("Harbour"),
              std::string::npos);

    dialog->searchableBox()->setChecked(true);
    names = {std::string("found")};
    convert(*dialog, Dialog::Merge);
    prompter.script.answer(Answer::Yes);  // default names
    convert(*dialog, Dialog::Separate);
    EXPECT_EQ(asked, 2);
    EXPECT_TRUE(offUiThread);
    for (const auto& pdf : {pdfFolder() / "found.pdf", pdfFolder() / "a.pdf"})
        EXPECT_NE(testkit::runCommand("pdftotext '" + pdf.string() + "' -").output.find("Harbour"),
                  std::string::npos)
            << pdf;
}

}  // namespace
}  // namespace vestrel::output
