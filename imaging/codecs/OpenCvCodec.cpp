// OpenCV imgcodecs as a decoder and encoder of last resort: callers check the header's
// size against our pixel limit before handing a file over.
#include "FormatCodecs.h"

#include <opencv2/imgcodecs.hpp>

namespace vestrel::codecs {

std::optional<CodecImage> DecodeWithOpenCv(Bytes file) {
    if (file.empty()) return std::nullopt;
    // imdecode does not write to its input; the Mat only wraps the caller's bytes.
    const cv::Mat wrapped(1, static_cast<int>(file.size()), CV_8UC1,
                          const_cast<std::uint8_t*>(file.data()));
    // Unchanged: keep grey as grey and alpha as alpha, and ignore EXIF orientation,
    // since a stored scan is shown as it was written.
    const cv::Mat picture = cv::imdecode(wrapped, cv::IMREAD_UNCHANGED);
    return FromMat(picture);
}

EncodedFile EncodeWithOpenCv(const cv::Mat& picture, const std::string& extension,
                             const std::vector<int>& params) {
    std::vector<std::uint8_t> out;
    if (!cv::imencode(extension, picture, out, params) || out.empty()) return std::nullopt;
    return out;
}

}  // namespace vestrel::codecs
