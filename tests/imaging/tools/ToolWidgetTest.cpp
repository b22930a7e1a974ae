// The tools on the image pane driven by real mouse events (offscreen): pen and eraser
// strokes at zoom and fitted, the text box opened, grown and placed, and the deskew
// handle with its double click in and out of full screen.

#include "BrushTool.h"
#include "CQuorvanView.h"
#include "DeskewHandle.h"
#include "DeskewTool.h"
#include "DocumentTestSupport.h"
#include "QtTestApp.h"
#include "TextEntryGeometry.h"
#include "TextTool.h"

#include <QPlainTextEdit>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

namespace vestrel::tools {
namespace {

using document::CQuorvanView;
using document::Tool;

bool Dark(const CxImage& image, int x, int y)
{
    const RGBQUAD c = image.GetPixelColor(x, y);
    return c.rgbRed < 128 && c.rgbGreen < 128;
}

// The smallest rectangle of dark pixels (empty when there are none).
PixelRect Ink(const CxImage& image)
{
    PixelRect box{image.GetWidth(), image.GetHeight(), 0, 0};
    for (int y = 0; y < image.GetHeight(); ++y)
        for (int x = 0; x < image.GetWidth(); ++x)
            if (Dark(image, x, y)) {
                box.left = std::min(box.left, x);
                box.top = std::min(box.top, y);
                box.right = std::max(box.right, x + 1);
                box.bottom = std::max(box.bottom, y + 1);
            }
    return box;
}

class ToolWidgetTest : public document::test::DocumentTest {
protected:
    ToolWidgetTest()
    {
        testkit::TestApp();
        view = std::make_unique<CQuorvanView>(*doc);
        view->installTool(std::make_unique<BrushTool>(*doc, *view, Tool::Eraser));
        view->installTool(std::make_unique<BrushTool>(*doc, *view, Tool::Pen));
        auto text = std::make_unique<TextTool>(*doc, *view, prompter);
        textTool = text.get();
        view->installTool(std::move(text));
        view->installTool(std::make_unique<DeskewTool>(*doc, *view));
        view->setFullScreenSource([this] { return fullScreen; });
        view->resize(200, 150);
        view->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(view.get()));
    }

    void SetWhitePicture(int width, int height)
    {
        auto white = std::make_unique<CxImage>(width, height, 24);
        white->Clear(255);
        doc->SetImage(std::move(white));
        view->imageChanged();
    }

    QWidget* pane() { return view->viewport(); }
    QRgb Shown(int x, int y) { return pane()->grab().toImage().pixel(x, y); }

