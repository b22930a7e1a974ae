#pragma once
// Making the 90 x 90 thumbnail of a file: white square, the picture stretched into its place
// (ThumbnailGeometry.h), a one-pixel grey frame around the square. JPEG files are decoded
// at the smallest size libjpeg offers that still gives 90 pixels on the long side, so that
// a library of camera scans never pays for a full-size decode; other formats go through
// CxImage. Safe to call from any thread.

#include <opencv2/core.hpp>

#include <filesystem>

namespace vestrel::library {

// The frame drawn around every thumbnail.
inline const cv::Scalar kThumbnailFrame(192, 192, 192);

// 8, 4, 2 or 1: the largest reduction that still leaves at least 90 pixels on the longer
// side of a width x height JPEG (libjpeg rounds the reduced size up).
int JpegReduction(int width, int height);

// The picture of a file for its thumbnail, as BGR, and the size of the full picture. An
// empty picture when the file is missing, of no image type, damaged or cut short.
struct ThumbnailPicture {
    cv::Mat pixels;       // possibly reduced
    cv::Size fullSize;    // the size of the picture in the file
};
ThumbnailPicture DecodeForThumbnail(const std::filesystem::path& file);

// Draws the thumbnail of a picture whose full size is `fullSize` (pixels may be reduced).
cv::Mat DrawThumbnail(const cv::Mat& pixels, cv::Size fullSize);

// The thumbnail of `file` (CV_8UC3, 90 x 90), or an empty Mat when it has no picture.
// Never throws.
cv::Mat MakeThumbnail(const std::filesystem::path& file);

}  // namespace vestrel::library
