// The codec boundary: reads the file, finds the format, calls its decoder or encoder and
// makes sure nothing is thrown out of the library.
#include "FormatCodecs.h"
#include "FormatSniffer.h"

#include <fstream>
#include <memory>
#include <system_error>

namespace vestrel::codecs {

namespace {

// Largest file we read into memory: an uncompressed 32-bit picture at the pixel limit, plus
// room for headers and palettes. Nothing bigger can hold a picture we would accept.
constexpr std::uintmax_t kMaxFileBytes = 4ULL * kMaxPixels + (1u << 20);

// A whole file in a buffer that is not zeroed first: for a camera-sized bitmap the zeroing
// cost as much as the read.
struct FileBuffer {
    std::unique_ptr<std::uint8_t[]> data;
    std::size_t size = 0;
    Bytes bytes() const { return {data.get(), size}; }
};

std::optional<FileBuffer> ReadWholeFile(const std::filesystem::path& path) {
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error)) return std::nullopt;
    const auto size = std::filesystem::file_size(path, error);
    if (error || size == 0 || size > kMaxFileBytes) return std::nullopt;
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    FileBuffer buffer{std::make_unique_for_overwrite<std::uint8_t[]>(static_cast<std::size_t>(size)),
                      static_cast<std::size_t>(size)};
    in.read(reinterpret_cast<char*>(buffer.data.get()), static_cast<std::streamsize>(size));
    if (in.gcount() != static_cast<std::streamsize>(size)) return std::nullopt;
    return buffer;
}

bool WriteWholeFile(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out) return false;
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    out.close();
    return static_cast<bool>(out);
}

std::optional<CodecImage> DecodeByType(Bytes file, int type, int frame) {
    switch (type) {
    case kTypeBmp: return DecodeBmp(file);
    case kTypeGif: return DecodeGif(file, frame);
    case kTypeJpg: return DecodeJpeg(file);
    case kTypePng: return DecodePng(file);
    case kTypeIco: return DecodeIco(file, frame);
    case kTypeTif: return DecodeTiff(file, frame);
    case kTypeTga: return DecodeTga(file);
    case kTypePcx: return DecodePcx(file);
    case kTypeWbmp: return DecodeWbmp(file);
    case kTypeJp2:
    case kTypeJpc: return DecodeJpeg2000(file);
    case kTypePgx: return DecodePgx(file);
    case kTypePnm: return DecodePnm(file);
    case kTypeRas: return DecodeSunRaster(file);
    default: return std::nullopt;  // metafiles and unknown codes
    }
}

EncodedFile EncodeByType(const CodecImage& image, int type, const EncodeOptions& options,
                         const std::vector<std::uint8_t>& existingTiff) {
    switch (type) {
    case kTypeBmp: return EncodeBmp(image);
    case kTypeGif: return EncodeGif(image);
    case kTypeJpg: return EncodeJpeg(image, options.jpegQuality);
    case kTypePng: return EncodePng(image);
    case kTypeIco: return EncodeIco(image);
    case kTypeTif: return EncodeTiff(image, existingTiff);
    case kTypeTga: return EncodeTga(image);
    case kTypePcx: return EncodePcx(image);
    case kTypeWbmp: return EncodeWbmp(image);
    case kTypeJp2: return EncodeJp2(image);
    case kTypeJpc: return EncodeJ2kCodeStream(image);
    case kTypePgx: return EncodePgx(image);
    case kTypePnm: return EncodePnm(image);
    case kTypeRas: return EncodeSunRaster(image);
    default: return std::nullopt;
    }
}

std::optional<CodecImage> DecodeBytes(Bytes file, int type, int frame) {
    try {
        if (file.empty() || frame < 0) return std::nullopt;
        if (type == kTypeUnknown) type = SniffFileType(file);
        auto image = DecodeByType(file, type, frame);
        if (!image || !Consistent(*image)) return std::nullopt;
        return image;
    } catch (...) {
        return std::nullopt;
    }
}

}  // namespace

std::optional<CodecImage> Decode(const std::filesystem::path& path, int type, int frame) {
    try {
        const auto file = ReadWholeFile(path);
        if (!file) return std::nullopt;
        return DecodeBytes(file->bytes(), type, frame);
    } catch (...) {
        return std::nullopt;
    }
}

std::optional<CodecImage> DecodeMemory(const std::vector<std::uint8_t>& bytes, int type, int frame) {
    return DecodeBytes(Bytes(bytes.data(), bytes.size()), type, frame);
}

bool Encode(const CodecImage& image, const std::filesystem::path& path, int type,
            const EncodeOptions& options) {
    try {
        if (!Consistent(image)) return false;
        std::vector<std::uint8_t> existing;
        if (type == kTypeTif && options.tiffAppend) {
            std::error_code error;
            if (std::filesystem::exists(path, error)) {
                const auto file = ReadWholeFile(path);
                if (!file) return false;
                existing.assign(file->bytes().begin(), file->bytes().end());
            }
        }
        const auto encoded = EncodeByType(image, type, options, existing);
        if (!encoded || encoded->empty()) return false;
        return WriteWholeFile(path, *encoded);
    } catch (...) {
        return false;
    }
}

}  // namespace vestrel::codecs
