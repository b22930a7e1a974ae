#include "PdfDocument.h"

#include "ImageEmbedding.h"

#include <cstdio>
#include <exception>

namespace vestrel::pdf {
namespace {

// A page that never got a size (no image fitted) falls back to A4.
constexpr double kFallbackWidth = 595;
constexpr double kFallbackHeight = 842;
// PDF viewers refuse pages beyond this many points.
constexpr double kLargestPage = 14400;

}  // namespace

PdfDocument::~PdfDocument()
{
    // A document left open is finished rather than lost.
    if (file_.isOpen())
        end_document();
}

bool PdfDocument::fail(const std::string& message)
{
    error_ = message;
    return false;
}

bool PdfDocument::set_parameter(const std::string& key, const std::string& value)
{
    if (key == "errorpolicy")
        return value == "return" || fail("only the error policy \"return\" is supported");
    if (key == "hypertextencoding")
        return true;  // texts are always UTF-8 here
    return fail("unknown parameter " + key);
}

int PdfDocument::begin_document(const std::filesystem::path& path, const std::string&)
{
    if (file_.isOpen()) {
        fail("a document is already open");
        return -1;
    }
    if (!file_.create(path)) {
        fail("cannot create " + path.string());
        return -1;
    }
    catalogObject_ = file_.reserve();
    pagesObject_ = file_.reserve();
    infoObject_ = file_.reserve();
    infoChanged_ = true;
    committedOnce_ = false;
    images_.clear();
    pages_.clear();
    page_ = Page{};
    fontObject_ = 0;
    error_.clear();
    return 1;
}

bool PdfDocument::set_info(const std::string& key, const std::string& value)
{
    static const char* const kKeys[] = {"Creator", "Author", "Title", "Subject", "Keywords",
                                        "Producer"};
    for (const char* known : kKeys)
        if (key == known) {
            info_[key] = value;
            infoChanged_ = true;
            return true;
        }
    return fail("unknown document info key " + key);
}

int PdfDocument::load_image(const std::string& type, const std::filesystem::path& path,
                            const std::string&)
{
    if (!file_.isOpen()) {
        fail("no document is open");
        return -1;
    }
    if (type != "auto") {
        fail("image type must be \"auto\"");
        return -1;
    }
    try {
        const auto embedded = embedImage(file_, path, error_);
        if (!embedded) {
            error_ = path.string() + ": " + error_;
            return -1;
        }
        const int handle = nextImage_++;
        images_[handle] = Image{embedded->object, embedded->widthPt, embedded->heightPt};
        return handle;
    } catch (const std::exception& e) {
        fail(path.string() + ": " + e.what());
        return -1;
    }
}

bool PdfDocument::begin_page_ext(double width, double height, const std::string&)
{
    if (!file_.isOpen())
        return fail("no document is open");
    if (page_.open)
        return fail("a page is already open");
    page_ = Page{};
    page_.open = true;
    page_.width = width;
    page_.height = height;
    return true;
}

bool PdfDocument::fit_image(int image, double x, double y, const std::string& options)
{
    if (!page_.open)
        return fail("no page is open");
    const auto found = images_.find(image);
    if (found == images_.end())
        return fail("no such image handle");
    const Image& placed = found->second;
    if (options == "adjustpage") {
        page_.width = x + placed.widthPt;
        page_.height = y + placed.heightPt;
    } else if (!options.empty()) {
        return fail("unsupported fit option " + options);
    }
    page_.images[image] = placed.object;
    page_.placements[image] = Page::Placement{x, y, placed.widthPt, placed.heightPt};
    page_.content += "q " + pdfNumber(placed.widthPt) + " 0 0 " + pdfNumber(placed.heightPt) + " " +
                     pdfNumber(x) + " " + pdfNumber(y) + " cm /Im" + std::to_string(image) +
                     " Do Q\n";
    return true;
}

bool PdfDocument::close_image(int image)
{
    // The object is on disk already; a page that placed it keeps referring to it.
    return images_.erase(image) == 1 || fail("no such image handle");
}

std::string PdfDocument::infoDictionary() const
{
    std::string dictionary = "<<";
    for (const auto& [key, value] : info_)
        dictionary += "/" + key + " " + pdfTextString(value) + " ";
    return dictionary + ">>";
}

std::string PdfDocument::trailerEntries() const
{
    return "/Root " + std::to_string(catalogObject_) + " 0 R /Info " +
           std::to_string(infoObject_) + " 0 R";
}

void PdfDocument::writeDocumentObjects()
{
    // The page tree is rewritten whole with each update: a few bytes per page.
    std::string kids;
    for (int page : pages_)
        kids += std::to_string(page) + " 0 R ";
    file_.writeObject(pagesObject_, "<</Type /Pages /Kids [" + kids + "] /Count " +
                                        std::to_string(pages_.size()) + ">>");
    if (!committedOnce_)
        file_.writeObject(catalogObject_, "<</Type /Catalog /Pages " +
                                              std::to_string(pagesObject_) + " 0 R>>");
    if (infoChanged_) {
        file_.writeObject(infoObject_, infoDictionary());
        infoChanged_ = false;
    }
    committedOnce_ = file_.commit(trailerEntries()) || committedOnce_;
}

bool PdfDocument::end_page_ext(const std::string&)
{
    if (!page_.open)
        return fail("no page is open");
    double width = page_.width > 0 ? page_.width : kFallbackWidth;
    double height = page_.height > 0 ? page_.height : kFallbackHeight;
    width = width > kLargestPage ? kLargestPage : width;
    height = height > kLargestPage ? kLargestPage : height;

    const int contentObject = file_.reserve();
    file_.writeStream(contentObject, "", reinterpret_cast<const std::uint8_t*>(page_.content.data()),
                      page_.content.size());
    std::string xobjects;
    for (const auto& [handle, object] : page_.images)
        xobjects += "/Im" + std::to_string(handle) + " " + std::to_string(object) + " 0 R ";
    const std::string fonts =
        page_.hasText ? "/Font <</F0 " + std::to_string(fontObject_) + " 0 R>> " : "";
    const int pageObject = file_.reserve();
    file_.writeObject(pageObject,
                      "<</Type /Page /Parent " + std::to_string(pagesObject_) +
                          " 0 R /MediaBox [0 0 " + pdfNumber(width) + " " + pdfNumber(height) +
                          "] /Resources <</XObject <<" + xobjects + ">> " + fonts +
                          "/ProcSet [/PDF /Text /ImageB /ImageC /ImageI]>> /Contents " +
                          std::to_string(contentObject) + " 0 R>>");
    pages_.push_back(pageObject);
    page_ = Page{};
    writeDocumentObjects();
    return file_.good() || fail("writing the page failed");
}

bool PdfDocument::end_document(const std::string&)
{
    if (!file_.isOpen())
        return fail("no document is open");
    if (page_.open)
        end_page_ext();
    // A document without pages, or with info set after the last page, still needs its
    // final update.
    if (!committedOnce_ || infoChanged_)
        writeDocumentObjects();
    const bool written = file_.good();
    file_.close();
    images_.clear();
    pages_.clear();
    return written || fail("writing the document failed");
}

}  // namespace vestrel::pdf
