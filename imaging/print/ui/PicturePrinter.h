#pragma once
// Printing the picture: one page, the picture drawn at the rectangle the print geometry
// gives for the printer's page. Used by the print command and, on its preview printer, by
// the position-adjusting preview.

#include "CxImage.h"
#include "PrintGeometry.h"

class QPainter;
class QPrinter;

namespace vestrel::print {

// The printer's printable area in its pixels, and its pixels per inch.
PrintPage PageOf(const QPrinter& printer);
// The picture's size and stored resolution, rounded to whole dots per inch.
PictureSize PictureOf(const CxImage& image);

// Draws `image` on the page `painter` is painting on `printer`. Returns the rectangle it
// drew into; empty, with nothing drawn, when there is no picture.
PrintRect DrawPicturePage(QPainter& painter, const QPrinter& printer, const CxImage* image,
                          const PrintScale& scale, const PrintAlignment& alignment);

// Prints one page with the picture. False, and nothing printed (not even a blank page),
// when there is no picture or the printer cannot start. The picture is only read: the
// page is drawn from a converted copy.
bool PrintPicture(QPrinter& printer, const CxImage* image, const PrintScale& scale,
                  const PrintAlignment& alignment);

}  // namespace vestrel::print
