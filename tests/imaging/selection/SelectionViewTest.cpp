// The selection tools, the floating paste and the clipboard on the image pane, driven by
// real mouse events on its viewport (offscreen: the clipboard stays inside this process).

#include "ClipboardPayload.h"
#include "CQuorvanView.h"
#include "DocumentMessages.h"
#include "DocumentTestSupport.h"
#include "FreeSelectTool.h"
#include "PasteTool.h"
#include "QtTestApp.h"
#include "RectSelectTool.h"
#include "SelectionMessages.h"
#include "SelectionUi.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QScrollBar>
#include <QTest>

#include <gtest/gtest.h>

namespace vestrel::selection::test {
namespace {

using document::Tool;

// Every pixel a colour of its own, so that a pixel put back in the wrong place shows.
std::unique_ptr<CxImage> Gradient(int width, int height)
{
    auto image = std::make_unique<CxImage>(width, height, 24);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) image->SetPixelColor(x, y, MakeColorRef(x * 6, y * 8, 100 + x + y));
    return image;
}

std::unique_ptr<CxImage> Plain(int width, int height, COLORREF colour)
{
    auto image = std::make_unique<CxImage>(width, height, 24);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) image->SetPixelColor(x, y, colour);
    return image;
}

bool SamePixels(const CxImage& a, const CxImage& b)
{
    if (a.GetWidth() != b.GetWidth() || a.GetHeight() != b.GetHeight() || a.GetBpp() != b.GetBpp()) return false;
    return cv::norm(a.Pixels(), b.Pixels(), cv::NORM_INF) == 0;
}

bool IsGreen(const CxImage& image, int x, int y)
{
    const RGBQUAD c = image.GetPixelColor(x, y);
    return c.rgbGreen == 255 && c.rgbRed == 0 && c.rgbBlue == 0;
}

class SelectionViewTest : public document::test::DocumentTest {
protected:
    SelectionViewTest()
    {
        testkit::TestApp();
        QGuiApplication::clipboard()->clear();
        view = std::make_unique<document::CQuorvanView>(*doc);
        ui = std::make_unique<SelectionUi>(*doc, prompter, *view);
        ui->installTools();
        view->resize(200, 150);
        view->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(view.get()));
    }

    void SetPicture(std::unique_ptr<CxImage> image)
    {
        doc->SetImage(std::move(image));
        view->imageChanged();
    }

    QWidget* pane() { return view->viewport(); }

    void Drag(QPoint from, QPoint to)
    {
        QTest::mousePress(pane(), Qt::LeftButton, {}, from);
        QTest::mouseMove(pane(), (from + to) / 2);
        QTest::mouseMove(pane(), to);
        QTest::mouseRelease(pane(), Qt::LeftButton, {}, to);
    }

    PixelRect SelectionBox()
    {
        PixelRect box;
        EXPECT_TRUE(doc->Image()->SelectionGetBox(box));
        return box;
    }

    QRgb Shown(int x, int y) { return pane()->grab().toImage().pixel(x, y); }

    std::unique_ptr<document::CQuorvanView> view;
    std::unique_ptr<SelectionUi> ui;
};

TEST_F(SelectionViewTest, TheTrackerDrawnAndMovedByTheMouseIsTheSelection)
{
    SetPicture(Gradient(40, 30));
    doc->SetZoom(2.0f);
    ui->OnRectSelect();
    Drag({30, 26}, {10, 6});  // drawn from the bottom right
    EXPECT_EQ(SelectionBox(), (PixelRect{5, 3, 15, 13}));
    EXPECT_EQ(ui->rectTool()->tracker(), (TrackRect{10, 6, 30, 26}));
    EXPECT_EQ(Shown(20, 6), qRgb(0, 0, 0)) << "the dotted outline starts black";

    Drag({20, 16}, {24, 16});  // inside: moved
    EXPECT_EQ(SelectionBox(), (PixelRect{7, 3, 17, 13}));
    Drag({36, 16}, {40, 16});  // the right handle: the right edge follows
    EXPECT_EQ(ui->rectTool()->tracker(), (TrackRect{14, 6, 38, 26}));

    QTest::mouseMove(pane(), QPoint(10, 3));
    EXPECT_EQ(pane()->cursor().shape(), Qt::SizeFDiagCursor);
    QTest::mouseMove(pane(), QPoint(100, 100));
    EXPECT_EQ(pane()->cursor().shape(), Qt::CrossCursor);

    // A click without a drag leaves neither tracker nor selection.
    QTest::mouseClick(pane(), Qt::LeftButton, {}, QPoint(60, 60));
    EXPECT_TRUE(ui->rectTool()->tracker().empty());
    EXPECT_FALSE(doc->Image()->SelectionIsValid());
}