    std::unique_ptr<CQuorvanView> view;
    TextTool* textTool = nullptr;
    bool fullScreen = false;
};

TEST_F(ToolWidgetTest, APenStrokeOfQuickMovesIsDrawnWithoutGapsAndOneHistoryStep)
{
    SetWhitePicture(180, 120);
    doc->SelectTool(Tool::Pen);
    doc->SetPenColour(MakeColorRef(0, 0, 0));
    doc->SetBrush(doc->BrushFor(Tool::Pen));  // 4 pixels
    // Two jumps of more than a hundred pixels between mouse events.
    QTest::mousePress(pane(), Qt::LeftButton, {}, QPoint(10, 100));
    QTest::mouseMove(pane(), QPoint(120, 10));
    QTest::mouseMove(pane(), QPoint(170, 110));
    QTest::mouseRelease(pane(), Qt::LeftButton, {}, QPoint(170, 110));
    // Moving without the button afterwards draws nothing more.
    QTest::mouseMove(pane(), QPoint(20, 20));

    const CxImage& image = *doc->Image();
    for (int x = 10; x <= 170; ++x) {
        bool hit = false;
        for (int y = 0; y < 120; ++y) hit = hit || Dark(image, x, y);
        EXPECT_TRUE(hit) << "column " << x;
    }
    EXPECT_FALSE(Dark(image, 20, 20));
    EXPECT_EQ(Ink(image), (PixelRect{8, 8, 172, 112}));
    // One step, taken when the button went down: Back brings the white picture again.
    EXPECT_TRUE(doc->History().CanBack());
    EXPECT_EQ(doc->History().Position(), 1);
    // The pane shows the stroke it repainted.
    EXPECT_LT(qRed(Shown(65, 55)), 128);
    EXPECT_EQ(qRed(Shown(65, 20)), 255);
}

TEST_F(ToolWidgetTest, StrokesLandUnderThePointerFittedAndZoomed)
{
    // 800 x 600 fitted into 200 x 150: a quarter of the size.
    SetWhitePicture(800, 600);
    doc->OnWindowSize();
    doc->SelectTool(Tool::Eraser);
    doc->SetEraserSize(1);
    doc->SetBrush({1, MakeColorRef(0, 0, 0)});  // a black "eraser" shows where it lands
    view->refresh();
    QTest::mouseClick(pane(), Qt::LeftButton, {}, QPoint(50, 40));
    EXPECT_EQ(Ink(*doc->Image()), (PixelRect{200, 160, 201, 161}));

    // At zoom 2, scrolled: (pane + scroll) / 2.
    SetWhitePicture(400, 300);
    doc->OnActualSize();
    doc->SetZoom(2.0f);
    view->refresh();
    doc->SelectTool(Tool::Pen);
    doc->SetBrush({1, MakeColorRef(0, 0, 0)});
    view->refresh();
    view->horizontalScrollBar()->setValue(100);
    view->verticalScrollBar()->setValue(40);
    QTest::mouseClick(pane(), Qt::LeftButton, {}, QPoint(30, 20));
    EXPECT_EQ(Ink(*doc->Image()), (PixelRect{65, 30, 66, 31}));
}

TEST_F(ToolWidgetTest, TheTextBoxOpensAtTheClickGrowsAndIsPlacedWhereItShows)
{
    SetWhitePicture(400, 300);
    doc->OnWindowSize();  // fitted at 0.5
    view->refresh();
    doc->SelectTool(Tool::Text);
    doc->SetPenColour(MakeColorRef(0, 0, 0));
    QTest::mouseClick(pane(), Qt::LeftButton, {}, QPoint(20, 30));
    QPlainTextEdit* box = textTool->entryBox();
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->objectName(), QString::number(kTextEntryId));
    EXPECT_EQ(box->pos() + QPoint(box->frameWidth(), box->frameWidth()), QPoint(20, 30));
    EXPECT_EQ(box->palette().color(QPalette::Text), QColor(0, 0, 0));

    QTest::keyClicks(box, "HHHH");
    QTest::keyClick(box, Qt::Key_Return);
    QTest::keyClicks(box, "H");
    const QFontMetrics metrics(box->font());
    EXPECT_EQ(box->width(), metrics.horizontalAdvance("HHHH") + 200 + 2 * box->frameWidth());
    EXPECT_EQ(box->height(), metrics.lineSpacing() * 3 + 2 * box->frameWidth());
    EXPECT_FALSE(doc->History().CanBack());

    // The next click on the picture places the text: its ink starts at the picture pixel
    // under the box's first character, (40, 60) at half size, and not before it.
    QTest::mouseClick(pane(), Qt::LeftButton, {}, QPoint(190, 140));
    EXPECT_EQ(textTool->entryBox(), nullptr);
    EXPECT_EQ(doc->History().Position(), 1);
    const PixelRect ink = Ink(*doc->Image());
    EXPECT_GE(ink.left, 40);
    EXPECT_LE(ink.left, 46);
    EXPECT_GE(ink.top, 60);
    EXPECT_LE(ink.top, 72);
    EXPECT_GT(ink.bottom - ink.top, 27);  // two lines
}

