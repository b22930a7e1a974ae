// GIF: palettes, the transparent index, frames, and colour pictures reduced to a palette.
#include "CodecImageOps.h"
#include "CodecTestImages.h"
#include "TempProgramDir.h"

#include <gif_lib.h>
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

int Collect(GifFileType* gif, const GifByteType* data, int size) {
    auto* out = static_cast<std::vector<std::uint8_t>*>(gif->UserData);
    out->insert(out->end(), data, data + size);
    return size;
}

// Two frames as an animation writer makes them: the first with the global palette, the
// second smaller, interlaced, with a local palette and a transparent entry.
std::vector<std::uint8_t> TwoFrameGif(const CodecImage& first, const CodecImage& second) {
    std::vector<std::uint8_t> out;
    int error = 0;
    GifFileType* gif = EGifOpen(&out, Collect, &error);
    const auto map = [](const CodecImage& image) {
        std::vector<GifColorType> colours;
        for (const auto& e : image.palette) colours.push_back({e.red, e.green, e.blue});
        return GifMakeMapObject(static_cast<int>(colours.size()), colours.data());
    };
    ColorMapObject* global = map(first);
    ColorMapObject* local = map(second);
    EGifSetGifVersion(gif, true);
    EGifPutScreenDesc(gif, first.pixels.cols, first.pixels.rows, 8, 0, global);
    EGifPutImageDesc(gif, 0, 0, first.pixels.cols, first.pixels.rows, false, nullptr);
    for (int y = 0; y < first.pixels.rows; ++y)
        EGifPutLine(gif, const_cast<GifPixelType*>(first.pixels.ptr<GifPixelType>(y)), first.pixels.cols);
    GraphicsControlBlock control{};
    control.TransparentColor = 3;
    GifByteType extension[4];
    EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, static_cast<int>(EGifGCBToExtension(&control, extension)), extension);
    EGifPutImageDesc(gif, 2, 2, second.pixels.cols, second.pixels.rows, true, local);
    static constexpr int kStart[] = {0, 4, 2, 1}, kStep[] = {8, 8, 4, 2};
    for (int pass = 0; pass < 4; ++pass)
        for (int y = kStart[pass]; y < second.pixels.rows; y += kStep[pass])
            EGifPutLine(gif, const_cast<GifPixelType*>(second.pixels.ptr<GifPixelType>(y)), second.pixels.cols);
    EGifCloseFile(gif, &error);
    GifFreeMapObject(global);
    GifFreeMapObject(local);
    return out;
}

TEST(GifFrames, EachFrameComesWithItsOwnPaletteAndTheFileCount) {
    const CodecImage first = Indexed(8, 40, 30), second = Indexed(4, 21, 13);
    const auto bytes = TwoFrameGif(first, second);

    const auto zero = DecodeMemory(bytes, kTypeGif, 0);
    ASSERT_TRUE(zero);
    EXPECT_EQ(zero->frameCount, 2);
    EXPECT_EQ(zero->transparentIndex, -1);
    EXPECT_EQ(zero->palette, first.palette);
    EXPECT_TRUE(SamePixels(zero->pixels, first.pixels));

    const auto one = DecodeMemory(bytes, kTypeGif, 1);
    ASSERT_TRUE(one);
    EXPECT_EQ(one->frameCount, 2);
    EXPECT_EQ(one->bpp, 4);
    EXPECT_EQ(one->transparentIndex, 3);
    EXPECT_EQ(one->palette, second.palette);
    EXPECT_TRUE(SamePixels(one->pixels, second.pixels));  // interlaced rows put back in order

    EXPECT_FALSE(DecodeMemory(bytes, kTypeGif, 2));
}

}  // namespace
}  // namespace vestrel::codecs
