#pragma once
// CxImage: every still picture of the program. A thin class over cv::Mat:
//   - 24 bits per pixel: CV_8UC3, blue-green-red, no palette;
//   - 1, 4 or 8 bits per pixel: CV_8UC1 holding one palette index per byte (never packed),
//     with a palette of 2^bpp entries.
// Rows are top row first and every coordinate is top-down (x right, y down). Beside the
// pixels an image holds its resolution, an optional selection mask (CV_8UC1, 0 = outside,
// any other value = the selection level), an optional alpha channel (CV_8UC1, 255 opaque),
// a transparent index or colour, and the page count of the file it came from.
//
// Calls return true on success; a call that fails leaves the image as it was and says why
// in GetLastError(). Nothing throws: OpenCV exceptions are caught inside.
//
// Tone and filter calls work inside the selection only when the image has one, else on
// the whole picture; calls that change the bit depth (GrayScale, IncreaseBpp,
// DecreaseBpp, Threshold) always change the whole picture. On palette pictures they follow one rule: an 8-bit picture with the
// plain grey ramp (entry i = i, i, i) is worked on as a grey plane and stays grey when the
// result is grey; other palette pictures have their palette changed (tone calls without a
// selection) or are raised to 24 bits first (everything else). Each algorithm is described
// at its declaration.

#include "ImageTypes.h"

#include <opencv2/core.hpp>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace vestrel {

namespace codecs {
struct CodecImage;
}

class CxImage {
public:
    // Interpolation of Rotate2.
    enum InterpolationMethod { IM_NEAREST_NEIGHBOUR = 1, IM_BILINEAR = 2, IM_BICUBIC = 3 };
    // What Rotate2 puts where no source pixel falls.
    enum OverflowMethod {
        OM_COLOR = 1,        // the replacement colour given to the call
        OM_BACKGROUND = 2,   // the image's transparent colour when it has one, else the replacement colour
        OM_TRANSPARENT = 3,  // the replacement colour, with alpha 0 (an alpha channel is made)
        OM_REPEAT = 4,       // the nearest edge pixel
        OM_MIRROR = 5,       // the picture reflected at its edge
        OM_WRAP = 6,         // the picture repeated as tiles
    };
    // Colour models of Combine.
    enum ColorSpace { CS_RGB = 0, CS_HSL = 1, CS_YUV = 2 };

    // Largest picture any call makes: 256 megapixels (the same limit the file codecs apply
    // to headers), so a hostile size is refused before anything is allocated.
    static constexpr std::int64_t kMaxPixels = 256LL * 1024 * 1024;

    // ---- Life (CxImageLife.cpp) ---------------------------------------------------------
    CxImage() = default;
    // Loads the file; check IsValid() afterwards.
    CxImage(const std::filesystem::path& path, int type);
    // A picture of the given size, black (palette pictures: index 0 of a grey palette).
    CxImage(int width, int height, int bpp);
    // A copy of another image: its pixels (and everything else) always, its selection and
    // alpha channel only when asked.
    CxImage(const CxImage& source, bool copyPixels, bool copySelection, bool copyAlpha);
    CxImage(const CxImage& source);
    CxImage& operator=(const CxImage& source);
    CxImage(CxImage&&) noexcept = default;
    CxImage& operator=(CxImage&&) noexcept = default;
    ~CxImage() = default;

    // Full copy (pixels, palette, resolution, transparency, frames), the selection and
    // alpha channel as asked. With copyPixels false only the description is copied and the
    // pixels are made black. Never throws: without the memory for the copy it returns
    // false and this image stays as it was.
    bool Copy(const CxImage& source, bool copyPixels = true, bool copySelection = true,
              bool copyAlpha = true);
    // A new picture; 1/4/8 bits get a grey palette running from black to white.
    bool Create(int width, int height, int bpp);
    // Frees everything; the image becomes invalid.
    void Destroy();
    // Forgets the other pages of the file this picture came from (the page count becomes 1).
    void DestroyFrames();
    bool IsValid() const { return !m_pixels.empty(); }
    // Fills every pixel byte with `value` (palette pictures: the index value & (2^bpp - 1)).
    bool Clear(std::uint8_t value = 0);

