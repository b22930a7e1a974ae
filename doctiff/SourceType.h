#pragma once
// Which adapter converts a source path, decided by the text of the path alone.

#include <string>

namespace vestrel::doctiff {

enum class SourceKind {
    Pdf,           // ".PDF": never converted
    WordDocument,  // ".DOC" (also DOCX)
    Spreadsheet,   // ".XLS"
    PlainText,     // ".TXT"
    RichText,      // ".RTF"
    Presentation,  // ".PPT"
    WebPage,       // ".HTM" (also HTML)
    Tiff,          // ".TIF" (also TIFF)
    Image,         // ".JPG", ".BMP", ".GIF"
    Unknown,
};

// The path, upper-cased, is searched for the substrings in the order above; the first one
// found at any position after the first character decides. So "a.doc.jpg" is a document,
// as it has always been.
SourceKind ClassifySource(const std::string& path);

bool IsPrintedKind(SourceKind kind);

}  // namespace vestrel::doctiff
