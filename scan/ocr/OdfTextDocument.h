#pragma once
// The recognised text as a word-processor document: a copy of the flat ODF template
// (Doc.fodt) with the text put where its bookmark "Text" stands, each line of the text a
// paragraph of the bookmark's paragraph style.

#include <optional>
#include <string>

namespace vestrel::ocr {

inline constexpr const char* kTextBookmark = "Text";

// The template's XML with `text` inserted at the bookmark; nothing when the template holds
// no bookmark "Text" inside a paragraph. The text is escaped for XML; characters XML cannot
// hold are dropped, tabs and runs of spaces are kept as ODF writes them.
std::optional<std::string> FillTemplate(const std::string& templateXml, const std::string& text);

// Paragraph content for one line of text (no line breaks inside).
std::string OdfLine(const std::string& line);

}  // namespace vestrel::ocr