    // ---- OpenCV interchange (CxImageLife.cpp) ------------------------------------------
    // Takes a CV_8UC3 (BGR), CV_8UC1 (grey, 8 bits with the grey ramp) or CV_8UC4 (BGR plus
    // alpha) picture, top row first. The pixels are copied.
    bool CreateFromMat(const cv::Mat& picture);
    // Same, sharing the given pixel buffer instead of copying it (cheap hand-over).
    bool AdoptMat(cv::Mat picture);
    // The pixel plane as held (BGR for 24 bits, indices below): no copy, do not resize it.
    const cv::Mat& Pixels() const { return m_pixels; }
    cv::Mat& Pixels() { return m_pixels; }
    // The picture as BGR (palette expanded); shares the buffer for 24-bit pictures.
    cv::Mat ToBgr() const;
    // The picture as 8-bit grey (luminance, or the palette's value on grey palettes).
    cv::Mat ToGrey() const;
    // The picture as BGRA: alpha from the alpha channel, transparent pixels 0, else 255.
    cv::Mat ToBgra() const;
    // A new image with this one's description (palette, resolution, transparency, frames)
    // and the given planes, which it takes without copying: `pixels` of this image's type,
    // `alpha` and `selection` empty or CV_8UC1 of the same size. A compact copy keeps the
    // description of a picture apart from its packed planes and joins them again here.
    CxImage WithPlanes(cv::Mat pixels, cv::Mat alpha, cv::Mat selection) const;

    // ---- Size and pixels (CxImageLife.cpp) ---------------------------------------------
    int GetWidth() const { return m_pixels.cols; }
    int GetHeight() const { return m_pixels.rows; }
    int GetBpp() const { return m_bpp; }
    double GetXDPI() const { return m_xdpi; }
    double GetYDPI() const { return m_ydpi; }
    // Resolutions outside 0 .. 1000000 (or not numbers) are stored as 0, unknown.
    void SetXDPI(double dpi) { m_xdpi = dpi > 0 && dpi <= 1e6 ? dpi : 0; }
    void SetYDPI(double dpi) { m_ydpi = dpi > 0 && dpi <= 1e6 ? dpi : 0; }
    // Row `row` of the pixel plane (top row 0): 3 bytes per pixel for 24 bits, else one
    // palette index per pixel. Null when invalid or out of range.
    std::uint8_t* GetBits(int row = 0);
    const std::uint8_t* GetBits(int row = 0) const;
    // Bytes between rows of GetBits.
    std::size_t GetEffWidth() const { return m_pixels.empty() ? 0 : m_pixels.step[0]; }
    // Size of the picture as a device-independent bitmap: 40-byte header, palette, rows
    // padded to 4 bytes (what CopyToHandle produces).
    std::size_t GetSize() const;
    // The palette (2^bpp entries), empty for 24-bit pictures.
    const std::vector<RGBQUAD>& GetPalette() const { return m_palette; }
    // Size of the palette in bytes (4 per entry).
    std::size_t GetPaletteSize() const { return m_palette.size() * sizeof(RGBQUAD); }
    int GetNumColors() const { return int(m_palette.size()); }
    // Replaces the palette of a palette picture (cut or padded with black to 2^bpp entries).
    bool SetPalette(const std::vector<RGBQUAD>& palette);
    // Grey ramp palette for a palette picture.
    bool SetGrayPalette();
    RGBQUAD GetPaletteColor(int index) const;
    // Colour at (x, y); rgbReserved carries the alpha (255 without an alpha channel).
    // Outside the picture: the transparent colour.
    RGBQUAD GetPixelColor(int x, int y) const;
    // Palette index at (x, y) (0 for 24-bit pictures and outside the picture).
    std::uint8_t GetPixelIndex(int x, int y) const;
    // Sets the colour at (x, y) (palette pictures: the nearest palette entry). With setAlpha
    // the alpha channel takes rgbReserved. Outside the picture nothing happens.
    void SetPixelColor(int x, int y, RGBQUAD colour, bool setAlpha = false);
    void SetPixelColor(int x, int y, COLORREF colour);
    void SetPixelIndex(int x, int y, std::uint8_t index);
    // A picture from raw rows: bpp 1 and 4 packed high bits first, 8 (grey ramp), 24 (BGR)
    // or 32 (BGRA: alpha channel made). bytesPerRow at least the row's bytes; rows bottom
    // row first when bottomUp.
    bool CreateFromArray(const std::uint8_t* bytes, int width, int height, int bpp,
                         std::size_t bytesPerRow, bool bottomUp);
    // The index of the palette entry nearest to the colour (squared RGB distance).
    std::uint8_t GetNearestIndex(RGBQUAD colour) const;

