#pragma once
// The document's picture as a QImage ready to draw. Converting a 2592 x 1944 scan costs
// milliseconds, far too much for every repaint while panning, so the converted picture is
// kept until the picture changes. A picture shown below its actual size is also kept
// scaled down with smoothing (a plain stretch makes printed text shimmer); above its size
// it is drawn pixel for pixel, as a zoomed picture should look.

#include "CxImage.h"

#include <QImage>
#include <QSize>

namespace vestrel::document {

// The picture as 32-bit RGB, or premultiplied ARGB when it has an alpha channel or a
// transparent colour. A null image when the picture is invalid or memory runs out.
QImage ToQImage(const CxImage& image);
// The same for the pixels of `area` only (which must lie inside the picture).
QImage ToQImageArea(const CxImage& image, const QRect& area);

class PictureCache {
public:
    // The picture changed in place (an edit): the next request converts it again.
    void invalidate();
    // Pixels [left, right) x [top, bottom) of `image` changed in place (a brush stroke):
    // only they are converted again, and the scaled copy is mended around them. When the
    // cache holds another picture it is simply invalidated.
    void refreshArea(const CxImage* image, int left, int top, int right, int bottom);
    // `image` converted; converted again after invalidate() or when a different picture
    // (another object, pixel buffer, size or depth) is given. Null image for null.
    const QImage& picture(const CxImage* image);
    // `image` smoothly scaled to `size`, kept while picture and size stay the same.
    const QImage& scaled(const CxImage* image, QSize size);
    // How many conversions have been made (for checks that the cache does its job).
    int conversions() const { return conversions_; }

private:
    struct Identity {
        const CxImage* object = nullptr;
        const void* pixels = nullptr;
        int width = 0, height = 0, bpp = 0;
        bool transparent = false;
        bool operator==(const Identity&) const = default;
    };
    static Identity IdentityOf(const CxImage* image);

    Identity identity_;
    bool valid_ = false;
    QImage picture_;
    QImage scaled_;
    int conversions_ = 0;
};

}  // namespace vestrel::document
