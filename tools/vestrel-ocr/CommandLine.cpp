#include "CommandLine.h"

#include "OptionReader.h"
#include "TextRecogniser.h"

namespace vestrel::tools {

std::optional<OcrCommandLine> ParseOcrCommandLine(int argc, const char* const* argv, std::string& error)
{
    // Every word is an image, "-" and "-x.png" included; after "--" so is "--x.png".
    const std::optional<GivenCommandLine> given =
        ReadOptions(argc, argv, {{"home"}, {"lang"}, {"format"}, {"out"}}, DoubleDash::EndsOptions, error);
    if (!given) return std::nullopt;
    OcrCommandLine line;
    line.languages = ocr::kDefaultLanguages;
    line.images = given->words;
    for (const auto& [option, value] : given->options) {
        if (option == "home") line.home = value;
        else if (option == "lang") line.languages = value;
        else if (option == "out") line.out = value;
        else if (value == "txt") line.format = OcrFormat::Text;  // the rest are --format
        else if (value == "fodt") line.format = OcrFormat::Document;
        else if (value == "pdf") line.format = OcrFormat::Pdf;
        else {
            error = "--format takes txt, fodt or pdf";
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
