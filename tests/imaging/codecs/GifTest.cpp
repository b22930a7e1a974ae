// GIF: palettes, the transparent index, frames, and colour pictures reduced to a palette.
#include "CodecImageOps.h"
#include "CodecTestImages.h"
#include "TempProgramDir.h"

#include <gtest/gtest.h>

namespace vestrel::codecs {
namespace {

using namespace testing;
using testkit::SamePixels;

class GifCodec : public testkit::ProgramDirTest {};

TEST_F(GifCodec, PaletteImagesComeBackWithTheirIndicesAndTransparentIndex) {
    for (int bpp : {1, 4, 8}) {
        SCOPED_TRACE(bpp);
        CodecImage image = Indexed(bpp);
        image.transparentIndex = 1;
        const auto path = programDir / "p.gif";
        ASSERT_TRUE(Encode(image, path, kTypeGif));
        const auto back = Decode(path, kTypeGif);
        ASSERT_TRUE(back);
        EXPECT_EQ(back->bpp, bpp);
        EXPECT_EQ(back->palette, image.palette);
        EXPECT_EQ(back->transparentIndex, 1);
        EXPECT_EQ(back->frameCount, 1);
        EXPECT_TRUE(SamePixels(back->pixels, image.pixels));
        EXPECT_FALSE(Decode(path, kTypeGif, 1));
    }
}

TEST_F(GifCodec, ColourPicturesAreReducedToAClosePalette) {
    const CodecImage image = Colour(120, 80);
    const auto path = programDir / "c.gif";
    ASSERT_TRUE(Encode(image, path, kTypeGif));
    const auto back = Decode(path, kTypeGif);
    ASSERT_TRUE(back);
    EXPECT_EQ(back->bpp, 8);
    EXPECT_EQ(back->transparentIndex, -1);
    EXPECT_GT(testkit::Psnr(ToBgr(*back), image.pixels), 22.0);
}

}  // namespace
}  // namespace vestrel::codecs
