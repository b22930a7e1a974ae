#pragma once
// Searchable PDF pages: text recognition lends the PDF conversions the words of each
// image, placed where they stand in it.

#include "PageReading.h"
#include "PdfConversion.h"
#include "TextLayer.h"
#include "TextRecogniser.h"

#include <string>

namespace vestrel {

pdf::TextLayer ToTextLayer(const ocr::ReadPage& page);

// Reads every image it is given in `languages`, with one recogniser loaded on the first
// image and kept for the rest of the job; an image it cannot read gets no text layer.
output::PageTextSource RecognisedPageText(std::string languages = ocr::kDefaultLanguages);

}  // namespace vestrel