TEST_F(SelectionViewTest, TheFreeHandOutlineClosesOnReleaseAndIsRedrawnByItsTimer)
{
    SetPicture(Plain(40, 30, MakeColorRef(220, 20, 20)));
    ui->OnFreeSelect();
    QTest::mousePress(pane(), Qt::LeftButton, {}, QPoint(10, 5));
    for (QPoint p : {QPoint(10, 5), QPoint(30, 5), QPoint(10, 25), QPoint(-5, 25)}) QTest::mouseMove(pane(), p);
    QTest::mouseRelease(pane(), Qt::LeftButton, {}, QPoint(10, 25));
    EXPECT_EQ(doc->LassoCount(), 4) << "three points inside, closed by the first";
    EXPECT_EQ(SelectionBox(), (PixelRect{10, 5, 31, 26}));
    EXPECT_TRUE(ui->freeTool()->outlineTimerRunning());
    EXPECT_EQ(Shown(11, 5), qRgb(255, 255, 255));
    EXPECT_EQ(Shown(15, 5), qRgb(0, 0, 0));

    QTest::keyClick(view.get(), Qt::Key_Escape);
    EXPECT_FALSE(ui->freeTool()->outlineTimerRunning());
    EXPECT_FALSE(doc->Image()->SelectionIsValid());

    // Two points make no selection and start no timer.
    ui->OnFreeSelect();
    QTest::mousePress(pane(), Qt::LeftButton, {}, QPoint(3, 3));
    QTest::mouseMove(pane(), QPoint(4, 4));
    QTest::mouseMove(pane(), QPoint(8, 4));
    QTest::mouseRelease(pane(), Qt::LeftButton, {}, QPoint(8, 4));
    EXPECT_FALSE(doc->Image()->SelectionIsValid());
    EXPECT_FALSE(ui->freeTool()->outlineTimerRunning());
}

TEST_F(SelectionViewTest, CutThenPasteAtTheSamePlaceGivesThePictureBackByteForByte)
{
    SetPicture(Gradient(40, 30));
    const CxImage before = *doc->Image();
    ui->OnRectSelect();
    Drag({8, 6}, {20, 16});
    ui->OnCut();
    EXPECT_NE(doc->Image()->GetPixelColor(10, 10), before.GetPixelColor(10, 10));
    const QMimeData* mime = QGuiApplication::clipboard()->mimeData();
    ASSERT_NE(mime, nullptr);
    EXPECT_TRUE(mime->hasImage());
    EXPECT_TRUE(mime->hasFormat(kOwnClipboardFormat)) << "the selection travels with it";
    EXPECT_TRUE(ui->ClipboardOffersPicture());

    QTest::mouseClick(pane(), Qt::RightButton, {}, QPoint(8, 6));  // where the paste goes
    ui->OnPaste();
    ASSERT_TRUE(doc->HasFloatingPaste());
    QTest::mouseClick(pane(), Qt::LeftButton, {}, QPoint(35, 25));  // outside it: merged
    EXPECT_FALSE(doc->HasFloatingPaste());
    EXPECT_TRUE(SamePixels(*doc->Image(), before));
    EXPECT_EQ(doc->History().Position(), 2);  // the cut and the paste
}

TEST_F(SelectionViewTest, PasteWithNoPictureOpensItAndLeavesNoPasteToRemove)
{
    QImage green(10, 8, QImage::Format_RGB32);
    green.fill(qRgb(0, 255, 0));
    QGuiApplication::clipboard()->setImage(green);
    EXPECT_TRUE(ui->ClipboardOffersPicture());
    ui->OnPaste();
    ASSERT_NE(doc->Image(), nullptr);
    EXPECT_EQ(doc->Image()->GetWidth(), 10);
    EXPECT_TRUE(IsGreen(*doc->Image(), 9, 7));
    EXPECT_FALSE(doc->HasFloatingPaste());
    EXPECT_EQ(Shown(5, 5), qRgb(0, 255, 0));
}

