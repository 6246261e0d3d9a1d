#include "imaging/ops/Parallel.h"

#include <algorithm>
#include <system_error>
#include <thread>
#include <vector>

namespace dovi::imaging::ops {

namespace {

// Starting a thread costs tens of microseconds; a band should be worth more.
constexpr qint64 kMinPixelsPerBand = qint64(1) << 16;
constexpr int kMaxBands = 64;

// 0: one band per core.
thread_local int tBands = 0;

int bandsFor(int rows, qint64 pixelsPerRow) {
    if (rows <= 1)
        return 1;
    if (tBands > 0)
        return std::min(tBands, rows);
    const int cores = std::clamp(int(std::thread::hardware_concurrency()), 1, kMaxBands);
    const qint64 byWork = qint64(rows) * std::max<qint64>(pixelsPerRow, 1) / kMinPixelsPerBand;
    return int(std::clamp<qint64>(std::min<qint64>(cores, byWork), 1, rows));
}

} // namespace

ScopedBands::ScopedBands(int bands) : previous_(tBands) {
    tBands = std::clamp(bands, 1, kMaxBands);
}

ScopedBands::~ScopedBands() {
    tBands = previous_;
}

namespace detail {

void forEachBand(int rows, qint64 pixelsPerRow, const std::function<void(int, int)>& work) {
    if (rows <= 0)
        return;
    const int bands = bandsFor(rows, pixelsPerRow);
    const auto edge = [&](int band) { return int(qint64(rows) * band / bands); };
    std::vector<std::thread> threads;
    threads.reserve(std::size_t(bands - 1));
    int inlineFrom = bands; // bands no thread could be started for run here
    for (int b = 1; b < bands; ++b) {
        try {
            threads.emplace_back([&work, first = edge(b), end = edge(b + 1)] {
                // Operations a band calls stay on its thread.
                tBands = 1;
                work(first, end);
            });
        } catch (const std::system_error&) {
            inlineFrom = b;
            break;
        }
    }
    work(0, edge(1));
    for (int b = inlineFrom; b < bands; ++b)
        work(edge(b), edge(b + 1));
    for (std::thread& t : threads)
        t.join();
}

} // namespace detail

} // namespace dovi::imaging::ops
