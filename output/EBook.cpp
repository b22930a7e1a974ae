#include "EBook.h"

#include "PdfMessages.h"

namespace vestrel::output {

void EBook::start()
{
    finish();
    composing_ = true;
}

bool EBook::addPage(const std::filesystem::path& folder, const std::string& name,
                    const std::filesystem::path& image, Prompter& prompter)
{
    if (!composing_)
        return false;
    if (pageCount_ == 0 && !document_.isOpen()) {
        const std::filesystem::path file = folder / name;
        document_.set_parameter("errorpolicy", "return");
        document_.set_parameter("hypertextencoding", "host");
        if (document_.begin_document(file) == -1) {
            // Counting pages that go nowhere would only hide the loss.
            prompter.message(std::string(kEBookCreateFailed) + file.string(), kPromptCaption,
                             MessageKind::Error);
            finish();
            return false;
        }
        document_.set_info("Creator", kProductShortName);
        document_.set_info("Author", kProductShortName);
        document_.set_info("Title", kPdfTitle);
        path_ = file;
        createdFile_ = file;
    }
    // Later pages start at A4 as they always have; the image then sizes the page.
    const bool first = pageCount_ == 0;
    const int handle = document_.load_image("auto", image);
    if (handle < 0)
        return false;
    document_.begin_page_ext(first ? 0 : 595, first ? 0 : 842);
    document_.fit_image(handle, 0, 0, "adjustpage");
    const bool written = document_.end_page_ext();
    document_.close_image(handle);
    if (written)
        ++pageCount_;
    return written;
}

void EBook::finish()
{
    composing_ = false;
    path_.clear();
    if (document_.isOpen()) {
        document_.end_document();
        // A book whose first scan never made a page leaves no empty file behind.
        if (pageCount_ == 0 && !createdFile_.empty()) {
            std::error_code ignored;
            std::filesystem::remove(createdFile_, ignored);
        }
    }
    createdFile_.clear();
    pageCount_ = 0;
}

}  // namespace vestrel::output
