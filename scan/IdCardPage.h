#pragma once
// The page of the two-sided ID-card copy: a white 1600 x 2200 sheet with the front of the
// card centred below the middle and the back 30 pixels above it, so that both sides print
// on one sheet at their real size. Here is its geometry; IdCardCopier.h takes the steps.

#include "CxImage.h"
#include "Settings.h"

#include <opencv2/core.hpp>

namespace vestrel::scan {

inline constexpr int kCopyPageWidth = 1600;
inline constexpr int kCopyPageHeight = 2200;
// Larger scan areas do not fit twice on the page.
inline constexpr int kLargestCardWidth = 1200;
inline constexpr int kLargestCardHeight = 1060;
inline constexpr int kCardGap = 30;

// The card sides in the order they are taken: step 1 starts a page, step 2 completes it.
enum class CardSide { Front = 1, Back = 2 };

// The part of the frame that is copied: the scan area of the settings (preset rectangle or
// centred w x h) on a frame of lwidth x lheight, as a scan would keep it.
PixelRect CopyArea(const Settings& settings);

// Whether the area fits twice on the page (at most 1200 x 1060).
bool FitsCopyPage(const PixelRect& area);

// A new page: 1600 x 2200, 24 bits, white.
CxImage NewCopyPage();

// The card as it lies on the desk turned towards the user: the scan area of `frame`
// (CV_8UC3, top row first) turned by 180 degrees, so that what the user saw inside the
// drawn rectangle is what is copied. Empty for a frame that is no picture.
CxImage CardFromFrame(const cv::Mat& frame, const Settings& settings);

// Where the card's top-left pixel goes on the page (top-down), for a card of cw x ch:
// horizontally centred; its lower edge (PH - 2ch)/2 above the page's bottom for the front,
// ch + 30 higher for the back.
PixelPoint CardPlacement(CardSide side, int cardWidth, int cardHeight);

// Pastes the card onto the page at its place; false when the page is no picture.
bool PlaceCard(CxImage& page, const CxImage& card, CardSide side);

}  // namespace vestrel::scan
