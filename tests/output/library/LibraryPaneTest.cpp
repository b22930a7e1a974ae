// The pane on an offscreen display: the grid of the newest files and the list of all,
// thumbnails arriving from the workers, a rebuild that supersedes a running one, double
// clicks, label editing, the thumbnail-count dialog and what a drag carries.

#include "CThumbViewerView.h"
#include "LibraryMessages.h"
#include "LibraryModel.h"
#include "LibraryTestSupport.h"
#include "QtTestApp.h"
#include "ThumbnailCountDialog.h"

#include <QAccessible>
#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QTest>
#include <QTimer>
#include <QUrl>

#include <algorithm>
#include <fstream>
#include <gtest/gtest.h>

namespace vestrel::library {
namespace {
namespace fs = std::filesystem;
using List = std::vector<std::string>;
using test::WritePicture;

using testkit::TestApp;
using testkit::WaitFor;

class PaneTest : public test::LibraryTest {
protected:
    PaneTest()
    {
        TestApp();
        // The pane follows the document's listing by itself.
        doc = std::make_unique<document::CQuorvanDoc>(prompter);
        QObject::connect(doc.get(), &document::CQuorvanDoc::libraryChanged, [this] { ++rebuilds; });
        pane = std::make_unique<CThumbViewerView>(*doc, prompter, hooks);
        pane->resize(300, 600);
        pane->show();
    }
    ~PaneTest() override { pane.reset(); }

    bool ThumbnailsDone() { return WaitFor([this] { return pane->pendingThumbnails() == 0; }); }
    QRect RowRect(int row) { return pane->visualRect(pane->model()->index(row, 0)); }