    // ---- Geometry (CxImageGeometry.cpp) ------------------------------------------------
    // Keeps the part inside the rectangle (cut to the picture); alpha and selection follow.
    // With a destination the result goes there and this image stays as it is.
    bool Crop(const PixelRect& rect, CxImage* destination = nullptr);
    bool Crop(int left, int top, int right, int bottom, CxImage* destination = nullptr);
    // New size. mode 1: nearest pixel (fast; palette pictures keep their indices);
    // mode 2: bilinear; any other mode: area averaging when shrinking, bicubic when
    // enlarging. Palette pictures other than grey are raised to 24 bits for modes other
    // than 1. The selection is removed.
    bool Resample(int newWidth, int newHeight, int mode = 1, CxImage* destination = nullptr);
    bool RotateLeft(CxImage* destination = nullptr);   // 90° counter-clockwise
    bool RotateRight(CxImage* destination = nullptr);  // 90° clockwise
    bool Rotate180(CxImage* destination = nullptr);
    bool Mirror();  // left-right
    bool Flip();    // top-bottom
    // Turns the picture by `angle` degrees, positive clockwise as seen on screen, about its
    // centre. Without keepOriginalSize the picture grows to hold all of the turned one;
    // with it the size stays and the corners are cut. Exact multiples of 90° are plain
    // turns when optimizeRightAngles is set. Palette pictures other than grey are raised
    // to 24 bits unless the interpolation is nearest. The selection is removed.
    bool Rotate2(float angle, InterpolationMethod interpolation = IM_BILINEAR,
                 OverflowMethod overflow = OM_BACKGROUND, RGBQUAD* replacementColour = nullptr,
                 bool optimizeRightAngles = true, bool keepOriginalSize = false);

    // ---- Tone (CxImageTone.cpp, CxImageColour.cpp) -------------------------------------
    // To 8 bits with the grey ramp, each pixel its luminance (0.299 R + 0.587 G + 0.114 B).
    // A picture that is already grey (IsGrayScale) is left as it is, so bilevel pictures
    // stay bilevel.
    bool GrayScale();
    // A palette picture whose every palette entry is grey.
    bool IsGrayScale() const;
    // 8-bit with the plain grey ramp: the index plane is the grey picture itself.
    bool IsGreyRamp() const;
    // Raises to 4, 8 or 24 bits keeping every colour (palette padded, or expanded).
    bool IncreaseBpp(int bpp);
    // Lowers to 1, 4 or 8 bits. The palette is `palette` when given (cut to 2^bpp), else:
    // 1 bit black/white; 4 bits the 16 standard VGA colours; 8 bits the grey ramp when the
    // picture is grey, else 6x6x6 colour cube plus 40 greys. Pixels take the nearest entry,
    // spreading the error to their neighbours (Floyd-Steinberg) with errorDiffusion.
    bool DecreaseBpp(int bpp, bool errorDiffusion, const std::vector<RGBQUAD>* palette = nullptr);
    // To 1 bit: black where the luminance is at most `level`, white above it.
    bool Threshold(std::uint8_t level);
    // Pixels whose luminance is below `level` (or at least `level` when direct is false)
    // take `background` (and alpha 0 with setAlpha); the others keep their colour.
    bool Threshold2(std::uint8_t level, bool direct, RGBQUAD background, bool setAlpha = false);
    // Every channel c becomes 255 - c (palette pictures: the palette).
    bool Negative();
    // Brightness and contrast: c' = (c - 128) * (100 + contrast) / 100 + 128 + brightness,
    // rounded and clamped to 0..255; brightness -255..255, contrast -100..100 (percent).
    bool Light(int brightness, int contrast = 0);
    // Saturation. method 1: the HSL saturation (0..255) moves by `amount`, clamped;
    // method 2: every channel moves away from the pixel's luminance by amount percent
    // (c' = L + (c - L) * (100 + amount) / 100, clamped; amounts below -100 count as -100,
    // all grey). Grey pictures do not change.
    bool Saturate(int amount, int method = 1);
    // Gamma: c' = 255 * (c / 255)^(1 / gamma); gamma above 1 brightens. gamma > 0.
    bool Gamma(float gamma);
    bool GammaRGB(float gammaRed, float gammaGreen, float gammaBlue);
    // Tints: each pixel keeps its HSL luminance and takes hue and saturation (0..255), then
    // is mixed with the original colour, `blend` (0..1) parts of the tint.
    bool Colorize(std::uint8_t hue, std::uint8_t saturation, float blend = 1.0f);
    // Inverts the bright part. Linked: pixels whose luminance is above `level` are inverted
    // as a whole; unlinked: each channel above `level` is inverted on its own.
    bool Solarize(std::uint8_t level = 128, bool linkedChannels = true);
    // Adds r, g, b to the channels, clamped to 0..255.
    bool ShiftRGB(int red, int green, int blue);
    // Each channel as an 8-bit grey picture (any destination may be null).
    bool SplitRGB(CxImage* red, CxImage* green, CxImage* blue) const;
    // A 24-bit picture from three grey pictures of the same size, read as channels of the
    // colour model (RGB: red, green, blue; HSL: hue, saturation, luminance; YUV: Y, U, V),
    // with an optional fourth grey picture as alpha channel.
    bool Combine(const CxImage* first, const CxImage* second, const CxImage* third,
                 const CxImage* alpha = nullptr, ColorSpace space = CS_RGB);
    static RGBQUAD RGBtoRGBQUAD(COLORREF colour);
    static COLORREF RGBQUADtoRGB(RGBQUAD colour);
    // HSL with hue, saturation and luminance each 0..255 (hue 255 = 360°), carried in the
    // rgbRed (hue), rgbGreen (saturation) and rgbBlue (luminance) fields.
    static RGBQUAD RGBtoHSL(RGBQUAD colour);
    static RGBQUAD HSLtoRGB(RGBQUAD hsl);
    static RGBQUAD HSLtoRGB(COLORREF hsl);

