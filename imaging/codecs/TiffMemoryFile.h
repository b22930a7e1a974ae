#pragma once
// libtiff over memory: a file read from the caller's bytes, or written into a growing
// buffer (which may start with an existing file, for appending a page). Errors and
// warnings are kept quiet per handle, and libtiff's single allocations are capped.

#include <tiffio.h>

#include <cstdint>
#include <memory>
#include <span>
#include <vector>

namespace vestrel::codecs {

struct TiffCloser {
    void operator()(TIFF* tiff) const { TIFFClose(tiff); }
};
using TiffHandle = std::unique_ptr<TIFF, TiffCloser>;

class TiffMemoryFile {
public:
    // Read only, over bytes that outlive the handle.
    explicit TiffMemoryFile(std::span<const std::uint8_t> bytes);
    // Writable; `initial` is an existing file to append to (empty for a new one).
    explicit TiffMemoryFile(std::vector<std::uint8_t> initial);

    // mode is libtiff's: "r", "w" or "a".
    TiffHandle Open(const char* mode);
    const std::vector<std::uint8_t>& written() const { return buffer_; }

private:
    static tmsize_t Read(thandle_t self, void* data, tmsize_t size);
    static tmsize_t Write(thandle_t self, void* data, tmsize_t size);
    static toff_t Seek(thandle_t self, toff_t offset, int whence);
    static int Close(thandle_t self);
    static toff_t Size(thandle_t self);
    static int Map(thandle_t self, void** base, toff_t* size);
    static void Unmap(thandle_t self, void* base, toff_t size);

    const std::uint8_t* data() const { return writable_ ? buffer_.data() : readOnly_.data(); }
    std::uint64_t size() const { return writable_ ? buffer_.size() : readOnly_.size(); }

    std::span<const std::uint8_t> readOnly_;
    std::vector<std::uint8_t> buffer_;
    bool writable_ = false;
    std::uint64_t position_ = 0;
};

}  // namespace vestrel::codecs
