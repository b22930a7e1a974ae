#pragma once
// Test images on disk and the PDF tools (qpdf, poppler) that judge what we wrote.

#include <opencv2/core.hpp>

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

namespace vestrel::testkit {

struct CommandResult {
    int status = -1;
    std::string output;
};
// Runs `command` through the shell; its standard error joins the output unless the command
// sends it elsewhere itself (`mergeErrors` false).
CommandResult runCommand(const std::string& command, bool mergeErrors = true);

// A noisy colour JPEG; with `dpi` > 0 its JFIF header states that resolution.
std::filesystem::path writeJpeg(const std::filesystem::path& path, int width, int height,
                                int dpi = 0);
std::filesystem::path writePng(const std::filesystem::path& path, const cv::Mat& picture);
std::string readBytes(const std::filesystem::path& path);

// Page sizes in points, from pdfinfo.
std::vector<std::pair<double, double>> pageSizes(const std::filesystem::path& pdf);
int pageCount(const std::filesystem::path& pdf);
// qpdf --check passes without errors or warnings.
bool qpdfAccepts(const std::filesystem::path& pdf, std::string* report = nullptr);
// One row of `pdfimages -list`: the image's pixels and its pixels per inch as placed.
struct ListedImage {
    int page = 0;
    int width = 0, height = 0;
    int xPpi = 0, yPpi = 0;
};
// Every image (not the masks) of the PDF, as `pdfimages -list` lists them.
std::vector<ListedImage> listImages(const std::filesystem::path& pdf);
// The first image of the PDF as poppler decodes it, read with `imreadFlags`.
cv::Mat extractImage(const std::filesystem::path& pdf, int imreadFlags);

}  // namespace vestrel::testkit
