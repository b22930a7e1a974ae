#include "ScratchFiles.h"

#include "ScratchRoot.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <functional>
#include <thread>

namespace vestrel::doctiff::scratch {

std::string PrintedTiff() { return fax::TolvyPath("tempTolvy.tif"); }
std::string PieceTiff() { return fax::TolvyPath("tempswaptif.tif"); }
std::string SwapTiff() { return fax::TolvyPath("tempswap.tif"); }
std::string RotatedTiff() { return fax::TolvyPath("temprotate.tif"); }
std::string HtmlLog() { return fax::TolvyPath("Html2TifLog.txt"); }
std::string LockFile() { return fax::TolvyPath("Doc2Tif.lock"); }

std::string SemaphoreName() {
    const std::string root = fax::TolvyRoot();
    if (root == "/tmp") return "/TolvyPrinterSemphore";
    return "/TolvyPrinterSemphore-" + std::to_string(std::hash<std::string>{}(root));
}

}  // namespace vestrel::doctiff::scratch

namespace vestrel::doctiff {

ConversionLock::ConversionLock(std::chrono::milliseconds patience) {
    const int fd = ::open(scratch::LockFile().c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
    if (fd < 0) return;
    const auto deadline = std::chrono::steady_clock::now() + patience;
    while (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        if (std::chrono::steady_clock::now() >= deadline) {
            ::close(fd);
            return;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    fd_ = fd;
}

ConversionLock::~ConversionLock() {
    if (fd_ >= 0) ::close(fd_);  // closing releases the flock
}

}  // namespace vestrel::doctiff