TEST_F(SelectionViewTest, AFreeHandCopyIsTransparentOutsideInOurFormatAndBackgroundColouredInTheImage)
{
    SetPicture(Plain(40, 30, MakeColorRef(220, 20, 20)));
    ui->OnFreeSelect();
    QTest::mousePress(pane(), Qt::LeftButton, {}, QPoint(10, 5));
    for (QPoint p : {QPoint(10, 5), QPoint(30, 5), QPoint(10, 25)}) QTest::mouseMove(pane(), p);
    QTest::mouseRelease(pane(), Qt::LeftButton, {}, QPoint(10, 25));
    ui->OnCopy();
    EXPECT_FALSE(prompter.showed(msg::kClipboardRefused));
    EXPECT_EQ(doc->ActiveTool(), Tool::None);

    const QMimeData* mime = QGuiApplication::clipboard()->mimeData();
    ASSERT_NE(mime, nullptr);
    const QByteArray bytes = mime->data(kOwnClipboardFormat);
    const std::unique_ptr<CxImage> own =
        ReadOwnFormat({reinterpret_cast<const std::uint8_t*>(bytes.constData()), std::size_t(bytes.size())});
    ASSERT_NE(own, nullptr);
    ASSERT_EQ(own->GetWidth(), 21);
    EXPECT_TRUE(own->IsTransparentAt(20, 20));
    EXPECT_FALSE(own->IsTransparentAt(1, 1));
    const QImage plain = qvariant_cast<QImage>(mime->imageData());
    ASSERT_EQ(plain.width(), 21);
    EXPECT_EQ(plain.pixel(20, 20), qRgb(255, 255, 254));
    EXPECT_EQ(plain.pixel(1, 1), qRgb(220, 20, 20));
}

TEST_F(SelectionViewTest, ADamagedPayloadOfOursIsPassedOver)
{
    auto* junk = new QMimeData;
    junk->setData(kOwnClipboardFormat, QByteArray("VCXIMG\x1a\0 not a picture at all", 30));
    QGuiApplication::clipboard()->setMimeData(junk);
    ui->OnPaste();
    EXPECT_EQ(doc->Image(), nullptr);

    // Beside an image, the image is taken instead.
    SetPicture(Gradient(40, 30));
    std::vector<std::uint8_t> bytes = OwnFormatBytes(*Gradient(5, 5));
    bytes[bytes.size() - 3] ^= 0x11;
    auto* both = new QMimeData;
    both->setData(kOwnClipboardFormat, QByteArray(reinterpret_cast<const char*>(bytes.data()), qsizetype(bytes.size())));
    QImage green(3, 2, QImage::Format_RGB32);
    green.fill(qRgb(0, 255, 0));
    both->setImageData(green);
    QGuiApplication::clipboard()->setMimeData(both);
    ui->OnPaste();
    ASSERT_TRUE(doc->HasFloatingPaste());
    EXPECT_EQ(doc->Paste()->GetWidth(), 3);
}

TEST_F(SelectionViewTest, AMarkFollowsThePointerInsideThePictureAndAClickPlacesItThere)
{
    SetPicture(Gradient(40, 30));
    doc->SetZoom(2.0f);
    ASSERT_TRUE(doc->PastePicture(Plain(10, 8, MakeColorRef(0, 255, 0)), true));
    view->imageChanged();
    QTest::mouseMove(pane(), QPoint(24, 18));
    EXPECT_EQ(view->pastePosition(), QPoint(24, 18));
    EXPECT_EQ(pane()->cursor().shape(), Qt::SizeAllCursor);
    QTest::mouseMove(pane(), QPoint(150, 140));
    EXPECT_EQ(view->pastePosition(), QPoint(60, 44)) << "(40 - 10) x 2, (30 - 8) x 2";

    // Turned it would be 10 wide and 8 high... it fits: turned, and kept inside.
    QTest::keyClick(view.get(), Qt::Key_Space);
    EXPECT_EQ(doc->Paste()->GetWidth(), 8);
    EXPECT_EQ(view->pastePosition(), QPoint(60, 40));

    QTest::mouseMove(pane(), QPoint(24, 18));
    QTest::mouseClick(pane(), Qt::LeftButton, {}, QPoint(24, 18));
    EXPECT_FALSE(doc->HasFloatingPaste());
    EXPECT_TRUE(IsGreen(*doc->Image(), 12, 9)) << "the top-left under the pointer";
    EXPECT_FALSE(IsGreen(*doc->Image(), 11, 9));
    EXPECT_FALSE(IsGreen(*doc->Image(), 12, 8));
    EXPECT_TRUE(IsGreen(*doc->Image(), 19, 18));
    EXPECT_FALSE(IsGreen(*doc->Image(), 20, 18));

    // Brought in by the window, a mark starts at the top-left; one that would not fit once
    // turned stays as it is.
    QTest::mouseClick(pane(), Qt::RightButton, {}, QPoint(30, 30));
    ASSERT_TRUE(ui->PastePicture(Plain(35, 10, MakeColorRef(0, 255, 0)), true));
    EXPECT_EQ(view->pastePosition(), QPoint(0, 0));
    QTest::keyClick(view.get(), Qt::Key_Space);
    EXPECT_TRUE(prompter.showed(document::msg::kMarkTurnTooLarge));
    EXPECT_EQ(doc->Paste()->GetWidth(), 35);
}

