#include "SignatureFile.h"

#include <array>
#include <cstdio>
#include <fstream>
#include <system_error>

namespace vestrel::signature {
namespace {

// Fixed for every signature file ever written: changing it makes old files unreadable.
constexpr std::uint64_t kKeySeed = 0x5A17C3E9A4D2B68FULL;

constexpr std::array<std::uint8_t, kTagSize> kTag = {'z', 'a', 'r', 'n', '\0'};

std::optional<std::vector<std::uint8_t>> ReadAll(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    std::vector<std::uint8_t> bytes;
    in.seekg(0, std::ios::end);
    const std::streamoff size = in.tellg();
    if (size < 0) return std::nullopt;
    in.seekg(0, std::ios::beg);
    bytes.resize(static_cast<std::size_t>(size));
    if (size > 0 && !in.read(reinterpret_cast<char*>(bytes.data()), size)) return std::nullopt;
    return bytes;
}

// Writes `bytes` beside `path` and then renames it over `path`, so a full disk or a crash
// never leaves a half-written signature in place of the old one.
bool ReplaceFile(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes)
{
    std::filesystem::path temp = path;
    temp += ".part";
    {
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        if (!out) return false;
        out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
        out.flush();
        if (!out) {
            out.close();
            std::error_code ignored;
            std::filesystem::remove(temp, ignored);
            return false;
        }
    }
    std::error_code error;
    std::filesystem::rename(temp, path, error);
    if (error) {
        std::filesystem::remove(temp, error);
        return false;
    }
    return true;
}

bool TagMatches(std::span<const std::uint8_t> tag, std::uint8_t key)
{
    // Compared as a NUL-terminated string: the text up to the first NUL must read "zarn".
    for (std::size_t i = 0; i < kTagSize; ++i) {
        const std::uint8_t c = tag[i] ^ key;
        if (c != kTag[i]) return false;
        if (c == 0) return true;
    }
    return true;
}

}  // namespace

std::uint8_t SignatureKey(const std::string& password)
{
    const std::string effective = password.empty() ? std::string(" ") : password;
    std::uint64_t key = kKeySeed;
    for (const char c : effective) {
        const auto extended = static_cast<std::uint64_t>(static_cast<std::int64_t>(static_cast<std::int8_t>(c)));
        key ^= extended | 0x80u;
    }
    return static_cast<std::uint8_t>(key & 0xFFu);
}

bool EncryptSignature(const std::filesystem::path& path, const std::string& password)
{
    auto bytes = ReadAll(path);
    if (!bytes) return false;
    const std::uint8_t key = SignatureKey(password);
    const auto mask = static_cast<std::uint8_t>((bytes->size() % 256) ^ key);
    for (auto& b : *bytes) b ^= mask;
    for (const std::uint8_t t : kTag) bytes->push_back(t ^ key);
    return ReplaceFile(path, *bytes);
}

std::optional<std::vector<std::uint8_t>> UnlockSignatureBytes(std::span<const std::uint8_t> file,
                                                              const std::string& password)
{
    if (file.size() < kTagSize) return std::nullopt;
    const std::uint8_t key = SignatureKey(password);
    const std::size_t length = file.size() - kTagSize;
    if (!TagMatches(file.subspan(length), key)) return std::nullopt;
    const auto mask = static_cast<std::uint8_t>((length % 256) ^ key);
    std::vector<std::uint8_t> plain(file.begin(), file.begin() + std::ptrdiff_t(length));
    for (auto& b : plain) b ^= mask;
    return plain;
}

std::optional<std::vector<std::uint8_t>> UnlockSignature(const std::filesystem::path& path,
                                                         const std::string& password)
{
    const auto bytes = ReadAll(path);
    if (!bytes) return std::nullopt;
    return UnlockSignatureBytes(*bytes, password);
}

bool DecryptSignature(const std::filesystem::path& path, const std::string& password)
{
    const auto plain = UnlockSignature(path, password);
    if (!plain) return false;
    return ReplaceFile(path, *plain);
}

bool SignaturePasswordMatches(const std::filesystem::path& path, const std::string& password)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    in.seekg(0, std::ios::end);
    const std::streamoff size = in.tellg();
    if (size < std::streamoff(kTagSize)) return false;
    in.seekg(size - std::streamoff(kTagSize));
    std::array<std::uint8_t, kTagSize> tag{};
    if (!in.read(reinterpret_cast<char*>(tag.data()), kTagSize)) return false;
    return TagMatches(tag, SignatureKey(password));
}

}  // namespace vestrel::signature
