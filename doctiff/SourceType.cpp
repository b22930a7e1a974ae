#include "SourceType.h"

#include <algorithm>
#include <cctype>
#include <utility>

namespace vestrel::doctiff {

SourceKind ClassifySource(const std::string& path) {
    std::string upper = path;
    std::transform(upper.begin(), upper.end(), upper.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    static const std::pair<const char*, SourceKind> kOrder[] = {
        {".PDF", SourceKind::Pdf},          {".DOC", SourceKind::WordDocument},
        {".XLS", SourceKind::Spreadsheet},  {".TXT", SourceKind::PlainText},
        {".RTF", SourceKind::RichText},     {".PPT", SourceKind::Presentation},
        {".HTM", SourceKind::WebPage},      {".TIF", SourceKind::Tiff},
        {".JPG", SourceKind::Image},        {".BMP", SourceKind::Image},
        {".GIF", SourceKind::Image},
    };
    for (const auto& [text, kind] : kOrder) {
        const auto at = upper.find(text, 1);
        if (at != std::string::npos) return kind;
    }
    return SourceKind::Unknown;
}

bool IsPrintedKind(SourceKind kind) {
    switch (kind) {
    case SourceKind::WordDocument:
    case SourceKind::Spreadsheet:
    case SourceKind::PlainText:
    case SourceKind::RichText:
    case SourceKind::Presentation:
    case SourceKind::WebPage: return true;
    default: return false;
    }
}

}  // namespace vestrel::doctiff
