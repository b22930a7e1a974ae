#include "TextFax.h"

#include "FaxTiffWriter.h"
#include "text/TextRenderer.h"

#include <opencv2/imgproc.hpp>

#include <fstream>
#include <sstream>

namespace vestrel::tamsin {
namespace {

constexpr int kTabWidth = 4;

text::TextStyle StyleOf(const TextFaxLayout& layout)
{
    text::TextStyle style;
    style.family = layout.family;
    style.pixelSize = layout.pixelSize;
    style.smooth = false;  // one-bit glyphs: a fax page has no grey
    return style;
}

// Fax dots are a little narrower than they are high: glyphs drawn on square pixels are
// widened by this factor so that they keep their shape on paper.
double WidthFactor(const TextFaxLayout& layout)
{
    return layout.xResolution / layout.yResolution;
}

class LineMeasure {
public:
    explicit LineMeasure(const TextFaxLayout& layout) : style_(StyleOf(layout)), factor_(WidthFactor(layout)) {}

    // Width in fax dots; negative when the text cannot be drawn.
    int Width(const std::u32string& line, std::string& error) const
    {
        if (line.empty())
            return 0;
        text::RenderedText rendered;
        if (!text::RenderText({line}, style_, rendered, error))
            return -1;
        return static_cast<int>(rendered.block.width * factor_ + 0.5);
    }

private:
    text::TextStyle style_;
    double factor_;
};

bool IsSpace(char32_t c)
{
    return c == U' ' || c == 0x3000;
}

// Splits one line into pieces no wider than `width`.
bool Wrap(std::u32string line, int width, const LineMeasure& measure, std::vector<std::u32string>& out,
          std::string& error)
{
    for (;;) {
        const int full = measure.Width(line, error);
        if (full < 0)
            return false;
        if (full <= width) {
            while (!line.empty() && line.back() == U' ')
                line.pop_back();  // blanks at a line's end print nothing
            out.push_back(line);
            return true;
        }
        // The longest prefix that fits (at least one character, so that the text advances).
        std::size_t low = 1, high = line.size() - 1;
        while (low < high) {
            const std::size_t middle = (low + high + 1) / 2;
            const int w = measure.Width(line.substr(0, middle), error);
            if (w < 0)
                return false;
            if (w <= width)
                low = middle;
            else
                high = middle - 1;
        }
        std::size_t cut = low;
        // Inside a word of a spaced script, break after the last space instead.
        if (!IsSpace(line[cut]) && line[cut] < 0x2E80) {
            const std::size_t space = line.find_last_of(U" ", cut);
            if (space != std::u32string::npos && space > 0)
                cut = space + 1;
        }
        std::u32string piece = line.substr(0, cut);
        while (!piece.empty() && piece.back() == U' ')
            piece.pop_back();
        out.push_back(piece);
        line.erase(0, cut);
        while (!line.empty() && line.front() == U' ')
            line.erase(0, 1);
        if (line.empty())
            return true;
    }
}

std::u32string ExpandTabs(const std::u32string& line)
{
    std::u32string out;
    for (const char32_t c : line) {
        if (c == U'\t')
            out.append(static_cast<std::size_t>(kTabWidth - static_cast<int>(out.size()) % kTabWidth), U' ');
        else
            out.push_back(c);
    }
    return out;
}

int LineHeight(const TextFaxLayout& layout, std::string& error)
{
    text::RenderedText rendered;
    if (!text::RenderText({U"国"}, StyleOf(layout), rendered, error))
        return -1;
    return std::max(1, rendered.block.height);
}

}  // namespace

bool LayOutText(const std::string& utf8, const TextFaxLayout& layout,
                std::vector<std::vector<std::u32string>>& pages, std::string& error)
{
    pages.assign(1, {});
    const int lineHeight = LineHeight(layout, error);
    if (lineHeight < 0)
        return false;
    const int linesPerPage = std::max(1, (layout.pageHeight - 2 * layout.marginY) / lineHeight);
    const int width = layout.pageWidth - 2 * layout.marginX;
    const LineMeasure measure(layout);

    std::string text = utf8;
    if (text.rfind("\xEF\xBB\xBF", 0) == 0)
        text.erase(0, 3);  // a byte-order mark is not part of the text
    std::vector<std::u32string> lines = text::SplitLines(text);
    if (!text.empty() && text.back() == '\n')
        lines.pop_back();  // the break that ends the last line starts no new one
    for (const std::u32string& raw : lines) {
        // A form feed ends the page; the rest of the line goes on the next.
        std::size_t start = 0;
        for (;;) {
            const std::size_t feed = raw.find(U'\f', start);
            std::vector<std::u32string> wrapped;
            if (!Wrap(ExpandTabs(raw.substr(start, feed - start)), width, measure, wrapped, error))
                return false;
            if (feed != std::u32string::npos && wrapped.size() == 1 && wrapped[0].empty())
                wrapped.clear();  // nothing before the feed
            for (std::u32string& line : wrapped) {
                if (static_cast<int>(pages.back().size()) == linesPerPage)
                    pages.emplace_back();
                pages.back().push_back(std::move(line));
            }
            if (feed == std::u32string::npos)
                break;
            pages.emplace_back();
            start = feed + 1;
        }
    }
    // A text that ends with its last line break leaves no empty page behind.
    while (pages.size() > 1 && pages.back().empty())
        pages.pop_back();
    return true;
}

bool RenderTextPages(const std::string& utf8, const TextFaxLayout& layout, std::vector<cv::Mat>& pages,
                     std::string& error)
{
    std::vector<std::vector<std::u32string>> lines;
    if (!LayOutText(utf8, layout, lines, error))
        return false;
    const text::TextStyle style = StyleOf(layout);
    const double factor = WidthFactor(layout);
    pages.clear();
    for (const auto& pageLines : lines) {
        cv::Mat page(layout.pageHeight, layout.pageWidth, CV_8UC1, cv::Scalar(255));
        text::RenderedText rendered;
        if (!pageLines.empty() && !text::RenderText(pageLines, style, rendered, error))
            return false;
        if (!rendered.coverage.empty()) {
            cv::Mat widened;
            cv::resize(rendered.coverage, widened, cv::Size(), factor, 1.0, cv::INTER_NEAREST);
            const cv::Point origin(layout.marginX - static_cast<int>(rendered.origin.x * factor),
                                   layout.marginY - rendered.origin.y);
            // Glyphs overhanging the page edge are cut at the edge.
            const cv::Rect onPage = cv::Rect(origin, widened.size()) & cv::Rect(0, 0, page.cols, page.rows);
            const cv::Mat ink = widened(onPage - origin) >= 128;
            page(onPage).setTo(cv::Scalar(0), ink);
        }
        pages.push_back(page);
    }
    return true;
}

bool WriteTextFax(const std::string& textPath, const std::string& tiffPath, std::string& error)
{
    std::ifstream in(textPath, std::ios::binary);
    if (!in) {
        error = "cannot read " + textPath;
        return false;
    }
    std::ostringstream content;
    content << in.rdbuf();
    const TextFaxLayout layout;
    std::vector<cv::Mat> pages;
    if (!RenderTextPages(content.str(), layout, pages, error))
        return false;
    doctiff::FaxTiffWriter writer;
    if (!writer.Open(tiffPath)) {
        error = writer.error();
        return false;
    }
    const int total = static_cast<int>(pages.size());
    for (int i = 0; i < total; ++i) {
        if (!writer.WriteFaxPage(pages[static_cast<std::size_t>(i)], layout.xResolution, layout.yResolution, i + 1,
                                 total)) {
            error = writer.error();
            return false;
        }
    }
    if (!writer.Commit()) {
        error = writer.error();
        return false;
    }
    return true;
}

}  // namespace vestrel::tamsin
