// PGX, the one-component test format of JPEG 2000: a text line "PG ML + 8 w h" (byte
// order, sign, bit depth, size) and the raw samples. Read at any depth up to 16 bits
// (scaled to 8 bits), written as unsigned 8-bit grey. Ours: OpenJPEG keeps its PGX code
// in its command-line tools, not in the library.
#include "ByteIo.h"
#include "FormatCodecs.h"

#include <charconv>

namespace vestrel::codecs {

namespace {

constexpr std::size_t kMaxHeaderBytes = 64;

}  // namespace

std::optional<CodecImage> DecodePgx(Bytes file) {
    const std::size_t scan = std::min(file.size(), kMaxHeaderBytes);
    const auto end = std::find(file.begin(), file.begin() + static_cast<std::ptrdiff_t>(scan), '\n');
    if (end == file.begin() + static_cast<std::ptrdiff_t>(scan)) return std::nullopt;
    const std::string header(file.begin(), end);
    const Bytes samples = file.subspan(static_cast<std::size_t>(end - file.begin()) + 1);

    // "PG", byte order, then optional sign glued to or apart from the depth, width, height.
    if (header.size() < 5 || header.compare(0, 3, "PG ") != 0) return std::nullopt;
    const bool bigEndian = header.compare(3, 2, "ML") == 0;
    if (!bigEndian && header.compare(3, 2, "LM") != 0) return std::nullopt;
    const char* p = header.data() + 5;
    const char* const last = header.data() + header.size();
    const auto skipSpaces = [&] { while (p < last && (*p == ' ' || *p == '\t' || *p == '\r')) ++p; };
    skipSpaces();
    bool isSigned = false;
    if (p < last && (*p == '+' || *p == '-')) isSigned = *p++ == '-';
    long long numbers[3] = {0, 0, 0};
    for (auto& number : numbers) {
        skipSpaces();
        const auto [next, error] = std::from_chars(p, last, number);
        if (error != std::errc()) return std::nullopt;
        p = next;
    }
    const long long depth = numbers[0], width = numbers[1], height = numbers[2];
    if (depth < 1 || depth > 16 || !SizeAllowed(width, height)) return std::nullopt;
    const std::size_t sampleBytes = depth <= 8 ? 1 : 2;
    const std::size_t count = static_cast<std::size_t>(width * height);
    if (samples.size() < count * sampleBytes) return std::nullopt;

    CodecImage image;
    image.bpp = 8;
    image.palette = GreyPalette(8);
    image.pixels.create(static_cast<int>(height), static_cast<int>(width), CV_8UC1);
    const long long offset = isSigned ? 1LL << (depth - 1) : 0, maxValue = (1LL << depth) - 1;
    auto* out = image.pixels.ptr<std::uint8_t>(0);
    for (std::size_t i = 0; i < count; ++i) {
        long long v = 0;
        if (sampleBytes == 1) {
            v = isSigned ? static_cast<std::int8_t>(samples[i]) : samples[i];
        } else {
            const std::uint8_t a = samples[2 * i], b = samples[2 * i + 1];
            const std::uint16_t raw = bigEndian ? static_cast<std::uint16_t>((a << 8) | b)
                                                : static_cast<std::uint16_t>((b << 8) | a);
            v = isSigned ? static_cast<std::int16_t>(raw) : raw;
        }
        v = std::clamp(v + offset, 0LL, maxValue);
        out[i] = static_cast<std::uint8_t>(v * 255 / maxValue);
    }
    return image;
}

EncodedFile EncodePgx(const CodecImage& image) {
    // One component only: colour pictures are stored as their grey values.
    const cv::Mat grey = ToGrey(image);
    ByteWriter out;
    const std::string header =
        "PG ML + 8 " + std::to_string(grey.cols) + " " + std::to_string(grey.rows) + "\n";
    out.Append(Bytes(reinterpret_cast<const std::uint8_t*>(header.data()), header.size()));
    for (int y = 0; y < grey.rows; ++y) out.Append(Bytes(grey.ptr<std::uint8_t>(y), static_cast<std::size_t>(grey.cols)));
    return std::move(out.bytes());
}

}  // namespace vestrel::codecs
