// Formats whose own codec files are still being written: BMP, JPEG, PNG and TIFF go
// through OpenCV for now, the others are refused.
#include "FormatCodecs.h"

#include <opencv2/imgcodecs.hpp>

namespace vestrel::codecs {

std::optional<CodecImage> DecodeJpeg(Bytes file) { return DecodeWithOpenCv(file); }
EncodedFile EncodeJpeg(const CodecImage& image, int quality) {
    return EncodeWithOpenCv(ToBgr(image), ".jpg", {cv::IMWRITE_JPEG_QUALITY, quality});
}
std::optional<CodecImage> DecodePng(Bytes file) { return DecodeWithOpenCv(file); }
EncodedFile EncodePng(const CodecImage& image) { return EncodeWithOpenCv(ToBgr(image), ".png"); }
std::optional<CodecImage> DecodePnm(Bytes) { return std::nullopt; }
EncodedFile EncodePnm(const CodecImage&) { return std::nullopt; }
std::optional<CodecImage> DecodeSunRaster(Bytes) { return std::nullopt; }
EncodedFile EncodeSunRaster(const CodecImage&) { return std::nullopt; }
std::optional<CodecImage> DecodeJpeg2000(Bytes) { return std::nullopt; }
EncodedFile EncodeJp2(const CodecImage&) { return std::nullopt; }
EncodedFile EncodeJ2kCodeStream(const CodecImage&) { return std::nullopt; }

}  // namespace vestrel::codecs
