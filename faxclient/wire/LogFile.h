#pragma once
// The English diagnostic log of a fax connection (and of the converter's HTML adapter).
// Opened for appending, never truncated; before each entry, a file that has reached its
// size limit becomes the backup (the name up to its last dot, then "bak") and a fresh
// file is started. Each entry is one write() of "year/month/day:hour:minute:second\t\t"
// plus the text, which carries its own "\r\n", so entries of several processes sharing a
// file never interleave. Writes to one log are serialised by the log's own lock.

#include <cstdint>
#include <mutex>
#include <string>

namespace vestrel::fax {

inline constexpr std::uint64_t kDefaultLogLimit = 512u * 1024u;

class LogFile {
public:
    LogFile() = default;
    ~LogFile();
    LogFile(const LogFile&) = delete;
    LogFile& operator=(const LogFile&) = delete;

    // Opens (creating) `path` for appending. On failure the user is alerted with
    // "Open File %s Failed, Please contact your administrator" and false is returned;
    // the log then stays closed and write() does nothing.
    bool open(const std::string& path, std::uint64_t limitBytes = kDefaultLogLimit);
    void close();
    bool isOpen() const;
    const std::string& path() const { return path_; }

    // One entry: the time prefix, then `text` as it stands.
    void write(const std::string& text);
    void printf(const char* format, ...) __attribute__((format(printf, 2, 3)));

    // "dir/Raviklog0.txt" -> "dir/Raviklog0.bak"; a name without a dot gets ".bak".
    static std::string backupName(const std::string& path);

private:
    bool openLocked();
    void rotateLocked();

    mutable std::mutex mutex_;
    std::string path_;
    std::uint64_t limit_ = kDefaultLogLimit;
    int fd_ = -1;
};

}  // namespace vestrel::fax