TEST_F(ToolWidgetTest, AnEmptyBoxGoesWithoutAStepAndTheBoxClosesWithTheTool)
{
    SetWhitePicture(200, 150);
    doc->SelectTool(Tool::Text);
    QTest::mouseClick(pane(), Qt::LeftButton, {}, QPoint(20, 30));
    ASSERT_NE(textTool->entryBox(), nullptr);
    // Empty: the next click opens a new box there instead, no history step.
    QTest::mouseClick(pane(), Qt::LeftButton, {}, QPoint(60, 70));
    ASSERT_NE(textTool->entryBox(), nullptr);
    EXPECT_EQ(textTool->entryBox()->pos().x() + textTool->entryBox()->frameWidth(), 60);
    EXPECT_FALSE(doc->History().CanBack());

    // Typed text is dropped when the tool goes off (another tool or command) ...
    QTest::keyClicks(textTool->entryBox(), "gone");
    doc->SelectTool(Tool::None);
    EXPECT_EQ(textTool->entryBox(), nullptr);
    EXPECT_FALSE(doc->History().CanBack());
    EXPECT_EQ(Ink(*doc->Image()).right, 0);

    // ... on the live/still switch, and on Esc.
    doc->SelectTool(Tool::Text);
    QTest::mouseClick(pane(), Qt::LeftButton, {}, QPoint(20, 30));
    doc->CloseTextEntry();
    EXPECT_EQ(textTool->entryBox(), nullptr);
    QTest::mouseClick(pane(), Qt::LeftButton, {}, QPoint(20, 30));
    ASSERT_NE(textTool->entryBox(), nullptr);
    QTest::keyClick(textTool->entryBox(), Qt::Key_Escape);
    EXPECT_EQ(textTool->entryBox(), nullptr);
    EXPECT_EQ(doc->ActiveTool(), Tool::None);
}

TEST_F(ToolWidgetTest, TheDeskewHandleTurnsThePictureAndADoubleClickLeavesFullScreenFirst)
{
    SetWhitePicture(300, 200);
    // What the deskew command does before the mouse takes over.
    doc->OnWindowSize();
    doc->SelectTool(Tool::Deskew);
    ASSERT_TRUE(doc->PushHistory());
    doc->KeepBackup();
    const document::PaneSize client = view->clientSize();
    const HandlePoint start = StartingHandle(client.width, client.height);
    view->setRotationHandle(QPointF(start.x, start.y));
    view->refresh();

    const QPoint grab(int(start.x), int(start.y));
    QTest::mousePress(pane(), Qt::LeftButton, {}, grab);
    QTest::mouseMove(pane(), grab + QPoint(8, 0));
    QTest::mouseRelease(pane(), Qt::LeftButton, {}, grab + QPoint(8, 0));
    EXPECT_EQ(view->rotationHandle(), QPointF(grab + QPoint(8, 0)));
    // Turned a few degrees: the picture grew to hold its turned corners.
    EXPECT_GT(doc->Image()->GetWidth(), 300);
    EXPECT_GT(doc->Image()->GetHeight(), 200);
    const int turnedWidth = doc->Image()->GetWidth();

    // Far from the handle a drag turns nothing.
    QTest::mousePress(pane(), Qt::LeftButton, {}, QPoint(10, 140));
    QTest::mouseMove(pane(), QPoint(30, 140));
    QTest::mouseRelease(pane(), Qt::LeftButton, {}, QPoint(30, 140));
    EXPECT_EQ(doc->Image()->GetWidth(), turnedWidth);

    // In full screen the double click leaves full screen and the tool stays.
    QSignalSpy leave(view.get(), &CQuorvanView::leaveFullScreenRequested);
    fullScreen = true;
    QTest::mouseDClick(pane(), Qt::LeftButton, {}, QPoint(50, 50));
    EXPECT_EQ(leave.count(), 1);
    EXPECT_TRUE(doc->ToolOn(Tool::Deskew));
    EXPECT_TRUE(doc->IsFitWindow());

    // Out of it the double click ends the tool and keeps the turned picture.
    fullScreen = false;
    QTest::mouseDClick(pane(), Qt::LeftButton, {}, QPoint(50, 50));
    EXPECT_EQ(leave.count(), 1);
    EXPECT_FALSE(doc->ToolOn(Tool::Deskew));
    EXPECT_FALSE(doc->IsFitWindow());
    EXPECT_EQ(doc->Image()->GetWidth(), turnedWidth);
    EXPECT_EQ(doc->History().Position(), 1);
}

TEST_F(ToolWidgetTest, EachToolPicksItsCursor)
{
    SetWhitePicture(100, 80);
    doc->SelectTool(Tool::Text);
    QTest::mouseMove(pane(), QPoint(30, 30));
    EXPECT_EQ(pane()->cursor().shape(), Qt::IBeamCursor);
    doc->SelectTool(Tool::Pen);
    QTest::mouseMove(pane(), QPoint(31, 30));
    EXPECT_NE(pane()->cursor().shape(), Qt::IBeamCursor);
    EXPECT_NE(pane()->cursor().shape(), Qt::ArrowCursor);
}

}  // namespace
}  // namespace vestrel::tools
