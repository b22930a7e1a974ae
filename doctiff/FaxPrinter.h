#pragma once
// The fax printer: prints a document into fax pages the way the fax printer driver did.
// LibreOffice (headless) turns the document into PDF, Ghostscript renders the PDF into
// CCITT G4 pages of 1728 x 2444 dots at 204 x 196 dpi, each PDF page fitted to the fax
// page. The result replaces "tempTolvy.tif" in $TOLVY_ROOT in one rename, then the
// printer's semaphore is posted. Used by the printer program and by the HTML service.
//
// Margins: the old driver printed on paper-sized pages with unprintable borders, so the
// word-processor adapter raised tiny margins to keep text from being cut. Ghostscript
// renders the whole PDF page onto the fax page, border included, so nothing is cut and
// no margin needs raising.

#include <chrono>
#include <string>

namespace vestrel::doctiff {

enum class OfficeKind { Writer, Calc, Impress, Html };

struct PrintJob {
    std::string document;
    OfficeKind kind = OfficeKind::Writer;
    int firstPage = 1;  // pages of the PDF that are printed; lastPage 0 means all
    int lastPage = 0;
    std::chrono::milliseconds officeTimeout{50000};
    std::chrono::milliseconds renderTimeout{30000};
};

// The office kind for a name such as "writer" / "calc" / "impress" / "html".
bool OfficeKindFromName(const std::string& name, OfficeKind& kind);
const char* OfficeKindName(OfficeKind kind);

// document -> PDF in `pdfPath`. Each run has its own LibreOffice profile, removed after.
bool ConvertToPdf(const PrintJob& job, const std::string& pdfPath, std::string& error);
// PDF -> fax TIFF pages in `tiffPath`.
bool RenderFaxPages(const PrintJob& job, const std::string& pdfPath, const std::string& tiffPath,
                    std::string& error);
// The whole print: writes the printed TIFF of $TOLVY_ROOT and posts the semaphore.
bool PrintToFaxPrinter(const PrintJob& job, std::string& error);

}  // namespace vestrel::doctiff
