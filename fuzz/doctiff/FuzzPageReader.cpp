// The source-page reader on arbitrary bytes (TIFF, GIF and what OpenCV reads): every
// input gives pages or a reason, never a crash, and pages have the size they claim.

#include "PageReader.h"

#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace vestrel::doctiff;
    static const int fd = ::memfd_create("fuzz-page", 0);
    if (fd < 0 || ::ftruncate(fd, 0) != 0 || ::pwrite(fd, data, size, 0) != static_cast<ssize_t>(size))
        return 0;
    PageReader reader;
    if (!reader.Open("/proc/self/fd/" + std::to_string(fd))) {
        if (reader.error().empty()) std::abort();
        return 0;
    }
    for (int i = 0; i < reader.PageCount() && i < 3; ++i) {
        int width = 0, height = 0;
        double xr = 0, yr = 0;
        SourcePage page;
        if (!reader.PageInfo(i, width, height, xr, yr) || !reader.ReadPage(i, page)) continue;
        if (page.gray.type() != CV_8UC1 || page.gray.cols != width || page.gray.rows != height) std::abort();
        FaxStrip strip;
        reader.ReadFaxStrip(i, strip);
    }
    return 0;
}