    std::unique_ptr<CThumbViewerView> pane;
};

TEST_F(PaneTest, TenImagesShowTheSixNewestInTheGridAndAllTenInTheList)
{
    List names;
    for (int i = 0; i < 10; ++i) names.push_back("Image000" + std::to_string(i) + ".jpg");
    WriteAgedPictures(names);
    std::ofstream(Photo("notes.txt")) << "not a picture";
    doc->RefreshLibrary();

    EXPECT_EQ(pane->entryNames(), (List{"Image0009.jpg", "Image0008.jpg", "Image0007.jpg", "Image0006.jpg",
                                        "Image0005.jpg", "Image0004.jpg"}));
    ASSERT_TRUE(ThumbnailsDone());
    for (int row = 0; row < 6; ++row) {
        const QImage thumb = pane->thumbnailAt(row);
        ASSERT_EQ(thumb.size(), QSize(90, 90)) << row;
        // 400 x 300: white above the picture, the picture from row 11.
        EXPECT_EQ(thumb.pixelColor(45, 10), QColor(255, 255, 255));
        EXPECT_NEAR(thumb.pixelColor(45, 11).red(), 220, 6);
        EXPECT_EQ(thumb.pixelColor(0, 45), QColor(192, 192, 192));
    }

    pane->OnListDisplay();
    EXPECT_TRUE(pane->listMode());
    List newestFirst(names.rbegin(), names.rend());
    EXPECT_EQ(pane->entryNames(), newestFirst);
    EXPECT_EQ(pane->pendingThumbnails(), 0);
    EXPECT_TRUE(pane->thumbnailAt(0).isNull());

    pane->OnThumbnailDisplay();
    EXPECT_EQ(pane->entryNames().size(), 6u);
    pane->setThumbnailCount(8);
    EXPECT_EQ(pane->entryNames().size(), 8u);
}

// Accessibility clients read each thumbnail's label (and each row of the list) as the
// entry's name, newest first.
TEST_F(PaneTest, AccessibilityClientsReadTheEntriesByTheirNames)
{
    WriteAgedPictures({"Image0001.jpg", "Image0002.jpg", "Image0003.jpg"});
    doc->RefreshLibrary();
    ASSERT_TRUE(ThumbnailsDone());
    auto names = [this] {
        List read;
        // Qt follows a rebuild in its accessibility cache only while a client listens (none
        // does offscreen): read as a client that connects now.
        if (QAccessibleInterface* old = QAccessible::queryAccessibleInterface(pane.get()))
            QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(old));
        QAccessibleInterface* view = QAccessible::queryAccessibleInterface(pane.get());
        if (!view) return read;
        for (int i = 0; i < view->childCount(); ++i)
            if (QAccessibleInterface* item = view->child(i); item && item->role() == QAccessible::ListItem)
                read.push_back(item->text(QAccessible::Name).toStdString());
        return read;
    };
    const List expected{"Image0003.jpg", "Image0002.jpg", "Image0001.jpg"};
    EXPECT_EQ(names(), expected);
    pane->OnListDisplay();
    EXPECT_EQ(names(), expected);
}

TEST_F(PaneTest, ARefreshAfterOneNewScanDecodesOnePicture)
{
    List names;
    for (int i = 1; i <= 6; ++i) names.push_back("Image000" + std::to_string(i) + ".jpg");
    WriteAgedPictures(names);
    doc->RefreshLibrary();
    ASSERT_TRUE(ThumbnailsDone());
    EXPECT_EQ(pane->thumbnailDecodes(), 6);

    // The newest of six pushes the oldest out; the five others are the same files as before.
    WritePicture(Photo("Image0007.jpg"), 400, 300, cv::Scalar(220, 40, 40));
    doc->RefreshLibrary();
    ASSERT_TRUE(ThumbnailsDone());
    EXPECT_EQ(pane->thumbnailDecodes(), 7);
    ASSERT_EQ(pane->entryNames().front(), "Image0007.jpg");
    for (int row = 0; row < 6; ++row) EXPECT_EQ(pane->thumbnailAt(row).size(), QSize(90, 90)) << row;
    EXPECT_NEAR(pane->thumbnailAt(0).pixelColor(45, 45).blue(), 220, 6);
    EXPECT_NEAR(pane->thumbnailAt(1).pixelColor(45, 45).red(), 220, 6);

    // A file written again under its old name shows its new picture.
    WritePicture(Photo("Image0005.jpg"), 400, 300, cv::Scalar(40, 220, 40));
    test::SetAge(Photo("Image0005.jpg"), 1);
    doc->RefreshLibrary();
    ASSERT_TRUE(ThumbnailsDone());
    EXPECT_EQ(pane->thumbnailDecodes(), 8);
    const List shown = pane->entryNames();
    const auto row = int(std::find(shown.begin(), shown.end(), "Image0005.jpg") - shown.begin());
    ASSERT_LT(row, int(shown.size()));
    EXPECT_NEAR(pane->thumbnailAt(row).pixelColor(45, 45).green(), 220, 6);
}

TEST_F(PaneTest, ASupersedingRebuildShowsOnlyItsOwnPictures)
{
    // Folder A: red pictures, the second newest one slow to decode. Folder B: six small
    // blue ones, which are all made while A's slow one is still on its way.
    const fs::path other = programDir / "B";
    for (int i = 0; i < 6; ++i) {
        const std::string name = "p" + std::to_string(i) + ".png";
        WritePicture(Photo(name), i == 4 ? 4000 : 40, i == 4 ? 3000 : 30, cv::Scalar(0, 0, 230));
        WritePicture(other / name, 30, 40, cv::Scalar(230, 0, 0));
        test::SetAge(Photo(name), 60 - i);
        test::SetAge(other / name, 60 - i);
    }
    doc->RefreshLibrary();
    ASSERT_EQ(pane->pendingThumbnails(), 6);
    // The newest (small) picture is made while the slow one is being decoded.
    ASSERT_TRUE(WaitFor([this] { return pane->pendingThumbnails() < 6; }));
    doc->SetPhotoDir(other.string());
    doc->RefreshLibrary();
    ASSERT_TRUE(ThumbnailsDone());
    // Give the stale picture time to arrive.
    QTest::qWait(1000);

    ASSERT_EQ(pane->entryNames().size(), 6u);
    for (int row = 0; row < 6; ++row) {
        const QImage thumb = pane->thumbnailAt(row);
        ASSERT_FALSE(thumb.isNull()) << row;
        EXPECT_EQ(thumb.pixelColor(10, 45), QColor(255, 255, 255)) << row;  // portrait: white at the side
        EXPECT_EQ(thumb.pixelColor(45, 45), QColor(0, 0, 230)) << row;
    }
}

TEST_F(PaneTest, DamagedAndPdfEntriesAreListedWithoutAPicture)
{
    WriteAgedPictures({"good.jpg"});
    std::ofstream(Photo("bad.jpg")) << "this is not a JPEG";
    std::ofstream(Photo("a.b.pdf")) << "%PDF-1.4\n";
    test::SetAge(Photo("bad.jpg"), 5);
    test::SetAge(Photo("a.b.pdf"), 3);
    doc->RefreshLibrary();
    ASSERT_TRUE(ThumbnailsDone());
    EXPECT_EQ(pane->entryNames(), (List{"a.b.pdf", "bad.jpg", "good.jpg"}));
    EXPECT_TRUE(pane->thumbnailAt(0).isNull());
    EXPECT_TRUE(pane->thumbnailAt(1).isNull());
    EXPECT_FALSE(pane->thumbnailAt(2).isNull());

    // With the PDF writer's scratch JPEG the PDF gets its picture.
    WritePicture(programDir / "temp/temp/a.jpg", 100, 100);
    doc->RefreshLibrary();
    ASSERT_TRUE(ThumbnailsDone());
    EXPECT_FALSE(pane->thumbnailAt(0).isNull());
}

TEST_F(PaneTest, DoubleClickOnUpperCasePdfShowsTheMissingFileMessage)
{
    std::ofstream(Photo("x.PDF")) << "%PDF-1.4\n";
    doc->RefreshLibrary();
    ASSERT_EQ(pane->entryNames(), List{"x.PDF"});
    QTest::mouseDClick(pane->viewport(), Qt::LeftButton, {}, RowRect(0).center());
    EXPECT_EQ(prompter.texts(), List{msg::kOpenMissing});
    EXPECT_TRUE(desktopOpened.empty());
    EXPECT_EQ(pane->clickedItem(), -1);  // the refresh after the message cleared it
}

TEST_F(PaneTest, DoubleClickOpensTheImageAndEmptySpaceOnlyActivates)
{
    WriteAgedPictures({"page.jpg"});
    doc->RefreshLibrary();
    QTest::mouseDClick(pane->viewport(), Qt::LeftButton, {}, RowRect(0).center());
    ASSERT_NE(doc->Image(), nullptr);
    EXPECT_EQ(doc->CurrentPath(), Photo("page.jpg").string());
    EXPECT_EQ(pane->clickedItem(), 0);

    calls.clear();
    QTest::mouseDClick(pane->viewport(), Qt::LeftButton, {}, QPoint(290, 590));
    EXPECT_EQ(calls, (List{"confirmEndIdCardCopy", "activateImageView"}));
}

// Right-clicks `at` on the viewport; the menu that comes up is read, then `pick` is chosen
// from it (Escape when empty). Returns the menu's texts.
QStringList RightClick(CThumbViewerView& pane, QPoint at, const QString& pick)
{
    QStringList texts;
    QTimer::singleShot(0, [&] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (!menu) return;
        for (QAction* action : menu->actions()) {
            texts << action->text();
            if (action->text() == pick) menu->setActiveAction(action);
        }
        QTest::keyClick(menu, pick.isEmpty() ? Qt::Key_Escape : Qt::Key_Return);
    });
    QContextMenuEvent event(QContextMenuEvent::Mouse, at, pane.viewport()->mapToGlobal(at));
    QApplication::sendEvent(pane.viewport(), &event);
    return texts;
}

