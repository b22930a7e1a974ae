// TIFF through libtiff: every page readable (bilevel, grey and palette pages keep their
// bits; anything else comes through libtiff's RGBA reader), resolution tags, and pages
// written as bilevel CCITT G4, grey or palette LZW, or 24-bit RGB LZW.
#include "BitPacking.h"
#include "FormatCodecs.h"
#include "TiffMemoryFile.h"

namespace vestrel::codecs {

namespace {

// A hostile file may chain more directories than anyone scans; stop counting there.
constexpr int kMaxPages = 10000;

void ReadResolution(TIFF* tiff, CodecImage& image) {
    float x = 0, y = 0;
    std::uint16_t unit = RESUNIT_INCH;
    TIFFGetFieldDefaulted(tiff, TIFFTAG_RESOLUTIONUNIT, &unit);
    if (!TIFFGetField(tiff, TIFFTAG_XRESOLUTION, &x) || !(x > 0 && x < 1e6)) return;
    if (!TIFFGetField(tiff, TIFFTAG_YRESOLUTION, &y) || !(y > 0 && y < 1e6)) y = x;
    const double scale = unit == RESUNIT_CENTIMETER ? 2.54 : unit == RESUNIT_INCH ? 1.0 : 0.0;
    image.xdpi = x * scale;
    image.ydpi = y * scale;
}

std::vector<PaletteEntry> ReadColorMap(TIFF* tiff, int bpp) {
    std::uint16_t *red = nullptr, *green = nullptr, *blue = nullptr;
    if (!TIFFGetField(tiff, TIFFTAG_COLORMAP, &red, &green, &blue)) return {};
    const int count = 1 << bpp;
    // Some writers store 8-bit values in the 16-bit map; take them as they are then.
    bool eightBit = true;
    for (int i = 0; i < count; ++i)
        if (red[i] > 255 || green[i] > 255 || blue[i] > 255) eightBit = false;
    const int shift = eightBit ? 0 : 8;
    std::vector<PaletteEntry> palette(count);
    for (int i = 0; i < count; ++i)
        palette[i] = {static_cast<std::uint8_t>(blue[i] >> shift), static_cast<std::uint8_t>(green[i] >> shift),
                      static_cast<std::uint8_t>(red[i] >> shift)};
    return palette;
}

// Pages of one sample of 1, 4 or 8 bits, grey or palette, stored in strips.
std::optional<CodecImage> ReadIndexedPage(TIFF* tiff, int width, int height, int bits,
                                          std::uint16_t photometric) {
    CodecImage image;
    image.bpp = bits == 1 ? 1 : bits == 4 ? 4 : 8;
    if (photometric == PHOTOMETRIC_PALETTE) {
        image.palette = ReadColorMap(tiff, bits);
        if (image.palette.empty()) return std::nullopt;
    } else {
        image.palette = GreyPalette(image.bpp);
    }
    const tmsize_t lineBytes = TIFFScanlineSize(tiff);
    if (lineBytes < static_cast<tmsize_t>(PackedRowBytes(width, bits))) return std::nullopt;
    std::vector<std::uint8_t> line(static_cast<std::size_t>(lineBytes));
    image.pixels.create(height, width, CV_8UC1);
    for (int y = 0; y < height; ++y) {
        if (TIFFReadScanline(tiff, line.data(), static_cast<std::uint32_t>(y), 0) < 0) return std::nullopt;
        UnpackRow(line.data(), image.pixels.ptr<std::uint8_t>(y), width, bits);
    }
    // Minimum-is-white pages (fax pages) are turned so that index 0 is black, like every
    // other grey picture of ours.
    if (photometric == PHOTOMETRIC_MINISWHITE) image.pixels = ((1 << bits) - 1) - image.pixels;
    return image;
}

std::optional<CodecImage> ReadRgbaPage(TIFF* tiff, int width, int height) {
    cv::Mat raster(height, width, CV_8UC4);
    if (!TIFFReadRGBAImageOriented(tiff, static_cast<std::uint32_t>(width), static_cast<std::uint32_t>(height),
                                   reinterpret_cast<std::uint32_t*>(raster.data), ORIENTATION_TOPLEFT,
                                   /*stop_on_error=*/1))
        return std::nullopt;
    // libtiff packs each pixel as R, G, B, A in memory order.
    CodecImage image;
    cv::Mat channels[4];
    cv::split(raster, channels);
    cv::Mat bgr[3] = {channels[2], channels[1], channels[0]};
    cv::merge(bgr, 3, image.pixels);
    std::uint16_t extraCount = 0;
    std::uint16_t* extraTypes = nullptr;
    if (TIFFGetField(tiff, TIFFTAG_EXTRASAMPLES, &extraCount, &extraTypes) && extraCount > 0)
        image.alpha = channels[3];
    return image;
}

}  // namespace

std::optional<CodecImage> DecodeTiff(Bytes file, int frame) {
    TiffMemoryFile memory(file);
    const TiffHandle tiff = memory.Open("r");
    if (!tiff) return std::nullopt;
    int pages = 1;
    while (pages < kMaxPages && TIFFReadDirectory(tiff.get())) ++pages;
    if (frame >= pages || !TIFFSetDirectory(tiff.get(), static_cast<tdir_t>(frame))) return std::nullopt;

    std::uint32_t width = 0, height = 0;
    std::uint16_t bits = 1, samples = 1, photometric = PHOTOMETRIC_MINISWHITE, planar = PLANARCONFIG_CONTIG;
    if (!TIFFGetField(tiff.get(), TIFFTAG_IMAGEWIDTH, &width) ||
        !TIFFGetField(tiff.get(), TIFFTAG_IMAGELENGTH, &height))
        return std::nullopt;
    if (!SizeAllowed(width, height)) return std::nullopt;
    TIFFGetFieldDefaulted(tiff.get(), TIFFTAG_BITSPERSAMPLE, &bits);
    TIFFGetFieldDefaulted(tiff.get(), TIFFTAG_SAMPLESPERPIXEL, &samples);
    TIFFGetFieldDefaulted(tiff.get(), TIFFTAG_PLANARCONFIG, &planar);
    TIFFGetField(tiff.get(), TIFFTAG_PHOTOMETRIC, &photometric);

    const bool indexed = samples == 1 && (bits == 1 || bits == 4 || bits == 8) &&
                         !TIFFIsTiled(tiff.get()) &&
                         (photometric == PHOTOMETRIC_MINISBLACK || photometric == PHOTOMETRIC_MINISWHITE ||
                          photometric == PHOTOMETRIC_PALETTE);
    auto image = indexed ? ReadIndexedPage(tiff.get(), static_cast<int>(width), static_cast<int>(height), bits,
                                           photometric)
                         : ReadRgbaPage(tiff.get(), static_cast<int>(width), static_cast<int>(height));
    if (!image) return std::nullopt;
    ReadResolution(tiff.get(), *image);
    image->frameCount = pages;
    return image;
}

namespace {

bool WriteStrips(TIFF* tiff, const cv::Mat& rows, int bitsPerPixel, bool invert) {
    const int width = rows.cols;
    std::vector<std::uint8_t> line(std::max<std::size_t>(PackedRowBytes(width, bitsPerPixel),
                                                         static_cast<std::size_t>(TIFFScanlineSize(tiff))));
    for (int y = 0; y < rows.rows; ++y) {
        if (bitsPerPixel == 24) {
            const auto* bgr = rows.ptr<std::uint8_t>(y);
            for (int x = 0; x < width; ++x) {
                line[3 * x] = bgr[3 * x + 2];
                line[3 * x + 1] = bgr[3 * x + 1];
                line[3 * x + 2] = bgr[3 * x];
            }
        } else if (bitsPerPixel == 32) {
            const auto* bgra = rows.ptr<std::uint8_t>(y);
            for (int x = 0; x < width; ++x) {
                line[4 * x] = bgra[4 * x + 2];
                line[4 * x + 1] = bgra[4 * x + 1];
                line[4 * x + 2] = bgra[4 * x];
                line[4 * x + 3] = bgra[4 * x + 3];
            }
        } else {
            PackRow(rows.ptr<std::uint8_t>(y), line.data(), width, bitsPerPixel);
            if (invert)
                for (auto& byte : line) byte = static_cast<std::uint8_t>(~byte);
        }
        if (TIFFWriteScanline(tiff, line.data(), static_cast<std::uint32_t>(y), 0) < 0) return false;
    }
    return true;
}

}  // namespace

EncodedFile EncodeTiff(const CodecImage& image, const std::vector<std::uint8_t>& existing) {
    const bool appending = !existing.empty();
    TiffMemoryFile memory(existing);
    const TiffHandle tiff = memory.Open(appending ? "a" : "w");
    if (!tiff) return std::nullopt;
    TIFF* t = tiff.get();
    const int width = image.pixels.cols, height = image.pixels.rows;
    TIFFSetField(t, TIFFTAG_IMAGEWIDTH, static_cast<std::uint32_t>(width));
    TIFFSetField(t, TIFFTAG_IMAGELENGTH, static_cast<std::uint32_t>(height));
    TIFFSetField(t, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
    TIFFSetField(t, TIFFTAG_ORIENTATION, ORIENTATION_TOPLEFT);
    if (appending) TIFFSetField(t, TIFFTAG_SUBFILETYPE, FILETYPE_PAGE);
    if (image.xdpi > 0 && image.ydpi > 0) {
        TIFFSetField(t, TIFFTAG_XRESOLUTION, static_cast<float>(image.xdpi));
        TIFFSetField(t, TIFFTAG_YRESOLUTION, static_cast<float>(image.ydpi));
        TIFFSetField(t, TIFFTAG_RESOLUTIONUNIT, RESUNIT_INCH);
    }

    cv::Mat rows = image.pixels;
    int bitsPerPixel = image.bpp;
    bool invert = false;
    const bool blackWhite = image.bpp == 1 && PaletteIsBlackWhite(image.palette);
    if (image.bpp == 24) {
        const bool alpha = !image.alpha.empty();
        TIFFSetField(t, TIFFTAG_BITSPERSAMPLE, 8);
        TIFFSetField(t, TIFFTAG_SAMPLESPERPIXEL, alpha ? 4 : 3);
        TIFFSetField(t, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_RGB);
        TIFFSetField(t, TIFFTAG_COMPRESSION, COMPRESSION_LZW);
        if (alpha) {
            const std::uint16_t extra = EXTRASAMPLE_UNASSALPHA;
            TIFFSetField(t, TIFFTAG_EXTRASAMPLES, 1, &extra);
            rows = ToBgra(image);
            bitsPerPixel = 32;
        }
    } else if (blackWhite) {
        // Fax convention: minimum is white, so a set bit is black.
        TIFFSetField(t, TIFFTAG_BITSPERSAMPLE, 1);
        TIFFSetField(t, TIFFTAG_SAMPLESPERPIXEL, 1);
        TIFFSetField(t, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_MINISWHITE);
        TIFFSetField(t, TIFFTAG_COMPRESSION, COMPRESSION_CCITTFAX4);
        TIFFSetField(t, TIFFTAG_FILLORDER, FILLORDER_MSB2LSB);
        invert = true;
    } else {
        TIFFSetField(t, TIFFTAG_BITSPERSAMPLE, image.bpp);
        TIFFSetField(t, TIFFTAG_SAMPLESPERPIXEL, 1);
        TIFFSetField(t, TIFFTAG_COMPRESSION, COMPRESSION_LZW);
        if (image.palette == GreyPalette(image.bpp)) {
            TIFFSetField(t, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_MINISBLACK);
        } else {
            TIFFSetField(t, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_PALETTE);
            const std::size_t count = image.palette.size();
            std::vector<std::uint16_t> red(count), green(count), blue(count);
            for (std::size_t i = 0; i < count; ++i) {
                red[i] = static_cast<std::uint16_t>(image.palette[i].red * 257);
                green[i] = static_cast<std::uint16_t>(image.palette[i].green * 257);
                blue[i] = static_cast<std::uint16_t>(image.palette[i].blue * 257);
            }
            TIFFSetField(t, TIFFTAG_COLORMAP, red.data(), green.data(), blue.data());
        }
    }
    // G4 pages are one strip, as fax readers expect; others in strips of about 64 KB.
    TIFFSetField(t, TIFFTAG_ROWSPERSTRIP,
                 blackWhite ? static_cast<std::uint32_t>(height) : TIFFDefaultStripSize(t, 0));
    if (!WriteStrips(t, rows, bitsPerPixel, invert) || !TIFFWriteDirectory(t)) return std::nullopt;
    if (TIFFFlush(t) != 1) return std::nullopt;
    return memory.written();
}

}  // namespace vestrel::codecs
