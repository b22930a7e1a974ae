#include "NewFile.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

namespace vestrel::scan {
namespace {

void SetError(std::string* error, const std::string& text)
{
    if (error) *error = text;
}

// Moves `from` to `to` unless `to` exists. renameat2 does it in one step where the file
// system supports it; elsewhere a hard link does the same check, and on file systems
// without hard links a check just before the rename is the best there is.
NewFileResult MoveIfAbsent(const std::filesystem::path& from, const std::filesystem::path& to,
                           std::string* error)
{
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0)
        return NewFileResult::Stored;
    int err = errno;
    if (err == EINVAL || err == ENOSYS) {
        if (::link(from.c_str(), to.c_str()) == 0) {
            ::unlink(from.c_str());
            return NewFileResult::Stored;
        }
        err = errno;
        if (err == EPERM || err == EOPNOTSUPP) {
            std::error_code ec;
            if (std::filesystem::exists(to, ec)) return NewFileResult::TargetExists;
            if (::rename(from.c_str(), to.c_str()) == 0) return NewFileResult::Stored;
            err = errno;
        }
    }
    if (err == EEXIST) return NewFileResult::TargetExists;
    SetError(error, std::strerror(err));
    return NewFileResult::Failed;
}

}  // namespace

namespace {

// Writes the whole content to a scratch file beside `target`, readable as an ordinary file.
// Empty (and nothing left behind) when the write failed.
std::filesystem::path WriteScratch(const std::filesystem::path& target,
                                   const std::function<bool(const std::filesystem::path&)>& write,
                                   std::string* error)
{
    std::string pattern = (target.parent_path() / ".vestrel-scan.XXXXXX").string();
    const int fd = ::mkstemp(pattern.data());
    if (fd < 0) {
        SetError(error, std::strerror(errno));
        return {};
    }
    ::close(fd);
    const std::filesystem::path scratch = pattern;

    bool written = false;
    try {
        written = write(scratch);
    } catch (...) {
        written = false;  // nothing a writer throws may leave the scratch file behind
    }
    std::error_code ec;
    if (!written) {
        std::filesystem::remove(scratch, ec);
        SetError(error, "write failed");
        return {};
    }
    // mkstemp makes the file readable by its owner only; a scan is an ordinary file.
    const mode_t mask = ::umask(0);
    ::umask(mask);
    std::filesystem::permissions(scratch,
                                 static_cast<std::filesystem::perms>(0666 & ~mask),
                                 std::filesystem::perm_options::replace, ec);
    return scratch;
}

}  // namespace

NewFileResult StoreNewFile(const std::filesystem::path& target,
                           const std::function<bool(const std::filesystem::path&)>& write,
                           std::string* error)
{
    std::error_code ec;
    if (std::filesystem::exists(target, ec)) return NewFileResult::TargetExists;
    const std::filesystem::path scratch = WriteScratch(target, write, error);
    if (scratch.empty()) return NewFileResult::Failed;
    const NewFileResult result = MoveIfAbsent(scratch, target, error);
    if (result != NewFileResult::Stored) std::filesystem::remove(scratch, ec);
    return result;
}

bool StoreReplacingFile(const std::filesystem::path& target,
                        const std::function<bool(const std::filesystem::path&)>& write,
                        std::string* error)
{
    const std::filesystem::path scratch = WriteScratch(target, write, error);
    if (scratch.empty()) return false;
    std::error_code ec;
    std::filesystem::rename(scratch, target, ec);
    if (!ec) return true;
    SetError(error, ec.message());
    std::filesystem::remove(scratch, ec);
    return false;
}

}  // namespace vestrel::scan
