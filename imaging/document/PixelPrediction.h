#pragma once
// How the packed history guesses each byte of a picture from the bytes of the same channel
// around it, and which of its residual streams the difference goes to. Packing and
// unpacking both use these, so they always agree.
//
// Neighbours, in the picture's own row order: w on the left, n above, nw and ne above left
// and right, nn two rows up. Only bytes already known when unpacking are used.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace vestrel::document::prediction {

// Residual streams: flat areas (paper, desk, the filled corners of a turned page), gentle
// shading, and edges and texture. Each is compressed on its own, so each gets a code fitted
// to its own spread of differences: a camera page's noise on flat paper needs far fewer
// bits than the differences along the edges of its print.
constexpr int kStreams = 3;
constexpr int kEdgeStream = 2;
// A row is sorted into the streams in runs of this many pixels: choosing per run rather
// than per byte keeps the unpacking loop as tight as a single predictor's (per byte saves
// well under one percent more).
constexpr std::size_t kRunPixels = 16;

// Where the surroundings are quiet, a plane through the neighbours: its mean of four
// samples keeps the sensor noise of a photographed page from being copied into the guess.
// Not clamped: the differences are taken modulo 256, so a guess a little past 255 (or 0)
// costs what it would clamped, and the unpacking's byte-to-byte chain stays short.
inline int Plane(int w, int n, int nw, int ne) { return (2 * w + 2 * n + ne - nw + 2) >> 2; }

// Along edges the median edge detector, which follows a horizontal or vertical edge
// instead of smearing across it: w + n - nw held between w and n. Written with masks, as
// compilers turn the plain form into branches that a noisy picture mispredicts every few
// bytes (four times slower).
inline int MedianEdge(int w, int n, int nw)
{
    const int low = n ^ ((w ^ n) & -int(w < n));
    const int high = w ^ n ^ low;
    int guess = w + n - nw;
    guess += (low - guess) & -int(guess < low);
    guess -= (guess - high) & -int(guess > high);
    return guess;
}

// The stream of the bytes [from, to) of a row (from >= step), judged from the rows above
// only, so the unpacker knows it before it decodes them: the mean change from left to
// right and from top to bottom there. Sums of byte differences, which the compiler turns
// into a few vector instructions per run.
inline int RunStream(const std::uint8_t* above, const std::uint8_t* aboveAbove, std::size_t from, std::size_t to,
                     std::size_t step)
{
    unsigned total = 0;
    for (std::size_t i = from; i < to; ++i)
        total += unsigned(std::abs(int(above[i]) - int(above[i - step])) + std::abs(int(above[i]) - int(aboveAbove[i])));
    const std::size_t count = to - from;
    return int(total >= 2 * count) + int(total >= 6 * count);
}

// Calls `left[c] = apply(i, prediction)` for the bytes [from, to) of a row (whole pixels
// of `step` bytes, channel c = i % step), with the predictor of `stream`: apply gives the
// byte's value, the left neighbour of the byte one pixel on. `left` starts with the pixel
// before `from`. With a constant step the channel loop unrolls and `left` stays in
// registers, which keeps the unpacking's chain from byte to byte short.
template <class Step, class Apply>
inline void PredictRun(const std::uint8_t* above, std::size_t from, std::size_t to, std::size_t bytes, Step step,
                       int stream, int* left, Apply apply)
{
    if (stream == kEdgeStream) {
        for (std::size_t x = from; x < to; x += step)
            for (std::size_t c = 0; c < step; ++c) {
                const std::size_t i = x + c;
                left[c] = apply(i, MedianEdge(left[c], above[i], above[i - step]));
            }
        return;
    }
    const std::size_t inner = std::min(to, bytes - step);
    for (std::size_t x = from; x < inner; x += step)
        for (std::size_t c = 0; c < step; ++c) {
            const std::size_t i = x + c;
            left[c] = apply(i, Plane(left[c], above[i], above[i - step], above[i + step]));
        }
    for (std::size_t x = std::max(from, inner); x < to; x += step)
        for (std::size_t c = 0; c < step; ++c) {
            const std::size_t i = x + c;
            left[c] = apply(i, Plane(left[c], above[i], above[i - step], above[i]));
        }
}

}  // namespace vestrel::document::prediction
