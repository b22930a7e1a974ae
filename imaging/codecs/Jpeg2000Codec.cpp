// JPEG 2000 through OpenCV's OpenJPEG codec (lossy: its encoder uses the irreversible
// transform). The size is read from the code stream's SIZ
// segment first (inside the JP2 'jp2c' box, or at the start of a bare code stream). Bare
// code streams (.j2k, .jpc, .j2c) are written by taking the code stream out of a JP2 file.
#include "ByteIo.h"
#include "FormatCodecs.h"

#include <opencv2/imgcodecs.hpp>

namespace vestrel::codecs {

namespace {

constexpr std::uint8_t kCodeStreamStart[] = {0xFF, 0x4F, 0xFF, 0x51};

// The code stream inside a JP2 file (the whole input when it is one already); empty when
// none is found.
Bytes FindCodeStream(Bytes file) {
    if (file.size() >= 4 && std::equal(std::begin(kCodeStreamStart), std::end(kCodeStreamStart), file.begin()))
        return file;
    ByteReader in(file);
    while (in.remaining() >= 8) {
        const std::size_t start = in.position();
        std::uint64_t length = in.U32be();
        const std::uint32_t type = in.U32be();
        std::size_t headerBytes = 8;
        if (length == 1) {
            length = (std::uint64_t{in.U32be()} << 32) | in.U32be();
            headerBytes = 16;
        } else if (length == 0) {
            length = file.size() - start;
        }
        if (!in.ok() || length < headerBytes || length > file.size() - start) return {};
        if (type == 0x6A703263) return file.subspan(start + headerBytes, length - headerBytes);  // 'jp2c'
        in.Skip(length - headerBytes);
    }
    return {};
}

}  // namespace

std::optional<CodecImage> DecodeJpeg2000(Bytes file) {
    const Bytes stream = FindCodeStream(file);
    ByteReader siz(stream, 4);
    siz.U16be();  // Lsiz
    siz.U16be();  // Rsiz
    const std::int64_t xsiz = siz.U32be(), ysiz = siz.U32be(), xosiz = siz.U32be(), yosiz = siz.U32be();
    siz.Skip(16);  // tile size and offset
    const std::uint16_t components = siz.U16be();
    // OpenJPEG keeps 32 bits a sample for every component; we show at most four.
    if (stream.size() < 4 || !siz.ok() || !SizeAllowed(xsiz - xosiz, ysiz - yosiz) || components == 0 ||
        components > 4)
        return std::nullopt;
    // OpenJPEG decodes a cut code stream as far as it goes; we want the whole picture or
    // nothing, so the stream must end with its end-of-code-stream marker.
    if (stream[stream.size() - 2] != 0xFF || stream[stream.size() - 1] != 0xD9) return std::nullopt;
    return DecodeWithOpenCv(file);
}

namespace {

cv::Mat PictureFor(const CodecImage& image) {
    return image.bpp != 24 && PaletteIsGrey(image.palette) ? ToGrey(image) : ToBgr(image);
}

}  // namespace

// OpenCV's encoder uses six resolution levels, which need 32 pixels on each side; a
// smaller picture is refused here instead of failing inside OpenJPEG.
constexpr int kMinJpeg2000Side = 32;

EncodedFile EncodeJp2(const CodecImage& image) {
    if (image.pixels.cols < kMinJpeg2000Side || image.pixels.rows < kMinJpeg2000Side) return std::nullopt;
    return EncodeWithOpenCv(PictureFor(image), ".jp2");
}

EncodedFile EncodeJ2kCodeStream(const CodecImage& image) {
    const auto jp2 = EncodeJp2(image);
    if (!jp2) return std::nullopt;
    const Bytes stream = FindCodeStream(*jp2);
    if (stream.empty()) return std::nullopt;
    return std::vector<std::uint8_t>(stream.begin(), stream.end());
}

}  // namespace vestrel::codecs
