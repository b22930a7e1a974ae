#pragma once
// The thumbnails made so far, so that refreshing the library after one scan decodes one
// picture rather than every picture shown again. An entry is found only while its file
// has the size and last-write time it had when the thumbnail was made: a file that was
// replaced, edited or touched is made again. The oldest entries go first once the cache
// is full. Not thread-safe: the pane uses it on its own thread only.

#include <opencv2/core.hpp>

#include <cstdint>
#include <filesystem>
#include <list>
#include <optional>
#include <string>
#include <unordered_map>

namespace vestrel::library {

// A file as it is now on disk.
struct FileStamp {
    std::string path;
    std::uintmax_t size = 0;
    std::filesystem::file_time_type modified{};
    bool operator==(const FileStamp&) const = default;
};

// The stamp of a regular file; nothing when it is missing or cannot be read.
std::optional<FileStamp> StampOf(const std::filesystem::path& file);

class ThumbnailCache {
public:
    // 256 thumbnails of 90 x 90 are about 6 MB.
    explicit ThumbnailCache(std::size_t capacity = 256);

    // The thumbnail made for exactly this stamp (an empty Mat when the file had no picture),
    // or nothing.
    std::optional<cv::Mat> find(const FileStamp& stamp);
    // Keeps `thumbnail` for `stamp`, replacing what the same path had.
    void store(const FileStamp& stamp, cv::Mat thumbnail);
    std::size_t size() const { return entries_.size(); }

private:
    struct Entry {
        FileStamp stamp;
        cv::Mat thumbnail;
    };
    std::size_t capacity_;
    std::list<Entry> entries_;  // most recently used first
    std::unordered_map<std::string, std::list<Entry>::iterator> byPath_;
};

}  // namespace vestrel::library
