#pragma once
// The decoder and encoder of each format, as the dispatcher in Codecs.cpp calls them.
// Decoders take the whole file in memory and refuse (return nothing) anything damaged;
// encoders return the file's bytes, or nothing when the picture cannot be written.
// Both may throw (OpenCV, allocation); Codecs.cpp catches everything at the boundary.

#include "CodecImageOps.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace vestrel::codecs {

using EncodedFile = std::optional<std::vector<std::uint8_t>>;

// Through OpenCV imgcodecs: the picture as OpenCV reads it (grey, BGR or BGRA).
std::optional<CodecImage> DecodeWithOpenCv(Bytes file);
// `extension` picks OpenCV's encoder (".png", ".jpg", ...).
EncodedFile EncodeWithOpenCv(const cv::Mat& picture, const std::string& extension,
                             const std::vector<int>& params = {});

std::optional<CodecImage> DecodeBmp(Bytes file);
EncodedFile EncodeBmp(const CodecImage& image);

std::optional<CodecImage> DecodeJpeg(Bytes file);
EncodedFile EncodeJpeg(const CodecImage& image, int quality);

std::optional<CodecImage> DecodePng(Bytes file);
EncodedFile EncodePng(const CodecImage& image);

std::optional<CodecImage> DecodeTiff(Bytes file, int frame);
// `existing` holds the file to append the page to, or is empty for a new file.
EncodedFile EncodeTiff(const CodecImage& image, const std::vector<std::uint8_t>& existing);

std::optional<CodecImage> DecodeGif(Bytes file, int frame);
EncodedFile EncodeGif(const CodecImage& image);

std::optional<CodecImage> DecodeIco(Bytes file, int frame);
EncodedFile EncodeIco(const CodecImage& image);

std::optional<CodecImage> DecodeTga(Bytes file);
EncodedFile EncodeTga(const CodecImage& image);

std::optional<CodecImage> DecodePcx(Bytes file);
EncodedFile EncodePcx(const CodecImage& image);

std::optional<CodecImage> DecodeWbmp(Bytes file);
EncodedFile EncodeWbmp(const CodecImage& image);

std::optional<CodecImage> DecodePgx(Bytes file);
EncodedFile EncodePgx(const CodecImage& image);

// PNM (PBM, PGM, PPM), Sun raster and JPEG 2000 through OpenCV, with their sizes
// checked from the header first.
std::optional<CodecImage> DecodePnm(Bytes file);
EncodedFile EncodePnm(const CodecImage& image);
std::optional<CodecImage> DecodeSunRaster(Bytes file);
EncodedFile EncodeSunRaster(const CodecImage& image);
// JP2 files and bare JPEG 2000 code streams are both read by either type code.
std::optional<CodecImage> DecodeJpeg2000(Bytes file);
EncodedFile EncodeJp2(const CodecImage& image);
EncodedFile EncodeJ2kCodeStream(const CodecImage& image);

}  // namespace vestrel::codecs
