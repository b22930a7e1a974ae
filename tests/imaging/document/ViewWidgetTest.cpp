// The still-image pane drawn offscreen: pixels at zoom 1, 2 and fitted, scrolling and the
// pan drag, a dropped file, and the Space and Delete keys.

#include "CQuorvanView.h"
#include "DocumentTestSupport.h"
#include "QtTestApp.h"

#include <QApplication>
#include <QMimeData>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QUrl>

#include <gtest/gtest.h>

namespace vestrel::document::test {
namespace {
namespace fs = std::filesystem;

using testkit::TestApp;

enum class Shade { Red, Blue, White, Other };

Shade ShadeOf(QRgb c)
{
    if (qRed(c) > 200 && qGreen(c) < 40 && qBlue(c) < 40) return Shade::Red;
    if (qBlue(c) > 200 && qRed(c) < 40 && qGreen(c) < 40) return Shade::Blue;
    if (qRed(c) == 255 && qGreen(c) == 255 && qBlue(c) == 255) return Shade::White;
    return Shade::Other;
}

class ViewTest : public DocumentTest {
protected:
    ViewTest()
    {
        TestApp();
        view = std::make_unique<CQuorvanView>(*doc);
        // The pane has no scroll bars of its own size to reckon with: the picture fits or
        // not by the numbers each test sets.
        view->resize(200, 150);
        view->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(view.get()));
    }

    void SetPicture(int width, int height)
    {
        doc->SetImage(ColourPicture(width, height));
        view->imageChanged();
    }

    Shade At(int x, int y)
    {
        const QImage shot = view->viewport()->grab().toImage();
        return ShadeOf(shot.pixel(x, y));
    }

