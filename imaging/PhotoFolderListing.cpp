#include "PhotoFolderListing.h"

#include "ImageTypes.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <system_error>

namespace vestrel {
namespace {

std::string LocalTimeText(std::filesystem::file_time_type t)
{
    const auto sys = std::chrono::file_clock::to_sys(t);
    const std::time_t tt = std::chrono::system_clock::to_time_t(
        std::chrono::time_point_cast<std::chrono::system_clock::duration>(sys));
    std::tm tm{};
    localtime_r(&tt, &tm);
    char buf[64];
    std::snprintf(buf, sizeof buf, "%4d%2d%2d%2d%2d%2d", tm.tm_year + 1900, tm.tm_mon + 1,
                  tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec);
    return buf;
}

struct Found {
    std::string name;
    std::string time;
    std::filesystem::file_time_type writeTime;
};

}  // namespace

PhotoListing ListPhotoFolder(const std::filesystem::path& folder)
{
    std::vector<Found> found;
    std::error_code ec;
    std::filesystem::directory_iterator it(folder, ec);
    for (; !ec && it != std::filesystem::directory_iterator(); it.increment(ec)) {
        std::error_code entryError;
        if (!it->is_regular_file(entryError)) continue;
        std::string name = it->path().filename().string();
        if (GetFileType(name) == 0) continue;
        const auto writeTime = it->last_write_time(entryError);
        if (entryError) continue;  // vanished while we looked
        found.push_back({std::move(name), LocalTimeText(writeTime), writeTime});
    }
    std::sort(found.begin(), found.end(), [](const Found& a, const Found& b) {
        if (a.time != b.time) return a.time < b.time;
        if (a.writeTime != b.writeTime) return a.writeTime < b.writeTime;
        return a.name < b.name;
    });

    PhotoListing listing;
    listing.names.reserve(found.size());
    listing.times.reserve(found.size());
    for (auto& f : found) {
        listing.names.push_back(std::move(f.name));
        listing.times.push_back(std::move(f.time));
    }
    return listing;
}

}  // namespace vestrel
