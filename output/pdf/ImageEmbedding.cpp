#include "ImageEmbedding.h"

#include "CxImage.h"
#include "G4Encoder.h"
#include "JpegHeader.h"

#include <opencv2/imgproc.hpp>
#include <zlib.h>

#include <cstdio>
#include <memory>
#include <vector>

namespace vestrel::pdf {
namespace {

constexpr double kDefaultDpi = 72.0;

double pointsFor(int pixels, double dpi)
{
    return pixels * 72.0 / (dpi > 0 ? dpi : kDefaultDpi);
}

std::string sizeEntries(int width, int height)
{
    return "/Type /XObject /Subtype /Image /Width " + std::to_string(width) + " /Height " +
           std::to_string(height);
}

std::optional<EmbeddedImage> embedJpeg(PdfFile& file, std::FILE* source, std::string& error)
{
    const auto header = readJpegHeader(source);
    if (!header) {
        error = "malformed JPEG header";
        return std::nullopt;
    }
    if (std::fseek(source, 0, SEEK_END) != 0) {
        error = "cannot read the file";
        return std::nullopt;
    }
    const long size = std::ftell(source);
    std::rewind(source);
    std::string dictionary = sizeEntries(header->width, header->height) +
                             " /BitsPerComponent 8 /Filter /DCTDecode /ColorSpace ";
    if (header->components == 1)
        dictionary += "/DeviceGray";
    else if (header->components == 3)
        dictionary += "/DeviceRGB";
    else
        dictionary += header->adobeInverted ? "/DeviceCMYK /Decode [1 0 1 0 1 0 1 0]"
                                            : "/DeviceCMYK";
    const int object = file.reserve();
    if (size <= 0 || !file.writeStreamFromFile(object, dictionary, source, std::uint64_t(size))) {
        error = "the file changed while it was read";
        return std::nullopt;
    }
    return EmbeddedImage{object, pointsFor(header->width, header->xdpi),
                         pointsFor(header->height, header->ydpi)};
}

std::optional<std::vector<std::uint8_t>> deflate(const cv::Mat& rows, std::size_t rowBytes)
{
    std::vector<std::uint8_t> packed;
    z_stream stream{};
    if (deflateInit(&stream, Z_DEFAULT_COMPRESSION) != Z_OK)
        return std::nullopt;
    packed.resize(deflateBound(&stream, uLong(rowBytes * std::size_t(rows.rows))));
    stream.next_out = packed.data();
    stream.avail_out = uInt(packed.size());
    int status = Z_OK;
    for (int y = 0; y < rows.rows && status == Z_OK; ++y) {
        stream.next_in = const_cast<Bytef*>(rows.ptr<Bytef>(y));
        stream.avail_in = uInt(rowBytes);
        status = ::deflate(&stream, y + 1 == rows.rows ? Z_FINISH : Z_NO_FLUSH);
    }
    const bool finished = status == Z_STREAM_END;
    packed.resize(stream.total_out);
    deflateEnd(&stream);
    if (!finished)
        return std::nullopt;
    return packed;
}

// Black-and-white: a 1-bit picture, or a grey one holding only black and white.
std::optional<cv::Mat> blackPixels(const CxImage& image)
{
    if (image.GetBpp() == 1) {
        const auto& palette = image.GetPalette();
        if (palette.size() != 2)
            return std::nullopt;
        auto dark = [](const RGBQUAD& c) { return c.rgbRed + c.rgbGreen + c.rgbBlue < 384; };
        cv::Mat black;
        if (dark(palette[0]) == dark(palette[1])) {
            black = cv::Mat(image.Pixels().size(), CV_8UC1,
                            cv::Scalar(dark(palette[0]) ? 255 : 0));
        } else {
            // The index plane holds 0 or 1: black where the entry is the dark one.
            cv::compare(image.Pixels(), cv::Scalar(dark(palette[0]) ? 0 : 1), black, cv::CMP_EQ);
        }
        return black;
    }
    if (image.GetBpp() != 8 || !image.IsGrayScale())
        return std::nullopt;
    const cv::Mat grey = image.ToGrey();
    cv::Mat between;
    cv::inRange(grey, cv::Scalar(1), cv::Scalar(254), between);
    if (cv::countNonZero(between) != 0)
        return std::nullopt;
    cv::Mat black;
    cv::compare(grey, cv::Scalar(0), black, cv::CMP_EQ);
    return black;
}

std::optional<EmbeddedImage> embedBlackAndWhite(PdfFile& file, const cv::Mat& black,
                                                double widthPt, double heightPt)
{
    const int object = file.reserve();
    const std::string common =
        sizeEntries(black.cols, black.rows) + " /BitsPerComponent 1 /ColorSpace /DeviceGray";
    if (auto g4 = encodeG4(black)) {
        file.writeStream(object,
                         common + " /Filter /CCITTFaxDecode /DecodeParms <</K -1 /Columns " +
                             std::to_string(black.cols) + " /Rows " +
                             std::to_string(black.rows) + ">>",
                         g4->data(), g4->size());
        return EmbeddedImage{object, widthPt, heightPt};
    }
    // Packed rows, 1 = white as DeviceGray reads them.
    const std::size_t rowBytes = std::size_t(black.cols + 7) / 8;
    cv::Mat packed(black.rows, int(rowBytes), CV_8UC1, cv::Scalar(0));
    for (int y = 0; y < black.rows; ++y)
        for (int x = 0; x < black.cols; ++x)
            if (!black.at<std::uint8_t>(y, x))
                packed.at<std::uint8_t>(y, x >> 3) |= std::uint8_t(0x80 >> (x & 7));
    auto data = deflate(packed, rowBytes);
    if (!data)
        return std::nullopt;
    file.writeStream(object, common + " /Filter /FlateDecode", data->data(), data->size());
    return EmbeddedImage{object, widthPt, heightPt};
}

std::optional<EmbeddedImage> embedDecoded(PdfFile& file, const std::filesystem::path& path,
                                          std::string& error)
{
    CxImage image;
    if (!image.Load(path, 0) || !image.IsValid()) {
        error = image.GetLastError().empty() ? "not a readable image" : image.GetLastError();
        return std::nullopt;
    }
    const double widthPt = pointsFor(image.GetWidth(), image.GetXDPI());
    const double heightPt = pointsFor(image.GetHeight(), image.GetYDPI());
    if (auto black = blackPixels(image)) {
        auto embedded = embedBlackAndWhite(file, *black, widthPt, heightPt);
        if (!embedded)
            error = "compression failed";
        return embedded;
    }
    cv::Mat samples;
    std::string colourSpace;
    if (image.GetBpp() <= 8 && image.IsGrayScale()) {
        samples = image.ToGrey();
        colourSpace = "/DeviceGray";
    } else {
        cv::cvtColor(image.ToBgr(), samples, cv::COLOR_BGR2RGB);
        colourSpace = "/DeviceRGB";
    }
    auto data = deflate(samples, std::size_t(samples.cols) * std::size_t(samples.channels()));
    if (!data) {
        error = "compression failed";
        return std::nullopt;
    }
    const int object = file.reserve();
    file.writeStream(object,
                     sizeEntries(samples.cols, samples.rows) +
                         " /BitsPerComponent 8 /ColorSpace " + colourSpace +
                         " /Filter /FlateDecode",
                     data->data(), data->size());
    return EmbeddedImage{object, widthPt, heightPt};
}

}  // namespace

std::optional<EmbeddedImage> embedImage(PdfFile& file, const std::filesystem::path& path,
                                        std::string& error)
{
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> source(std::fopen(path.c_str(), "rb"),
                                                           &std::fclose);
    if (!source) {
        error = "cannot open the file";
        return std::nullopt;
    }
    // A JPEG PDF cannot carry as it is (12-bit samples, ...) is decoded like any other.
    if (looksLikeJpeg(source.get()) && readJpegHeader(source.get()))
        return embedJpeg(file, source.get(), error);
    source.reset();
    return embedDecoded(file, path, error);
}

}  // namespace vestrel::pdf
