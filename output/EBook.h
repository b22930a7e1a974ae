#pragma once
// The PDF e-book: one document kept open between scans, a page appended per scan. Every
// page is committed to disk as it is added, so the book survives a crash with all pages
// so far, and memory stays flat however long the book grows.

#include "PdfDocument.h"
#include "Prompter.h"

#include <filesystem>
#include <string>

namespace vestrel::output {

class EBook {
public:
    // Finishes a book still open: the pages written stay a complete PDF.
    ~EBook() { finish(); }

    // Starts composing; no file exists until the first page.
    void start();
    // Appends the scan in `image`. The first page opens the book as `folder`/`name`;
    // later names are not used. When the book cannot be created the user is told, the book
    // is finished and false returned; an image that cannot be read adds no page.
    bool addPage(const std::filesystem::path& folder, const std::string& name,
                 const std::filesystem::path& image, Prompter& prompter);
    // Ends the book (completing the file when it has pages) and stops composing.
    void finish();

    bool composing() const { return composing_; }
    int pageCount() const { return pageCount_; }
    // The open book's file; empty when none.
    const std::filesystem::path& path() const { return path_; }

private:
    pdf::PdfDocument document_;
    bool composing_ = false;
    int pageCount_ = 0;
    std::filesystem::path path_;
    std::filesystem::path createdFile_;
};

}  // namespace vestrel::output
