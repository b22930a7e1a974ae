#include "IdCardPage.h"

#include "ImageSizeList.h"

namespace vestrel::scan {

PixelRect CopyArea(const Settings& settings)
{
    return ScanAreaRect(settings, settings.lwidth, settings.lheight);
}

bool FitsCopyPage(const PixelRect& area)
{
    return area.width() <= kLargestCardWidth && area.height() <= kLargestCardHeight;
}

CxImage NewCopyPage()
{
    CxImage page(kCopyPageWidth, kCopyPageHeight, 24);
    page.Clear(255);
    return page;
}

CxImage CardFromFrame(const cv::Mat& frame, const Settings& settings)
{
    CxImage card;
    if (frame.empty() || frame.type() != CV_8UC3) return card;
    // The frame may come at another size than config.ini says (a camera that refused the
    // size): the area is taken on the frame as it is.
    const PixelRect area = ScanAreaRect(settings, frame.cols, frame.rows);
    const cv::Rect roi(area.left, area.top, area.width(), area.height());
    if (!card.CreateFromMat(frame(roi))) return CxImage();
    card.Rotate180();
    return card;
}

PixelPoint CardPlacement(CardSide side, int cardWidth, int cardHeight)
{
    int lowerEdge = (kCopyPageHeight - 2 * cardHeight) / 2;
    if (side == CardSide::Back) lowerEdge += cardHeight + kCardGap;
    return {(kCopyPageWidth - cardWidth) / 2, kCopyPageHeight - lowerEdge - cardHeight};
}

bool PlaceCard(CxImage& page, const CxImage& card, CardSide side)
{
    if (!page.IsValid() || !card.IsValid()) return false;
    const PixelPoint at = CardPlacement(side, card.GetWidth(), card.GetHeight());
    return page.MixFrom(card, at.x, at.y);
}

}  // namespace vestrel::scan
