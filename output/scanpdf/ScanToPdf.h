#pragma once
// Scanning into PDF: a scan in the ".pdf" format becomes a single-page PDF in the photo
// folder, and while an e-book is being composed each scan becomes its next page. The frame
// goes through the same processing chain as a stored scan, into the scratch file
// temp/pdf.jpg; the page is made from that file, a 100 x 100 picture of it is left in
// temp/temp/ for the photo library, and the scratch file is removed.

#include "EBook.h"
#include "Prompter.h"
#include "ScanSeams.h"
#include "ScanState.h"
#include "Settings.h"

#include <ctime>
#include <filesystem>
#include <functional>

namespace vestrel {

class ScanPdfWriter final : public scan::PdfScanWriter {
public:
    ScanPdfWriter(const Settings& settings, scan::ScanState& state, output::EBook& ebook,
                  Prompter& prompter);

    // The local time used for the date stamp (tests fix it).
    void setClock(std::function<std::tm()> clock) { clock_ = std::move(clock); }

    bool writeFrame(const cv::Mat& frame, const std::filesystem::path& pdfPath) override;
    bool composingBook() const override { return ebook_.composing(); }
    int bookPages() const override { return ebook_.pageCount(); }

private:
    const Settings& settings_;
    scan::ScanState& state_;
    output::EBook& ebook_;
    Prompter& prompter_;
    std::function<std::tm()> clock_;
};

}  // namespace vestrel
