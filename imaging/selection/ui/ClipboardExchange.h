#pragma once
// The picture on the desktop clipboard. A copy always offers the plain image (what every
// other program pastes: the pixels, cut-out areas in the background colour) and, when the
// plain image would lose something, our own serialised picture beside it. A paste prefers
// our own format and takes any image otherwise; a damaged payload of ours is passed over.

#include "CxImage.h"

#include <QImage>

#include <memory>

class QMimeData;

namespace vestrel::selection {

// The pixels as an opaque RGB image; null when the picture is invalid.
QImage PlainImage(const CxImage& picture);
// A 24-bit picture (with an alpha channel when the image has one); null when it is empty
// or too large.
std::unique_ptr<CxImage> PictureFromImage(const QImage& image);

// The clipboard data of a copy; null when the picture cannot be converted.
std::unique_ptr<QMimeData> MimeDataFor(const CxImage& picture);
// The clipboard holds something a paste can take.
bool OffersPicture(const QMimeData* mime);
// The picture a paste takes: our own format when it reads back sound, else the image.
std::unique_ptr<CxImage> PictureFrom(const QMimeData* mime);

}  // namespace vestrel::selection
