#include "SearchablePages.h"

#include "CxImage.h"

#include <memory>

namespace vestrel {

pdf::TextLayer ToTextLayer(const ocr::ReadPage& page)
{
    pdf::TextLayer layer;
    layer.imageWidth = page.width;
    layer.imageHeight = page.height;
    layer.words.reserve(page.words.size());
    for (const ocr::PlacedWord& word : page.words)
        layer.words.push_back({word.text, word.x, word.y, word.length, word.height, word.angleDegrees});
    return layer;
}

output::PageTextSource RecognisedPageText(std::string languages)
{
    auto recogniser = std::make_shared<ocr::TextRecogniser>();
    return [recogniser, languages = std::move(languages)](const std::string& image)
               -> std::optional<pdf::TextLayer> {
        if (!recogniser->isOpen() && !recogniser->open(languages)) return std::nullopt;
        CxImage picture;
        if (!picture.Load(image, 0)) return std::nullopt;
        const auto page = ocr::ReadPicture(*recogniser, picture);
        if (!page) return std::nullopt;
        return ToTextLayer(*page);
    };
}

}  // namespace vestrel
