#pragma once
// Opening an entry of the library: a double click opens a PDF with the desktop's PDF
// reader and any other file as the document's image; "查看" always takes the image road.

#include "LibraryHooks.h"
#include "Prompter.h"

#include <string>

namespace vestrel::document {
class CQuorvanDoc;
}

namespace vestrel::library {

// True when the text after the last dot of `name` is exactly "pdf" (an upper-case ".PDF"
// is taken for an image, which then fails to load).
bool OpensAsPdf(const std::string& name);

// The double click. `name` is the entry's text, empty when the click hit no entry (then
// only the ID-card question and the activation of the image view remain). Returns true
// when a file was opened.
bool OpenLibraryEntry(document::CQuorvanDoc& doc, Prompter& prompter, const LibraryHooks& hooks,
                      const std::string& name);

// "查看": the entry's file as the document's image at zoom 1.0. A PDF entry opens in the
// PDF reader as on a double click, since it has no image to show.
bool ViewLibraryEntry(document::CQuorvanDoc& doc, Prompter& prompter, const LibraryHooks& hooks,
                      const std::string& name);

}  // namespace vestrel::library
