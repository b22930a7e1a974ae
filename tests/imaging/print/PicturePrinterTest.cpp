// Printing for real: one page through QPrinter to a PDF file, judged by poppler (the
// embedded image's pixels and resolution, where its pixels land on the rendered page),
// and the position-adjusting preview with its alignment buttons.

#include "CMyPreviewView.h"
#include "PdfTestTools.h"
#include "PicturePrinter.h"
#include "QtTestApp.h"
#include "TempProgramDir.h"

#include <QAction>
#include <QImage>
#include <QPointer>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QSignalSpy>

#include <opencv2/imgcodecs.hpp>
#include <opencv2/imgproc.hpp>

#include <gtest/gtest.h>

namespace vestrel::print {
namespace {

namespace fs = std::filesystem;
using testkit::runCommand;

constexpr double kPointsPerMm = 72.0 / 25.4;
constexpr double kMarginMm = 10.0;
// A4 less 10 mm all round, in points: the printable area the picture is placed in.
constexpr double kAreaWidthPt = (210.0 - 2 * kMarginMm) * kPointsPerMm;
constexpr double kAreaHeightPt = (297.0 - 2 * kMarginMm) * kPointsPerMm;
constexpr double kMarginPt = kMarginMm * kPointsPerMm;

CxImage RedPicture(int width, int height, double dpi)
{
    CxImage image;
    EXPECT_TRUE(image.CreateFromMat(cv::Mat(height, width, CV_8UC3, cv::Scalar(0, 0, 255))));
    image.SetXDPI(dpi);
    image.SetYDPI(dpi);
    return image;
}

// A4, 10 mm margins, 300 printer pixels per inch, into `pdf`.
void SetUpPdfPrinter(QPrinter& printer, const fs::path& pdf)
{
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QString::fromStdString(pdf.string()));
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setPageMargins(QMarginsF(kMarginMm, kMarginMm, kMarginMm, kMarginMm), QPageLayout::Millimeter);
    printer.setResolution(300);
}

struct Box {
    double left = 0, top = 0, right = 0, bottom = 0;
};

// Where the red pixels are on the page rendered at 72 dpi: one pixel per point.
Box RedBoxInPoints(const fs::path& pdf)
{
    const fs::path stem = pdf.parent_path() / "page";
    const auto result = runCommand("pdftoppm -r 72 -png -singlefile '" + pdf.string() + "' '" + stem.string() + "'");
    EXPECT_EQ(result.status, 0) << result.output;
    const cv::Mat page = cv::imread(stem.string() + ".png", cv::IMREAD_COLOR);
    EXPECT_FALSE(page.empty());
    cv::Mat red;
    cv::inRange(page, cv::Scalar(0, 0, 200), cv::Scalar(60, 60, 255), red);
    const cv::Rect r = cv::boundingRect(red);
    return {double(r.x), double(r.y), double(r.x + r.width), double(r.y + r.height)};
}

class PicturePrinterTest : public testkit::ProgramDirTest {
protected:
    PicturePrinterTest() { testkit::TestApp(); }
    fs::path pdf = programDir.path() / "page.pdf";
};

TEST_F(PicturePrinterTest, ACentredPictureIsPrintedAtItsPhysicalSizeInTheMiddleOfThePage)
{
    // 600 x 300 pixels at 150 dpi: 4 x 2 inches, 288 x 144 points.
    const CxImage picture = RedPicture(600, 300, 150);
    QPrinter printer(QPrinter::HighResolution);
    SetUpPdfPrinter(printer, pdf);
    ASSERT_TRUE(PrintPicture(printer, &picture, PrintScale{}, PrintAlignment{}));

    EXPECT_EQ(testkit::pageCount(pdf), 1);
    const auto sizes = testkit::pageSizes(pdf);
    ASSERT_EQ(sizes.size(), 1u);
    EXPECT_NEAR(sizes[0].first, 595.28, 0.5);
    EXPECT_NEAR(sizes[0].second, 841.89, 0.5);
    const auto images = testkit::listImages(pdf);
    ASSERT_EQ(images.size(), 1u);
    EXPECT_EQ(images[0].width, 600);
    EXPECT_EQ(images[0].height, 300);
    EXPECT_EQ(images[0].xPpi, 150);
    EXPECT_EQ(images[0].yPpi, 150);

    const Box box = RedBoxInPoints(pdf);
    EXPECT_NEAR(box.left, kMarginPt + (kAreaWidthPt - 288) / 2, 1.5);
    EXPECT_NEAR(box.top, kMarginPt + (kAreaHeightPt - 144) / 2, 1.5);
    EXPECT_NEAR(box.right - box.left, 288, 1.5);
    EXPECT_NEAR(box.bottom - box.top, 144, 1.5);
}

TEST_F(PicturePrinterTest, OneToOneAtTheTopPositionShrinksThePictureInTheTopLeftCorner)
{
    const CxImage picture = RedPicture(600, 300, 150);
    QPrinter printer(QPrinter::HighResolution);
    SetUpPdfPrinter(printer, pdf);
    ASSERT_TRUE(PrintPicture(printer, &picture, PrintScale{true, kArmTop},
                             {HorizontalAlignment::Left, VerticalAlignment::Top}));

    // 0.56 of 4 x 2 inches: the 600 pixels now span 2.24 inches, 268 pixels per inch.
    const auto images = testkit::listImages(pdf);
    ASSERT_EQ(images.size(), 1u);
    EXPECT_EQ(images[0].width, 600);
    EXPECT_EQ(images[0].xPpi, 268);
    EXPECT_EQ(images[0].yPpi, 268);
    const Box box = RedBoxInPoints(pdf);
    EXPECT_NEAR(box.left, kMarginPt, 1.5);
    EXPECT_NEAR(box.top, kMarginPt, 1.5);
    EXPECT_NEAR(box.right - box.left, 288 * 0.56, 1.5);
    EXPECT_NEAR(box.bottom - box.top, 144 * 0.56, 1.5);
}

TEST_F(PicturePrinterTest, APictureTwiceThePageWideIsHalvedAndAWiderOneStartsAtTheEdge)
{
    // 2400 pixels at 150 dpi: 16 inches on a 7.5 inch wide printable area, divided by 2.
    const CxImage picture = RedPicture(2400, 600, 150);
    QPrinter printer(QPrinter::HighResolution);
    SetUpPdfPrinter(printer, pdf);
    ASSERT_TRUE(PrintPicture(printer, &picture, PrintScale{}, {HorizontalAlignment::Right, VerticalAlignment::Bottom}));

    const auto images = testkit::listImages(pdf);
    ASSERT_EQ(images.size(), 1u);
    EXPECT_EQ(images[0].width, 2400);
    EXPECT_EQ(images[0].xPpi, 300);
    EXPECT_EQ(images[0].yPpi, 300);
    // 8 inches are wider than the area: it starts at the margin and runs off the sheet;
    // the 2 inches of height sit at the bottom.
    const Box box = RedBoxInPoints(pdf);
    EXPECT_NEAR(box.left, kMarginPt, 1.5);
    EXPECT_NEAR(box.bottom, kMarginPt + kAreaHeightPt, 1.5);
    EXPECT_NEAR(box.bottom - box.top, 144, 1.5);
    EXPECT_NEAR(box.right, 595, 1.5) << "cut by the sheet's edge";
}

TEST_F(PicturePrinterTest, WithoutAPictureNothingIsPrintedAndThePictureIsOnlyRead)
{
    QPrinter printer(QPrinter::HighResolution);
    SetUpPdfPrinter(printer, pdf);
    EXPECT_FALSE(PrintPicture(printer, nullptr, PrintScale{}, PrintAlignment{}));
    const CxImage invalid;
    EXPECT_FALSE(PrintPicture(printer, &invalid, PrintScale{}, PrintAlignment{}));
    EXPECT_FALSE(fs::exists(pdf)) << "not even a blank page";

    // No stored resolution: printed as 96 dpi, and the picture keeps its 0.
    const CxImage picture = RedPicture(192, 96, 0);
    ASSERT_TRUE(PrintPicture(printer, &picture, PrintScale{}, PrintAlignment{}));
    const auto images = testkit::listImages(pdf);
    ASSERT_EQ(images.size(), 1u);
    EXPECT_EQ(images[0].xPpi, 96);
    EXPECT_EQ(picture.GetXDPI(), 0.0);
    EXPECT_EQ(picture.GetWidth(), 192);
    const Box box = RedBoxInPoints(pdf);
    EXPECT_NEAR(box.right - box.left, 144, 1.5);  // 2 inches
}

// The red part of the preview's drawing, as a fraction of the drawn page's width: where the
// picture's middle is, left (0) to right (1).
double RedMiddleAcrossPage(QWidget& preview)
{
    const QImage shot = preview.grab().toImage().convertToFormat(QImage::Format_RGB32);
    int pageLeft = shot.width(), pageRight = -1, redLeft = shot.width(), redRight = -1;
    for (int y = 0; y < shot.height(); ++y)
        for (int x = 0; x < shot.width(); ++x) {
            const QRgb c = shot.pixel(x, y);
            const bool white = qRed(c) > 245 && qGreen(c) > 245 && qBlue(c) > 245;
            const bool red = qRed(c) > 200 && qGreen(c) < 60 && qBlue(c) < 60;
            if (white || red) pageLeft = std::min(pageLeft, x), pageRight = std::max(pageRight, x);
            if (red) redLeft = std::min(redLeft, x), redRight = std::max(redRight, x);
        }
    if (redRight < 0 || pageRight <= pageLeft) return -1;
    return ((redLeft + redRight) / 2.0 - pageLeft) / double(pageRight - pageLeft);
}

TEST_F(PicturePrinterTest, ThePreviewRedrawsAtOnceWhenAnAlignmentIsChosen)
{
    const CxImage picture = RedPicture(600, 300, 150);
    QPrinter printer(QPrinter::HighResolution);
    SetUpPdfPrinter(printer, pdf);
    PrintAlignment alignment;  // centre, middle
    PrintScale scale;          // 1:1 off
    QPointer<CMyPreviewView> view = new CMyPreviewView(
        printer, alignment, [&picture] { return &picture; }, [&scale] { return scale; });
    view->resize(600, 800);
    view->show();
    ASSERT_TRUE(testkit::WaitFor([&] { return !view->lastPictureRect().empty(); }));
    const PrintRect centred = view->lastPictureRect();
    EXPECT_NEAR(RedMiddleAcrossPage(*view->previewWidget()), 0.5, 0.03);

    // Only the buttons of the values not in force can be pressed.
    using H = HorizontalAlignment;
    using V = VerticalAlignment;
    EXPECT_FALSE(view->horizontalAction(H::Centre)->isEnabled());
    EXPECT_TRUE(view->horizontalAction(H::Left)->isEnabled());
    EXPECT_TRUE(view->horizontalAction(H::Right)->isEnabled());
    EXPECT_FALSE(view->verticalAction(V::Middle)->isEnabled());

    view->horizontalAction(H::Right)->trigger();
    // Redrawn before the trigger returned: no event loop in between.
    EXPECT_EQ(alignment.horizontal, H::Right);
    const PrintRect right = view->lastPictureRect();
    EXPECT_EQ(right.x + right.width, PageOf(printer).width) << "against the right edge";
    EXPECT_NEAR(right.x, 2 * centred.x, 1) << "the whole free width now lies to its left";
    EXPECT_EQ(right.y, centred.y);
    EXPECT_FALSE(view->horizontalAction(H::Right)->isEnabled());
    EXPECT_TRUE(view->horizontalAction(H::Centre)->isEnabled());
    EXPECT_GT(RedMiddleAcrossPage(*view->previewWidget()), 0.7);

    view->horizontalAction(H::Left)->trigger();
    view->verticalAction(V::Top)->trigger();
    EXPECT_EQ(view->lastPictureRect(), (PrintRect{0, 0, right.width, right.height}));
    EXPECT_LT(RedMiddleAcrossPage(*view->previewWidget()), 0.3);
    EXPECT_FALSE(view->verticalAction(V::Top)->isEnabled());
    EXPECT_TRUE(view->verticalAction(V::Middle)->isEnabled());

    // Changed in the main window meanwhile (1:1 at the top): shown when the preview is
    // active again.
    scale = {true, kArmTop};
    QEvent activate(QEvent::WindowActivate);
    QCoreApplication::sendEvent(view.data(), &activate);
    EXPECT_EQ(view->lastPictureRect().width, right.width * 56 / 100);

    // Print: the window goes and asks for the print.
    QSignalSpy printRequested(view.data(), &CMyPreviewView::printRequested);
    view->printAction()->trigger();
    EXPECT_EQ(printRequested.count(), 1);
    EXPECT_TRUE(testkit::WaitFor([&] { return view.isNull(); }));
    // The alignment outlives the window.
    EXPECT_EQ(alignment, (PrintAlignment{H::Left, V::Top}));
}

}  // namespace
}  // namespace vestrel::print
