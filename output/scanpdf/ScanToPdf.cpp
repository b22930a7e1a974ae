#include "ScanToPdf.h"

#include "CxImage.h"
#include "PdfConversion.h"
#include "PictureSource.h"
#include "ProcessingChain.h"
#include "ProgramDir.h"
#include "Scanner.h"

#include <system_error>

namespace vestrel {

ScanPdfWriter::ScanPdfWriter(const Settings& settings, scan::ScanState& state,
                             output::EBook& ebook, Prompter& prompter)
    : settings_(settings), state_(state), ebook_(ebook), prompter_(prompter),
      clock_(scan::LocalTimeNow)
{
}

bool ScanPdfWriter::writeFrame(const cv::Mat& frame, const std::filesystem::path& pdfPath)
{
    const std::filesystem::path scratch = programpath::TempDir() / "pdf.jpg";
    std::error_code ignored;
    std::filesystem::create_directories(scratch.parent_path(), ignored);

    // A binarised page stays black and white so that it goes into the PDF as a 1-bit
    // picture of a few kilobytes; every other page is a JPEG at the scan quality.
    const int type = settings_.threshold == 1 ? CXIMAGE_FORMAT_PNG : CXIMAGE_FORMAT_JPG;
    CxImage image;
    const scan::ChainInput input{&settings_, state_.zoomLevel, clock_(), scan::ChainKind::MainCamera};
    if (!scan::ProcessScan(frame.clone(), type, input, image) || !image.Save(scratch, type)) {
        std::filesystem::remove(scratch, ignored);
        return false;
    }

    bool written = false;
    if (ebook_.composing())
        written = ebook_.addPage(pdfPath.parent_path(), pdfPath.filename().string(), scratch, prompter_);
    else
        written = output::writeSinglePagePdf(pdfPath, scratch);
    if (written) {
        // Where the photo library looks for the picture of a PDF.
        const std::filesystem::path thumbnail = library::PdfThumbnailFile(pdfPath.filename().string());
        std::filesystem::create_directories(thumbnail.parent_path(), ignored);
        output::writePdfThumbnail(scratch, thumbnail);
    }
    std::filesystem::remove(scratch, ignored);
    return written;
}

}  // namespace vestrel
