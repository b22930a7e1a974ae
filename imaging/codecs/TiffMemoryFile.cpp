#include "TiffMemoryFile.h"

#include "CodecImage.h"

#include <cstdio>
#include <cstring>

namespace vestrel::codecs {

namespace {

// A written file may not grow past this: four bytes a pixel of the largest picture we
// accept, plus room for the directories of earlier pages.
constexpr std::uint64_t kMaxWrittenBytes = 4 * static_cast<std::uint64_t>(kMaxPixels) + (64u << 20);

int Quiet(TIFF*, void*, const char*, const char*, va_list) { return 1; }

}  // namespace

TiffMemoryFile::TiffMemoryFile(std::span<const std::uint8_t> bytes) : readOnly_(bytes) {}

TiffMemoryFile::TiffMemoryFile(std::vector<std::uint8_t> initial)
    : buffer_(std::move(initial)), writable_(true) {}

TiffHandle TiffMemoryFile::Open(const char* mode) {
    position_ = 0;
    std::unique_ptr<TIFFOpenOptions, void (*)(TIFFOpenOptions*)> options(TIFFOpenOptionsAlloc(),
                                                                         TIFFOpenOptionsFree);
    if (!options) return nullptr;
    TIFFOpenOptionsSetErrorHandlerExtR(options.get(), Quiet, nullptr);
    TIFFOpenOptionsSetWarningHandlerExtR(options.get(), Quiet, nullptr);
    // A hostile header cannot make libtiff allocate more than one full picture at once.
    TIFFOpenOptionsSetMaxSingleMemAlloc(options.get(), static_cast<tmsize_t>(4 * kMaxPixels));
    // "m": never memory-map; our Map refuses anyway, and this keeps reads on our bounds.
    const std::string fullMode = std::string(mode) + "m";
    return TiffHandle(TIFFClientOpenExt("memory", fullMode.c_str(), this, Read, Write, Seek, Close,
                                        Size, Map, Unmap, options.get()));
}

tmsize_t TiffMemoryFile::Read(thandle_t self, void* data, tmsize_t size) {
    auto* file = static_cast<TiffMemoryFile*>(self);
    if (size <= 0 || file->position_ >= file->size()) return 0;
    const auto count = std::min<std::uint64_t>(static_cast<std::uint64_t>(size), file->size() - file->position_);
    std::memcpy(data, file->data() + file->position_, count);
    file->position_ += count;
    return static_cast<tmsize_t>(count);
}

tmsize_t TiffMemoryFile::Write(thandle_t self, void* data, tmsize_t size) {
    auto* file = static_cast<TiffMemoryFile*>(self);
    if (!file->writable_ || size < 0) return -1;
    const std::uint64_t end = file->position_ + static_cast<std::uint64_t>(size);
    if (end > kMaxWrittenBytes) return -1;
    if (end > file->buffer_.size()) file->buffer_.resize(end);
    std::memcpy(file->buffer_.data() + file->position_, data, static_cast<std::size_t>(size));
    file->position_ = end;
    return size;
}

toff_t TiffMemoryFile::Seek(thandle_t self, toff_t offset, int whence) {
    auto* file = static_cast<TiffMemoryFile*>(self);
    std::uint64_t base = 0;
    if (whence == SEEK_CUR) base = file->position_;
    else if (whence == SEEK_END) base = file->size();
    const std::uint64_t target = base + offset;
    if (target < base || target > kMaxWrittenBytes) return static_cast<toff_t>(-1);
    file->position_ = target;
    return target;
}

int TiffMemoryFile::Close(thandle_t) { return 0; }

toff_t TiffMemoryFile::Size(thandle_t self) { return static_cast<TiffMemoryFile*>(self)->size(); }

int TiffMemoryFile::Map(thandle_t, void**, toff_t*) { return 0; }

void TiffMemoryFile::Unmap(thandle_t, void*, toff_t) {}

}  // namespace vestrel::codecs