TEST_F(PaneTest, RightClickShowsTheMenuOfTheItemOrOfEmptySpace)
{
    WriteAgedPictures({"a.jpg", "b.jpg"});
    doc->RefreshLibrary();
    const QStringList onItem = RightClick(*pane, RowRect(1).center(), QStringLiteral("查看"));
    EXPECT_EQ(onItem.size(), 9);
    EXPECT_EQ(pane->clickedItem(), 1);
    ASSERT_NE(doc->Image(), nullptr);
    EXPECT_EQ(doc->CurrentPath(), Photo("a.jpg").string());

    const QStringList onNothing = RightClick(*pane, QPoint(290, 590), QStringLiteral("列表显示"));
    EXPECT_EQ(onNothing, (QStringList{"刷新", "列表显示", "缩略图显示", "缩略图个数", "打开文件夹", "选择图库"}));
    EXPECT_EQ(pane->clickedItem(), -1);
    EXPECT_TRUE(pane->listMode());
    EXPECT_EQ(pane->entryNames(), (List{"b.jpg", "a.jpg"}));
}

TEST_F(PaneTest, EditedLabelRenamesTheFileAndDeleteKeyTrashesTheSelection)
{
    WriteAgedPictures({"a.jpg", "b.jpg"});
    doc->RefreshLibrary();
    ASSERT_EQ(pane->entryNames(), (List{"b.jpg", "a.jpg"}));
    // "重命名" on the entry opens its label with the whole name, extension included.
    pane->setClickedItem(1);
    pane->OnRename();
    auto* editor = pane->findChild<QLineEdit*>();
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(editor->text(), QStringLiteral("a.jpg"));
    editor->setText(QStringLiteral("first.jpg"));
    // The thumbnails arriving meanwhile leave the typed name alone.
    ASSERT_TRUE(ThumbnailsDone());
    QCoreApplication::processEvents();
    EXPECT_EQ(editor->text(), QStringLiteral("first.jpg"));
    QTest::keyClick(editor, Qt::Key_Return);
    // The label itself is not kept; the rename runs once editing has finished.
    EXPECT_EQ(pane->entryNames(), (List{"b.jpg", "a.jpg"}));
    ASSERT_TRUE(WaitFor([this] { return fs::exists(Photo("first.jpg")); }));
    EXPECT_EQ(pane->entryNames(), (List{"b.jpg", "first.jpg"}));

    pane->setFocus();
    pane->selectionModel()->select(pane->model()->index(0, 0), QItemSelectionModel::Select);
    QTest::keyRelease(pane.get(), Qt::Key_Delete);
    EXPECT_FALSE(fs::exists(Photo("b.jpg")));
    EXPECT_TRUE(fs::exists(TrashFile("b.jpg")));
    EXPECT_EQ(pane->entryNames(), List{"first.jpg"});
}

