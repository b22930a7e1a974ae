#include "PageReader.h"

#include "TiffHandle.h"

#include <gif_lib.h>
#include <opencv2/imgcodecs.hpp>
#include <opencv2/imgproc.hpp>

#include <cstring>
#include <fstream>
#include <vector>

namespace vestrel::doctiff {

struct PageReader::Tiff {
    TiffMessages messages;
    TiffPtr handle;
    int pages = 0;
};

namespace {

bool TooLarge(double width, double height) {
    return width < 1 || height < 1 || width * height > kMaxPagePixels;
}

std::string Magic(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    char bytes[4] = {};
    in.read(bytes, 4);
    return std::string(bytes, static_cast<size_t>(in.gcount()));
}

bool IsTiffMagic(const std::string& m) {
    return m.size() == 4 && ((m[0] == 'I' && m[1] == 'I' && (m[2] == 42 || m[2] == 43) && m[3] == 0) ||
                             (m[0] == 'M' && m[1] == 'M' && m[2] == 0 && (m[3] == 42 || m[3] == 43)));
}

// The GIF library's text for an error code, or the number where it has none (it returns
// a null pointer for codes it does not know).
std::string GifErrorText(int code) {
    const char* text = GifErrorString(code);
    return text ? std::string(text) : "error " + std::to_string(code);
}

// First image of a GIF file, read record by record so that its size is checked before
// any pixel buffer is allocated.
bool ReadGif(const std::string& path, cv::Mat& gray, std::string& error) {
    int code = 0;
    GifFileType* gif = DGifOpenFileName(path.c_str(), &code);
    if (!gif) {
        error = "cannot read GIF: " + GifErrorText(code);
        return false;
    }
    struct Closer {
        GifFileType* g;
        ~Closer() { int c; DGifCloseFile(g, &c); }
    } closer{gif};
    GifRecordType record;
    int transparent = -1;
    do {
        if (DGifGetRecordType(gif, &record) == GIF_ERROR) break;
        if (record == EXTENSION_RECORD_TYPE) {
            int extCode = 0;
            GifByteType* ext = nullptr;
            if (DGifGetExtension(gif, &extCode, &ext) == GIF_ERROR) break;
            if (extCode == GRAPHICS_EXT_FUNC_CODE && ext && ext[0] >= 4 && (ext[1] & 1))
                transparent = ext[4];
            while (ext) {
                if (DGifGetExtensionNext(gif, &ext) == GIF_ERROR) { ext = nullptr; record = TERMINATE_RECORD_TYPE; }
            }
        } else if (record == IMAGE_DESC_RECORD_TYPE) {
            if (DGifGetImageDesc(gif) == GIF_ERROR) break;
            const int w = gif->Image.Width, h = gif->Image.Height;
            if (TooLarge(w, h)) {
                error = "GIF picture too large";
                return false;
            }
            const ColorMapObject* map = gif->Image.ColorMap ? gif->Image.ColorMap : gif->SColorMap;
            if (!map) {
                error = "GIF picture without colours";
                return false;
            }
            cv::Mat indices(h, w, CV_8UC1);
            const int passStart[] = {0, 4, 2, 1}, passStep[] = {8, 8, 4, 2};
            auto readRow = [&](int y) { return DGifGetLine(gif, indices.ptr<GifPixelType>(y), w) != GIF_ERROR; };
            bool ok = true;
            if (gif->Image.Interlace) {
                for (int p = 0; p < 4 && ok; ++p)
                    for (int y = passStart[p]; y < h && ok; y += passStep[p]) ok = readRow(y);
            } else {
                for (int y = 0; y < h && ok; ++y) ok = readRow(y);
            }
            if (!ok) {
                error = "damaged GIF: " + GifErrorText(gif->Error);
                return false;
            }
            uint8_t lut[256];
            for (int i = 0; i < 256; ++i) {
                if (i == transparent || i >= map->ColorCount) { lut[i] = 255; continue; }
                const GifColorType c = map->Colors[i];
                lut[i] = static_cast<uint8_t>((299 * c.Red + 587 * c.Green + 114 * c.Blue + 500) / 1000);
            }
            cv::LUT(indices, cv::Mat(1, 256, CV_8UC1, lut), gray);
            return true;
        }
    } while (record != TERMINATE_RECORD_TYPE);
    error = "GIF file holds no picture";
    return false;
}

// One bit per pixel, read line by line; 1-bit pages keep their exact pixels this way.
bool ReadBilevel(TIFF* tif, int width, int height, uint16_t photometric, cv::Mat& gray) {
    std::vector<uint8_t> line(static_cast<size_t>(TIFFScanlineSize(tif)));
    if (line.size() * 8 < static_cast<size_t>(width)) return false;
    gray.create(height, width, CV_8UC1);
    const bool oneIsBlack = photometric == PHOTOMETRIC_MINISWHITE;
    for (int y = 0; y < height; ++y) {
        if (TIFFReadScanline(tif, line.data(), static_cast<uint32_t>(y), 0) < 0) return false;
        uint8_t* row = gray.ptr<uint8_t>(y);
        for (int x = 0; x < width; ++x) {
            const bool one = (line[x >> 3] >> (7 - (x & 7))) & 1;
            row[x] = (one != oneIsBlack) ? 255 : 0;
        }
    }
    return true;
}

}  // namespace

PageReader::PageReader() = default;
PageReader::~PageReader() = default;

bool PageReader::Open(const std::string& path) {
    tiff_.reset();
    picture_ = SourcePage{};
    error_.clear();
    const std::string magic = Magic(path);
    if (magic.empty()) {
        error_ = "cannot read " + path;
        return false;
    }
    if (IsTiffMagic(magic)) {
        auto t = std::make_unique<Tiff>();
        t->handle = OpenTiff(path, "r", t->messages);
        if (!t->handle) {
            error_ = "cannot open TIFF " + path + ": " + t->messages.text;
            return false;
        }
        t->pages = TIFFNumberOfDirectories(t->handle.get());
        if (t->pages < 1) {
            error_ = "TIFF without pages: " + path;
            return false;
        }
        tiff_ = std::move(t);
        return true;
    }
    if (magic.compare(0, 3, "GIF") == 0) {
        if (!ReadGif(path, picture_.gray, error_)) return false;
        return true;
    }
    try {
        picture_.gray = cv::imread(path, cv::IMREAD_GRAYSCALE);
    } catch (const cv::Exception&) {
        picture_.gray.release();
    }
    if (picture_.gray.empty() || TooLarge(picture_.gray.cols, picture_.gray.rows)) {
        picture_.gray.release();
        error_ = "cannot read picture " + path;
        return false;
    }
    return true;
}

int PageReader::PageCount() const {
    if (tiff_) return tiff_->pages;
    return picture_.gray.empty() ? 0 : 1;
}

bool PageReader::PageInfo(int index, int& width, int& height, double& xRes, double& yRes) {
    if (index < 0 || index >= PageCount()) {
        error_ = "no page " + std::to_string(index);
        return false;
    }
    if (!tiff_) {
        width = picture_.gray.cols;
        height = picture_.gray.rows;
        xRes = yRes = 0;
        return true;
    }
    TIFF* tif = tiff_->handle.get();
    if (!TIFFSetDirectory(tif, static_cast<tdir_t>(index))) {
        error_ = "damaged TIFF page: " + tiff_->messages.text;
        return false;
    }
    uint32_t w = 0, h = 0;
    TIFFGetField(tif, TIFFTAG_IMAGEWIDTH, &w);
    TIFFGetField(tif, TIFFTAG_IMAGELENGTH, &h);
    float xr = 0, yr = 0;
    uint16_t unit = RESUNIT_INCH;
    TIFFGetField(tif, TIFFTAG_XRESOLUTION, &xr);
    TIFFGetField(tif, TIFFTAG_YRESOLUTION, &yr);
    TIFFGetFieldDefaulted(tif, TIFFTAG_RESOLUTIONUNIT, &unit);
    const double toInch = unit == RESUNIT_CENTIMETER ? 2.54 : 1.0;
    if (w > static_cast<uint32_t>(INT32_MAX) || h > static_cast<uint32_t>(INT32_MAX)) {
        error_ = "TIFF page too large";
        return false;
    }
    width = static_cast<int>(w);
    height = static_cast<int>(h);
    xRes = (xr > 0 && xr < 1e6) ? xr * toInch : 0;
    yRes = (yr > 0 && yr < 1e6) ? yr * toInch : 0;
    return true;
}

bool PageReader::ReadPage(int index, SourcePage& page) {
    int width = 0, height = 0;
    if (!PageInfo(index, width, height, page.xResolution, page.yResolution)) return false;
    if (!tiff_) {
        page = picture_;
        return true;
    }
    if (TooLarge(width, height)) {
        error_ = "TIFF page too large: " + std::to_string(width) + " x " + std::to_string(height);
        return false;
    }
    TIFF* tif = tiff_->handle.get();
    uint16_t bits = 1, samples = 1, photometric = PHOTOMETRIC_MINISWHITE;
    TIFFGetFieldDefaulted(tif, TIFFTAG_BITSPERSAMPLE, &bits);
    TIFFGetFieldDefaulted(tif, TIFFTAG_SAMPLESPERPIXEL, &samples);
    TIFFGetField(tif, TIFFTAG_PHOTOMETRIC, &photometric);
    page.bilevel = bits == 1 && samples == 1 &&
                   (photometric == PHOTOMETRIC_MINISWHITE || photometric == PHOTOMETRIC_MINISBLACK);
    if (page.bilevel && !TIFFIsTiled(tif) &&
        ReadBilevel(tif, width, height, photometric, page.gray))
        return true;
    // Everything else (grey, colour, palette, JPEG-in-TIFF, tiles) through libtiff's RGBA
    // reader, which knows every layout.
    cv::Mat rgba(height, width, CV_8UC4);
    if (!TIFFReadRGBAImageOriented(tif, static_cast<uint32_t>(width), static_cast<uint32_t>(height),
                                   rgba.ptr<uint32_t>(), ORIENTATION_TOPLEFT, 0)) {
        error_ = "cannot decode TIFF page: " + tiff_->messages.text;
        return false;
    }
    // The raster holds R, G, B, A from the lowest byte up, which is RGBA in memory here.
    cv::cvtColor(rgba, page.gray, cv::COLOR_RGBA2GRAY);
    return true;
}

bool PageReader::ReadFaxStrip(int index, FaxStrip& strip) {
    int width = 0, height = 0;
    if (!tiff_ || !PageInfo(index, width, height, strip.xResolution, strip.yResolution)) return false;
    TIFF* tif = tiff_->handle.get();
    uint16_t compression = 0, bits = 0, samples = 0, photometric = 0, fill = FILLORDER_MSB2LSB;
    uint32_t options = 0;
    TIFFGetField(tif, TIFFTAG_COMPRESSION, &compression);
    TIFFGetFieldDefaulted(tif, TIFFTAG_BITSPERSAMPLE, &bits);
    TIFFGetFieldDefaulted(tif, TIFFTAG_SAMPLESPERPIXEL, &samples);
    TIFFGetField(tif, TIFFTAG_PHOTOMETRIC, &photometric);
    TIFFGetFieldDefaulted(tif, TIFFTAG_FILLORDER, &fill);
    if (compression == COMPRESSION_CCITTFAX4) TIFFGetField(tif, TIFFTAG_GROUP4OPTIONS, &options);
    if (compression != COMPRESSION_CCITTFAX4 || bits != 1 || samples != 1 || options != 0 ||
        photometric != PHOTOMETRIC_MINISWHITE || fill != FILLORDER_MSB2LSB || TIFFIsTiled(tif) ||
        TIFFNumberOfStrips(tif) != 1 || strip.xResolution <= 0 || strip.yResolution <= 0)
        return false;
    const uint64_t size = TIFFGetStrileByteCount(tif, 0);
    // A G4 page is far smaller than its pixels; anything larger is a lie of the header.
    if (size == 0 || size > static_cast<uint64_t>(width) * static_cast<uint64_t>(height) / 4 + 4096)
        return false;
    strip.data.resize(size);
    if (TIFFReadRawStrip(tif, 0, strip.data.data(), static_cast<tmsize_t>(size)) != static_cast<tmsize_t>(size))
        return false;
    strip.width = width;
    strip.height = height;
    return true;
}

}  // namespace vestrel::doctiff
