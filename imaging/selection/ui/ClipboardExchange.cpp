#include "ClipboardExchange.h"

#include "ClipboardPayload.h"

#include <QMimeData>

namespace vestrel::selection {

QImage PlainImage(const CxImage& picture)
{
    if (!picture.IsValid()) return {};
    try {
        const cv::Mat bgr = picture.ToBgr();
        QImage plain(bgr.data, bgr.cols, bgr.rows, int(bgr.step[0]), QImage::Format_BGR888);
        return plain.copy();  // the clipboard keeps it after the picture is gone
    } catch (const cv::Exception&) {
        return {};
    }
}

std::unique_ptr<CxImage> PictureFromImage(const QImage& image)
{
    if (image.isNull() || qint64(image.width()) * image.height() > CxImage::kMaxPixels) return nullptr;
    auto picture = std::make_unique<CxImage>();
    if (image.hasAlphaChannel()) {
        // ARGB32 lies in memory as blue, green, red, alpha: OpenCV's BGRA.
        const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
        const cv::Mat bgra(argb.height(), argb.width(), CV_8UC4, const_cast<uchar*>(argb.constBits()),
                           std::size_t(argb.bytesPerLine()));
        if (!picture->CreateFromMat(bgra)) return nullptr;
    } else {
        const QImage bgr = image.convertToFormat(QImage::Format_BGR888);
        const cv::Mat plane(bgr.height(), bgr.width(), CV_8UC3, const_cast<uchar*>(bgr.constBits()),
                            std::size_t(bgr.bytesPerLine()));
        if (!picture->CreateFromMat(plane)) return nullptr;
    }
    return picture;
}

std::unique_ptr<QMimeData> MimeDataFor(const CxImage& picture)
{
    const QImage plain = PlainImage(picture);
    if (plain.isNull()) return nullptr;
    auto mime = std::make_unique<QMimeData>();
    mime->setImageData(plain);
    if (NeedsOwnFormat(picture)) {
        const std::vector<std::uint8_t> bytes = OwnFormatBytes(picture);
        if (bytes.empty()) return nullptr;
        mime->setData(QString::fromLatin1(kOwnClipboardFormat),
                      QByteArray(reinterpret_cast<const char*>(bytes.data()), qsizetype(bytes.size())));
    }
    return mime;
}

bool OffersPicture(const QMimeData* mime)
{
    return mime && (mime->hasFormat(QString::fromLatin1(kOwnClipboardFormat)) || mime->hasImage());
}

std::unique_ptr<CxImage> PictureFrom(const QMimeData* mime)
{
    if (!mime) return nullptr;
    const QString own = QString::fromLatin1(kOwnClipboardFormat);
    if (mime->hasFormat(own)) {
        const QByteArray bytes = mime->data(own);
        const auto* data = reinterpret_cast<const std::uint8_t*>(bytes.constData());
        if (auto picture = ReadOwnFormat({data, std::size_t(bytes.size())})) return picture;
    }
    if (!mime->hasImage()) return nullptr;
    return PictureFromImage(qvariant_cast<QImage>(mime->imageData()));
}

}  // namespace vestrel::selection
