#pragma once
// Bounds-checked reading and plain writing of file headers. A read past the end yields
// zeros and marks the reader failed, so a decoder checks ok() once after a header instead
// of before every field.

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace vestrel::codecs {

class ByteReader {
public:
    explicit ByteReader(std::span<const std::uint8_t> bytes, std::size_t position = 0)
        : bytes_(bytes), position_(position), ok_(position <= bytes.size()) {}

    bool ok() const { return ok_; }
    std::size_t position() const { return position_; }
    std::size_t remaining() const { return ok_ ? bytes_.size() - position_ : 0; }

    std::uint8_t U8() { return Has(1) ? bytes_[position_++] : Fail(); }
    std::uint16_t U16le() { std::uint16_t lo = U8(); return static_cast<std::uint16_t>(lo | (U8() << 8)); }
    std::uint16_t U16be() { std::uint16_t hi = U8(); return static_cast<std::uint16_t>((hi << 8) | U8()); }
    std::uint32_t U32le() { std::uint32_t lo = U16le(); return lo | (std::uint32_t{U16le()} << 16); }
    std::uint32_t U32be() { std::uint32_t hi = U16be(); return (hi << 16) | U16be(); }
    std::int32_t I32le() { return static_cast<std::int32_t>(U32le()); }

    void Skip(std::size_t count) {
        if (Has(count)) position_ += count;
        else Fail();
    }
    // The next `count` bytes, or an empty span (and failure) when the data is shorter.
    std::span<const std::uint8_t> Take(std::size_t count) {
        if (!Has(count)) {
            Fail();
            return {};
        }
        const auto taken = bytes_.subspan(position_, count);
        position_ += count;
        return taken;
    }

private:
    bool Has(std::size_t count) const { return ok_ && count <= bytes_.size() - position_; }
    std::uint8_t Fail() {
        ok_ = false;
        return 0;
    }

    std::span<const std::uint8_t> bytes_;
    std::size_t position_;
    bool ok_;
};

class ByteWriter {
public:
    void U8(std::uint32_t v) { out_.push_back(static_cast<std::uint8_t>(v)); }
    void U16le(std::uint32_t v) { U8(v); U8(v >> 8); }
    void U16be(std::uint32_t v) { U8(v >> 8); U8(v); }
    void U32le(std::uint32_t v) { U16le(v); U16le(v >> 16); }
    void U32be(std::uint32_t v) { U16be(v >> 16); U16be(v); }
    void Append(std::span<const std::uint8_t> bytes) { out_.insert(out_.end(), bytes.begin(), bytes.end()); }
    void Fill(std::size_t count, std::uint8_t value = 0) { out_.insert(out_.end(), count, value); }
    void Reserve(std::size_t count) { out_.reserve(out_.size() + count); }
    std::size_t size() const { return out_.size(); }
    std::vector<std::uint8_t>& bytes() { return out_; }

private:
    std::vector<std::uint8_t> out_;
};

}  // namespace vestrel::codecs