TEST_F(PaneTest, DragCarriesTheSelectedFilesAsUrls)
{
    WriteAgedPictures({"a.jpg", "b.jpg", "c.jpg"});
    doc->RefreshLibrary();
    auto* model = pane->model();
    std::unique_ptr<QMimeData> data(model->mimeData({model->index(0, 0), model->index(2, 0)}));
    ASSERT_TRUE(data);
    ASSERT_TRUE(data->hasUrls());
    EXPECT_EQ(data->urls(), (QList<QUrl>{QUrl::fromLocalFile(QString::fromStdString(Photo("c.jpg").string())),
                                         QUrl::fromLocalFile(QString::fromStdString(Photo("a.jpg").string()))}));
    EXPECT_TRUE(model->supportedDragActions() & Qt::CopyAction);
}

TEST_F(PaneTest, ThumbnailCountDialogRefusesZeroAnd70000)
{
    ThumbnailCountDialog dialog(prompter, 6);
    EXPECT_EQ(dialog.field()->text(), QStringLiteral("6"));
    for (const char* refused : {"0", "70000"}) {
        dialog.field()->setText(QString::fromLatin1(refused));
        dialog.accept();
        EXPECT_NE(dialog.result(), QDialog::Accepted) << refused;
    }
    EXPECT_EQ(prompter.texts(), (List{msg::kThumbnailCountRange, msg::kThumbnailCountRange}));
    dialog.field()->setText(QStringLiteral("12"));
    dialog.accept();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.count(), 12);
}

}  // namespace
}  // namespace vestrel::library
