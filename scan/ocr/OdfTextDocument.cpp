#include "OdfTextDocument.h"

#include <algorithm>
#include <vector>

namespace vestrel::ocr {
namespace {

std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    std::string line;
    for (char c : text) {
        if (c == '\n') {
            lines.push_back(std::move(line));
            line.clear();
        } else if (c != '\r') {
            line += c;
        }
    }
    if (!line.empty() || lines.empty()) lines.push_back(line);
    // The engine ends its text with a line break and a blank line: no empty paragraphs after
    // the last words.
    while (lines.size() > 1 && lines.back().empty()) lines.pop_back();
    return lines;
}

// Where the bookmark stands: just after the bookmark element (or the start of a bookmark
// range), plus the start tag of the paragraph around it.
struct BookmarkPlace {
    std::size_t insertAt;
    std::string paragraphTag;
};

std::optional<BookmarkPlace> FindBookmark(const std::string& xml)
{
    const std::string name = std::string("text:name=\"") + kTextBookmark + "\"";
    for (const char* element : {"<text:bookmark ", "<text:bookmark-start "}) {
        for (std::size_t at = xml.find(element); at != std::string::npos;
             at = xml.find(element, at + 1)) {
            const std::size_t end = xml.find("/>", at);
            if (end == std::string::npos) return std::nullopt;
            if (xml.substr(at, end - at).find(name) == std::string::npos) continue;
            // The paragraph that holds it: its start tag is reused for every line.
            const std::size_t spaced = xml.rfind("<text:p ", at), bare = xml.rfind("<text:p>", at);
            const std::size_t paragraph = spaced == std::string::npos ? bare
                                          : bare == std::string::npos ? spaced
                                                                      : std::max(spaced, bare);
            if (paragraph == std::string::npos) return std::nullopt;
            const std::size_t tagEnd = xml.find('>', paragraph);
            if (tagEnd == std::string::npos || tagEnd > at || xml[tagEnd - 1] == '/')
                return std::nullopt;
            if (xml.find("</text:p>", paragraph) < at) return std::nullopt;
            return BookmarkPlace{end + 2, xml.substr(paragraph, tagEnd + 1 - paragraph)};
        }
    }
    return std::nullopt;
}

}  // namespace

std::string OdfLine(const std::string& line)
{
    std::string out;
    std::size_t spaces = 0;
    auto flushSpaces = [&] {
        // ODF keeps one space of a run; the rest are counted in <text:s/>.
        if (spaces == 0) return;
        out += ' ';
        if (spaces > 1) out += "<text:s text:c=\"" + std::to_string(spaces - 1) + "\"/>";
        spaces = 0;
    };
    for (unsigned char c : line) {
        if (c == ' ') {
            ++spaces;
            continue;
        }
        flushSpaces();
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        case '\t': out += "<text:tab/>"; break;
        default:
            if (c >= 0x20) out += char(c);  // other control characters cannot be in XML
        }
    }
    flushSpaces();
    return out;
}

std::optional<std::string> FillTemplate(const std::string& templateXml, const std::string& text)
{
    const auto place = FindBookmark(templateXml);
    if (!place) return std::nullopt;
    std::string inserted;
    bool first = true;
    for (const std::string& line : Lines(text)) {
        if (!first) inserted += "</text:p>" + place->paragraphTag;
        inserted += OdfLine(line);
        first = false;
    }
    std::string xml = templateXml;
    xml.insert(place->insertAt, inserted);
    return xml;
}

}  // namespace vestrel::ocr
