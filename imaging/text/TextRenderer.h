#pragma once
// Lays out and rasterises lines of UTF-8 text with FreeType into a coverage mask (0 =
// untouched, 255 = fully covered). Characters the chosen face lacks are taken from a face
// that has them (fontconfig fallback), so Chinese renders under a Latin font name too.

#include <opencv2/core.hpp>

#include <string>
#include <vector>

namespace vestrel::text {

enum class Alignment { Left, Centre, Right };

struct TextStyle {
    std::string family;
    int pixelSize = 12;     // character size in pixels (the em)
    int weight = 400;
    bool italic = false;
    bool underline = false;
    bool smooth = true;     // anti-aliased; else one-bit glyphs
    Alignment alignment = Alignment::Left;
};

struct RenderedText {
    cv::Mat coverage;       // CV_8UC1 covering every pixel the text touches
    cv::Point origin;       // where the block's top-left corner lies inside `coverage`
    cv::Size block;         // the lines' block: widest advance x line height x lines
};

// Renders the lines. False when no font can be opened (error says why).
bool RenderText(const std::vector<std::u32string>& lines, const TextStyle& style, RenderedText& out,
                std::string& error);

// UTF-8 to code points, split at '\n' (a '\r' before it is dropped). Malformed bytes
// become U+FFFD.
std::vector<std::u32string> SplitLines(const std::string& utf8);

}  // namespace vestrel::text
