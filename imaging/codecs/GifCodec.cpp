// GIF through giflib's record interface (never DGifSlurp, which would allocate whatever a
// hostile image descriptor asks for): one frame with its own or the global palette and
// the transparent index of its graphic control block, and the file's frame count.
#include "FormatCodecs.h"

#include <gif_lib.h>
#include <leptonica/allheaders.h>

#include <opencv2/imgproc.hpp>

#include <cstring>
#include <memory>

namespace vestrel::codecs {

namespace {

// A hostile file can hold endless tiny frames; stop counting there.
constexpr int kMaxFrames = 100000;

struct ReadCursor {
    Bytes file;
    std::size_t position = 0;
};

int ReadFromMemory(GifFileType* gif, GifByteType* out, int size) {
    auto* cursor = static_cast<ReadCursor*>(gif->UserData);
    if (size <= 0) return 0;
    const std::size_t count = std::min(static_cast<std::size_t>(size), cursor->file.size() - cursor->position);
    std::memcpy(out, cursor->file.data() + cursor->position, count);
    cursor->position += count;
    return static_cast<int>(count);
}

struct DecoderCloser {
    void operator()(GifFileType* gif) const {
        int error = 0;
        DGifCloseFile(gif, &error);
    }
};

std::vector<PaletteEntry> PaletteOf(const ColorMapObject* map) {
    std::vector<PaletteEntry> palette;
    if (!map || map->ColorCount <= 0 || map->ColorCount > 256) return palette;
    for (int i = 0; i < map->ColorCount; ++i)
        palette.push_back({map->Colors[i].Blue, map->Colors[i].Green, map->Colors[i].Red});
    return palette;
}

bool SkipImageData(GifFileType* gif) {
    int codeSize = 0;
    GifByteType* block = nullptr;
    if (DGifGetCode(gif, &codeSize, &block) != GIF_OK) return false;
    while (block) {
        if (DGifGetCodeNext(gif, &block) != GIF_OK) return false;
    }
    return true;
}

bool ReadImageData(GifFileType* gif, cv::Mat& indices) {
    const int width = indices.cols, height = indices.rows;
    if (gif->Image.Interlace) {
        static constexpr int kStart[] = {0, 4, 2, 1}, kStep[] = {8, 8, 4, 2};
        for (int pass = 0; pass < 4; ++pass)
            for (int y = kStart[pass]; y < height; y += kStep[pass])
                if (DGifGetLine(gif, indices.ptr<GifPixelType>(y), width) != GIF_OK) return false;
    } else {
        for (int y = 0; y < height; ++y)
            if (DGifGetLine(gif, indices.ptr<GifPixelType>(y), width) != GIF_OK) return false;
    }
    return true;
}

}  // namespace

std::optional<CodecImage> DecodeGif(Bytes file, int frame) {
    ReadCursor cursor{file};
    int error = 0;
    std::unique_ptr<GifFileType, DecoderCloser> gif(DGifOpen(&cursor, ReadFromMemory, &error));
    if (!gif) return std::nullopt;

    std::optional<CodecImage> picked;
    int frames = 0, pendingTransparent = -1;
    GifRecordType record = UNDEFINED_RECORD_TYPE;
    do {
        if (DGifGetRecordType(gif.get(), &record) != GIF_OK) break;  // truncated tail
        if (record == EXTENSION_RECORD_TYPE) {
            int code = 0;
            GifByteType* block = nullptr;
            if (DGifGetExtension(gif.get(), &code, &block) != GIF_OK) break;
            if (code == GRAPHICS_EXT_FUNC_CODE && block && block[0] >= 4) {
                GraphicsControlBlock control{};
                if (DGifExtensionToGCB(block[0], block + 1, &control) == GIF_OK)
                    pendingTransparent = control.TransparentColor;
            }
            bool readable = true;
            while (block && readable) readable = DGifGetExtensionNext(gif.get(), &block) == GIF_OK;
            if (!readable) break;
        } else if (record == IMAGE_DESC_RECORD_TYPE) {
            if (DGifGetImageDesc(gif.get()) != GIF_OK) break;
            const int width = gif->Image.Width, height = gif->Image.Height;
            if (frames == frame) {
                auto palette = PaletteOf(gif->Image.ColorMap ? gif->Image.ColorMap : gif->SColorMap);
                if (palette.empty() || !SizeAllowed(width, height)) return std::nullopt;
                CodecImage image;
                image.pixels.create(height, width, CV_8UC1);
                if (!ReadImageData(gif.get(), image.pixels)) return std::nullopt;
                double maxIndex = 0;
                cv::minMaxLoc(image.pixels, nullptr, &maxIndex);
                image.bpp = BppForColours(std::max(static_cast<int>(palette.size()), static_cast<int>(maxIndex) + 1));
                FitPalette(palette, image.bpp);
                image.palette = std::move(palette);
                image.transparentIndex = pendingTransparent < (1 << image.bpp) ? pendingTransparent : -1;
                picked = std::move(image);
            } else if (!SkipImageData(gif.get())) {
                break;
            }
            pendingTransparent = -1;
            if (++frames >= kMaxFrames) break;
        }
    } while (record != TERMINATE_RECORD_TYPE);
    // A file cut after the wanted frame still shows that frame, as viewers do; the frames
    // counted are those that were complete.
    if (picked) picked->frameCount = frames;
    return picked;
}

namespace {

int WriteToMemory(GifFileType* gif, const GifByteType* data, int size) {
    auto* out = static_cast<std::vector<std::uint8_t>*>(gif->UserData);
    out->insert(out->end(), data, data + size);
    return size;
}

struct PixDeleter {
    void operator()(PIX* pix) const { pixDestroy(&pix); }
};

struct MapDeleter {
    void operator()(ColorMapObject* map) const { GifFreeMapObject(map); }
};

// A 24-bit picture reduced to 256 colours chosen from the picture (Leptonica's median cut)
// with the error diffused, so that areas of close colours keep their mean instead of
// banding. Leptonica keeps a pixel as 0xRRGGBBAA in one 32-bit word.
std::optional<CodecImage> Quantise(const CodecImage& image) {
    const int width = image.pixels.cols, height = image.pixels.rows;
    const std::unique_ptr<PIX, PixDeleter> rgb(pixCreate(width, height, 32));
    if (!rgb) return std::nullopt;
    for (int y = 0; y < height; ++y) {
        const cv::Vec3b* in = image.pixels.ptr<cv::Vec3b>(y);
        l_uint32* out = pixGetData(rgb.get()) + static_cast<std::size_t>(y) * pixGetWpl(rgb.get());
        for (int x = 0; x < width; ++x)
            out[x] = (l_uint32{in[x][2]} << 24) | (l_uint32{in[x][1]} << 16) | (l_uint32{in[x][0]} << 8);
    }
    constexpr int kDither = 1, kDepth = 8, kColours = 256, kSignificantBits = 6, kDefaultSampling = 0;
    const std::unique_ptr<PIX, PixDeleter> mapped(pixMedianCutQuantGeneral(
        rgb.get(), kDither, kDepth, kColours, kSignificantBits, kDefaultSampling, 0));
    PIXCMAP* colourMap = mapped ? pixGetColormap(mapped.get()) : nullptr;
    if (!colourMap || pixGetDepth(mapped.get()) != 8) return std::nullopt;

    CodecImage indexed;
    indexed.bpp = 8;
    indexed.pixels.create(height, width, CV_8UC1);
    for (int y = 0; y < height; ++y) {
        const l_uint32* line = pixGetData(mapped.get()) + static_cast<std::size_t>(y) * pixGetWpl(mapped.get());
        std::uint8_t* out = indexed.pixels.ptr<std::uint8_t>(y);
        for (int x = 0; x < width; ++x) out[x] = static_cast<std::uint8_t>(GET_DATA_BYTE(line, x));
    }
    indexed.palette.resize(256);
    for (int i = 0; i < pixcmapGetCount(colourMap) && i < 256; ++i) {
        l_int32 red = 0, green = 0, blue = 0;
        pixcmapGetColor(colourMap, i, &red, &green, &blue);
        indexed.palette[i] = {static_cast<std::uint8_t>(blue), static_cast<std::uint8_t>(green),
                              static_cast<std::uint8_t>(red)};
    }
    return indexed;
}

}  // namespace

EncodedFile EncodeGif(const CodecImage& image) {
    std::optional<CodecImage> quantised;
    const CodecImage* source = &image;
    if (image.bpp == 24) {
        quantised = Quantise(image);
        if (!quantised) return std::nullopt;
        source = &*quantised;
    }
    std::vector<GifColorType> colours;
    for (const auto& e : source->palette) colours.push_back({e.red, e.green, e.blue});
    const std::unique_ptr<ColorMapObject, MapDeleter> map(
        GifMakeMapObject(static_cast<int>(colours.size()), colours.data()));
    if (!map) return std::nullopt;

    std::vector<std::uint8_t> out;
    int error = 0;
    GifFileType* gif = EGifOpen(&out, WriteToMemory, &error);
    if (!gif) return std::nullopt;
    bool ok = true;
    EGifSetGifVersion(gif, true);
    const int width = source->pixels.cols, height = source->pixels.rows;
    ok = ok && EGifPutScreenDesc(gif, width, height, source->bpp, 0, map.get()) == GIF_OK;
    if (ok && source->transparentIndex >= 0 && source->transparentIndex < static_cast<int>(colours.size())) {
        GraphicsControlBlock control{};
        control.DisposalMode = DISPOSAL_UNSPECIFIED;
        control.DelayTime = 0;
        control.TransparentColor = source->transparentIndex;
        GifByteType extension[4];
        const auto length = EGifGCBToExtension(&control, extension);
        ok = EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, static_cast<int>(length), extension) == GIF_OK;
    }
    ok = ok && EGifPutImageDesc(gif, 0, 0, width, height, false, nullptr) == GIF_OK;
    for (int y = 0; ok && y < height; ++y)
        ok = EGifPutLine(gif, const_cast<GifPixelType*>(source->pixels.ptr<GifPixelType>(y)), width) == GIF_OK;
    if (EGifCloseFile(gif, &error) != GIF_OK) ok = false;
    if (!ok) return std::nullopt;
    return out;
}

}  // namespace vestrel::codecs
