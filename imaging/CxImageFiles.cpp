// Load and Save through the file codecs, and the conversion to and from their picture.
#include "CxImage.h"
#include "ImageInternal.h"
#include "codecs/CodecImage.h"

#include <cmath>
#include <system_error>

namespace vestrel {

using namespace imaging_detail;

codecs::CodecImage CxImage::ToCodecImage() const
{
    codecs::CodecImage picture;
    picture.pixels = m_pixels;
    picture.bpp = m_bpp;
    for (const RGBQUAD& entry : m_palette)
        picture.palette.push_back(codecs::PaletteEntry{entry.rgbBlue, entry.rgbGreen, entry.rgbRed});
    picture.alpha = m_alpha;
    // A 24-bit picture keeps its transparent colour only here, in memory; palette files
    // carry the index.
    picture.transparentIndex = m_bpp < 24 ? int(m_transIndex) : -1;
    picture.xdpi = m_xdpi;
    picture.ydpi = m_ydpi;
    picture.frameCount = m_frameCount;
    return picture;
}

bool CxImage::FromCodecImage(codecs::CodecImage&& picture)
{
    const bool paletteDepth = picture.bpp == 1 || picture.bpp == 4 || picture.bpp == 8;
    if (picture.pixels.empty() || picture.pixels.depth() != CV_8U) return Fail("the decoder gave no picture");
    if (picture.bpp == 24 ? picture.pixels.type() != CV_8UC3
                          : !(paletteDepth && picture.pixels.type() == CV_8UC1 &&
                              picture.palette.size() == (std::size_t(1) << picture.bpp)))
        return Fail("the decoder gave an inconsistent picture");
    if (!picture.alpha.empty() && (picture.alpha.type() != CV_8UC1 || picture.alpha.size() != picture.pixels.size()))
        return Fail("the decoder gave an inconsistent alpha channel");
    if (!SizeAllowed(picture.pixels.cols, picture.pixels.rows, kMaxPixels)) return Fail("picture size out of range");
    CxImage image;
    image.m_pixels = std::move(picture.pixels);
    image.m_bpp = picture.bpp;
    for (const codecs::PaletteEntry& entry : picture.palette)
        image.m_palette.push_back(RGBQUAD{entry.blue, entry.green, entry.red, 0});
    if (image.m_bpp < 24) {
        double highest = 0;
        cv::minMaxLoc(image.m_pixels, nullptr, &highest);
        if (highest >= double(image.m_palette.size())) return Fail("the decoder gave indices beyond the palette");
    }
    image.m_alpha = std::move(picture.alpha);
    image.SetTransIndex(picture.transparentIndex);
    image.m_xdpi = UsableDpi(picture.xdpi);
    image.m_ydpi = UsableDpi(picture.ydpi);
    image.m_frameCount = std::max(1, picture.frameCount);
    image.m_frame = m_frame;
    image.m_type = m_type;
    image.m_jpegQuality = m_jpegQuality;
    *this = std::move(image);
    return true;
}

bool CxImage::Load(const std::filesystem::path& path, int type)
{
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error)) return Fail("not a file: " + path.string());
    if (type < 0 || (type > CXIMAGE_FORMAT_RAS)) return Fail("not an image format");
    try {
        std::optional<codecs::CodecImage> picture = codecs::Decode(path, type, m_frame);
        if (!picture) return Fail("the file cannot be read as an image: " + path.string());
        const int frame = m_frame;
        if (!FromCodecImage(std::move(*picture))) return false;
        m_frame = frame;
        m_type = type != 0 ? type : GetFileType(path.filename().string());
        return true;
    } catch (const std::exception& e) {
        return Fail(e.what());
    }
}

bool CxImage::Save(const std::filesystem::path& path, int type)
{
    if (!IsValid()) return Fail("no picture");
    if (type <= 0 || type > CXIMAGE_FORMAT_RAS) return Fail("not an image format");
    try {
        codecs::EncodeOptions options;
        options.jpegQuality = int(std::lround(m_jpegQuality));
        if (!codecs::Encode(ToCodecImage(), path, type, options))
            return Fail("the picture cannot be written in this format: " + path.string());
        m_type = type;
        return true;
    } catch (const std::exception& e) {
        return Fail(e.what());
    }
}

void CxImage::SetJpegQualityF(float quality)
{
    m_jpegQuality = std::isfinite(quality) ? std::clamp(quality, 0.0f, 100.0f) : m_jpegQuality;
}

}  // namespace vestrel
