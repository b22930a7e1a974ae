#include "CommandLine.h"

#include "TextRecogniser.h"

#include <string_view>

namespace vestrel::tools {

std::optional<OcrCommandLine> ParseOcrCommandLine(int argc, const char* const* argv, std::string& error)
{
    OcrCommandLine line;
    line.languages = ocr::kDefaultLanguages;
    bool optionsOver = false;
    for (int i = 1; i < argc; ++i) {
        std::string_view option = argv[i];
        if (optionsOver || !option.starts_with("--")) {
            line.images.emplace_back(option);
            continue;
        }
        if (option == "--") {
            optionsOver = true;
            continue;
        }
        std::string_view value;
        if (const auto eq = option.find('='); eq != std::string_view::npos) {
            value = option.substr(eq + 1);
            option = option.substr(0, eq);
        } else if (i + 1 < argc) {
            value = argv[++i];
        } else {
            error = std::string(option) + " needs a value";
            return std::nullopt;
        }
        if (option == "--home") line.home = std::string(value);
        else if (option == "--lang") line.languages = std::string(value);
        else if (option == "--out") line.out = std::string(value);
        else if (option == "--format") {
            if (value == "txt") line.format = OcrFormat::Text;
            else if (value == "fodt") line.format = OcrFormat::Document;
            else if (value == "pdf") line.format = OcrFormat::Pdf;
            else {
                error = "--format takes txt, fodt or pdf";
                return std::nullopt;
            }
        } else {
            error = "unknown option " + std::string(option);
            return std::nullopt;
        }
    }
    if (line.images.empty()) {
        error = "no image named";
        return std::nullopt;
    }
    return line;
}

}  // namespace vestrel::tools