    // ---- Filters (CxImageFilters.cpp) --------------------------------------------------
    // Convolution with a size x size kernel given row by row (row 0 weighs the row above
    // the pixel): c' = sum / divisor + offset, rounded and clamped; divisor 0 counts as 1.
    // Edge pixels repeat the border. size odd, 1..25.
    bool Filter(const long* kernel, long size, long divisor, long offset);
    // Each channel the minimum (Erode) or maximum (Dilate) of the size x size square.
    bool Erode(int size = 3);
    bool Dilate(int size = 3);
    // Gaussian blur with standard deviation `radius` pixels.
    bool GaussianBlur(float radius = 1.0f);
    // Inside the selection (the whole picture without one): pixels whose red exceeds both
    // green and blue by half have red pulled toward the mean of green and blue,
    // r' = r - strength * (r - (g + b) / 2), strength 0..1.
    bool RedEyeRemove(float strength = 0.8f);

    // ---- Selection, transparency, alpha (CxImageSelection.cpp) -------------------------
    // Adds a rectangle (cut to the picture) to the selection at `level`.
    bool SelectionAddRect(const PixelRect& rect, std::uint8_t level = 255);
    // Adds the closed polygon (its outline included) to the selection.
    bool SelectionAddPolygon(const PixelPoint* points, int count, std::uint8_t level = 255);
    bool SelectionAddPolygon(const std::vector<PixelPoint>& points, std::uint8_t level = 255);
    // Unselects everything (the mask stays, all zero).
    bool SelectionClear();
    // Removes the mask.
    bool SelectionDelete();
    // The image has a mask with at least one selected pixel.
    bool SelectionIsValid() const;
    bool SelectionIsInside(int x, int y) const;
    // The smallest rectangle holding every selected pixel; false without one.
    bool SelectionGetBox(PixelRect& box) const;
    // The mask (empty without one).
    const cv::Mat& SelectionMask() const { return m_selection; }

    // Transparency is on while the transparent index is 0 or more. Palette pictures treat
    // pixels of that index as transparent; 24-bit pictures the pixels of the transparent
    // colour. -1 turns it off.
    void SetTransIndex(long index);
    long GetTransIndex() const { return m_transIndex; }
    // Sets the transparent colour and turns transparency on (palette pictures: the index of
    // the palette entry equal to the colour, when there is one).
    void SetTransColor(RGBQUAD colour);
    RGBQUAD GetTransColor() const;
    bool IsTransparent() const { return m_transIndex >= 0; }
    // The pixel is transparent: the transparent colour or index, or alpha 0.
    bool IsTransparentAt(int x, int y) const;

    bool AlphaCreate();  // an opaque alpha channel
    void AlphaDelete();
    bool AlphaIsValid() const { return !m_alpha.empty(); }
    std::uint8_t AlphaGet(int x, int y) const;
    void AlphaSet(int x, int y, std::uint8_t level);
    bool AlphaSet(std::uint8_t level);  // the whole channel
    const cv::Mat& AlphaMask() const { return m_alpha; }

    // Pastes `source` with its top-left pixel at (x, y). Source pixels that are
    // transparent (transparent colour or index, alpha 0) are skipped, partly transparent
    // ones (alpha) are blended; parts outside this picture are cut off.
    bool MixFrom(const CxImage& source, int x, int y);

