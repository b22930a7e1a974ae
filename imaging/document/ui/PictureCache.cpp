#include "PictureCache.h"

#include <opencv2/core.hpp>
#include <opencv2/imgproc.hpp>

namespace vestrel::document {

QImage ToQImage(const CxImage& image)
{
    if (!image.IsValid()) return {};
    const bool transparent = image.AlphaIsValid() || image.IsTransparent();
    QImage out(image.GetWidth(), image.GetHeight(), transparent ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    if (out.isNull()) return {};
    // QImage's 32-bit formats hold blue, green, red, alpha in memory order on this
    // little-endian machine, exactly OpenCV's BGRA.
    cv::Mat target(out.height(), out.width(), CV_8UC4, out.bits(), std::size_t(out.bytesPerLine()));
    try {
        if (transparent) image.ToBgra().copyTo(target);
        else cv::cvtColor(image.ToBgr(), target, cv::COLOR_BGR2BGRA);
    } catch (const cv::Exception&) {
        return {};
    }
    if (transparent) out.convertTo(QImage::Format_ARGB32_Premultiplied);
    return out;
}

PictureCache::Identity PictureCache::IdentityOf(const CxImage* image)
{
    if (!image || !image->IsValid()) return {};
    return {image, image->GetBits(0), image->GetWidth(), image->GetHeight(), image->GetBpp(),
            image->AlphaIsValid() || image->IsTransparent()};
}

void PictureCache::invalidate()
{
    valid_ = false;
}

const QImage& PictureCache::picture(const CxImage* image)
{
    const Identity identity = IdentityOf(image);
    if (valid_ && identity == identity_) return picture_;
    identity_ = identity;
    valid_ = true;
    scaled_ = QImage();
    picture_ = identity.object ? ToQImage(*image) : QImage();
    if (identity.object) ++conversions_;
    return picture_;
}

const QImage& PictureCache::scaled(const CxImage* image, QSize size)
{
    const QImage& full = picture(image);
    if (full.isNull() || size.isEmpty()) {
        scaled_ = QImage();
        return scaled_;
    }
    if (scaled_.size() != size)
        scaled_ = full.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    return scaled_;
}

}  // namespace vestrel::document
