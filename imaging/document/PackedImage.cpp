#include "PackedImage.h"

#include <zstd.h>

#include <algorithm>
#include <new>

namespace vestrel::document {
namespace {

// zstd's fastest regular level: a camera page packs at several hundred megabytes a second
// and unpacks faster still, which keeps Back and Forward well inside a frame or two.
constexpr int kLevel = 1;
// Rows are differenced and fed to the compressor a band at a time, so packing needs no
// second full-size buffer.
constexpr int kBandRows = 32;

[[noreturn]] void OutOfMemory() { throw std::bad_alloc(); }

// One row as differences to a prediction of each byte from the same channel of the pixel
// on its left and the pixel above: their mean (the first row uses the left pixel only,
// the first pixel of a row the one above). On a photographed page the mean of two
// neighbours guesses better than either, noise included. Unsigned arithmetic wraps, which
// keeps it lossless.
void DifferenceRow(const std::uint8_t* row, const std::uint8_t* above, std::uint8_t* out,
                   std::size_t bytes, std::size_t step)
{
    const std::size_t head = std::min(step, bytes);
    if (!above) {
        for (std::size_t i = 0; i < head; ++i) out[i] = row[i];
        for (std::size_t i = step; i < bytes; ++i) out[i] = std::uint8_t(row[i] - row[i - step]);
        return;
    }
    for (std::size_t i = 0; i < head; ++i) out[i] = std::uint8_t(row[i] - above[i]);
    for (std::size_t i = step; i < bytes; ++i)
        out[i] = std::uint8_t(row[i] - ((unsigned(row[i - step]) + above[i]) >> 1));
}

void UndoDifferences(std::uint8_t* row, const std::uint8_t* above, std::size_t bytes, std::size_t step)
{
    const std::size_t head = std::min(step, bytes);
    if (!above) {
        for (std::size_t i = step; i < bytes; ++i) row[i] = std::uint8_t(row[i] + row[i - step]);
        return;
    }
    for (std::size_t i = 0; i < head; ++i) row[i] = std::uint8_t(row[i] + above[i]);
    for (std::size_t i = step; i < bytes; ++i)
        row[i] = std::uint8_t(row[i] + ((unsigned(row[i - step]) + above[i]) >> 1));
}

struct CompressContext {
    ZSTD_CCtx* context = ZSTD_createCCtx();
    ~CompressContext() { ZSTD_freeCCtx(context); }
};

// Compresses `rows` rows of `rowBytes` each; `prepare` writes row y into the band buffer.
template <class PrepareRow>
std::vector<std::uint8_t> Compress(int rows, std::size_t rowBytes, PrepareRow prepare)
{
    CompressContext cc;
    if (!cc.context) OutOfMemory();
    ZSTD_CCtx_setParameter(cc.context, ZSTD_c_compressionLevel, kLevel);
    const std::size_t total = rowBytes * std::size_t(rows);
    ZSTD_CCtx_setPledgedSrcSize(cc.context, total);
    std::vector<std::uint8_t> out(ZSTD_compressBound(total));
    std::vector<std::uint8_t> band(rowBytes * kBandRows);
    ZSTD_outBuffer output{out.data(), out.size(), 0};
    for (int y = 0; y < rows; y += kBandRows) {
        const int count = std::min(kBandRows, rows - y);
        for (int i = 0; i < count; ++i) prepare(y + i, band.data() + rowBytes * std::size_t(i));
        const bool last = y + count >= rows;
        ZSTD_inBuffer input{band.data(), rowBytes * std::size_t(count), 0};
        std::size_t left = 0;
        do {
            left = ZSTD_compressStream2(cc.context, &output, &input, last ? ZSTD_e_end : ZSTD_e_continue);
            // The output holds the bound, so only a lack of memory can stop the compressor.
            if (ZSTD_isError(left)) OutOfMemory();
        } while (last ? left != 0 : input.pos < input.size);
    }
    out.resize(output.pos);
    out.shrink_to_fit();
    return out;
}

std::vector<std::uint8_t> CompressPlane(const cv::Mat& plane)
{
    if (plane.empty()) return {};
    const std::size_t rowBytes = std::size_t(plane.cols) * plane.elemSize();
    return Compress(plane.rows, rowBytes, [&](int y, std::uint8_t* out) {
        std::copy_n(plane.ptr<std::uint8_t>(y), rowBytes, out);
    });
}

// Decompresses into a new plane of the given size and type; the bytes were made by this
// class, so a size that does not match can only mean memory trouble.
cv::Mat DecompressPlane(const std::vector<std::uint8_t>& packed, int width, int height, int type)
{
    if (packed.empty()) return {};
    cv::Mat plane(height, width, type);
    const std::size_t bytes = plane.total() * plane.elemSize();
    const std::size_t got = ZSTD_decompress(plane.data, bytes, packed.data(), packed.size());
    if (ZSTD_isError(got) || got != bytes) OutOfMemory();
    return plane;
}

}  // namespace

PackedImage::PackedImage(const CxImage& image)
    : m_width(image.GetWidth()), m_height(image.GetHeight()), m_pixelType(image.Pixels().type())
{
    const cv::Mat& pixels = image.Pixels();
    const std::size_t step = pixels.elemSize();
    const std::size_t rowBytes = std::size_t(pixels.cols) * step;
    m_pixels = Compress(pixels.rows, rowBytes, [&](int y, std::uint8_t* out) {
        DifferenceRow(pixels.ptr<std::uint8_t>(y), y > 0 ? pixels.ptr<std::uint8_t>(y - 1) : nullptr, out,
                      rowBytes, step);
    });
    m_alpha = CompressPlane(image.AlphaMask());
    m_selection = CompressPlane(image.SelectionMask());
    m_description = image.WithPlanes(cv::Mat(1, 1, m_pixelType, cv::Scalar::all(0)), {}, {});
}

std::unique_ptr<CxImage> PackedImage::Unpack() const
{
    cv::Mat pixels = DecompressPlane(m_pixels, m_width, m_height, m_pixelType);
    const std::size_t step = pixels.elemSize();
    const std::size_t rowBytes = std::size_t(pixels.cols) * step;
    for (int y = 0; y < pixels.rows; ++y)
        UndoDifferences(pixels.ptr<std::uint8_t>(y), y > 0 ? pixels.ptr<std::uint8_t>(y - 1) : nullptr, rowBytes,
                        step);
    cv::Mat alpha = DecompressPlane(m_alpha, m_width, m_height, CV_8UC1);
    cv::Mat selection = DecompressPlane(m_selection, m_width, m_height, CV_8UC1);
    return std::make_unique<CxImage>(
        m_description.WithPlanes(std::move(pixels), std::move(alpha), std::move(selection)));
}

std::size_t PackedImage::HeldBytes() const
{
    return sizeof(*this) + m_pixels.capacity() + m_alpha.capacity() + m_selection.capacity() +
           m_description.GetPaletteSize() + 64;
}

}  // namespace vestrel::document
