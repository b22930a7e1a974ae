// Damaged and hostile files: every decoder returns nothing for them, without crashing,
// throwing or allocating what a lying header asks for (the sanitizers watch the latter).
#include "CodecTestImages.h"
#include "TempProgramDir.h"

#include <gtest/gtest.h>

#include <fstream>

namespace vestrel::codecs {
namespace {

using namespace testing;

struct Format {
    int type;
    const char* name;
};
constexpr Format kWritable[] = {{kTypeBmp, "bmp"}, {kTypeGif, "gif"}, {kTypeJpg, "jpg"}, {kTypePng, "png"},
                                {kTypeIco, "ico"}, {kTypeTif, "tif"}, {kTypeTga, "tga"}, {kTypePcx, "pcx"},
                                {kTypeWbmp, "wbmp"}, {kTypeJp2, "jp2"}, {kTypeJpc, "j2c"}, {kTypePgx, "pgx"},
                                {kTypePnm, "pnm"}, {kTypeRas, "ras"}};

class HostileInput : public testkit::ProgramDirTest {
protected:
    std::vector<std::uint8_t> Valid(const Format& format, const CodecImage& image = Colour(48, 40)) {
        const auto path = programDir / (std::string("valid.") + format.name);
        EXPECT_TRUE(Encode(image, path, format.type)) << format.name;
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
};

TEST_F(HostileInput, EmptyFilesFoldersAndMissingFilesAreRefused) {
    const auto empty = programDir / "empty.bmp";
    std::ofstream(empty).close();
    for (int type = 0; type <= 15; ++type) {
        SCOPED_TRACE(type);
        EXPECT_FALSE(Decode(empty, type));
        EXPECT_FALSE(Decode(programDir.path(), type));
        EXPECT_FALSE(Decode(programDir / "missing.png", type));
        EXPECT_FALSE(DecodeMemory({}, type));
    }
}

TEST_F(HostileInput, EveryTruncationIsRefused) {
    for (const auto& format : kWritable) {
        SCOPED_TRACE(format.name);
        const auto bytes = Valid(format);
        ASSERT_TRUE(DecodeMemory(bytes, format.type));
        // GIF readers show a picture whose trailer byte alone is missing, as viewers do.
        const std::size_t cut = format.type == kTypeGif ? bytes.size() - 1 : bytes.size();
        const std::size_t step = std::max<std::size_t>(1, cut / 400);
        for (std::size_t length = 0; length < cut; length += step) {
            const std::vector<std::uint8_t> part(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(length));
            EXPECT_FALSE(DecodeMemory(part, format.type)) << "kept " << length << " of " << bytes.size();
        }
    }
}

void PutLe(std::vector<std::uint8_t>& b, std::size_t at, std::uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) b.at(at + i) = static_cast<std::uint8_t>(v >> (8 * i));
}
void PutBe(std::vector<std::uint8_t>& b, std::size_t at, std::uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) b.at(at + i) = static_cast<std::uint8_t>(v >> (8 * (bytes - 1 - i)));
}
std::size_t Find(const std::vector<std::uint8_t>& b, std::initializer_list<std::uint8_t> what) {
    const auto found = std::search(b.begin(), b.end(), what.begin(), what.end());
    EXPECT_NE(found, b.end());
    return static_cast<std::size_t>(found - b.begin());
}
std::vector<std::uint8_t> Text(const std::string& s) { return {s.begin(), s.end()}; }

TEST_F(HostileInput, HeadersClaimingHugePicturesAreRefusedBeforeAllocating) {
    constexpr std::uint32_t kHuge = 100000, kHuge16 = 65535;
    std::vector<std::pair<int, std::vector<std::uint8_t>>> files;
    auto bmp = Valid(kWritable[0]);
    PutLe(bmp, 18, kHuge, 4), PutLe(bmp, 22, kHuge, 4);
    files.emplace_back(kTypeBmp, bmp);
    auto gif = Valid(kWritable[1], Indexed(8));
    PutLe(gif, 6, kHuge16, 2), PutLe(gif, 8, kHuge16, 2);
    const std::size_t descriptor = Find(gif, {0x2C, 0, 0, 0, 0});
    PutLe(gif, descriptor + 5, kHuge16, 2), PutLe(gif, descriptor + 7, kHuge16, 2);
    files.emplace_back(kTypeGif, gif);
    auto jpg = Valid(kWritable[2]);
    const std::size_t frame = Find(jpg, {0xFF, 0xC0});
    PutBe(jpg, frame + 5, kHuge16, 2), PutBe(jpg, frame + 7, kHuge16, 2);
    files.emplace_back(kTypeJpg, jpg);
    auto png = Valid(kWritable[3]);
    PutBe(png, 16, kHuge, 4), PutBe(png, 20, kHuge, 4);
    files.emplace_back(kTypePng, png);
    auto ico = Valid(kWritable[4]);
    PutLe(ico, 22 + 4, kHuge, 4), PutLe(ico, 22 + 8, 2 * kHuge, 4);
    files.emplace_back(kTypeIco, ico);
    auto tga = Valid(kWritable[6]);
    PutLe(tga, 12, kHuge16, 2), PutLe(tga, 14, kHuge16, 2);
    files.emplace_back(kTypeTga, tga);
    auto pcx = Valid(kWritable[7]);
    PutLe(pcx, 8, kHuge16, 2), PutLe(pcx, 10, kHuge16, 2);
    files.emplace_back(kTypePcx, pcx);
    files.emplace_back(kTypeWbmp, std::vector<std::uint8_t>{0, 0, 0x86, 0x8D, 0x20, 0x86, 0x8D, 0x20, 0xFF});
    auto j2c = Valid(kWritable[10]);
    PutBe(j2c, 8, kHuge, 4), PutBe(j2c, 12, kHuge, 4);
    files.emplace_back(kTypeJpc, j2c);
    files.emplace_back(kTypePgx, Text("PG ML + 8 100000 100000\nxxxx"));
    files.emplace_back(kTypePnm, Text("P5\n100000 100000\n255\nxxxx"));
    auto ras = Valid(kWritable[13]);
    PutBe(ras, 4, kHuge, 4), PutBe(ras, 8, kHuge, 4);
    files.emplace_back(kTypeRas, ras);
    // A TIFF of one 100000 x 100000 grey strip of four bytes.
    std::vector<std::uint8_t> tif = {'I', 'I', 42, 0, 8, 0, 0, 0, 5, 0};
    const auto entry = [&](std::uint16_t tag, std::uint16_t type, std::uint32_t value) {
        const std::size_t at = tif.size();
        tif.resize(at + 12);
        PutLe(tif, at, tag, 2), PutLe(tif, at + 2, type, 2), PutLe(tif, at + 4, 1, 4), PutLe(tif, at + 8, value, 4);
    };
    entry(256, 4, kHuge), entry(257, 4, kHuge), entry(258, 3, 8), entry(273, 4, 70), entry(279, 4, 4);
    tif.insert(tif.end(), {0, 0, 0, 0, 1, 2, 3, 4});
    files.emplace_back(kTypeTif, tif);

    for (const auto& [type, bytes] : files) {
        SCOPED_TRACE(type);
        EXPECT_FALSE(DecodeMemory(bytes, type));
        EXPECT_FALSE(DecodeMemory(bytes, kTypeUnknown));
    }
}

TEST_F(HostileInput, GarbageAndFlippedBytesNeverCrash) {
    std::uint32_t seed = 12345;
    const auto next = [&] { return seed = seed * 1664525u + 1013904223u; };
    for (const auto& format : kWritable) {
        SCOPED_TRACE(format.name);
        std::vector<std::uint8_t> noise(300);
        for (auto& b : noise) b = static_cast<std::uint8_t>(next() >> 24);
        EXPECT_FALSE(DecodeMemory(noise, format.type));
        // Damaged copies may or may not decode; they must not crash or throw, and what
        // does decode is well formed.
        const auto valid = Valid(format, Indexed(8));
        for (int round = 0; round < 200; ++round) {
            auto damaged = valid;
            for (int flips = 0; flips < 4; ++flips) damaged[next() % damaged.size()] ^= static_cast<std::uint8_t>(next() >> 24);
            const auto result = DecodeMemory(damaged, format.type);
            if (result) {
                EXPECT_EQ(result->pixels.type(), result->bpp == 24 ? CV_8UC3 : CV_8UC1);
            }
        }
    }
}

TEST_F(HostileInput, FramesOutsideTheFileAndUnwritableRequestsAreRefused) {
    const auto gif = Valid(kWritable[1], Indexed(8));
    EXPECT_FALSE(DecodeMemory(gif, kTypeGif, 1));
    EXPECT_FALSE(DecodeMemory(gif, kTypeGif, -1));
    const auto ico = Valid(kWritable[4]);
    EXPECT_FALSE(DecodeMemory(ico, kTypeIco, 1));

    // Metafiles are neither read nor written; nor are unknown codes or PDF (code 0 reads
    // by content, below).
    for (int type : {int{kTypeWmf}, int{kTypeUnknown}, int{kTypePdf}, 16, -1}) {
        EXPECT_FALSE(Encode(Colour(), programDir / "x.out", type)) << type;
        if (type != kTypeUnknown) {
            EXPECT_FALSE(DecodeMemory(Valid(kWritable[0]), type)) << type;
        }
    }
    EXPECT_FALSE(std::filesystem::exists(programDir / "x.out"));

    // Pictures that do not hang together are not written.
    CodecImage noPixels;
    CodecImage shortPalette = Indexed(8);
    shortPalette.palette.resize(10);
    CodecImage indexTooHigh = Indexed(4);
    indexTooHigh.pixels.at<std::uint8_t>(0, 0) = 16;
    CodecImage wrongType = Colour();
    wrongType.bpp = 8;
    for (const auto* bad : {&noPixels, &shortPalette, &indexTooHigh, &wrongType})
        EXPECT_FALSE(Encode(*bad, programDir / "bad.bmp", kTypeBmp));
    EXPECT_FALSE(std::filesystem::exists(programDir / "bad.bmp"));
    // A folder cannot be written to: false, not an exception.
    EXPECT_FALSE(Encode(Colour(), programDir.path(), kTypePng));
}

TEST_F(HostileInput, ContentDecidesWhenTheTypeIsNotGiven) {
    for (const auto& format : kWritable) {
        if (format.type == kTypeWbmp || format.type == kTypeTga) continue;  // no signature
        SCOPED_TRACE(format.name);
        EXPECT_TRUE(DecodeMemory(Valid(format), kTypeUnknown));
    }
}

}  // namespace
}  // namespace vestrel::codecs
