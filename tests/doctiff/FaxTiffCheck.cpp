#include "FaxTiffCheck.h"

#include <gtest/gtest.h>
#include <opencv2/imgproc.hpp>
#include <tiffio.h>

#include <fstream>
#include <sstream>

namespace vestrel::doctiff::testing {

std::vector<PageTags> ReadPageTags(const std::string& path) {
    std::vector<PageTags> pages;
    TIFF* tif = TIFFOpen(path.c_str(), "r");
    if (!tif) return pages;
    do {
        PageTags p;
        uint32_t w = 0, h = 0, sub = 0;
        uint16_t bps = 0, comp = 0, photo = 0, fill = 0, unit = 0, number = 0, total = 0;
        TIFFGetField(tif, TIFFTAG_IMAGEWIDTH, &w);
        TIFFGetField(tif, TIFFTAG_IMAGELENGTH, &h);
        TIFFGetField(tif, TIFFTAG_BITSPERSAMPLE, &bps);
        TIFFGetField(tif, TIFFTAG_COMPRESSION, &comp);
        TIFFGetField(tif, TIFFTAG_PHOTOMETRIC, &photo);
        TIFFGetField(tif, TIFFTAG_FILLORDER, &fill);
        TIFFGetField(tif, TIFFTAG_SUBFILETYPE, &sub);
        TIFFGetField(tif, TIFFTAG_RESOLUTIONUNIT, &unit);
        TIFFGetField(tif, TIFFTAG_XRESOLUTION, &p.xResolution);
        TIFFGetField(tif, TIFFTAG_YRESOLUTION, &p.yResolution);
        p.hasPageNumber = TIFFGetField(tif, TIFFTAG_PAGENUMBER, &number, &total) == 1;
        p.width = w; p.height = h; p.bitsPerSample = bps; p.compression = comp;
        p.photometric = photo; p.fillOrder = fill; p.subfileType = sub; p.resolutionUnit = unit;
        p.pageNumber = number; p.pageTotal = total;
        p.strips = TIFFNumberOfStrips(tif);
        pages.push_back(p);
    } while (TIFFReadDirectory(tif));
    TIFFClose(tif);
    return pages;
}

cv::Mat ReadPagePixels(const std::string& path, int index) {
    TIFF* tif = TIFFOpen(path.c_str(), "r");
    if (!tif) return {};
    cv::Mat gray;
    if (TIFFSetDirectory(tif, static_cast<tdir_t>(index))) {
        uint32_t w = 0, h = 0;
        TIFFGetField(tif, TIFFTAG_IMAGEWIDTH, &w);
        TIFFGetField(tif, TIFFTAG_IMAGELENGTH, &h);
        cv::Mat rgba(static_cast<int>(h), static_cast<int>(w), CV_8UC4);
        if (TIFFReadRGBAImageOriented(tif, w, h, rgba.ptr<uint32_t>(), ORIENTATION_TOPLEFT, 0))
            cv::cvtColor(rgba, gray, cv::COLOR_RGBA2GRAY);
    }
    TIFFClose(tif);
    return gray;
}

void ExpectFaxPages(const std::string& path, size_t expectedPages) {
    const auto pages = ReadPageTags(path);
    ASSERT_EQ(pages.size(), expectedPages) << path;
    for (size_t i = 0; i < pages.size(); ++i) {
        SCOPED_TRACE("page " + std::to_string(i));
        const PageTags& p = pages[i];
        EXPECT_EQ(p.width, 1728u);
        EXPECT_EQ(p.height, 2444u);
        EXPECT_EQ(p.bitsPerSample, 1u);
        EXPECT_EQ(p.compression, static_cast<unsigned>(COMPRESSION_CCITTFAX4));
        EXPECT_FLOAT_EQ(p.xResolution, 204.f);
        EXPECT_FLOAT_EQ(p.yResolution, 196.f);
        EXPECT_EQ(p.resolutionUnit, static_cast<unsigned>(RESUNIT_INCH));
        EXPECT_EQ(p.subfileType, static_cast<unsigned>(FILETYPE_PAGE));
        EXPECT_EQ(p.fillOrder, 1u);
        EXPECT_EQ(p.strips, 1u);
        EXPECT_TRUE(p.hasPageNumber);
        EXPECT_EQ(p.pageNumber, i);
        EXPECT_EQ(p.pageTotal, expectedPages);
    }
}

std::string FileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

}  // namespace vestrel::doctiff::testing
