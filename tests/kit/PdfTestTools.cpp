#include "PdfTestTools.h"

#include <opencv2/imgcodecs.hpp>

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <regex>
#include <sstream>
#include <sys/wait.h>

namespace vestrel::testkit {

CommandResult runCommand(const std::string& command, bool mergeErrors)
{
    CommandResult result;
    std::FILE* pipe = ::popen((mergeErrors ? command + " 2>&1" : command).c_str(), "r");
    if (!pipe)
        return result;
    char buffer[4096];
    std::size_t got = 0;
    while ((got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0)
        result.output.append(buffer, got);
    const int status = ::pclose(pipe);
    result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
}

namespace {
std::string quoted(const std::filesystem::path& path)
{
    return "'" + path.string() + "'";
}
}  // namespace

std::filesystem::path writeJpeg(const std::filesystem::path& path, int width, int height, int dpi)
{
    cv::Mat picture(height, width, CV_8UC3);
    cv::randu(picture, cv::Scalar::all(0), cv::Scalar::all(255));
    std::vector<std::uint8_t> bytes;
    EXPECT_TRUE(cv::imencode(".jpg", picture, bytes));
    // JFIF APP0 right after the start marker: units at 13, densities at 14 and 16.
    EXPECT_EQ(std::string(bytes.begin() + 6, bytes.begin() + 10), "JFIF");
    if (dpi > 0) {
        bytes[13] = 1;
        bytes[14] = std::uint8_t(dpi >> 8);
        bytes[15] = std::uint8_t(dpi);
        bytes[16] = std::uint8_t(dpi >> 8);
        bytes[17] = std::uint8_t(dpi);
    }
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                                std::streamsize(bytes.size()));
    return path;
}

std::filesystem::path writePng(const std::filesystem::path& path, const cv::Mat& picture)
{
    EXPECT_TRUE(cv::imwrite(path.string(), picture));
    return path;
}

std::string readBytes(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::vector<std::pair<double, double>> pageSizes(const std::filesystem::path& pdf)
{
    const auto info = runCommand("pdfinfo -f 1 -l 100000 " + quoted(pdf));
    std::vector<std::pair<double, double>> sizes;
    static const std::regex line(R"(Page\s+\d+ size:\s+([\d.]+) x ([\d.]+) pts)");
    for (std::sregex_iterator it(info.output.begin(), info.output.end(), line), end; it != end;
         ++it)
        sizes.emplace_back(std::stod((*it)[1]), std::stod((*it)[2]));
    return sizes;
}

int pageCount(const std::filesystem::path& pdf)
{
    const auto info = runCommand("pdfinfo " + quoted(pdf));
    std::smatch match;
    static const std::regex pages(R"(Pages:\s+(\d+))");
    return std::regex_search(info.output, match, pages) ? std::stoi(match[1]) : -1;
}

bool qpdfAccepts(const std::filesystem::path& pdf, std::string* report)
{
    const auto check = runCommand("qpdf --check " + quoted(pdf));
    if (report)
        *report = check.output;
    return check.status == 0;
}

std::vector<ListedImage> listImages(const std::filesystem::path& pdf)
{
    // Columns: page num type width height color comp bpc enc interp object ID x-ppi y-ppi
    // size ratio, under two heading lines that do not parse.
    const auto result = runCommand("pdfimages -list " + quoted(pdf));
    EXPECT_EQ(result.status, 0) << result.output;
    std::vector<ListedImage> images;
    std::istringstream lines(result.output);
    std::string line;
    while (std::getline(lines, line)) {
        std::istringstream fields(line);
        std::string num, type, color, comp, bpc, enc, interp, object, id;
        ListedImage image;
        if (!(fields >> image.page >> num >> type >> image.width >> image.height >> color >> comp >> bpc >>
              enc >> interp >> object >> id >> image.xPpi >> image.yPpi))
            continue;
        if (type == "image") images.push_back(image);
    }
    return images;
}

cv::Mat extractImage(const std::filesystem::path& pdf, int imreadFlags)
{
    const auto prefix = pdf.parent_path() / "extracted";
    const auto extracted =
        runCommand("pdfimages -png -f 1 -l 1 " + quoted(pdf) + " " + quoted(prefix));
    EXPECT_EQ(extracted.status, 0) << extracted.output;
    return cv::imread(prefix.string() + "-000.png", imreadFlags);
}

}  // namespace vestrel::testkit
