// TIFF: the page kinds a scanner and a fax line produce, resolution, and several pages.
#include "CodecTestImages.h"
#include "TempProgramDir.h"

#include <gtest/gtest.h>
#include <tiffio.h>

namespace vestrel::codecs {
namespace {

using namespace testing;
using testkit::SamePixels;

class TiffCodec : public testkit::ProgramDirTest {};

TEST_F(TiffCodec, KeepsBitsPaletteAndPixelsOfEveryPageKind) {
    for (const auto& image : {Colour(), Grey(), Indexed(4), Indexed(8), Bilevel()}) {
        SCOPED_TRACE(image.bpp);
        const auto path = programDir / "kind.tif";
        ASSERT_TRUE(Encode(image, path, kTypeTif));
        const auto back = Decode(path, kTypeTif);
        ASSERT_TRUE(back);
        EXPECT_EQ(back->bpp, image.bpp);
        EXPECT_EQ(back->palette, image.palette);
        EXPECT_TRUE(SamePixels(back->pixels, image.pixels));
        EXPECT_EQ(back->frameCount, 1);
    }
}

TEST_F(TiffCodec, BilevelPagesAreG4MinIsWhiteAndResolutionIsKept) {
    CodecImage page = Bilevel(1728, 40);
    page.xdpi = 204;
    page.ydpi = 196;
    const auto path = programDir / "fax.tif";
    ASSERT_TRUE(Encode(page, path, kTypeTif));

    TIFF* tiff = TIFFOpen(path.c_str(), "r");
    ASSERT_TRUE(tiff);
    std::uint16_t compression = 0, photometric = 0;
    TIFFGetField(tiff, TIFFTAG_COMPRESSION, &compression);
    TIFFGetField(tiff, TIFFTAG_PHOTOMETRIC, &photometric);
    TIFFClose(tiff);
    EXPECT_EQ(compression, COMPRESSION_CCITTFAX4);
    EXPECT_EQ(photometric, PHOTOMETRIC_MINISWHITE);

    const auto back = Decode(path, kTypeTif);
    ASSERT_TRUE(back);
    EXPECT_DOUBLE_EQ(back->xdpi, 204);
    EXPECT_DOUBLE_EQ(back->ydpi, 196);
    EXPECT_TRUE(SamePixels(back->pixels, page.pixels));
}

TEST_F(TiffCodec, AppendedPagesAreCountedAndEachCanBeRead) {
    const auto path = programDir / "pages.tif";
    const CodecImage first = Colour(50, 30), second = Bilevel(), third = Grey();
    EncodeOptions append;
    append.tiffAppend = true;
    ASSERT_TRUE(Encode(first, path, kTypeTif, append));  // no file yet: a new one
    ASSERT_TRUE(Encode(second, path, kTypeTif, append));
    ASSERT_TRUE(Encode(third, path, kTypeTif, append));

    const CodecImage* expected[] = {&first, &second, &third};
    for (int page = 0; page < 3; ++page) {
        const auto back = Decode(path, kTypeTif, page);
        ASSERT_TRUE(back) << page;
        EXPECT_EQ(back->frameCount, 3);
        EXPECT_TRUE(SamePixels(back->pixels, expected[page]->pixels)) << page;
    }
    EXPECT_FALSE(Decode(path, kTypeTif, 3));

    // Saving without append replaces the file.
    ASSERT_TRUE(Encode(first, path, kTypeTif));
    EXPECT_EQ(Decode(path, kTypeTif)->frameCount, 1);
}

TEST_F(TiffCodec, CentimetreResolutionIsGivenInInches) {
    const auto path = programDir / "cm.tif";
    TIFF* tiff = TIFFOpen(path.c_str(), "w");
    ASSERT_TRUE(tiff);
    TIFFSetField(tiff, TIFFTAG_IMAGEWIDTH, 4);
    TIFFSetField(tiff, TIFFTAG_IMAGELENGTH, 2);
    TIFFSetField(tiff, TIFFTAG_BITSPERSAMPLE, 8);
    TIFFSetField(tiff, TIFFTAG_SAMPLESPERPIXEL, 3);
    TIFFSetField(tiff, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_RGB);
    TIFFSetField(tiff, TIFFTAG_XRESOLUTION, 100.0f);
    TIFFSetField(tiff, TIFFTAG_YRESOLUTION, 50.0f);
    TIFFSetField(tiff, TIFFTAG_RESOLUTIONUNIT, RESUNIT_CENTIMETER);
    std::uint8_t row[12] = {255, 0, 0, 0, 255, 0, 0, 0, 255, 9, 9, 9};
    TIFFWriteScanline(tiff, row, 0, 0);
    TIFFWriteScanline(tiff, row, 1, 0);
    TIFFClose(tiff);

    const auto back = Decode(path, kTypeTif);
    ASSERT_TRUE(back);
    EXPECT_NEAR(back->xdpi, 254, 0.01);
    EXPECT_NEAR(back->ydpi, 127, 0.01);
    // Red first in the file, blue first in our pixels.
    EXPECT_EQ(back->pixels.at<cv::Vec3b>(0, 0), cv::Vec3b(0, 0, 255));
}

}  // namespace
}  // namespace vestrel::codecs
