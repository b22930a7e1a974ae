#include "ImageFiles.h"

#include <opencv2/imgcodecs.hpp>
#include <opencv2/imgproc.hpp>

#include <algorithm>
#include <cctype>
#include <system_error>

namespace vestrel {
namespace fs = std::filesystem;
namespace {

bool looksLikeImage(const fs::path& file)
{
    std::string ext = file.extension().string();
    std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char c) { return char(std::tolower(c)); });
    static const char* const kKnown[] = {".jpg", ".jpeg", ".png", ".bmp", ".tif", ".tiff",
                                         ".webp", ".pbm", ".pgm", ".ppm", ".pnm"};
    return std::any_of(std::begin(kKnown), std::end(kKnown), [&](const char* k) { return ext == k; });
}

cv::Mat decodeScaled(const fs::path& file, cv::Size size)
{
    std::error_code ec;
    const std::uintmax_t bytes = fs::file_size(file, ec);
    if (ec || bytes == 0 || bytes > ImageFiles::kMaxFileBytes) return {};
    try {
        cv::Mat image = cv::imread(file.string(), cv::IMREAD_COLOR);
        if (image.empty()) return {};
        cv::Mat scaled;
        const bool shrinking = image.cols > size.width || image.rows > size.height;
        cv::resize(image, scaled, size, 0, 0, shrinking ? cv::INTER_AREA : cv::INTER_LINEAR);
        return scaled;
    } catch (const cv::Exception&) {
        return {};  // a damaged file is skipped like any other that does not decode
    }
}

}  // namespace

ImageFiles::ImageFiles(fs::path path) : path_(std::move(path)) {}

bool ImageFiles::scan()
{
    files_.clear();
    index_ = 0;
    cached_.release();
    std::error_code ec;
    if (fs::is_regular_file(path_, ec)) {
        files_.push_back(path_);
        return true;
    }
    if (!fs::is_directory(path_, ec)) return false;
    for (const fs::directory_entry& e : fs::directory_iterator(path_, ec)) {
        if (files_.size() >= kMaxFiles) break;
        if (e.is_regular_file(ec) && looksLikeImage(e.path())) files_.push_back(e.path());
    }
    std::sort(files_.begin(), files_.end());
    return !files_.empty();
}

bool ImageFiles::stillThere() const
{
    std::error_code ec;
    return fs::exists(path_, ec);
}

std::optional<cv::Mat> ImageFiles::current(cv::Size size)
{
    if (!cached_.empty() && cached_.size() == size) return cached_;
    for (std::size_t tried = 0; tried < files_.size(); ++tried) {
        cv::Mat picture = decodeScaled(files_[index_], size);
        if (!picture.empty()) {
            cached_ = picture;
            return picture;
        }
        index_ = (index_ + 1) % files_.size();  // a file that does not decode is skipped
    }
    return std::nullopt;
}

void ImageFiles::advance()
{
    if (files_.size() < 2) return;  // a single picture stays decoded
    index_ = (index_ + 1) % files_.size();
    cached_.release();
}

}  // namespace vestrel
