#pragma once
#include <QtGlobal>
#include <cstdint>
#include <functional>
#include <vector>

// The two-pass filter under resample and the blurs: each output column (and
// then each output row) is a weighted sum of a short run of source pixels, the
// weights precomputed once per column/row in fixed point. Internal to ops.
namespace dovi::imaging::ops::detail {

inline constexpr int kWeightBits = 14;
inline constexpr int kWeightOne = 1 << kWeightBits;

// Weights for one axis: output i reads source pixels first[i] ..
// first[i] + count[i] - 1 with weights[i * stride ..]. Weights of each output
// sum to exactly kWeightOne, so a flat picture stays flat.
struct Taps {
    std::vector<int> first;
    std::vector<int> count;
    std::vector<std::int16_t> weights;
    int stride = 0;
    bool identity = false; // output i is source pixel i, unchanged

    int size() const { return int(first.size()); }
};

struct Kernel {
    double (*weight)(double x, double param);
    double param;
    double support; // weight is 0 for |x| >= support (at scale 1)
};

Kernel lanczos3();
Kernel gaussian(double sigma);

// Taps mapping a source of `original` pixels to outSize pixels. Pixel centres
// are aligned ((i + 0.5) * scale), the kernel is widened by the reduction
// factor when shrinking, and weights falling outside the source are dropped
// and the rest renormalised. With box > 1 the taps read a source already
// averaged over boxes of that many pixels (the last one partial): each box is
// weighed at its true centre and by its true width.
Taps makeTaps(int original, int outSize, const Kernel& kernel, int box = 1);

// Hands out source row y (4 bytes a pixel). Rows are asked for in increasing
// order, each normally once, and a returned row is read before the next call.
using RowSource = std::function<const std::uint8_t*(int y)>;
// Called with each output row as soon as it is written, to finish it in
// place while it is still in the cache.
using RowFinish = std::function<void(int y, std::uint8_t* row)>;

// Which inner loops run: the fastest the processor has, or one in particular
// (tests check they all agree). Asking for one the processor lacks gives the
// portable loops.
enum class Path { Fast, Portable, Sse2, Avx2, Avx512 };
bool pathAvailable(Path path);

// Runs the horizontal then the vertical pass over the four bytes of each pixel
// of a sourceHeight-row source, for output rows [first, end): dst (row 0 of
// the output) receives h.size() pixels in each of those rows.
void filterRows(const RowSource& source, int sourceHeight, const Taps& h, const Taps& v, int first,
                int end, std::uint8_t* dst, qsizetype dstStride, const RowFinish& finish = {},
                Path path = Path::Fast);

// All v.size() output rows, in bands on all cores (see forEachBand); each band
// reads through a source of its own from makeSource.
void filterSeparable(const std::function<RowSource()>& makeSource, int sourceHeight, const Taps& h,
                     const Taps& v, std::uint8_t* dst, qsizetype dstStride,
                     const RowFinish& finish = {}, Path path = Path::Fast);

} // namespace dovi::imaging::ops::detail
