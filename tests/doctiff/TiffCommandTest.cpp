#include "TiffCommand.h"

#include <gtest/gtest.h>

namespace vestrel::doctiff {
namespace {

TEST(TiffCommand, ParsesTheStringsTheConverterSends) {
    std::string error;
    auto q = ParseTiffCommand("in=/tmp/a b.tif;out=info_p", error);
    ASSERT_TRUE(q) << error;
    EXPECT_EQ(q->input, "/tmp/a b.tif");
    EXPECT_EQ(q->query, TiffQuery::PageCount);
    EXPECT_EQ(ParseTiffCommand("in=x;out=INFO_X", error)->query, TiffQuery::XResolution);

    auto norm = ParseTiffCommand(
        "in=/s.tif;out=/t.tif;Pages=0-9999;Save=0;Res=204/196;Format=tiff/34;size=1728pix/2444pix",
        error);
    ASSERT_TRUE(norm) << error;
    EXPECT_EQ(norm->output, "/t.tif");
    EXPECT_EQ(norm->query, TiffQuery::None);
    EXPECT_EQ(norm->firstPage, 0);
    EXPECT_EQ(norm->lastPage, 9999);
    EXPECT_FALSE(norm->save);
    EXPECT_EQ(norm->format, 34);
    EXPECT_EQ(norm->xResolution, 204);
    EXPECT_EQ(norm->yResolution, 196);
    EXPECT_EQ(norm->pageWidth, 1728);
    EXPECT_EQ(norm->pageHeight, 2444);

    auto rot = ParseTiffCommand("in=/s.tif;out=/r.tif;pages=0-999;save=0;rotate=90", error);
    ASSERT_TRUE(rot) << error;
    EXPECT_EQ(rot->rotate, 90);
    EXPECT_EQ(rot->lastPage, 999);

    auto append = ParseTiffCommand("in= /p.tif ;out=/o.tif;save=1;format=tif/35", error);
    ASSERT_TRUE(append) << error;
    EXPECT_EQ(append->input, "/p.tif");
    EXPECT_TRUE(append->save);
    EXPECT_EQ(append->format, 35);
}

TEST(TiffCommand, RefusesMalformedCommandsWithAReason) {
    const char* bad[] = {
        "",                                   // nothing
        "in=a.tif",                           // no out
        "out=info_w",                         // no in
        "in=a;out=b;format=tiff/36",          // unknown format
        "in=a;out=b;format=png/34",
        "in=a;out=b;rotate=45",
        "in=a;out=b;pages=9-2",               // reversed range
        "in=a;out=b;pages=-1-3",
        "in=a;out=b;res=204",                 // one number
        "in=a;out=b;res=0/196",
        "in=a;out=b;size=1728pix/99999999pix",// beyond every sane page
        "in=a;out=b;size=1728pt/2444pix",
        "in=a;out=b;save=2",
        "in=a;out=b;colour=1",                // unknown key
        "in=a;out=b;novalue",
    };
    for (const char* text : bad) {
        std::string error;
        EXPECT_FALSE(ParseTiffCommand(text, error)) << text;
        EXPECT_FALSE(error.empty()) << text;
    }
}

}  // namespace
}  // namespace vestrel::doctiff
