#include "PictureCache.h"

#include <opencv2/core.hpp>
#include <opencv2/imgproc.hpp>

#include <QPainter>

#include <cmath>

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

QImage ToQImageArea(const CxImage& image, const QRect& area)
{
    if (!image.IsValid() || area.isEmpty()) return {};
    const bool transparent = image.AlphaIsValid() || image.IsTransparent();
    QImage out(area.size(), transparent ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    if (out.isNull()) return {};
    cv::Mat target(out.height(), out.width(), CV_8UC4, out.bits(), std::size_t(out.bytesPerLine()));
    const cv::Rect roi(area.x(), area.y(), area.width(), area.height());
    try {
        if (transparent) {
            image.ToBgra()(roi).copyTo(target);
        } else if (image.GetBpp() == 24) {
            cv::cvtColor(image.Pixels()(roi), target, cv::COLOR_BGR2BGRA);
        } else {
            // Palette pictures: only the area's indices are looked up.
            cv::Mat lut(1, 256, CV_8UC3, cv::Scalar(0, 0, 0));
            const std::vector<RGBQUAD>& palette = image.GetPalette();
            for (std::size_t i = 0; i < palette.size() && i < 256; ++i)
                lut.at<cv::Vec3b>(0, int(i)) = {palette[i].rgbBlue, palette[i].rgbGreen, palette[i].rgbRed};
            cv::Mat indices, bgr;
            cv::cvtColor(image.Pixels()(roi), indices, cv::COLOR_GRAY2BGR);
            cv::LUT(indices, lut, bgr);
            cv::cvtColor(bgr, target, cv::COLOR_BGR2BGRA);
        }
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

void PictureCache::refreshArea(const CxImage* image, int left, int top, int right, int bottom)
{
    if (!valid_ || !(IdentityOf(image) == identity_) || picture_.isNull()) {
        invalidate();
        return;
    }
    const QRect area = QRect(QPoint(left, top), QPoint(right - 1, bottom - 1)) & picture_.rect();
    if (area.isEmpty()) return;
    const QImage converted = ToQImageArea(*image, area);
    if (converted.isNull() || converted.format() != picture_.format()) {
        invalidate();
        return;
    }
    {
        QPainter painter(&picture_);
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        painter.drawImage(area.topLeft(), converted);
    }
    if (scaled_.isNull()) return;
    // The scaled copy: the changed pixels' place in it, a pixel wider on each side, drawn
    // again from the full picture.
    const double kx = double(scaled_.width()) / picture_.width();
    const double ky = double(scaled_.height()) / picture_.height();
    const QRect target = QRect(QPoint(int(std::floor(area.left() * kx)) - 1, int(std::floor(area.top() * ky)) - 1),
                               QPoint(int(std::ceil((area.right() + 1) * kx)), int(std::ceil((area.bottom() + 1) * ky))))
                         & scaled_.rect();
    if (target.isEmpty()) return;
    const QRectF source(target.left() / kx, target.top() / ky, target.width() / kx, target.height() / ky);
    QPainter painter(&scaled_);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(QRectF(target), picture_, source);
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
