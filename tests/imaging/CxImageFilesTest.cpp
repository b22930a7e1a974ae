#include "CxImage.h"
#include "ImageCompare.h"
#include "TempProgramDir.h"
#include "codecs/CodecImage.h"

#include <gtest/gtest.h>
#include <opencv2/imgproc.hpp>

#include <cstring>
#include <fstream>

using vestrel::CxImage;
using vestrel::GetFileType;
using vestrel::MakeRgbQuad;
using vestrel::testkit::ProgramDirTest;
using vestrel::testkit::Psnr;
using vestrel::testkit::PatternImage;
using vestrel::testkit::SamePixels;

namespace {

CxImage Colour(int width = 64, int height = 48)
{
    CxImage image;
    image.CreateFromMat(PatternImage(width, height));
    return image;
}

void WriteBytes(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes)
{
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

std::vector<std::uint8_t> ReadBytes(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

class CxImageFiles : public ProgramDirTest {
protected:
    std::filesystem::path file(const std::string& name) const { return programDir / ("Photo/" + name); }

    // Saves, loads back with the name's type code, and returns the loaded image.
    CxImage roundTrip(CxImage& image, const std::string& name)
    {
        const int type = GetFileType(name);
        EXPECT_TRUE(image.Save(file(name), type)) << name << ": " << image.GetLastError();
        CxImage back;
        EXPECT_TRUE(back.Load(file(name), type)) << name << ": " << back.GetLastError();
        EXPECT_EQ(back.GetType(), type);
        return back;
    }
};

}  // namespace

TEST_F(CxImageFiles, LosslessFormatsGiveThePixelsBack)
{
    for (const char* name : {"a.bmp", "a.png", "a.tif", "a.ppm", "a.ras"}) {
        CxImage image = Colour();
        CxImage back = roundTrip(image, name);
        EXPECT_EQ(back.GetBpp(), 24) << name;
        EXPECT_TRUE(SamePixels(back.ToBgr(), image.ToBgr())) << name;
    }
    CxImage palette = Colour();
    ASSERT_TRUE(palette.DecreaseBpp(8, true));
    CxImage gif = roundTrip(palette, "a.gif");
    EXPECT_EQ(gif.GetBpp(), 8);
    EXPECT_TRUE(SamePixels(gif.ToBgr(), palette.ToBgr()));
}

TEST_F(CxImageFiles, LossyFormatsStayCloseAndFollowTheJpegQuality)
{
    CxImage image = Colour(256, 192);
    ASSERT_TRUE(image.GaussianBlur(1.5f));  // a photograph's softness; the raw pattern's stripes are all edges
    image.SetJpegQualityF(80);
    CxImage jpeg = roundTrip(image, "q80.jpg");
    EXPECT_GT(Psnr(jpeg.ToBgr(), image.ToBgr()), 30.0);
    image.SetJpegQualityF(10);
    ASSERT_TRUE(image.Save(file("q10.jpg"), 3));
    EXPECT_LT(std::filesystem::file_size(file("q10.jpg")), std::filesystem::file_size(file("q80.jpg")));
    for (const char* name : {"a.jp2", "a.j2c"}) {
        CxImage back = roundTrip(image, name);
        EXPECT_GT(Psnr(back.ToBgr(), image.ToBgr()), 30.0) << name;
    }
}

TEST_F(CxImageFiles, GreyAndBilevelPicturesKeepTheirDepth)
{
    for (const char* name : {"g.png", "g.tif", "g.bmp"}) {
        CxImage grey;
        grey.CreateFromMat(PatternImage(40, 30, CV_8UC1));
        CxImage back = roundTrip(grey, name);
        EXPECT_EQ(back.GetBpp(), 8) << name;
        EXPECT_TRUE(back.IsGrayScale()) << name;
        EXPECT_TRUE(SamePixels(back.ToGrey(), grey.ToGrey())) << name;
    }
    for (const char* name : {"b.tif", "b.png", "b.bmp"}) {
        CxImage bilevel = Colour(70, 30);
        ASSERT_TRUE(bilevel.Threshold(128));
        CxImage back = roundTrip(bilevel, name);
        EXPECT_EQ(back.GetBpp(), 1) << name;
        EXPECT_TRUE(SamePixels(back.ToBgr(), bilevel.ToBgr())) << name;
    }
}

TEST_F(CxImageFiles, ResolutionIsKept)
{
    for (const char* name : {"r.tif", "r.png", "r.jpg", "r.bmp"}) {
        CxImage image = Colour(32, 32);
        image.SetXDPI(300);
        image.SetYDPI(300);
        CxImage back = roundTrip(image, name);
        EXPECT_NEAR(back.GetXDPI(), 300, 0.5) << name;
        EXPECT_NEAR(back.GetYDPI(), 300, 0.5) << name;
    }
}

TEST_F(CxImageFiles, EveryCodeEitherRoundTripsOrRefusesCleanly)
{
    for (int type = 1; type <= 15; ++type) {
        CxImage image = Colour(24, 16);
        image.DecreaseBpp(8, false);
        const auto path = file("any" + std::to_string(type));
        if (!image.Save(path, type)) {
            EXPECT_FALSE(image.GetLastError().empty()) << type;
            EXPECT_TRUE(image.IsValid());
            continue;
        }
        CxImage back;
        ASSERT_TRUE(back.Load(path, type)) << "type " << type << " wrote a file it cannot read";
        EXPECT_EQ(back.GetWidth(), 24) << type;
        EXPECT_EQ(back.GetHeight(), 16) << type;
    }
    CxImage image = Colour(8, 8);
    EXPECT_FALSE(image.Save(file("x.pdf"), 33));
    EXPECT_FALSE(image.Save(file("x.bin"), 0));
}

TEST_F(CxImageFiles, DamagedOrMissingFilesLeaveTheImageAsItWas)
{
    CxImage good = Colour(20, 10);
    ASSERT_TRUE(good.Save(file("good.png"), 4));
    const std::vector<std::uint8_t> png = ReadBytes(file("good.png"));
    WriteBytes(file("half.png"), std::vector<std::uint8_t>(png.begin(), png.begin() + long(png.size() / 2)));
    WriteBytes(file("empty.jpg"), {});
    // A bitmap header that claims 100000 x 100000 pixels and carries none.
    std::vector<std::uint8_t> bmp(54, 0);
    const std::uint32_t fileSize = 54, offset = 54, headerSize = 40, side = 100000;
    const std::uint16_t planes = 1, bits = 24;
    bmp[0] = 'B';
    bmp[1] = 'M';
    std::memcpy(&bmp[2], &fileSize, 4);
    std::memcpy(&bmp[10], &offset, 4);
    std::memcpy(&bmp[14], &headerSize, 4);
    std::memcpy(&bmp[18], &side, 4);
    std::memcpy(&bmp[22], &side, 4);
    std::memcpy(&bmp[26], &planes, 2);
    std::memcpy(&bmp[28], &bits, 2);
    WriteBytes(file("huge.bmp"), bmp);

    CxImage image = Colour(5, 5);
    for (const auto& [path, type] : std::vector<std::pair<std::filesystem::path, int>>{
             {file("half.png"), 4}, {file("empty.jpg"), 3}, {file("huge.bmp"), 1}, {file("missing.png"), 4},
             {programDir / "Photo", 4}, {file("good.png"), 0 - 1}}) {
        EXPECT_FALSE(image.Load(path, type)) << path;
        EXPECT_EQ(image.GetWidth(), 5) << path;
    }
    // Type 0: the format is found from the content.
    ASSERT_TRUE(image.Load(file("good.png"), 0));
    EXPECT_EQ(image.GetWidth(), 20);
}

TEST_F(CxImageFiles, MultiPageTiffKeepsItsPageCountAndReadsTheChosenPage)
{
    CxImage first = Colour(30, 20), second = Colour(30, 20);
    ASSERT_TRUE(second.Negative());
    ASSERT_TRUE(first.Save(file("pages.tif"), 6));
    vestrel::codecs::EncodeOptions append;
    append.tiffAppend = true;
    ASSERT_TRUE(vestrel::codecs::Encode(second.ToCodecImage(), file("pages.tif"), 6, append));

    CxImage image;
    ASSERT_TRUE(image.Load(file("pages.tif"), 6));
    EXPECT_EQ(image.GetNumFrames(), 2);
    EXPECT_TRUE(SamePixels(image.ToBgr(), first.ToBgr()));
    image.SetFrame(1);
    ASSERT_TRUE(image.Load(file("pages.tif"), 6));
    EXPECT_TRUE(SamePixels(image.ToBgr(), second.ToBgr()));
    image.SetFrame(2);
    EXPECT_FALSE(image.Load(file("pages.tif"), 6));
    image.DestroyFrames();
    EXPECT_EQ(image.GetNumFrames(), 1);
}
