#include "MarkImage.h"

#include "SignatureFile.h"
#include "StampThumbnail.h"

#include <opencv2/imgproc.hpp>

namespace vestrel::signature {
namespace {

constexpr std::size_t kBmpFileHeader = 14;  // "BM", file size, two reserved words, offset
constexpr RGBQUAD kWhite{255, 255, 255, 0};

}  // namespace

bool LoadSignatureMark(const std::filesystem::path& path, const std::string& password, CxImage& out)
{
    const auto plain = UnlockSignature(path, password);
    if (!plain || plain->size() <= kBmpFileHeader || (*plain)[0] != 'B' || (*plain)[1] != 'M') return false;
    CxImage picture;
    if (!picture.CreateFromHANDLE(plain->data() + kBmpFileHeader, plain->size() - kBmpFileHeader)) return false;
    picture.SetTransColor(kWhite);
    out = std::move(picture);
    return true;
}

bool LoadStampMark(const std::filesystem::path& path, CxImage& out)
{
    CxImage picture;
    if (!picture.Load(path, 0) || !picture.IsValid()) return false;
    picture.SetTransColor(kWhite);
    out = std::move(picture);
    return true;
}

CxImage MakeStampThumbnail(const std::filesystem::path& path)
{
    cv::Mat cell(kStampCellHeight, kStampCellWidth, CV_8UC3, cv::Scalar(255, 255, 255));
    CxImage stamp;
    if (stamp.Load(path, 0) && stamp.IsValid()) {
        const StampRect r = StampThumbnailRect(stamp.GetWidth(), stamp.GetHeight());
        if (r.width > 0 && r.height > 0) {
            cv::resize(stamp.ToBgr(), cell(cv::Rect(r.x, r.y, r.width, r.height)), cv::Size(r.width, r.height), 0, 0,
                       cv::INTER_AREA);
        }
    }
    CxImage thumbnail;
    thumbnail.CreateFromMat(cell);
    return thumbnail;
}

}  // namespace vestrel::signature
