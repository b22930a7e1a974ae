#include "FaxTiffWriter.h"

#include "PageReader.h"

#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <vector>

namespace vestrel::doctiff {

FaxTiffWriter::~FaxTiffWriter() {
    if (tif_) {
        tif_.reset();
        std::remove(temporary_.c_str());
    }
}

bool FaxTiffWriter::Fail(const std::string& what) {
    error_ = what;
    if (!messages_.text.empty()) error_ += ": " + messages_.text;
    return false;
}

bool FaxTiffWriter::Open(const std::string& path) {
    target_ = path;
    temporary_ = path + ".part" + std::to_string(::getpid());
    messages_.text.clear();
    tif_ = OpenTiff(temporary_, "w", messages_);
    if (!tif_) return Fail("cannot create " + temporary_);
    return true;
}

void FaxTiffWriter::SetFaxTags(uint32_t width, uint32_t height, double xRes, double yRes,
                               int pageNumber, int pageTotal) {
    TIFF* t = tif_.get();
    TIFFSetField(t, TIFFTAG_SUBFILETYPE, FILETYPE_PAGE);
    TIFFSetField(t, TIFFTAG_IMAGEWIDTH, width);
    TIFFSetField(t, TIFFTAG_IMAGELENGTH, height);
    TIFFSetField(t, TIFFTAG_BITSPERSAMPLE, 1);
    TIFFSetField(t, TIFFTAG_SAMPLESPERPIXEL, 1);
    TIFFSetField(t, TIFFTAG_COMPRESSION, COMPRESSION_CCITTFAX4);
    TIFFSetField(t, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_MINISWHITE);
    TIFFSetField(t, TIFFTAG_FILLORDER, FILLORDER_MSB2LSB);
    TIFFSetField(t, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
    TIFFSetField(t, TIFFTAG_ROWSPERSTRIP, height);
    TIFFSetField(t, TIFFTAG_XRESOLUTION, static_cast<float>(xRes));
    TIFFSetField(t, TIFFTAG_YRESOLUTION, static_cast<float>(yRes));
    TIFFSetField(t, TIFFTAG_RESOLUTIONUNIT, RESUNIT_INCH);
    // TIFF counts pages from 0: the first of three pages is stored as 0 of 3.
    TIFFSetField(t, TIFFTAG_PAGENUMBER, static_cast<uint16_t>(pageNumber - 1),
                 static_cast<uint16_t>(pageTotal));
    TIFFSetField(t, TIFFTAG_GROUP4OPTIONS, 0);
}

bool FaxTiffWriter::WriteFaxStrip(const FaxStrip& strip, int pageNumber, int pageTotal) {
    if (!tif_) return Fail("no open file");
    SetFaxTags(static_cast<uint32_t>(strip.width), static_cast<uint32_t>(strip.height),
               strip.xResolution, strip.yResolution, pageNumber, pageTotal);
    if (TIFFWriteRawStrip(tif_.get(), 0, const_cast<uint8_t*>(strip.data.data()),
                          static_cast<tmsize_t>(strip.data.size())) < 0 ||
        !TIFFWriteDirectory(tif_.get()))
        return Fail("cannot write fax page");
    return true;
}

bool FaxTiffWriter::WriteFaxPage(const cv::Mat& page, double xRes, double yRes, int pageNumber,
                                 int pageTotal) {
    if (!tif_) return Fail("no open file");
    CV_Assert(page.type() == CV_8UC1);
    TIFF* t = tif_.get();
    const auto width = static_cast<uint32_t>(page.cols);
    const auto height = static_cast<uint32_t>(page.rows);
    SetFaxTags(width, height, xRes, yRes, pageNumber, pageTotal);
    const size_t stride = (width + 7) / 8;
    std::vector<uint8_t> bits(stride * height, 0);
    for (uint32_t y = 0; y < height; ++y) {
        const uint8_t* row = page.ptr<uint8_t>(static_cast<int>(y));
        uint8_t* out = bits.data() + y * stride;
        for (uint32_t x = 0; x < width; ++x)
            if (row[x] < 128) out[x >> 3] |= static_cast<uint8_t>(0x80 >> (x & 7));
    }
    if (TIFFWriteEncodedStrip(t, 0, bits.data(), static_cast<tmsize_t>(bits.size())) < 0 ||
        !TIFFWriteDirectory(t))
        return Fail("cannot write fax page");
    return true;
}

bool FaxTiffWriter::WriteGrayPage(const cv::Mat& page, double xRes, double yRes) {
    if (!tif_) return Fail("no open file");
    CV_Assert(page.type() == CV_8UC1);
    TIFF* t = tif_.get();
    TIFFSetField(t, TIFFTAG_SUBFILETYPE, FILETYPE_PAGE);
    TIFFSetField(t, TIFFTAG_IMAGEWIDTH, static_cast<uint32_t>(page.cols));
    TIFFSetField(t, TIFFTAG_IMAGELENGTH, static_cast<uint32_t>(page.rows));
    TIFFSetField(t, TIFFTAG_BITSPERSAMPLE, 8);
    TIFFSetField(t, TIFFTAG_SAMPLESPERPIXEL, 1);
    TIFFSetField(t, TIFFTAG_COMPRESSION, COMPRESSION_NONE);
    TIFFSetField(t, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_MINISBLACK);
    TIFFSetField(t, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
    TIFFSetField(t, TIFFTAG_ROWSPERSTRIP, TIFFDefaultStripSize(t, 0));
    if (xRes > 0 && yRes > 0) {
        TIFFSetField(t, TIFFTAG_XRESOLUTION, static_cast<float>(xRes));
        TIFFSetField(t, TIFFTAG_YRESOLUTION, static_cast<float>(yRes));
        TIFFSetField(t, TIFFTAG_RESOLUTIONUNIT, RESUNIT_INCH);
    }
    for (int y = 0; y < page.rows; ++y) {
        if (TIFFWriteScanline(t, const_cast<uint8_t*>(page.ptr<uint8_t>(y)),
                              static_cast<uint32_t>(y), 0) < 0)
            return Fail("cannot write page");
    }
    if (!TIFFWriteDirectory(t)) return Fail("cannot write page");
    return true;
}

bool FaxTiffWriter::Commit() {
    if (!tif_) return Fail("no open file");
    tif_.reset();  // TIFFClose flushes
    if (!messages_.text.empty()) {
        std::remove(temporary_.c_str());
        return Fail("cannot finish " + target_);
    }
    std::error_code ec;
    std::filesystem::rename(temporary_, target_, ec);
    if (ec) {
        std::remove(temporary_.c_str());
        return Fail("cannot replace " + target_ + ": " + ec.message());
    }
    return true;
}

}  // namespace vestrel::doctiff
