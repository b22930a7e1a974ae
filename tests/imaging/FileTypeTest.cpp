#include "ImageTypes.h"

#include <gtest/gtest.h>

using vestrel::GetFileType;

TEST(GetFileType, ExtensionsMapToTheirCodesWithoutRegardToCase)
{
    EXPECT_EQ(GetFileType("a.bmp"), 1);
    EXPECT_EQ(GetFileType("a.GIF"), 2);
    EXPECT_EQ(GetFileType("x.JPEG"), 3);
    EXPECT_EQ(GetFileType("x.jpg"), 3);
    EXPECT_EQ(GetFileType("p.Png"), 4);
    EXPECT_EQ(GetFileType("i.ico"), 5);
    EXPECT_EQ(GetFileType("t.tif"), 6);
    EXPECT_EQ(GetFileType("t.TIFF"), 6);
    EXPECT_EQ(GetFileType("a.tga"), 7);
    EXPECT_EQ(GetFileType("a.pcx"), 8);
    EXPECT_EQ(GetFileType("a.emf"), 10);
    EXPECT_EQ(GetFileType("a.wmf"), 10);
    EXPECT_EQ(GetFileType("a.j2k"), 11);
    EXPECT_EQ(GetFileType("a.jp2"), 11);
    EXPECT_EQ(GetFileType("a.jpc"), 12);
    EXPECT_EQ(GetFileType("a.j2c"), 12);
    EXPECT_EQ(GetFileType("a.pgx"), 13);
    EXPECT_EQ(GetFileType("a.pnm"), 14);
    EXPECT_EQ(GetFileType("a.pgm"), 14);
    EXPECT_EQ(GetFileType("a.ppm"), 14);
    EXPECT_EQ(GetFileType("a.ras"), 15);
}

TEST(GetFileType, WbmpIsTestedBeforeBmpAndPdfIsThirtyThree)
{
    EXPECT_EQ(GetFileType("a.wbmp"), 9);
    EXPECT_EQ(GetFileType("A.WBMP"), 9);
    EXPECT_EQ(GetFileType("a.b.pdf"), 33);
    EXPECT_EQ(GetFileType("/photo/dir.jpg/scan.PDF"), 33);
}

TEST(GetFileType, OnlyTheLastCharactersCount)
{
    EXPECT_EQ(GetFileType("a.txt"), 0);
    EXPECT_EQ(GetFileType(""), 0);
    EXPECT_EQ(GetFileType("mp"), 0);
    EXPECT_EQ(GetFileType("bmp"), 1);        // no dot needed: the last three characters decide
    EXPECT_EQ(GetFileType("a.jpg.bak"), 0);
    EXPECT_EQ(GetFileType("a.mng"), 0);      // listed in the dialogs, yet no type of its own
}
