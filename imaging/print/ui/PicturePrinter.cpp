#include "PicturePrinter.h"

#include "PictureCache.h"

#include <QPainter>
#include <QPrinter>

#include <cmath>

namespace vestrel::print {

PrintPage PageOf(const QPrinter& printer)
{
    return {printer.width(), printer.height(), printer.logicalDpiX(), printer.logicalDpiY()};
}

PictureSize PictureOf(const CxImage& image)
{
    // The image keeps resolutions in 0 .. 1000000, so the rounding cannot overflow.
    return {image.GetWidth(), image.GetHeight(), int(std::lround(image.GetXDPI())),
            int(std::lround(image.GetYDPI()))};
}

namespace {

// The rectangle and the converted copy to draw into it; empty when there is nothing to print.
struct PreparedPage {
    PrintRect rect;
    QImage copy;
};

PreparedPage Prepare(const QPrinter& printer, const CxImage* image, const PrintScale& scale,
                     const PrintAlignment& alignment)
{
    if (!image || !image->IsValid()) return {};
    const PrintRect rect = PictureRectOnPage(PageOf(printer), PictureOf(*image), scale, alignment);
    if (rect.empty()) return {};
    QImage copy = document::ToQImage(*image);
    if (copy.isNull()) return {};
    return {rect, std::move(copy)};
}

void Draw(QPainter& painter, const PreparedPage& page)
{
    painter.drawImage(QRect(page.rect.x, page.rect.y, page.rect.width, page.rect.height), page.copy);
}

}  // namespace

PrintRect DrawPicturePage(QPainter& painter, const QPrinter& printer, const CxImage* image,
                          const PrintScale& scale, const PrintAlignment& alignment)
{
    const PreparedPage page = Prepare(printer, image, scale, alignment);
    if (page.copy.isNull()) return {};
    Draw(painter, page);
    return page.rect;
}

bool PrintPicture(QPrinter& printer, const CxImage* image, const PrintScale& scale,
                  const PrintAlignment& alignment)
{
    const PreparedPage page = Prepare(printer, image, scale, alignment);
    if (page.copy.isNull()) return false;
    QPainter painter;
    if (!painter.begin(&printer)) return false;
    Draw(painter, page);
    return painter.end();
}

}  // namespace vestrel::print
