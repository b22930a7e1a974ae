// Formats whose own codec files are still being written: BMP, JPEG, PNG and TIFF go
// through OpenCV for now, the others are refused.
#include "FormatCodecs.h"

#include <opencv2/imgcodecs.hpp>

namespace vestrel::codecs {

std::optional<CodecImage> DecodeBmp(Bytes file) { return DecodeWithOpenCv(file); }
EncodedFile EncodeBmp(const CodecImage& image) { return EncodeWithOpenCv(ToBgr(image), ".bmp"); }
std::optional<CodecImage> DecodeJpeg(Bytes file) { return DecodeWithOpenCv(file); }
EncodedFile EncodeJpeg(const CodecImage& image, int quality) {
    return EncodeWithOpenCv(ToBgr(image), ".jpg", {cv::IMWRITE_JPEG_QUALITY, quality});
}
std::optional<CodecImage> DecodePng(Bytes file) { return DecodeWithOpenCv(file); }
EncodedFile EncodePng(const CodecImage& image) { return EncodeWithOpenCv(ToBgr(image), ".png"); }
std::optional<CodecImage> DecodeIco(Bytes, int) { return std::nullopt; }
EncodedFile EncodeIco(const CodecImage&) { return std::nullopt; }
std::optional<CodecImage> DecodeTga(Bytes) { return std::nullopt; }
EncodedFile EncodeTga(const CodecImage&) { return std::nullopt; }
std::optional<CodecImage> DecodePcx(Bytes) { return std::nullopt; }
EncodedFile EncodePcx(const CodecImage&) { return std::nullopt; }
std::optional<CodecImage> DecodeWbmp(Bytes) { return std::nullopt; }
EncodedFile EncodeWbmp(const CodecImage&) { return std::nullopt; }
std::optional<CodecImage> DecodePgx(Bytes) { return std::nullopt; }
EncodedFile EncodePgx(const CodecImage&) { return std::nullopt; }
std::optional<CodecImage> DecodePnm(Bytes) { return std::nullopt; }
EncodedFile EncodePnm(const CodecImage&) { return std::nullopt; }
std::optional<CodecImage> DecodeSunRaster(Bytes) { return std::nullopt; }
EncodedFile EncodeSunRaster(const CodecImage&) { return std::nullopt; }
std::optional<CodecImage> DecodeJpeg2000(Bytes) { return std::nullopt; }
EncodedFile EncodeJp2(const CodecImage&) { return std::nullopt; }
EncodedFile EncodeJ2kCodeStream(const CodecImage&) { return std::nullopt; }

}  // namespace vestrel::codecs
