#include "LogFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <ctime>

#include "UserAlert.h"

namespace vestrel::fax {
namespace {

// The texts the user sees when the log cannot be opened.
constexpr const char* kOpenFailedAlert = "Open File %s Failed, Please contact your administrator";

std::string timePrefix()
{
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char prefix[64];
    std::snprintf(prefix, sizeof(prefix), "%d/%d/%d:%d:%d:%d\t\t", local.tm_year + 1900,
                  local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec);
    return prefix;
}

}  // namespace

LogFile::~LogFile()
{
    close();
}

bool LogFile::open(const std::string& path, std::uint64_t limitBytes)
{
    std::lock_guard lock(mutex_);
    if (fd_ >= 0)
        ::close(fd_);
    fd_ = -1;
    path_ = path;
    limit_ = limitBytes;
    return openLocked();
}

bool LogFile::openLocked()
{
    // The log lives in a shared scratch folder: never follow a link planted there.
    fd_ = ::open(path_.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0644);
    if (fd_ < 0) {
        ShowUserAlert(FormatText(kOpenFailedAlert, path_.c_str()));
        return false;
    }
    return true;
}

void LogFile::close()
{
    std::lock_guard lock(mutex_);
    if (fd_ >= 0)
        ::close(fd_);
    fd_ = -1;
}

bool LogFile::isOpen() const
{
    std::lock_guard lock(mutex_);
    return fd_ >= 0;
}

std::string LogFile::backupName(const std::string& path)
{
    const std::size_t slash = path.find_last_of('/');
    const std::size_t dot = path.find_last_of('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash))
        return path + ".bak";
    return path.substr(0, dot + 1) + "bak";
}

void LogFile::rotateLocked()
{
    ::close(fd_);
    fd_ = -1;
    // rename() replaces an old backup in one step, so no moment exists without a backup.
    ::rename(path_.c_str(), backupName(path_).c_str());
    openLocked();
}

void LogFile::write(const std::string& text)
{
    std::lock_guard lock(mutex_);
    if (fd_ < 0)
        return;
    // The size is asked of the file, not counted here: other processes may share it.
    struct stat info {};
    if (::fstat(fd_, &info) == 0 && static_cast<std::uint64_t>(info.st_size) >= limit_) {
        rotateLocked();
        if (fd_ < 0)
            return;
    }
    const std::string entry = timePrefix() + text;
    const ssize_t written = ::write(fd_, entry.data(), entry.size());
    (void)written;  // a log that cannot be written must not fail the operation it describes
}

void LogFile::printf(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    char small[512];
    va_list copy;
    va_copy(copy, args);
    const int needed = std::vsnprintf(small, sizeof(small), format, copy);
    va_end(copy);
    std::string text;
    if (needed >= 0 && static_cast<std::size_t>(needed) < sizeof(small)) {
        text.assign(small, static_cast<std::size_t>(needed));
    } else if (needed > 0) {
        text.resize(static_cast<std::size_t>(needed) + 1);
        std::vsnprintf(text.data(), text.size(), format, args);
        text.resize(static_cast<std::size_t>(needed));
    }
    va_end(args);
    write(text);
}

}  // namespace vestrel::fax
