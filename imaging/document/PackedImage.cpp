#include "PackedImage.h"

#include "PixelPrediction.h"

#include <zstd.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <future>
#include <new>
#include <system_error>
#include <type_traits>

namespace vestrel::document {
namespace {

// zstd's fastest regular level: a camera page packs at several hundred megabytes a second
// and unpacks faster still, which keeps Back and Forward well inside a frame or two. The
// higher levels hardly shrink prediction residuals, which are mostly literals.
constexpr int kLevel = 1;
// Planes without prediction (alpha, selection) are fed to the compressor a band at a
// time, so packing needs no second full-size buffer.
constexpr int kBandRows = 32;
// The pixels are packed in bands of rows that unpack independently (each band's top row
// is predicted from the left only), so two threads can share the unpacking of a picture.
constexpr int kPixelBandRows = 128;

using prediction::kEdgeStream;
using prediction::kStreams;
using prediction::kRunPixels;
using prediction::PredictRun;
using prediction::RunStream;

[[noreturn]] void OutOfMemory() { throw std::bad_alloc(); }

// One band's residual streams: where each is written while packing, or read while
// unpacking, and how far.
struct Streams {
    std::array<std::uint8_t*, kStreams> data{};
    std::array<std::size_t, kStreams> used{};
};

// The last pixel's bytes while a row is coded: a local array for the common pixel sizes,
// which the compiler keeps in registers (the row's own bytes could alias anything).
template <std::size_t N>
std::array<int, N> LeftPixel(std::integral_constant<std::size_t, N>)
{
    return {};
}
inline std::vector<int> LeftPixel(std::size_t step) { return std::vector<int>(step); }

// Calls `run(from, to, stream)` for the runs of a row after its first pixel.
template <class Run>
void ForEachRun(const std::uint8_t* above, const std::uint8_t* aboveAbove, std::size_t bytes, std::size_t step,
                Run run)
{
    const std::size_t length = kRunPixels * step;
    for (std::size_t from = step; from < bytes; from += length) {
        const std::size_t to = std::min(bytes, from + length);
        run(from, to, RunStream(above, aboveAbove, from, to, step));
    }
}

// One row as differences to the prediction of each byte (unsigned arithmetic wraps, which
// keeps it lossless). `above` is null on a band's top row, which is predicted from the
// left only; `aboveAbove` is `above` on the band's second row. The first pixel of a row
// goes to the edge stream.
template <class Step>
void EncodeRow(const std::uint8_t* row, const std::uint8_t* above, const std::uint8_t* aboveAbove,
               std::size_t bytes, Step step, Streams& out)
{
    std::uint8_t* edge = out.data[kEdgeStream] + out.used[kEdgeStream];
    if (!above) {
        for (std::size_t i = 0; i < step; ++i) edge[i] = row[i];
        for (std::size_t i = step; i < bytes; ++i) edge[i] = std::uint8_t(row[i] - row[i - step]);
        out.used[kEdgeStream] += bytes;
        return;
    }
    auto left = LeftPixel(step);
    for (std::size_t c = 0; c < step; ++c) {
        edge[c] = std::uint8_t(row[c] - above[c]);
        left[c] = row[c];
    }
    out.used[kEdgeStream] += step;
    ForEachRun(above, aboveAbove, bytes, step, [&](std::size_t from, std::size_t to, int stream) {
        std::uint8_t* residual = out.data[stream] + out.used[stream];
        PredictRun(above, from, to, bytes, step, stream, left.data(), [&](std::size_t i, int prediction) {
            residual[i - from] = std::uint8_t(row[i] - prediction);
            return int(row[i]);
        });
        out.used[stream] += to - from;
    });
}

// The inverse of EncodeRow: the row's bytes from the streams.
template <class Step>
void DecodeRow(std::uint8_t* row, const std::uint8_t* above, const std::uint8_t* aboveAbove, std::size_t bytes,
               Step step, Streams& in)
{
    const std::uint8_t* edge = in.data[kEdgeStream] + in.used[kEdgeStream];
    if (!above) {
        for (std::size_t i = 0; i < step; ++i) row[i] = edge[i];
        for (std::size_t i = step; i < bytes; ++i) row[i] = std::uint8_t(edge[i] + row[i - step]);
        in.used[kEdgeStream] += bytes;
        return;
    }
    auto left = LeftPixel(step);
    for (std::size_t c = 0; c < step; ++c) left[c] = row[c] = std::uint8_t(edge[c] + above[c]);
    in.used[kEdgeStream] += step;
    ForEachRun(above, aboveAbove, bytes, step, [&](std::size_t from, std::size_t to, int stream) {
        const std::uint8_t* residual = in.data[stream] + in.used[stream];
        PredictRun(above, from, to, bytes, step, stream, left.data(), [&](std::size_t i, int prediction) {
            const std::uint8_t value = std::uint8_t(residual[i - from] + prediction);
            row[i] = value;
            return int(value);
        });
        in.used[stream] += to - from;
    });
}

// Codes the rows [top, end) of a band with `code(row, above, aboveAbove, bytes, step)`;
// the pixel sizes of our pictures (grey or palette, and colour) get a constant step, any
// other the general loop.
template <class Plane, class Code>
void ForEachBandRow(Plane& plane, int top, int end, Code code)
{
    const std::size_t step = plane.elemSize();
    const std::size_t bytes = std::size_t(plane.cols) * step;
    const auto rows = [&](auto constantStep) {
        for (int y = top; y < end; ++y) {
            const std::uint8_t* above = y > top ? plane.template ptr<std::uint8_t>(y - 1) : nullptr;
            const std::uint8_t* aboveAbove = y > top + 1 ? plane.template ptr<std::uint8_t>(y - 2) : above;
            code(plane.template ptr<std::uint8_t>(y), above, aboveAbove, bytes, constantStep);
        }
    };
    switch (step) {
    case 1: rows(std::integral_constant<std::size_t, 1>()); break;
    case 3: rows(std::integral_constant<std::size_t, 3>()); break;
    default: rows(step); break;
    }
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

struct DecompressContext {
    ZSTD_DCtx* context = ZSTD_createDCtx();
    ~DecompressContext() { ZSTD_freeDCtx(context); }
};

// Appends `bytes` bytes as one zstd frame; returns the frame's size (0 for no bytes).
std::size_t AppendFrame(ZSTD_CCtx* context, std::vector<std::uint8_t>& out, const std::uint8_t* data,
                        std::size_t bytes)
{
    if (bytes == 0) return 0;
    const std::size_t at = out.size();
    out.resize(at + ZSTD_compressBound(bytes));
    const std::size_t written = ZSTD_compressCCtx(context, out.data() + at, out.size() - at, data, bytes, kLevel);
    // The output holds the bound, so only a lack of memory can stop the compressor.
    if (ZSTD_isError(written)) OutOfMemory();
    out.resize(at + written);
    return written;
}

}  // namespace

PackedImage::PackedImage(const CxImage& image)
    : m_width(image.GetWidth()), m_height(image.GetHeight()), m_pixelType(image.Pixels().type())
{
    const cv::Mat& pixels = image.Pixels();
    const std::size_t rowBytes = std::size_t(pixels.cols) * pixels.elemSize();
    CompressContext cc;
    if (!cc.context) OutOfMemory();
    std::array<std::vector<std::uint8_t>, kStreams> streams;
    for (auto& stream : streams) stream.resize(rowBytes * std::size_t(std::min(kPixelBandRows, pixels.rows)));
    m_pixels.reserve(rowBytes * std::size_t(pixels.rows) / 4);
    for (int top = 0; top < pixels.rows; top += kPixelBandRows) {
        Streams writer;
        for (int s = 0; s < kStreams; ++s) writer.data[s] = streams[s].data();
        ForEachBandRow(pixels, top, std::min(pixels.rows, top + kPixelBandRows),
                       [&](const std::uint8_t* row, const std::uint8_t* above, const std::uint8_t* aboveAbove,
                           std::size_t bytes, auto step) {
                           EncodeRow(row, above, aboveAbove, bytes, step, writer);
                       });
        BandStreams band;
        for (int s = 0; s < kStreams; ++s) {
            band.bytes[s] = writer.used[s];
            band.packedBytes[s] = AppendFrame(cc.context, m_pixels, streams[s].data(), writer.used[s]);
        }
        m_bands.push_back(band);
    }
    m_pixels.shrink_to_fit();
    m_alpha = CompressPlane(image.AlphaMask());
    m_selection = CompressPlane(image.SelectionMask());
    m_description = image.WithPlanes(cv::Mat(1, 1, m_pixelType, cv::Scalar::all(0)), {}, {});
}

cv::Mat PackedImage::UnpackPixels() const
{
    cv::Mat pixels(m_height, m_width, m_pixelType);
    std::vector<std::size_t> firstFrame(m_bands.size());
    std::array<std::size_t, kStreams> largest{};
    std::size_t at = 0;
    for (std::size_t b = 0; b < m_bands.size(); ++b) {
        firstFrame[b] = at;
        for (int s = 0; s < kStreams; ++s) {
            at += m_bands[b].packedBytes[s];
            largest[s] = std::max(largest[s], m_bands[b].bytes[s]);
        }
    }
    // Both threads take the next band until none is left: on a busy machine where the
    // helper gets no time, the calling thread simply does more of them.
    std::atomic<std::size_t> nextBand{0};
    auto unpackBands = [&] {
        DecompressContext dc;
        if (!dc.context) OutOfMemory();
        std::array<std::vector<std::uint8_t>, kStreams> streams;
        for (int s = 0; s < kStreams; ++s) streams[s].resize(largest[s]);
        for (std::size_t b; (b = nextBand.fetch_add(1)) < m_bands.size();) {
            const BandStreams& band = m_bands[b];
            Streams reader;
            std::size_t frame = firstFrame[b];
            for (int s = 0; s < kStreams; ++s) {
                if (band.bytes[s] > 0) {
                    // The bytes were made by this class, so a size that does not match can
                    // only mean memory trouble.
                    const std::size_t got = ZSTD_decompressDCtx(dc.context, streams[s].data(), band.bytes[s],
                                                                m_pixels.data() + frame, band.packedBytes[s]);
                    if (ZSTD_isError(got) || got != band.bytes[s]) OutOfMemory();
                }
                frame += band.packedBytes[s];
                reader.data[s] = streams[s].data();
            }
            const int top = int(b) * kPixelBandRows;
            ForEachBandRow(pixels, top, std::min(pixels.rows, top + kPixelBandRows),
                           [&](std::uint8_t* row, const std::uint8_t* above, const std::uint8_t* aboveAbove,
                               std::size_t bytes, auto step) {
                               DecodeRow(row, above, aboveAbove, bytes, step, reader);
                           });
        }
    };
    std::future<void> helper;
    if (m_bands.size() > 1) {
        try {
            helper = std::async(std::launch::async, unpackBands);
        } catch (const std::system_error&) {
            // No thread to be had: this thread unpacks every band.
        }
    }
    unpackBands();
    if (helper.valid()) helper.get();
    return pixels;
}

std::unique_ptr<CxImage> PackedImage::Unpack() const
{
    cv::Mat pixels = UnpackPixels();
    cv::Mat alpha = DecompressPlane(m_alpha, m_width, m_height, CV_8UC1);
    cv::Mat selection = DecompressPlane(m_selection, m_width, m_height, CV_8UC1);
    return std::make_unique<CxImage>(
        m_description.WithPlanes(std::move(pixels), std::move(alpha), std::move(selection)));
}

std::size_t PackedImage::HeldBytes() const
{
    return sizeof(*this) + m_pixels.capacity() + m_bands.capacity() * sizeof(BandStreams) + m_alpha.capacity() +
           m_selection.capacity() + m_description.GetPaletteSize() + 64;
}

}  // namespace vestrel::document
