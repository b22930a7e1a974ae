#include "PrintGeometry.h"

#include <algorithm>
#include <cstdint>

namespace vestrel::print {

int OneToOneFactorPercent(int armPosition)
{
    switch (armPosition) {
    case kArmTop: return 56;
    case kArmMiddle: return 59;
    case kArmBottom: return 37;
    default: return 100;
    }
}

namespace {

// Pixels at the picture's resolution to pixels at the printer's, truncated as the page
// always was. 64 bits: a wide picture times a 1200 dpi printer passes 2^31.
std::int64_t PhysicalSize(int pixels, int printerDpi, int storedDpi)
{
    const int dpi = storedDpi > 0 ? storedDpi : kUnknownResolutionDpi;
    return std::int64_t(pixels) * printerDpi / dpi;
}

// The offset of a printed length inside the page's length; 0 when it does not fit, so a
// picture too large for the page starts at the page's edge rather than off it.
double Offset(double printed, int page, bool atStart, bool atEnd)
{
    if (atStart || printed >= page) return 0.0;
    return atEnd ? page - printed : (page - printed) * 0.5;
}

constexpr double kLargestPrinted = 1 << 30;

}  // namespace

PrintRect PictureRectOnPage(const PrintPage& page, const PictureSize& picture, const PrintScale& scale,
                            const PrintAlignment& alignment)
{
    if (page.width <= 0 || page.height <= 0 || page.dpiX <= 0 || page.dpiY <= 0) return {};
    if (picture.width <= 0 || picture.height <= 0) return {};

    const std::int64_t w = PhysicalSize(picture.width, page.dpiX, picture.dpiX);
    const std::int64_t h = PhysicalSize(picture.height, page.dpiY, picture.dpiY);
    double printedW = 0, printedH = 0;
    if (scale.oneToOne) {
        const int percent = OneToOneFactorPercent(scale.armPosition);
        printedW = double(w * percent) / 100.0;
        printedH = double(h * percent) / 100.0;
    } else {
        std::int64_t divisor = std::max(w / page.width, h / page.height);
        if (divisor == 0) divisor = 1;
        printedW = double(w / divisor);
        printedH = double(h / divisor);
    }

    // Nothing prints beyond a billion printer pixels; the cap keeps the integers below sound.
    printedW = std::min(printedW, kLargestPrinted);
    printedH = std::min(printedH, kLargestPrinted);

    const double left = Offset(printedW, page.width, alignment.horizontal == HorizontalAlignment::Left,
                               alignment.horizontal == HorizontalAlignment::Right);
    const double top = Offset(printedH, page.height, alignment.vertical == VerticalAlignment::Top,
                              alignment.vertical == VerticalAlignment::Bottom);
    // Both corners are truncated, as the page always had them.
    PrintRect rect;
    rect.x = int(left);
    rect.y = int(top);
    rect.width = int(std::int64_t(left + printedW) - rect.x);
    rect.height = int(std::int64_t(top + printedH) - rect.y);
    return rect;
}

}  // namespace vestrel::print