TEST_F(SelectionViewTest, AClipboardPasteIsDraggedAndMergedWhereItIsDrawnInWindowSizeMode)
{
    SetPicture(Gradient(40, 30));
    doc->OnWindowSize();  // 200 x 150 pane: drawn five times as large
    view->refresh();
    QTest::mouseClick(pane(), Qt::RightButton, {}, QPoint(50, 25));
    ASSERT_TRUE(doc->PastePicture(Plain(4, 4, MakeColorRef(0, 255, 0)), false));
    view->imageChanged();
    EXPECT_EQ(Shown(52, 27), qRgb(0, 255, 0));

    Drag({55, 30}, {65, 40});  // inside: dragged by 10, 10
    EXPECT_EQ(view->pastePosition(), QPoint(60, 35));
    ASSERT_TRUE(doc->HasFloatingPaste());
    QTest::mouseClick(pane(), Qt::LeftButton, {}, QPoint(190, 140));  // outside: merged
    EXPECT_FALSE(doc->HasFloatingPaste());
    EXPECT_TRUE(IsGreen(*doc->Image(), 12, 7));
    EXPECT_TRUE(IsGreen(*doc->Image(), 15, 10));
    EXPECT_FALSE(IsGreen(*doc->Image(), 11, 7));
    EXPECT_FALSE(IsGreen(*doc->Image(), 16, 10));
    EXPECT_EQ(view->pastePosition(), QPoint(0, 0));
}

TEST_F(SelectionViewTest, OnAScrolledPaneTheTrackerAndThePasteKeepToTheirPixels)
{
    SetPicture(Gradient(400, 300));
    view->horizontalScrollBar()->setValue(100);
    view->verticalScrollBar()->setValue(50);
    ui->OnRectSelect();
    Drag({10, 10}, {30, 20});
    EXPECT_EQ(SelectionBox(), (PixelRect{110, 60, 130, 70}));
    view->horizontalScrollBar()->setValue(90);
    Drag({25, 15}, {27, 15});  // still inside: the tracker moved with the picture
    EXPECT_EQ(SelectionBox(), (PixelRect{112, 60, 132, 70}));

    QTest::mouseClick(pane(), Qt::RightButton, {}, QPoint(20, 10));
    ASSERT_TRUE(doc->PastePicture(Plain(4, 4, MakeColorRef(0, 255, 0)), false));
    view->imageChanged();
    EXPECT_EQ(view->pastePosition(), QPoint(110, 60));
    QTest::mouseClick(pane(), Qt::LeftButton, {}, QPoint(150, 100));
    EXPECT_TRUE(IsGreen(*doc->Image(), 110, 60));
    EXPECT_TRUE(IsGreen(*doc->Image(), 113, 63));
    EXPECT_FALSE(IsGreen(*doc->Image(), 114, 63));
}

TEST_F(SelectionViewTest, InCropModeADoubleClickCropsToTheRectangle)
{
    SetPicture(Gradient(40, 30));
    ui->OnCrop();
    ASSERT_EQ(doc->ActiveTool(), Tool::Crop);
    Drag({5, 5}, {25, 20});
    QTest::mouseDClick(pane(), Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_EQ(doc->Image()->GetWidth(), 20);
    EXPECT_EQ(doc->Image()->GetHeight(), 15);
    EXPECT_EQ(doc->ActiveTool(), Tool::None);
    EXPECT_TRUE(ui->rectTool()->tracker().empty());

    // A click that draws no band in crop mode leaves nothing selected to crop.
    ui->OnCrop();
    Drag({2, 2}, {8, 8});
    ASSERT_TRUE(doc->Image()->SelectionIsValid());
    QTest::mouseClick(pane(), Qt::LeftButton, {}, QPoint(15, 12));
    EXPECT_FALSE(doc->Image()->SelectionIsValid());
    ui->OnCrop();
    EXPECT_EQ(doc->Image()->GetWidth(), 20) << "crop mode again, nothing cut";
}

}  // namespace
}  // namespace vestrel::selection::test
