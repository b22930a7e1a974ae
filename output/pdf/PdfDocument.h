#pragma once
// The PDF writer every output of the program goes through, in the call shape the
// program has always used: begin a document, load an image, begin a page, fit the image
// with "adjustpage", close the image, end the page, end the document. Failing calls
// return -1 (or false) and leave the reason in get_errmsg(); nothing throws.
//
// Each finished page is committed to disk as an incremental update, so the file is a
// complete PDF with every page so far even while the document stays open (the e-book),
// and memory does not grow with the pages: images stream to the file as they load.

#include "PdfFile.h"
#include "TextLayer.h"

#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace vestrel::pdf {

class PdfDocument {
public:
    PdfDocument() = default;
    PdfDocument(const PdfDocument&) = delete;
    PdfDocument& operator=(const PdfDocument&) = delete;
    ~PdfDocument();

    // "errorpolicy" accepts only "return" (the only policy there is); other known keys
    // ("hypertextencoding") are accepted and need nothing. False for anything else.
    bool set_parameter(const std::string& key, const std::string& value);
    // 1 on success, -1 when the file cannot be created or a document is already open.
    int begin_document(const std::filesystem::path& path, const std::string& options = {});
    // "Creator", "Author", "Title", "Subject", "Keywords", "Producer"; UTF-8 text.
    bool set_info(const std::string& key, const std::string& value);
    // Image handle (>= 0) or -1. The type must be "auto": the content decides.
    int load_image(const std::string& type, const std::filesystem::path& path,
                   const std::string& options = {});
    // A width or height of 0 means "set by fit_image with adjustpage".
    bool begin_page_ext(double width, double height, const std::string& options = {});
    // Places the image unscaled with its lower-left corner at (x, y). With "adjustpage"
    // the page becomes the image's size plus (x, y).
    bool fit_image(int image, double x, double y, const std::string& options);
    bool close_image(int image);
    // Lays the words of `layer` invisibly over `image` where fit_image placed it on this
    // page (call before close_image). Words with nothing to show are left out.
    bool fit_text_layer(int image, const TextLayer& layer);
    // Writes the page and commits it to disk.
    bool end_page_ext(const std::string& options = {});
    // Completes and closes the file; true when everything reached the disk.
    bool end_document(const std::string& options = {});

    bool isOpen() const { return file_.isOpen(); }
    int pageCount() const { return int(pages_.size()); }
    const std::string& get_errmsg() const { return error_; }

private:
    struct Image {
        int object;
        double widthPt;
        double heightPt;
    };
    struct Page {
        bool open = false;
        double width = 0;
        double height = 0;
        std::string content;
        std::map<int, int> images;  // handle -> object, for the resources
        struct Placement {
            double x, y, width, height;
        };
        std::map<int, Placement> placements;  // where fit_image put each image, points
        bool hasText = false;
    };

    bool fail(const std::string& message);
    std::string infoDictionary() const;
    std::string trailerEntries() const;
    void writeDocumentObjects();
    // The one font of every text layer, written with the first layer.
    int invisibleFont();

    PdfFile file_;
    std::string error_;
    int catalogObject_ = 0;
    int pagesObject_ = 0;
    int infoObject_ = 0;
    bool infoChanged_ = true;
    bool committedOnce_ = false;
    std::map<std::string, std::string> info_;
    std::map<int, Image> images_;
    int nextImage_ = 0;
    int fontObject_ = 0;
    std::vector<int> pages_;  // page objects in order
    Page page_;
};

}  // namespace vestrel::pdf
