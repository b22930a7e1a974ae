#include "SafeImageWrite.h"

#include <fcntl.h>
#include <unistd.h>

namespace vestrel::document {
namespace {

// Whether an empty file can be made at `path`: tells a refused format from a refused disk.
bool FolderTakesFiles(const std::filesystem::path& path)
{
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) return false;
    ::close(fd);
    return true;
}

// The data must be on the disk before the rename makes it the target, or a crash right
// after could leave an empty target where the old file was.
bool FlushToDisk(const std::filesystem::path& path)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    const bool ok = ::fsync(fd) == 0;
    ::close(fd);
    return ok;
}

}  // namespace

WriteResult WriteImageReplacing(CxImage& image, int type, const std::filesystem::path& scratch,
                                const std::filesystem::path& target)
{
    std::error_code error;
    WriteResult result = WriteResult::Written;
    if (!image.Save(scratch, type))
        result = FolderTakesFiles(scratch) ? WriteResult::FormatRefused : WriteResult::DiskRefused;
    else if (!FlushToDisk(scratch))
        result = WriteResult::DiskRefused;
    else {
        std::filesystem::rename(scratch, target, error);
        if (error) result = WriteResult::DiskRefused;
    }
    if (result != WriteResult::Written) std::filesystem::remove(scratch, error);
    return result;
}

}  // namespace vestrel::document
