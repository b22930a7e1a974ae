#pragma once
// The pictures behind a "file:PATH" camera: one image file, or the image files of a
// folder in name order, served in turn: the current one until the camera moves on.

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

    // The current picture, scaled to `size`: the first that decodes from the current
    // position on; nothing when none of them decodes.
    std::optional<cv::Mat> current(cv::Size size);
    // Moves on to the next file (after the last, the first again).
    void advance();

private:
    std::filesystem::path path_;
    std::vector<std::filesystem::path> files_;
    std::size_t index_ = 0;
    // The current picture is decoded once and kept at the size last asked for.
    cv::Mat cached_;
};

}  // namespace vestrel
