#include "imaging/ops/Separable.h"

#include "imaging/ops/Parallel.h"
#include "imaging/ops/SeparableLoops.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <numbers>

namespace dovi::imaging::ops::detail {

namespace {

double lanczos3Weight(double x, double) {
    x = std::abs(x);
    if (x < 1e-9)
        return 1.0;
    if (x >= 3.0)
        return 0.0;
    const double px = std::numbers::pi * x;
    return 3.0 * std::sin(px) * std::sin(px / 3.0) / (px * px);
}

double gaussianWeight(double x, double sigma) {
    return std::exp(-x * x / (2.0 * sigma * sigma));
}

// A run of outputs [begin, end) whose taps are the same, each reading from
// one pixel further on: a blur's outputs away from the picture's edges.
struct UniformRun {
    int begin = 0, end = 0;
};

UniformRun findUniformRun(const Taps& t) {
    UniformRun best;
    const auto weightsOf = [&](int i) {
        return t.weights.data() + std::size_t(i) * std::size_t(t.stride);
    };
    for (int i = 1, start = 0; i < t.size(); ++i) {
        const std::size_t a = std::size_t(i - 1), b = std::size_t(i);
        const bool continues =
            t.first[b] == t.first[a] + 1 && t.count[b] == t.count[a] &&
            std::equal(weightsOf(i), weightsOf(i) + t.count[b], weightsOf(i - 1));
        if (!continues)
            start = i;
        else if (i + 1 - start > best.end - best.begin)
            best = {start, i + 1};
    }
    return best;
}

struct Loops {
    loops::Horizontal horizontal = loops::horizontalPortable;
    loops::Vertical vertical = loops::verticalPortable;
};

Loops loopsFor(Path path) {
    if (path == Path::Fast)
        path = pathAvailable(Path::Avx512) ? Path::Avx512
                                           : (pathAvailable(Path::Avx2) ? Path::Avx2 : Path::Sse2);
    if (!pathAvailable(path))
        path = Path::Portable;
    Loops l;
#if defined(__SSE2__)
    if (path != Path::Portable) {
        l.horizontal = loops::horizontalSse2;
        l.vertical = path == Path::Avx512 ? loops::verticalAvx512
                     : path == Path::Avx2 ? loops::verticalAvx2
                                          : loops::verticalSse2;
    }
#endif
    return l;
}

// The horizontal pass of one row: outputs of the uniform run through the
// vertical loop (the source row shifted by one pixel per tap stands in for
// the rows), whole blocks of them at a time; the rest pixel by pixel.
void horizontalRow(const Loops& l, const std::uint8_t* in, const Taps& h, const UniformRun& run,
                   std::vector<const std::uint8_t*>& shifted, std::uint8_t* out) {
    constexpr int kPixelsPerBlock = int(loops::kRowBlock / 4);
    const int blocks = (run.end - run.begin) / kPixelsPerBlock;
    if (blocks == 0) {
        l.horizontal(in, h, 0, h.size(), out);
        return;
    }
    const int begin = run.begin, end = begin + blocks * kPixelsPerBlock;
    const int taps = h.count[std::size_t(begin)];
    for (int k = 0; k < taps; ++k)
        shifted[std::size_t(k)] = in + std::size_t(h.first[std::size_t(begin)] + k) * 4;
    const std::size_t bytes = std::size_t(end - begin) * 4;
    l.horizontal(in, h, 0, begin, out);
    l.vertical(shifted.data(), h.weights.data() + std::size_t(begin) * std::size_t(h.stride), taps,
               bytes, bytes, out + std::size_t(begin) * 4);
    l.horizontal(in, h, end, h.size(), out + std::size_t(end) * 4);
}

} // namespace

Kernel lanczos3() {
    return {lanczos3Weight, 0.0, 3.0};
}

Kernel gaussian(double sigma) {
    sigma = std::max(sigma, 0.05);
    return {gaussianWeight, sigma, std::max(1.0, 3.0 * sigma)};
}

Taps makeTaps(int original, int outSize, const Kernel& kernel, int box) {
    Taps t;
    t.first.resize(std::size_t(outSize));
    t.count.resize(std::size_t(outSize));
    const int sourcePixels = (original + box - 1) / box;
    const double ratio = double(original) / outSize;
    const double scale = std::max(1.0, ratio);
    const double support = kernel.support * scale; // in original pixels
    t.stride = std::max(1, int(std::ceil(2.0 * support / box)) + 2);
    t.weights.assign(std::size_t(outSize) * std::size_t(t.stride), 0);

    std::vector<double> wd(std::size_t(t.stride));
    bool identity = box == 1 && original == outSize;
    for (int i = 0; i < outSize; ++i) {
        const double centre = (i + 0.5) * ratio;
        int lo = std::max(0, int(std::floor((centre - support + 0.5) / box)));
        int hi = std::min(sourcePixels, int(std::floor((centre + support + 0.5) / box)) + 1);
        hi = std::min(hi, lo + t.stride);
        double sum = 0.0;
        for (int j = lo; j < hi; ++j) {
            const int begin = j * box, end = std::min(original, begin + box);
            const double mid = (begin + end) / 2.0;
            double& w = wd[std::size_t(j - lo)];
            w = std::abs(mid - centre) < support
                    ? kernel.weight((mid - centre) / scale, kernel.param) * (end - begin)
                    : 0.0;
            sum += w;
        }
        std::int16_t* w = t.weights.data() + std::size_t(i) * std::size_t(t.stride);
        if (hi <= lo || std::abs(sum) < 1e-9) {
            // Nothing usable under the kernel: take the nearest pixel.
            lo = std::clamp(int(centre) / box, 0, sourcePixels - 1);
            t.first[std::size_t(i)] = lo;
            t.count[std::size_t(i)] = 1;
            w[0] = kWeightOne;
            identity = identity && lo == i;
            continue;
        }
        // Round to fixed point, then give the rounding leftover to the largest
        // weight so the weights sum to exactly one.
        int total = 0, biggest = 0;
        for (int j = 0; j < hi - lo; ++j) {
            w[j] = static_cast<std::int16_t>(std::lround(wd[std::size_t(j)] / sum * kWeightOne));
            total += w[j];
            if (w[j] > w[biggest])
                biggest = j;
        }
        w[biggest] = static_cast<std::int16_t>(w[biggest] + (kWeightOne - total));
        // Drop zero weights at both ends.
        int a = 0, b = hi - lo;
        while (a < b - 1 && w[a] == 0)
            ++a;
        while (b - 1 > a && w[b - 1] == 0)
            --b;
        if (a > 0)
            std::memmove(w, w + a, std::size_t(b - a) * sizeof(std::int16_t));
        std::fill(w + (b - a), w + t.stride, std::int16_t(0));
        t.first[std::size_t(i)] = lo + a;
        t.count[std::size_t(i)] = b - a;
        identity = identity && b - a == 1 && lo + a == i;
    }
    t.identity = identity;
    return t;
}

bool pathAvailable(Path path) {
    switch (path) {
    case Path::Fast:
    case Path::Portable:
        return true;
    case Path::Sse2:
#if defined(__SSE2__)
        return true;
#else
        return false;
#endif
    case Path::Avx2:
#if defined(__SSE2__) && (defined(__GNUC__) || defined(__clang__))
        return __builtin_cpu_supports("avx2");
#else
        return false;
#endif
    case Path::Avx512:
#if defined(__SSE2__) && (defined(__GNUC__) || defined(__clang__))
        return __builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512bw");
#else
        return false;
#endif
    }
    return false;
}

void filterRows(const RowSource& source, int sourceHeight, const Taps& h, const Taps& v, int first,
                int end, std::uint8_t* dst, qsizetype dstStride, const RowFinish& finish,
                Path path) {
    const Loops l = loopsFor(path);
    const UniformRun run = h.identity ? UniformRun{} : findUniformRun(h);
    std::vector<const std::uint8_t*> shifted(std::size_t(std::max(h.stride, 1)));
    const std::size_t bytes = std::size_t(h.size()) * 4;
    const std::size_t padded = (bytes + loops::kRowBlock - 1) / loops::kRowBlock * loops::kRowBlock;

    // Horizontally filtered source rows, kept in a ring: a source row is
    // filtered when the first output row that reads it comes up and stays
    // until a row ringSize further down takes its place.
    const int ringSize = std::max(1, std::min(v.stride, sourceHeight));
    std::vector<std::uint8_t> ring(padded * std::size_t(ringSize), 0);
    std::vector<int> held(std::size_t(ringSize), -1);
    std::vector<const std::uint8_t*> rows(std::size_t(v.stride));

    for (int y = first; y < end; ++y) {
        const int top = v.first[std::size_t(y)];
        const int taps = v.count[std::size_t(y)];
        for (int k = 0; k < taps; ++k) {
            const int sy = top + k;
            const std::size_t slot = std::size_t(sy % ringSize);
            std::uint8_t* r = ring.data() + slot * padded;
            if (held[slot] != sy) {
                const std::uint8_t* in = source(sy);
                if (h.identity)
                    std::memcpy(r, in, bytes);
                else
                    horizontalRow(l, in, h, run, shifted, r);
                held[slot] = sy;
            }
            rows[std::size_t(k)] = r;
        }
        std::uint8_t* out = dst + qsizetype(y) * dstStride;
        if (v.identity)
            std::memcpy(out, rows[0], bytes);
        else
            l.vertical(rows.data(), v.weights.data() + std::size_t(y) * std::size_t(v.stride), taps,
                       bytes, padded, out);
        if (finish)
            finish(y, out);
    }
}

void filterSeparable(const std::function<RowSource()>& makeSource, int sourceHeight, const Taps& h,
                     const Taps& v, std::uint8_t* dst, qsizetype dstStride, const RowFinish& finish,
                     Path path) {
    // Work per output row: both passes, each about as many taps as it has.
    const qint64 work = qint64(h.size()) * std::max(1, std::min(h.stride, v.stride));
    forEachBand(v.size(), work, [&](int first, int end) {
        filterRows(makeSource(), sourceHeight, h, v, first, end, dst, dstStride, finish, path);
    });
}

} // namespace dovi::imaging::ops::detail
