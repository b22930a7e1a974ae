#include "AviFile.h"

#include <cerrno>
#include <cmath>
#include <cstring>

#include <fcntl.h>
#include <unistd.h>

namespace vestrel::recording {
namespace {

// Little-endian bytes, as every AVI field is stored.
class Bytes {
public:
    // Room for the small records at once (GCC 12 at -O3 misjudges a vector grown from empty).
    Bytes() { data_.reserve(512); }
    Bytes& fourcc(const char (&code)[5])
    {
        const std::size_t at = grow(4);
        std::memcpy(data_.data() + at, code, 4);
        return *this;
    }
    Bytes& u16(std::uint16_t v) { return put(v, 2); }
    Bytes& u32(std::uint32_t v) { return put(v, 4); }
    Bytes& u64(std::uint64_t v) { return put(v, 8); }
    Bytes& zeros(std::size_t n)
    {
        grow(n);
        return *this;
    }
    std::size_t size() const { return data_.size(); }
    const std::uint8_t* data() const { return data_.data(); }
    // Sets a 32-bit field already written at `at`.
    void set32(std::size_t at, std::uint32_t v)
    {
        for (int i = 0; i < 4; ++i) data_[at + std::size_t(i)] = std::uint8_t(v >> (8 * i));
    }

private:
    std::size_t grow(std::size_t n)
    {
        const std::size_t at = data_.size();
        data_.resize(at + n);
        return at;
    }
    Bytes& put(std::uint64_t v, int n)
    {
        const std::size_t at = grow(std::size_t(n));
        for (int i = 0; i < n; ++i) data_[at + std::size_t(i)] = std::uint8_t(v >> (8 * i));
        return *this;
    }
    std::vector<std::uint8_t> data_;
};

constexpr std::uint32_t kAvifHasIndex = 0x10;
constexpr std::uint32_t kAviifKeyframe = 0x10;
constexpr std::uint32_t kAvihBytes = 56;
constexpr std::uint32_t kStrhBytes = 56;
constexpr std::uint32_t kStrfBytes = 40;
constexpr std::uint32_t kSuperIndexBytes = 24 + 16 * kSuperIndexEntries;
constexpr std::uint32_t kDmlhBytes = 248;
constexpr std::uint32_t kChunkIndexHeader = 24;  // after the chunk's own 8 bytes
constexpr std::uint32_t kRateScale = 1000;       // the rate is kept to 1/1000 frame a second

std::uint32_t Padded(std::size_t n) { return std::uint32_t(n + (n & 1)); }

}  // namespace

AviFile::~AviFile()
{
    if (fd_ >= 0) close();
}

bool AviFile::fail(const std::string& what)
{
    error_ = what;
    return false;
}

bool AviFile::writeAt(std::uint64_t offset, const void* data, std::size_t size)
{
    const auto* p = static_cast<const std::uint8_t*>(data);
    while (size > 0) {
        const ssize_t n = ::pwrite(fd_, p, size, off_t(offset));
        if (n < 0) {
            if (errno == EINTR) continue;
            return fail(std::string("write failed: ") + std::strerror(errno));
        }
        p += n;
        offset += std::uint64_t(n);
        size -= std::size_t(n);
    }
    return true;
}

bool AviFile::append(const void* data, std::size_t size)
{
    if (!writeAt(fileEnd_, data, size)) return false;
    fileEnd_ += size;
    return true;
}

bool AviFile::put32At(std::uint64_t offset, std::uint32_t value)
{
    Bytes b;
    b.u32(value);
    return writeAt(offset, b.data(), b.size());
}

bool AviFile::open(const std::filesystem::path& path, const AviFormat& format)
{
    if (fd_ >= 0) return fail("already open");
    if (format.width <= 0 || format.height <= 0) return fail("no frame size");
    format_ = format;
    if (!(format_.framesPerSecond > 0)) format_.framesPerSecond = 15.0;
    const int how = format.replaceExisting ? O_TRUNC : O_EXCL;
    fd_ = ::open(path.c_str(), O_WRONLY | O_CREAT | how | O_CLOEXEC, 0644);
    if (fd_ < 0) return fail(path.string() + ": " + std::strerror(errno));
    fileEnd_ = 0;
    totalFrames_ = 0;
    largestFrame_ = 0;
    parts_.clear();
    if (writeHeaders() && beginPart() && updateHeaders()) return true;
    // A file that never got its headers is no recording: it goes.
    ::close(fd_);
    fd_ = -1;
    std::error_code ignored;
    std::filesystem::remove(path, ignored);
    return false;
}

bool AviFile::writeHeaders()
{
    const std::uint32_t w = std::uint32_t(format_.width), h = std::uint32_t(format_.height);
    Bytes b;
    b.fourcc("RIFF").u32(0).fourcc("AVI ");
    const std::size_t hdrlSize = b.size() + 4;
    b.fourcc("LIST").u32(0).fourcc("hdrl");
    // Main header; the frame fields are filled in by updateHeaders.
    b.fourcc("avih").u32(kAvihBytes);
    avihOffset_ = b.size();
    b.zeros(kAvihBytes);
    const std::size_t strlSize = b.size() + 4;
    b.fourcc("LIST").u32(0).fourcc("strl");
    b.fourcc("strh").u32(kStrhBytes);
    strhOffset_ = b.size();
    b.zeros(kStrhBytes);
    // The picture format: 24-bit pictures compressed as Motion-JPEG.
    b.fourcc("strf").u32(kStrfBytes);
    b.u32(kStrfBytes).u32(w).u32(h).u16(1).u16(24).fourcc("MJPG").u32(w * h * 3).zeros(16);
    // The super index: one entry per part, filled as parts close.
    b.fourcc("indx").u32(kSuperIndexBytes);
    superIndexOffset_ = b.size();
    b.u16(4).u16(0).u32(0).fourcc("00dc").zeros(12).zeros(16 * kSuperIndexEntries);
    b.set32(strlSize, std::uint32_t(b.size() - strlSize - 4));
    const std::size_t odmlSize = b.size() + 4;
    b.fourcc("LIST").u32(0).fourcc("odml");
    b.fourcc("dmlh").u32(kDmlhBytes);
    dmlhOffset_ = b.size();
    b.zeros(kDmlhBytes);
    b.set32(odmlSize, std::uint32_t(b.size() - odmlSize - 4));
    b.set32(hdrlSize, std::uint32_t(b.size() - hdrlSize - 4));
    return append(b.data(), b.size());
}

bool AviFile::beginPart()
{
    if (parts_.size() >= std::size_t(kSuperIndexEntries)) return fail("recording too long for the index");
    Part part;
    Bytes b;
    if (parts_.empty()) {
        part.riffOffset = 0;  // the 'AVI ' part began with the headers
    } else {
        part.riffOffset = fileEnd_;
        b.fourcc("RIFF").u32(0).fourcc("AVIX");
    }
    part.moviOffset = fileEnd_ + b.size();
    b.fourcc("LIST").u32(0).fourcc("movi");
    if (!append(b.data(), b.size())) return false;
    parts_.push_back(std::move(part));
    return true;
}

bool AviFile::endPart()
{
    Part& part = parts_.back();
    const std::size_t count = part.entries.size();
    // The part's chunk index, inside its 'movi' list.
    Bytes ix;
    ix.fourcc("ix00").u32(kChunkIndexHeader + 8 * std::uint32_t(count));
    ix.u16(2).u16(0x0100);  // two longs an entry; sub-type 0; an index of chunks
    ix.u32(std::uint32_t(count)).fourcc("00dc").u64(part.riffOffset).u32(0);
    for (const IndexEntry& e : part.entries)
        ix.u32(std::uint32_t(e.offset - part.riffOffset)).u32(e.size);  // bit 31 clear: key frame
    part.indexOffset = fileEnd_;
    part.indexBytes = std::uint32_t(ix.size());
    if (!append(ix.data(), ix.size())) return false;
    if (!put32At(part.moviOffset + 4, std::uint32_t(fileEnd_ - part.moviOffset - 8))) return false;

    if (parts_.size() == 1) {
        // The old index for readers that know nothing of OpenDML: offsets from 'movi'.
        Bytes idx1;
        idx1.fourcc("idx1").u32(16 * std::uint32_t(count));
        const std::uint64_t base = part.moviOffset + 8;
        for (const IndexEntry& e : part.entries)
            idx1.fourcc("00dc").u32(kAviifKeyframe).u32(std::uint32_t(e.offset - 8 - base)).u32(e.size);
        if (!append(idx1.data(), idx1.size())) return false;
    }
    if (!put32At(part.riffOffset + 4, std::uint32_t(fileEnd_ - part.riffOffset - 8))) return false;

    // Its entry in the super index, then the count of entries in use.
    const std::size_t n = parts_.size() - 1;
    Bytes entry;
    entry.u64(part.indexOffset).u32(part.indexBytes).u32(std::uint32_t(count));
    if (!writeAt(superIndexOffset_ + 24 + 16 * n, entry.data(), entry.size())) return false;
    if (!put32At(superIndexOffset_ + 4, std::uint32_t(n + 1))) return false;
    return true;
}

bool AviFile::updateHeaders()
{
    const Part& part = parts_.back();
    return updateStreamHeaders() &&
           put32At(part.moviOffset + 4, std::uint32_t(fileEnd_ - part.moviOffset - 8)) &&
           put32At(part.riffOffset + 4, std::uint32_t(fileEnd_ - part.riffOffset - 8));
}

bool AviFile::updateStreamHeaders()
{
    const double fps = format_.framesPerSecond;
    const std::uint32_t firstPartFrames = std::uint32_t(parts_.empty() ? 0 : parts_.front().entries.size());
    const std::uint32_t bufferSize = largestFrame_ + 8;
    Bytes avih;
    avih.u32(std::uint32_t(std::lround(1e6 / fps)))
        .u32(std::uint32_t(std::lround(double(largestFrame_) * fps)))
        .u32(0)
        .u32(kAvifHasIndex)
        .u32(firstPartFrames)
        .u32(0)
        .u32(1)
        .u32(bufferSize)
        .u32(std::uint32_t(format_.width))
        .u32(std::uint32_t(format_.height))
        .zeros(16);
    Bytes strh;
    strh.fourcc("vids").fourcc("MJPG").u32(0).u16(0).u16(0).u32(0);
    strh.u32(kRateScale).u32(std::uint32_t(std::lround(fps * kRateScale))).u32(0);
    strh.u32(std::uint32_t(totalFrames_)).u32(bufferSize).u32(0xFFFFFFFFu).u32(0);
    strh.u16(0).u16(0).u16(std::uint16_t(format_.width)).u16(std::uint16_t(format_.height));
    return writeAt(avihOffset_, avih.data(), avih.size()) &&
           writeAt(strhOffset_, strh.data(), strh.size()) &&
           put32At(dmlhOffset_, std::uint32_t(totalFrames_));
}

bool AviFile::writeFrame(const std::vector<std::uint8_t>& jpeg)
{
    if (fd_ < 0) return fail("not open");
    if (jpeg.empty() || jpeg.size() > 0x7FFFFFF0u) return fail("no picture");
    const std::uint32_t chunkBytes = 8 + Padded(jpeg.size());
    // What closing this part would add: its chunk index, and in the first part the old index.
    const auto indexesAfter = [&](std::size_t frames) {
        return 8 + kChunkIndexHeader + 8 * frames + (parts_.size() == 1 ? 8 + 16 * frames : 0);
    };
    Part* part = &parts_.back();
    const std::uint64_t partBytes = fileEnd_ - part->riffOffset + chunkBytes + indexesAfter(part->entries.size() + 1);
    if (!part->entries.empty() && partBytes > format_.partLimit) {
        if (!endPart() || !beginPart()) return false;
        part = &parts_.back();
    }
    const std::uint64_t chunkStart = fileEnd_;
    Bytes header;
    header.fourcc("00dc").u32(std::uint32_t(jpeg.size()));
    std::vector<std::uint8_t> chunk(header.data(), header.data() + header.size());
    chunk.reserve(chunkBytes);
    chunk.insert(chunk.end(), jpeg.begin(), jpeg.end());
    if (jpeg.size() & 1) chunk.push_back(0);
    if (!writeAt(chunkStart, chunk.data(), chunk.size())) return false;
    // Only now does the frame count: a failed or interrupted write above leaves the headers
    // describing the frames before it.
    fileEnd_ = chunkStart + chunk.size();
    part->entries.push_back({chunkStart + 8, std::uint32_t(jpeg.size())});
    ++totalFrames_;
    largestFrame_ = std::max(largestFrame_, std::uint32_t(jpeg.size()));
    return updateHeaders();
}

void AviFile::setFramesPerSecond(double fps)
{
    if (fps > 0 && std::isfinite(fps)) format_.framesPerSecond = fps;
}

bool AviFile::close()
{
    if (fd_ < 0) return true;
    // A failed frame may have left bytes past the last whole one; they go.
    bool ok = ::ftruncate(fd_, off_t(fileEnd_)) == 0 || fail(std::string("truncate: ") + std::strerror(errno));
    // The part's sizes now include its indexes; only the stream's figures remain.
    ok = endPart() && ok;
    ok = updateStreamHeaders() && ok;
    if (::close(fd_) != 0 && ok) ok = fail(std::string("close: ") + std::strerror(errno));
    fd_ = -1;
    return ok;
}

}  // namespace vestrel::recording
