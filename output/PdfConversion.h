#pragma once
// The two conversions of the composition dialog, as plain functions the dialog runs:
// merge every image into one PDF, or write one PDF per image. Both report progress
// between pages and stop when the callback says so.

#include "Prompter.h"
#include "PdfDocument.h"
#include "TextLayer.h"

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace vestrel::output {

// Called after each image with (images done, images in all); false cancels the job.
using ConversionProgress = std::function<bool(int done, int total)>;

// The words of an image for a searchable page, or nothing when it has none to give
// (recognition failed): the page then holds the picture alone. Called on the conversion's
// thread, one image after another.
using PageTextSource = std::function<std::optional<pdf::TextLayer>(const std::string& image)>;

struct ConversionResult {
    std::vector<std::filesystem::path> written;  // PDF files made
    std::vector<std::string> skipped;            // images that could not be read
    int pages = 0;
    bool cancelled = false;
};

// A typed target name as a file base: cut before its first dot ("report.final" gives
// "report").
std::string targetBaseName(const std::string& typed);
// The default PDF name of an image: its file name cut before the first dot, + ".pdf"
// ("b.c.jpg" gives "b.pdf").
std::string defaultPdfName(const std::filesystem::path& image);

// One PDF `saveFolder`/`name`.pdf of all images in order. Messages: an empty list, an empty
// name, a file that cannot be created, and one message naming every image skipped. The
// pages go to a scratch file beside the target, which replaces the target only once it is
// complete: a cancelled or failed job leaves no half file and an older PDF of that name as
// it was.
ConversionResult mergeToPdf(const std::vector<std::string>& images,
                            const std::filesystem::path& saveFolder, const std::string& name,
                            Prompter& prompter, const ConversionProgress& progress = {},
                            const PageTextSource& text = {});

// One PDF per image: `name`0.pdf, `name`1.pdf ... or, without a name, the default names.
// An output that cannot be created is skipped silently; unreadable images are named in
// one message. Each file is written the same careful way as a merge.
ConversionResult separatePdfs(const std::vector<std::string>& images,
                              const std::filesystem::path& saveFolder,
                              const std::optional<std::string>& name, Prompter& prompter,
                              const ConversionProgress& progress = {},
                              const PageTextSource& text = {});

// Places one image on a page of its own size, with its text layer when `text` gives one;
// false (no page) when the image cannot be read.
bool addImagePage(pdf::PdfDocument& document, const std::string& image,
                  const PageTextSource& text = {});

enum class ConversionKind { Merge, Separate };

// One line on how a job ended, for the composition dialog's status: what was written,
// whether it was cancelled, how many images could not be read.
std::string conversionSummary(ConversionKind kind, const ConversionResult& result);

// A single-page PDF of `image` with the program's document info (scanning straight to
// PDF). False when the file cannot be created or the image cannot be read; nothing is
// left behind then.
bool writeSinglePagePdf(const std::filesystem::path& output, const std::filesystem::path& image);

// The photo library's picture of a scanned PDF: the page image squeezed to 100 x 100
// (nearest pixel, the aspect not kept) as a JPEG.
bool writePdfThumbnail(const std::filesystem::path& image, const std::filesystem::path& thumbnail);

}  // namespace vestrel::output