    // ---- Text (CxImageText.cpp, text/) --------------------------------------------------
    static void InitTextInfo(CXTEXTINFO* info);
    // Draws the lines of info->text with the top-left corner of the text block at (x, y).
    // The block is as wide as the widest line and as high as the lines; `drawnBox` (when
    // given) receives it. Returns false when no font can be opened or nothing can be drawn.
    bool DrawStringEx(int x, int y, const CXTEXTINFO* info, PixelRect* drawnBox = nullptr);
    // One text in one colour: font family, pixel size (0: 12), weight, italic, underline;
    // with setAlpha the drawn pixels become opaque in the alpha channel.
    bool DrawString(int x, int y, const std::string& text, RGBQUAD colour, const std::string& font,
                    int size = 0, int weight = 400, bool italic = false, bool underline = false,
                    bool setAlpha = false, PixelRect* drawnBox = nullptr);

    // ---- Exchange (CxImageDump.cpp, CxImageDib.cpp) ------------------------------------
    // The serialised image (magic, version, sizes, palette, pixels, alpha, selection and a
    // CRC-32); DumpSize() bytes, or 0 for an invalid image.
    std::size_t DumpSize() const;
    // Writes DumpSize() bytes to `destination`; returns the count written.
    std::size_t Dump(std::uint8_t* destination) const;
    std::vector<std::uint8_t> Dump() const;
    // Reads a serialised image; returns the bytes used, 0 (image unchanged) when the data
    // are truncated, of another version, inconsistent or corrupted.
    std::size_t UnDump(const std::uint8_t* source, std::size_t size);
    // A device-independent bitmap: 40-byte BITMAPINFOHEADER, palette, rows bottom row first
    // padded to 4 bytes. Empty for an invalid image.
    std::vector<std::uint8_t> CopyToHandle() const;
    // Reads such a bitmap (1, 4, 8, 24 or 32 bits, uncompressed or bit fields, either row
    // order); false for anything malformed.
    bool CreateFromHANDLE(const std::uint8_t* dib, std::size_t size);

    // ---- Files (CxImageFiles.cpp) -------------------------------------------------------
    // Reads page GetFrame() of the file; type 0 finds the format from the content.
    bool Load(const std::filesystem::path& path, int type = 0);
    // Writes in the format of `type`; false for a format that cannot be written.
    bool Save(const std::filesystem::path& path, int type);
    void SetJpegQualityF(float quality);  // 0..100, used by the next JPEG save
    float GetJpegQualityF() const { return m_jpegQuality; }
    int GetNumFrames() const { return m_frameCount; }
    void SetFrame(int frame) { m_frame = frame < 0 ? 0 : frame; }  // page to load next
    int GetFrame() const { return m_frame; }
    int GetType() const { return m_type; }  // format of the last Load or Save
    const std::string& GetLastError() const { return m_lastError; }

    // Conversions to and from the file codecs' picture.
    codecs::CodecImage ToCodecImage() const;
    bool FromCodecImage(codecs::CodecImage&& picture);

private:
    // Sets the pixels after an operation: inside the selection only when there is one.
    void ReplacePixels(const cv::Mat& result);
    // Applies a per-channel table (256 entries each). Grey-ramp pictures with three equal
    // tables are changed as a grey plane; other palette pictures follow the class rule.
    bool ApplyChannelTables(const std::uint8_t* blue, const std::uint8_t* green,
                            const std::uint8_t* red);
    // Applies a colour function pixel by pixel on a 24-bit copy (or the palette).
    template <class ColourFunction>
    bool ApplyColourFunction(ColourFunction function);
    // Palette pictures other than grey ramps become 24-bit (for filters and interpolation).
    bool RaiseForFiltering();
    void SetPixelsKeepingRest(cv::Mat pixels);
    // Stores a result in `destination` when given, else in this image.
    bool Deliver(CxImage&& result, CxImage* destination);
    bool Fail(std::string message) const;
    bool DrawTextBlock(int x, int y, const CXTEXTINFO& info, bool setAlpha, PixelRect* drawnBox);

    cv::Mat m_pixels;                  // CV_8UC3 BGR or CV_8UC1 indices, top row first
    int m_bpp = 0;                     // 0 when invalid
    std::vector<RGBQUAD> m_palette;    // 2^bpp entries below 24 bits
    cv::Mat m_selection;               // CV_8UC1 or empty
    cv::Mat m_alpha;                   // CV_8UC1 or empty
    long m_transIndex = -1;
    RGBQUAD m_transColor{};
    double m_xdpi = 0, m_ydpi = 0;
    int m_frameCount = 1;
    int m_frame = 0;
    int m_type = CXIMAGE_FORMAT_UNKNOWN;
    float m_jpegQuality = 90.0f;
    mutable std::string m_lastError;
};

}  // namespace vestrel
