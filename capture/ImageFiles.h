#pragma once
// The pictures behind a "file:PATH" camera: one image file, or the image files of a
// folder in name order, served in turn.

#include <opencv2/core.hpp>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace vestrel {

class ImageFiles {
public:
    static constexpr std::size_t kMaxFiles = 10000;
    static constexpr std::uintmax_t kMaxFileBytes = 256u << 20;  // larger files are skipped

    explicit ImageFiles(std::filesystem::path path);

    // Lists the files; false when the path holds no image file.
    bool scan();
    bool stillThere() const;
    std::size_t count() const { return files_.size(); }

    // The next picture that decodes, scaled to `size`; nothing when none of them decodes.
    std::optional<cv::Mat> next(cv::Size size);

private:
    std::filesystem::path path_;
    std::vector<std::filesystem::path> files_;
    std::size_t nextIndex_ = 0;
    // A single picture is decoded once and kept at the size last asked for.
    cv::Mat cached_;
};

}  // namespace vestrel
