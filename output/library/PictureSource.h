#pragma once
// Which file an entry's thumbnail is made from. A PDF has no picture of its own: the PDF
// writer leaves a small JPEG of its first page in temp/temp/ of the program folder, named
// after the PDF up to its first dot ("a.b.pdf" takes "a.jpg").

#include <filesystem>
#include <string>

namespace vestrel::library {

// The thumbnail of a name whose last three characters are exactly "pdf" (lower case only)
// comes from the scratch JPEG.
bool TakesPdfThumbnail(const std::string& name);

// temp/temp/<name up to its first dot>.jpg of the program folder.
std::filesystem::path PdfThumbnailFile(const std::string& name);

// The scratch JPEG of a PDF entry when it exists, otherwise the file itself (a PDF then
// gives no picture); every other entry is `photoDir` + name.
std::filesystem::path PictureSource(const std::string& photoDir, const std::string& name);

}  // namespace vestrel::library
