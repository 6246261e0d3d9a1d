// dovi-bench-colours: what the exact colour count adds to opening a picture.
// The detailed list and `dovi-batch measure` decode every file and count its
// colours; this times the two steps apart, file by file, several rounds, and
// keeps each file's median so one noisy moment does not decide the result.
// Both steps run on this one thread, so its CPU time is the cost even when
// other work shares the machine; wall time is printed beside it.
//
// Usage: dovi-bench-colours [--rounds N] FILE...
// Prints one line per file, then a summary whose last lines are
//   wall decode_ms=<sum of medians> count_ms=<sum of medians> ratio=<count/decode>
//   total decode_ms=... count_ms=... ratio=...   (the same in thread CPU time)
#include "imaging/Codecs.h"
#include "imaging/ops/ColourCount.h"

#include <QString>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <string>
#include <utility>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double msSince(Clock::time_point start, Clock::time_point end) {
    return std::chrono::duration<double, std::milli>(end - start).count();
}

double threadCpuMs() {
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return ts.tv_sec * 1e3 + ts.tv_nsec / 1e6;
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    const std::size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

struct FileTimes {
    std::string path;
    double megapixels = 0;
    long long colours = 0;
    std::vector<double> decodeMs; // thread CPU time
    std::vector<double> countMs;
    std::vector<double> decodeWallMs;
    std::vector<double> countWallMs;
};

} // namespace

int main(int argc, char** argv) {
    int rounds = 3;
    std::vector<FileTimes> files;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--rounds") == 0 && i + 1 < argc)
            rounds = std::max(1, std::atoi(argv[++i]));
        else {
            FileTimes f;
            f.path = argv[i];
            files.push_back(std::move(f));
        }
    }
    if (files.empty()) {
        std::fprintf(stderr, "usage: dovi-bench-colours [--rounds N] FILE...\n");
        return 2;
    }

    long long sink = 0; // keeps the count from being optimised away
    for (int r = 0; r < rounds; ++r) {
        for (FileTimes& f : files) {
            const double c0 = threadCpuMs();
            const auto t0 = Clock::now();
            const auto decoded = dovi::imaging::decodeFile(QString::fromLocal8Bit(f.path.c_str()));
            const auto t1 = Clock::now();
            const double c1 = threadCpuMs();
            if (!decoded.ok()) {
                std::fprintf(stderr, "%s: %s\n", f.path.c_str(),
                             decoded.error.toLocal8Bit().constData());
                return 1;
            }
            const long long colours = dovi::imaging::ops::uniqueColours(decoded.image.pixels);
            const auto t2 = Clock::now();
            const double c2 = threadCpuMs();
            sink += colours;
            f.colours = colours;
            f.megapixels = decoded.image.pixels.width() * double(decoded.image.pixels.height()) / 1e6;
            f.decodeMs.push_back(c1 - c0);
            f.countMs.push_back(c2 - c1);
            f.decodeWallMs.push_back(msSince(t0, t1));
            f.countWallMs.push_back(msSince(t1, t2));
        }
    }

    double decodeTotal = 0, countTotal = 0, decodeWall = 0, countWall = 0;
    std::vector<double> ratios;
    for (const FileTimes& f : files) {
        const double d = median(f.decodeMs), c = median(f.countMs);
        decodeTotal += d;
        countTotal += c;
        decodeWall += median(f.decodeWallMs);
        countWall += median(f.countWallMs);
        ratios.push_back(c / d);
        std::printf("file %s mp=%.1f colours=%lld cpu decode_ms=%.2f count_ms=%.2f ratio=%.3f\n",
                    f.path.c_str(), f.megapixels, f.colours, d, c, c / d);
    }
    std::sort(ratios.begin(), ratios.end());
    std::printf("per-file ratio median=%.3f max=%.3f (files=%zu rounds=%d check=%lld)\n",
                median(ratios), ratios.back(), files.size(), rounds, sink % 1000);
    std::printf("wall decode_ms=%.1f count_ms=%.1f ratio=%.3f\n", decodeWall, countWall,
                countWall / decodeWall);
    std::printf("total decode_ms=%.1f count_ms=%.1f ratio=%.3f\n", decodeTotal, countTotal,
                countTotal / decodeTotal);
    return 0;
}
