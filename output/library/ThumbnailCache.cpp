#include "ThumbnailCache.h"

#include <system_error>

namespace vestrel::library {

std::optional<FileStamp> StampOf(const std::filesystem::path& file)
{
    std::error_code error;
    if (!std::filesystem::is_regular_file(file, error)) return std::nullopt;
    FileStamp stamp;
    stamp.path = file.string();
    stamp.size = std::filesystem::file_size(file, error);
    if (error) return std::nullopt;
    stamp.modified = std::filesystem::last_write_time(file, error);
    if (error) return std::nullopt;
    return stamp;
}

ThumbnailCache::ThumbnailCache(std::size_t capacity) : capacity_(capacity > 0 ? capacity : 1) {}

std::optional<cv::Mat> ThumbnailCache::find(const FileStamp& stamp)
{
    const auto it = byPath_.find(stamp.path);
    if (it == byPath_.end()) return std::nullopt;
    if (!(it->second->stamp == stamp)) {
        // The file changed since: its old picture is of no use any more.
        entries_.erase(it->second);
        byPath_.erase(it);
        return std::nullopt;
    }
    entries_.splice(entries_.begin(), entries_, it->second);
    return entries_.front().thumbnail;
}

void ThumbnailCache::store(const FileStamp& stamp, cv::Mat thumbnail)
{
    if (const auto it = byPath_.find(stamp.path); it != byPath_.end()) {
        entries_.erase(it->second);
        byPath_.erase(it);
    }
    entries_.push_front({stamp, std::move(thumbnail)});
    byPath_[stamp.path] = entries_.begin();
    while (entries_.size() > capacity_) {
        byPath_.erase(entries_.back().stamp.path);
        entries_.pop_back();
    }
}

}  // namespace vestrel::library
