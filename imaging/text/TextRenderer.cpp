#include "TextRenderer.h"
#include "FontResolver.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_SYNTHESIS_H

#include <algorithm>
#include <map>
#include <memory>
#include <mutex>
#include <optional>

namespace vestrel::text {

namespace {

// One FreeType library with its opened faces, kept for the life of the process: opening a
// CJK collection costs more than drawing a date stamp.
class FaceCache {
public:
    ~FaceCache()
    {
        for (auto& [key, face] : faces_) FT_Done_Face(face);
        if (library_ != nullptr) FT_Done_FreeType(library_);
    }

    FT_Face Open(const FontFile& file)
    {
        if (library_ == nullptr && FT_Init_FreeType(&library_) != 0) {
            library_ = nullptr;
            return nullptr;
        }
        const auto key = std::make_pair(file.path, file.index);
        if (auto it = faces_.find(key); it != faces_.end()) return it->second;
        FT_Face face = nullptr;
        if (FT_New_Face(library_, file.path.c_str(), file.index, &face) != 0) return nullptr;
        faces_.emplace(key, face);
        return face;
    }

    std::mutex lock;

private:
    FT_Library library_ = nullptr;
    std::map<std::pair<std::string, int>, FT_Face> faces_;
};

FaceCache& Faces()
{
    static FaceCache cache;
    return cache;
}

struct Face {
    FT_Face face = nullptr;
    bool bold = false;
    bool italic = false;
};

struct PlacedGlyph {
    cv::Mat coverage;
    cv::Point at;  // top-left in block coordinates
};

// The same ceiling the image class puts on any picture it makes.
constexpr std::int64_t kMaxCoveragePixels = 256LL * 1024 * 1024;

int Pixels26_6(FT_Pos value)
{
    return int((value + 63) >> 6);
}

// Copies the rendered glyph bitmap as 0..255 coverage.
cv::Mat GlyphCoverage(const FT_Bitmap& bitmap)
{
    cv::Mat coverage(int(bitmap.rows), int(bitmap.width), CV_8UC1, cv::Scalar(0));
    for (int y = 0; y < int(bitmap.rows); ++y) {
        const unsigned char* row = bitmap.buffer + std::ptrdiff_t(y) * bitmap.pitch;
        std::uint8_t* out = coverage.ptr(y);
        for (int x = 0; x < int(bitmap.width); ++x) {
            if (bitmap.pixel_mode == FT_PIXEL_MODE_MONO)
                out[x] = (row[x >> 3] & (0x80 >> (x & 7))) ? 255 : 0;
            else
                out[x] = row[x];
        }
    }
    return coverage;
}

}  // namespace

std::vector<std::u32string> SplitLines(const std::string& utf8)
{
    std::vector<std::u32string> lines(1);
    const auto* s = reinterpret_cast<const unsigned char*>(utf8.data());
    const std::size_t n = utf8.size();
    for (std::size_t i = 0; i < n;) {
        char32_t cp = 0xFFFD;
        int length = 1;
        const unsigned char c = s[i];
        if (c < 0x80) {
            cp = c;
        } else if ((c & 0xE0) == 0xC0) {
            length = 2;
        } else if ((c & 0xF0) == 0xE0) {
            length = 3;
        } else if ((c & 0xF8) == 0xF0) {
            length = 4;
        }
        if (length > 1) {
            bool valid = i + std::size_t(length) <= n;
            char32_t value = c & (0xFF >> (length + 1));
            for (int k = 1; valid && k < length; ++k) {
                if ((s[i + std::size_t(k)] & 0xC0) != 0x80) valid = false;
                value = (value << 6) | (s[i + std::size_t(k)] & 0x3F);
            }
            if (valid && value <= 0x10FFFF) {
                cp = value;
            } else {
                length = 1;
            }
        }
        i += std::size_t(length);
        if (cp == U'\n') {
            if (!lines.back().empty() && lines.back().back() == U'\r') lines.back().pop_back();
            lines.emplace_back();
        } else {
            lines.back().push_back(cp);
        }
    }
    return lines;
}

bool RenderText(const std::vector<std::u32string>& lines, const TextStyle& style, RenderedText& out,
                std::string& error)
{
    FaceCache& cache = Faces();
    std::lock_guard guard(cache.lock);
    const int pixelSize = std::clamp(style.pixelSize, 1, 2000);

    const std::optional<FontFile> primaryFile = ResolveFont(style.family, style.weight, style.italic);
    if (!primaryFile) {
        error = "no font found for " + style.family;
        return false;
    }
    Face primary{cache.Open(*primaryFile), primaryFile->syntheticBold, primaryFile->syntheticItalic};
    if (primary.face == nullptr) {
        error = "font file cannot be opened: " + primaryFile->path;
        return false;
    }
    if (FT_Set_Pixel_Sizes(primary.face, 0, FT_UInt(pixelSize)) != 0) {
        error = "font cannot be scaled: " + primaryFile->path;
        return false;
    }
    const FT_Size_Metrics& metrics = primary.face->size->metrics;
    const int ascender = std::max(1, Pixels26_6(metrics.ascender));
    const int descender = std::max(0, Pixels26_6(-metrics.descender));
    const int lineHeight = std::max({ascender + descender, Pixels26_6(metrics.height), 1});

    std::map<char32_t, Face> fallbacks;
    const auto faceFor = [&](char32_t cp) -> Face {
        if (FT_Get_Char_Index(primary.face, FT_ULong(cp)) != 0) return primary;
        if (auto it = fallbacks.find(cp); it != fallbacks.end()) return it->second;
        Face chosen = primary;  // draws the face's missing-glyph box when nothing has it
        if (const auto file = ResolveFontFor(cp, style.family, style.weight, style.italic)) {
            if (FT_Face face = cache.Open(*file); face != nullptr && FT_Get_Char_Index(face, FT_ULong(cp)) != 0)
                chosen = Face{face, file->syntheticBold, file->syntheticItalic};
        }
        fallbacks.emplace(cp, chosen);
        return chosen;
    };

    std::vector<PlacedGlyph> glyphs;
    std::vector<int> lineWidths;
    std::vector<std::vector<std::size_t>> lineGlyphs(lines.size());
    int blockWidth = 0;
    for (std::size_t li = 0; li < lines.size(); ++li) {
        int pen = 0;
        const int baseline = int(li) * lineHeight + ascender;
        for (char32_t cp : lines[li]) {
            const Face face = faceFor(cp);
            if (FT_Set_Pixel_Sizes(face.face, 0, FT_UInt(pixelSize)) != 0) continue;
            const FT_UInt index = FT_Get_Char_Index(face.face, FT_ULong(cp));
            if (FT_Load_Glyph(face.face, index, FT_LOAD_DEFAULT | (style.smooth ? 0 : FT_LOAD_TARGET_MONO)) != 0) continue;
            FT_GlyphSlot slot = face.face->glyph;
            if (face.italic) FT_GlyphSlot_Oblique(slot);
            if (face.bold) FT_GlyphSlot_Embolden(slot);
            if (FT_Render_Glyph(slot, style.smooth ? FT_RENDER_MODE_NORMAL : FT_RENDER_MODE_MONO) != 0) continue;
            if (slot->bitmap.width > 0 && slot->bitmap.rows > 0) {
                lineGlyphs[li].push_back(glyphs.size());
                glyphs.push_back({GlyphCoverage(slot->bitmap), cv::Point(pen + slot->bitmap_left, baseline - slot->bitmap_top)});
            }
            pen += Pixels26_6(slot->advance.x);
        }
        lineWidths.push_back(pen);
        blockWidth = std::max(blockWidth, pen);
    }
    const int blockHeight = lineHeight * int(lines.size());

    // Aligned lines move as a whole; then the canvas grows to hold glyphs that overhang.
    for (std::size_t li = 0; li < lines.size(); ++li) {
        int shift = 0;
        if (style.alignment == Alignment::Centre) shift = (blockWidth - lineWidths[li]) / 2;
        if (style.alignment == Alignment::Right) shift = blockWidth - lineWidths[li];
        for (std::size_t g : lineGlyphs[li]) glyphs[g].at.x += shift;
    }
    std::vector<cv::Rect> underlines;
    if (style.underline) {
        const int thickness = std::max(1, Pixels26_6(FT_MulFix(primary.face->underline_thickness, metrics.y_scale)));
        const int below = std::max(1, Pixels26_6(FT_MulFix(-primary.face->underline_position, metrics.y_scale)));
        for (std::size_t li = 0; li < lines.size(); ++li) {
            int shift = 0;
            if (style.alignment == Alignment::Centre) shift = (blockWidth - lineWidths[li]) / 2;
            if (style.alignment == Alignment::Right) shift = blockWidth - lineWidths[li];
            const int baseline = int(li) * lineHeight + ascender;
            if (lineWidths[li] > 0) underlines.emplace_back(shift, baseline + below - thickness / 2, lineWidths[li], thickness);
        }
    }
    cv::Rect extent(0, 0, std::max(blockWidth, 1), std::max(blockHeight, 1));
    for (const PlacedGlyph& g : glyphs) extent |= cv::Rect(g.at, g.coverage.size());
    for (const cv::Rect& u : underlines) extent |= u;

    if (std::int64_t(extent.width) * extent.height > kMaxCoveragePixels) {
        error = "text too large to draw";
        return false;
    }
    out.coverage = cv::Mat::zeros(extent.size(), CV_8UC1);
    out.origin = cv::Point(-extent.x, -extent.y);
    out.block = cv::Size(blockWidth, blockHeight);
    for (const PlacedGlyph& g : glyphs) {
        cv::Mat target = out.coverage(cv::Rect(g.at + out.origin, g.coverage.size()));
        cv::max(target, g.coverage, target);
    }
    for (const cv::Rect& u : underlines) out.coverage(u + out.origin).setTo(cv::Scalar(255));
    return true;
}

}  // namespace vestrel::text