    std::unique_ptr<CQuorvanView> view;
};

TEST_F(ViewTest, ThePictureIsDrawnAtActualSizeDoubledAndFitted)
{
    EXPECT_EQ(At(10, 10), Shade::White);  // nothing without a picture

    SetPicture(40, 30);  // red x < 20, blue x >= 20
    EXPECT_EQ(At(10, 10), Shade::Red);
    EXPECT_EQ(At(19, 29), Shade::Red);
    EXPECT_EQ(At(20, 10), Shade::Blue);
    EXPECT_EQ(At(39, 29), Shade::Blue);
    EXPECT_EQ(At(40, 10), Shade::White);
    EXPECT_EQ(At(10, 30), Shade::White);

    doc->SetZoom(2.0f);
    view->refresh();
    EXPECT_EQ(At(39, 59), Shade::Red);
    EXPECT_EQ(At(40, 10), Shade::Blue);
    EXPECT_EQ(At(79, 10), Shade::Blue);
    EXPECT_EQ(At(80, 10), Shade::White);
    EXPECT_EQ(At(10, 60), Shade::White);

    // Fitted into the 200 x 150 pane: five times, the whole pane.
    doc->OnWindowSize();
    view->refresh();
    EXPECT_EQ(At(99, 149), Shade::Red);
    EXPECT_EQ(At(100, 0), Shade::Blue);
    EXPECT_EQ(At(199, 149), Shade::Blue);
    EXPECT_FALSE(view->horizontalScrollBar()->isVisible());

    // A big scan fitted is scaled down, still red on the left and blue on the right.
    SetPicture(2592, 1944);
    const float fit = FitScale(view->clientSize(), 2592, 1944);
    const int drawnWidth = int(2592 * fit);
    EXPECT_EQ(At(drawnWidth / 4, 20), Shade::Red);
    EXPECT_EQ(At(drawnWidth * 3 / 4, 20), Shade::Blue);
    EXPECT_EQ(view->imagePointAt({drawnWidth / 4, 20}).x, int(float(drawnWidth / 4) / fit));
}

TEST_F(ViewTest, ScrollBarsCoverTheZoomedPictureAndThePanToolDragsIt)
{
    SetPicture(400, 300);  // red x < 200
    ASSERT_TRUE(QTest::qWaitFor([&] { return view->horizontalScrollBar()->isVisible(); }));
    const PaneSize client = view->clientSize();
    EXPECT_EQ(view->horizontalScrollBar()->maximum(), 400 - client.width);
    EXPECT_EQ(view->verticalScrollBar()->maximum(), 300 - client.height);

    doc->SetZoom(1.5f);
    view->refresh();
    EXPECT_EQ(view->horizontalScrollBar()->maximum(), 600 - client.width);

    // The pan tool: dragging 150 pixels to the left shows the picture 150 pixels further.
    doc->SetZoom(1.0f);
    doc->SelectTool(Tool::Pan);
    view->refresh();
    QTest::mousePress(view->viewport(), Qt::LeftButton, {}, QPoint(180, 50));
    QTest::mouseMove(view->viewport(), QPoint(30, 50));
    QMouseEvent move(QEvent::MouseMove, QPointF(30, 50), view->viewport()->mapToGlobal(QPointF(30, 50)),
                     Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(view->viewport(), &move);
    QTest::mouseRelease(view->viewport(), Qt::LeftButton, {}, QPoint(30, 50));
    EXPECT_EQ(view->scrollPosition(), QPoint(150, 0));
    EXPECT_EQ(view->imagePointAt({60, 10}), (PixelPoint{210, 10}));
    EXPECT_EQ(At(40, 10), Shade::Red);   // picture x 190
    EXPECT_EQ(At(60, 10), Shade::Blue);  // picture x 210
}

TEST_F(ViewTest, ScrollingMovesWhatIsOnScreenAndPaintsTheUncoveredStrip)
{
    SetPicture(400, 300);  // red x < 200
    ASSERT_TRUE(QTest::qWaitFor([&] { return view->horizontalScrollBar()->isVisible(); }));
    QCoreApplication::processEvents();
    // What the window really shows, not a fresh rendering of it.
    auto shown = [&](int x, int y) {
        QTest::qWait(50);  // the window's update is flushed on its own schedule
        const QPoint at = view->viewport()->mapTo(view.get(), QPoint(x, y));
        return ShadeOf(view->screen()->grabWindow(view->winId()).toImage().pixel(at));
    };
    ASSERT_EQ(shown(150, 10), Shade::Red);
    for (int step = 1; step <= 15; ++step) view->horizontalScrollBar()->setValue(step * 10);
    EXPECT_EQ(shown(40, 10), Shade::Red);   // picture x 190, moved on screen
    EXPECT_EQ(shown(60, 10), Shade::Blue);  // picture x 210
    EXPECT_EQ(shown(view->clientSize().width - 1, 10), Shade::Blue);  // the uncovered strip
}

TEST_F(ViewTest, RepaintsReuseTheConvertedPictureUntilItChanges)
{
    SetPicture(400, 300);
    At(0, 0);
    const int made = view->pictureConversions();
    EXPECT_EQ(made, 1);
    view->horizontalScrollBar()->setValue(30);
    At(0, 0);
    EXPECT_EQ(view->pictureConversions(), made);

    // An edit in place is shown once the view is told.
    doc->Image()->Clear(0);
    view->imageChanged();
    EXPECT_EQ(At(5, 5), Shade::Other);  // black
    EXPECT_EQ(view->pictureConversions(), made + 1);
}

TEST_F(ViewTest, AFloatingPasteIsDrawnWhereItWasPlacedAtTheZoom)
{
    SetPicture(40, 30);
    auto paste = std::make_unique<CxImage>(10, 10, 24);
    paste->Clear(255);  // white square over the red half
    doc->SetFloatingPaste(std::move(paste));
    doc->SetZoom(2.0f);
    view->setPastePosition({4, 4});
    view->imageChanged();
    EXPECT_EQ(At(5, 5), Shade::White);
    EXPECT_EQ(At(23, 23), Shade::White);  // 10 picture pixels at zoom 2
    EXPECT_EQ(At(25, 25), Shade::Red);

    // A signature's white is its transparent colour: the picture shows through.
    doc->Paste()->SetTransColor(RGBQUAD{255, 255, 255, 0});
    view->imageChanged();
    EXPECT_EQ(At(5, 5), Shade::Red);

    doc->Paste()->SetTransIndex(-1);
    view->imageChanged();
    EXPECT_EQ(At(5, 5), Shade::White);
    doc->ResetTools();  // not floating: not drawn
    view->refresh();
    EXPECT_EQ(At(5, 5), Shade::Red);
}

TEST_F(ViewTest, ADroppedFileIsLoadedAndTheRightButtonAsksForTheMenu)
{
    const std::string file = WritePicture(Photo("dropped.png"));
    QMimeData mime;
    mime.setUrls({QUrl::fromLocalFile(QString::fromStdString(file))});
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(view->viewport(), &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(view->viewport(), &drop);
    ASSERT_NE(doc->Image(), nullptr);
    EXPECT_EQ(doc->CurrentPath(), file);
    EXPECT_EQ(At(10, 10), Shade::Red);

    QSignalSpy menu(view.get(), &CQuorvanView::contextMenuRequested);
    view->horizontalScrollBar()->setValue(0);
    QTest::mousePress(view->viewport(), Qt::RightButton, {}, QPoint(12, 7));
    ASSERT_EQ(menu.count(), 1);
    EXPECT_EQ(menu.at(0).at(0).toPoint(), view->viewport()->mapToGlobal(QPoint(12, 7)));
    EXPECT_EQ(view->pastePosition(), QPoint(12, 7));
}

TEST_F(ViewTest, SpaceTurnsThePictureAndDeleteSendsTheFileToTheTrash)
{
    FreshHome home(programDir / "home");
    const std::string file = WritePicture(Photo("page.png"));
    doc->LoadFile(file);
    view->imageChanged();
    view->setFocus();

    QTest::keyClick(view.get(), Qt::Key_Space);
    ASSERT_EQ(doc->Image()->GetWidth(), 30);
    EXPECT_EQ(doc->History().Position(), 0);
    EXPECT_EQ(At(15, 5), Shade::Red);   // the red left half is on top now
    EXPECT_EQ(At(15, 35), Shade::Blue);

    // Space over a floating paste is the paste's to turn.
    doc->SetFloatingPaste(ColourPicture(4, 4));
    QSignalSpy turn(view.get(), &CQuorvanView::pasteTurnRequested);
    QTest::keyClick(view.get(), Qt::Key_Space);
    EXPECT_EQ(turn.count(), 1);
    EXPECT_EQ(doc->Image()->GetWidth(), 30);
    // Delete then removes the paste, not the file.
    QTest::keyClick(view.get(), Qt::Key_Delete);
    EXPECT_EQ(doc->Paste(), nullptr);
    EXPECT_TRUE(fs::exists(file));

    QTest::keyClick(view.get(), Qt::Key_Delete);
    EXPECT_FALSE(fs::exists(file));
    EXPECT_TRUE(fs::exists(programDir / "home/.local/share/Trash/files/page.png"));
    EXPECT_NE(doc->Image(), nullptr);  // the picture stays shown
    EXPECT_EQ(At(15, 5), Shade::Red);
}

TEST_F(ViewTest, EscAndEnterAndDoubleClickGoToTheMainWindow)
{
    SetPicture(40, 30);
    doc->SelectTool(Tool::Pan);
    QSignalSpy stop(view.get(), &CQuorvanView::stopRequested);
    QSignalSpy scan(view.get(), &CQuorvanView::scanRequested);
    QSignalSpy leave(view.get(), &CQuorvanView::leaveFullScreenRequested);
    QTest::keyClick(view.get(), Qt::Key_Escape);
    EXPECT_EQ(stop.count(), 1);
    EXPECT_FALSE(doc->ToolOn(Tool::Pan));

    QTest::keyClick(view.get(), Qt::Key_Return);
    EXPECT_EQ(scan.count(), 0);  // only the live picture scans
    live = true;
    QTest::keyClick(view.get(), Qt::Key_Return);
    EXPECT_EQ(scan.count(), 1);
    live = false;

    QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(leave.count(), 1);
}

// A tool that is on with the pen and writes down what the pane hands it.
class RecordingTool : public StillTool {
public:
    RecordingTool(const CQuorvanDoc& doc, std::vector<std::string>& log) : doc_(doc), log_(log) {}
    bool isOn() const override { return doc_.ToolOn(Tool::Pen); }
    bool press(const ToolInput& in) override { return note("press", in); }
    bool move(const ToolInput& in) override { return in.buttons ? note("move", in) : false; }
    bool release(const ToolInput& in) override { return note("release", in); }
    bool doubleClick(const ToolInput& in) override { return note("double", in); }
    std::optional<QCursor> cursorAt(QPoint) const override { return QCursor(Qt::CrossCursor); }
    void cancel() override { log_.push_back("cancel"); }

private:
    bool note(const char* what, const ToolInput& in)
    {
        log_.push_back(std::string(what) + " " + std::to_string(in.pixel.x) + "," + std::to_string(in.pixel.y));
        return true;
    }
    const CQuorvanDoc& doc_;
    std::vector<std::string>& log_;
};

TEST_F(ViewTest, GesturesGoToTheToolThatIsOnInPicturePixels)
{
    SetPicture(40, 30);
    std::vector<std::string> log;
    view->installTool(std::make_unique<RecordingTool>(*doc, log));
    QSignalSpy leave(view.get(), &CQuorvanView::leaveFullScreenRequested);

    // Off: the pane keeps the gestures (a double click asks to leave full screen).
    QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_TRUE(log.empty());
    EXPECT_EQ(leave.count(), 1);

    doc->SelectTool(Tool::Pen);
    doc->SetZoom(2.0f);
    view->refresh();
    QTest::mousePress(view->viewport(), Qt::LeftButton, {}, QPoint(10, 6));
    QTest::mouseMove(view->viewport(), QPoint(21, 9));
    QTest::mouseRelease(view->viewport(), Qt::LeftButton, {}, QPoint(21, 9));
    QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, QPoint(3, 3));
    QTest::keyClick(view.get(), Qt::Key_Escape);
    const std::vector<std::string> expected{"press 5,3", "move 10,4", "release 10,4", "double 1,1", "cancel"};
    EXPECT_EQ(log, expected);
    EXPECT_EQ(leave.count(), 1);  // the tool took the double click
}

}  // namespace
}  // namespace vestrel::document::test
