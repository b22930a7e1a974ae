#include "ThumbnailMaker.h"

#include "CxImage.h"
#include "ImageTypes.h"
#include "JpegHeader.h"
#include "ThumbnailGeometry.h"
#include "codecs/CodecImageOps.h"

#include <opencv2/imgcodecs.hpp>
#include <opencv2/imgproc.hpp>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <optional>
#include <vector>

namespace vestrel::library {
namespace {

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

// A JPEG whose end-of-image marker is missing was cut short (a copy that broke off, a
// scan still being written): libjpeg would fill the rest with grey and call it a picture.
// In the entropy-coded data 0xFF is always followed by 0x00 or a restart marker, so
// 0xFF 0xD9 near the end can only be the end marker; a few bytes of padding may follow it.
bool HasEndMarker(const std::vector<uchar>& bytes)
{
    constexpr std::size_t kTail = 4096;
    const std::size_t from = bytes.size() > kTail ? bytes.size() - kTail : 0;
    for (std::size_t i = bytes.size(); i >= from + 2; --i)
        if (bytes[i - 2] == 0xFF && bytes[i - 1] == 0xD9) return true;
    return false;
}

int ReducedFlag(int reduction)
{
    switch (reduction) {
    case 8: return cv::IMREAD_REDUCED_COLOR_8;
    case 4: return cv::IMREAD_REDUCED_COLOR_4;
    case 2: return cv::IMREAD_REDUCED_COLOR_2;
    default: return cv::IMREAD_COLOR;
    }
}

// Nothing when the file is not a JPEG inside (then CxImage has its say); an empty picture
// when it is one but damaged.
std::optional<ThumbnailPicture> DecodeJpeg(const std::filesystem::path& file)
{
    File in(std::fopen(file.c_str(), "rb"));
    if (!in || !pdf::looksLikeJpeg(in.get())) return std::nullopt;
    // A frame header this reader does not take (not 8-bit, odd components) is left to
    // CxImage, so that whatever the document can open has a thumbnail.
    const auto header = pdf::readJpegHeader(in.get());
    if (!header) return std::nullopt;
    ThumbnailPicture picture;
    if (!codecs::SizeAllowed(header->width, header->height)) return picture;

    if (std::fseek(in.get(), 0, SEEK_END) != 0) return picture;
    const long size = std::ftell(in.get());
    if (size <= 0) return picture;
    std::rewind(in.get());
    std::vector<uchar> bytes(static_cast<std::size_t>(size));
    if (std::fread(bytes.data(), 1, bytes.size(), in.get()) != bytes.size() || !HasEndMarker(bytes))
        return picture;

    // The picture is shown as stored, like the document shows it: no turning by EXIF.
    const int flags = ReducedFlag(JpegReduction(header->width, header->height)) | cv::IMREAD_IGNORE_ORIENTATION;
    picture.pixels = cv::imdecode(bytes, flags);
    picture.fullSize = cv::Size(header->width, header->height);
    return picture;
}

}  // namespace

int JpegReduction(int width, int height)
{
    const int longSide = std::max(width, height);
    for (int reduction : {8, 4, 2})
        if ((longSide + reduction - 1) / reduction >= kThumbnailSide) return reduction;
    return 1;
}

ThumbnailPicture DecodeForThumbnail(const std::filesystem::path& file)
{
    const int type = GetFileType(file.filename().string());
    if (type == CXIMAGE_FORMAT_UNKNOWN || type == CXIMAGE_FORMAT_PDF) return {};
    if (type == CXIMAGE_FORMAT_JPG) {
        if (auto picture = DecodeJpeg(file)) return *picture;
    }
    CxImage image(file, type);
    if (!image.IsValid()) return {};
    ThumbnailPicture picture;
    picture.pixels = image.ToBgr();
    picture.fullSize = picture.pixels.size();
    return picture;
}

cv::Mat DrawThumbnail(const cv::Mat& pixels, cv::Size fullSize)
{
    cv::Mat square(kThumbnailSide, kThumbnailSide, CV_8UC3, cv::Scalar::all(255));
    const ThumbnailRect place = ThumbnailPlacement(fullSize.width, fullSize.height);
    const cv::Rect target(place.x, place.y, place.width, place.height);
    cv::Mat stretched;
    cv::resize(pixels, stretched, target.size(), 0, 0, cv::INTER_AREA);
    stretched.copyTo(square(target));
    cv::rectangle(square, cv::Rect(0, 0, kThumbnailSide, kThumbnailSide), kThumbnailFrame, 1);
    return square;
}

cv::Mat MakeThumbnail(const std::filesystem::path& file)
{
    try {
        const ThumbnailPicture picture = DecodeForThumbnail(file);
        if (picture.pixels.empty() || picture.pixels.type() != CV_8UC3 || picture.fullSize.width <= 0 ||
            picture.fullSize.height <= 0)
            return {};
        return DrawThumbnail(picture.pixels, picture.fullSize);
    } catch (...) {
        // A decoder that gives up on a damaged file leaves the entry without a picture.
        return {};
    }
}

}  // namespace vestrel::library
