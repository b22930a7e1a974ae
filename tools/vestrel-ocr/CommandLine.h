#pragma once
// The command line of vestrel-ocr:
//   vestrel-ocr [--home DIR] [--lang L] [--format txt|fodt|pdf] [--out PATH] IMAGE...

#include <optional>
#include <string>
#include <vector>

namespace vestrel::tools {

enum class OcrFormat { Text, Document, Pdf };

struct OcrCommandLine {
    std::optional<std::string> home;  // program folder instead of the executable's
    std::string languages;            // "chi_sim+eng" unless --lang says otherwise
    OcrFormat format = OcrFormat::Text;
    std::optional<std::string> out;   // a file for one output (or one PDF of all), else a folder
    std::vector<std::string> images;
};

inline constexpr const char* kOcrUsage =
    "usage: vestrel-ocr [--home DIR] [--lang L] [--format txt|fodt|pdf] [--out PATH] IMAGE...";

// Nothing, with `error` set, for an unknown option or format, a missing value or no image.
std::optional<OcrCommandLine> ParseOcrCommandLine(int argc, const char* const* argv, std::string& error);

}  // namespace vestrel::tools
