// dovi-bench-viewer: the viewer's pixel operations, timed on a picture already
// in memory (no decoding or encoding), for bench/viewer_ops.sh to hold against
// ImageMagick's nearest equivalents on the same pixels.
//
//   dovi-bench-viewer shrink IN.rgb W H OUT.rgb OW OH
//       resamples a raw 8-bit RGB picture to OW x OH (how the 12 MP photo is
//       made from the 50 MP one)
//   dovi-bench-viewer list W H
//       one line per operation: name <TAB> repeats <TAB> ImageMagick's
//       arguments for a W x H picture ("-" when it has no equivalent)
//   dovi-bench-viewer run IN.rgb W H [--rounds N] [--only NAME,...] [--bands N]
//       one line per operation (medians; cpu_ms is the CPU time of all threads):
//       name ms=<wall> cpu_ms=<cpu> runs=<a/b/c> out=<WxH> [trial_ms=<wall>]
//       --bands 1 keeps everything on one thread
//       trial_ms, for the slider operations, is what one move of a dialog's
//       slider costs: the engine's undo plus the operation with a new amount.
#include "imaging/ImagingEngine.h"
#include "imaging/ops/Effects.h"
#include "imaging/ops/Filters.h"
#include "imaging/ops/Geometry.h"
#include "imaging/ops/Parallel.h"
#include "imaging/ops/Resample.h"
#include "imaging/ops/Rotate.h"
#include "imaging/ops/Tone.h"

#include <QImage>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <functional>
#include <string>
#include <vector>

namespace {

namespace ops = dovi::imaging::ops;
using dovi::imaging::ImagingEngine;
using Clock = std::chrono::steady_clock;

struct Operation {
    const char* name;
    std::function<QImage(const QImage&)> run;
    // ImageMagick's nearest equivalent for a w x h picture; empty: none.
    std::function<std::string(int w, int h)> magick;
    // A slider trial through the engine with the given slider position.
    std::function<bool(ImagingEngine&, int)> trial;
    // How many times ImageMagick repeats the arguments in one timed call:
    // operations that take a few tens of milliseconds and keep the size, so
    // their time stands out from the noise of reading the picture.
    int magickRepeat = 1;
};

template <typename... Args> std::string fmt(const char* format, Args... args) {
    char buffer[256];
    std::snprintf(buffer, sizeof buffer, format, args...);
    return buffer;
}

// The amounts are mid-range slider positions; ImageMagick's arguments ask for
// the same effect as nearly as its options allow.
std::vector<Operation> operations() {
    auto fixed = [](const char* args) { return [args](int, int) { return std::string(args); }; };
    return {
        {"brightness", [](const QImage& i) { return ops::brightness(i, 40); },
         fixed("-brightness-contrast 40x0"),
         [](ImagingEngine& e, int v) { return e.brightness(v); }, 3},
        {"contrast", [](const QImage& i) { return ops::contrast(i, 40); },
         fixed("-brightness-contrast 0x40"), [](ImagingEngine& e, int v) { return e.contrast(v); },
         3},
        // Unsharp mask with a 1-pixel sigma.
        {"sharpen", [](const QImage& i) { return ops::sharpen(i, 5); }, fixed("-sharpen 0x1"),
         [](ImagingEngine& e, int v) { return e.sharpen(1 + v % 10); }},
        // Gaussian of sigma 0.4 * amount: 2 pixels at 5.
        {"soften", [](const QImage& i) { return ops::soften(i, 5); }, fixed("-blur 0x2"),
         [](ImagingEngine& e, int v) { return e.soften(1 + v % 10); }},
        // Half of a copy blurred with sigma 8 (the sigma at both sizes here).
        {"blend", [](const QImage& i) { return ops::blend(i, 50); },
         fixed("( +clone -blur 0x8 ) -compose blend -define compose:args=50 -composite"),
         [](ImagingEngine& e, int v) { return e.blend(v); }},
        // Hue +40 degrees is modulate's 100 + 40 / 1.8.
        {"hsl", [](const QImage& i) { return ops::adjustHSL(i, 40, -20, 10); },
         fixed("-modulate 110,80,122.2"),
         [](ImagingEngine& e, int v) { return e.adjustHSL(v, -20, 10); }, 2},
        {"rgb", [](const QImage& i) { return ops::adjustRGB(i, 10, -20, 30); },
         fixed("-channel R -evaluate add 10% -channel G -evaluate subtract 20% "
               "-channel B -evaluate add 30% +channel"),
         [](ImagingEngine& e, int v) { return e.adjustRGB(v, -20, 30); }, 3},
        {"buttonize", [](const QImage& i) { return ops::buttonize(i, true, 5, 50); },
         fixed("-raise 5x5"), [](ImagingEngine& e, int v) { return e.buttonize(1, 5, v); }, 3},
        {"autocontrast", ops::autoContrast, fixed("-contrast-stretch 0.5%x0.5%"), {}, 3},
        {"emboss", ops::emboss, fixed("-emboss 1"), {}, 2},
        {"median", ops::median, fixed("-median 3"), {}},
        {"dilate", ops::dilate, fixed("-morphology Dilate Square:1"), {}, 2},
        {"negative", ops::negate, fixed("-negate"), {}, 5},
        {"flip", ops::flip, fixed("-flip"), {}, 5},
        {"mirror", ops::mirror, fixed("-flop"), {}, 5},
        {"rotate45",
         [](const QImage& i) { return ops::rotate(i, 45); },
         fixed("-background black -rotate 45"),
         {}},
        {"rotate90",
         [](const QImage& i) { return ops::rotate(i, 90); },
         fixed("-rotate 90"),
         {},
         3},
        // The far (bottom) edge at half width, centred, sampled bilinearly.
        {"perspective",
         [](const QImage& i) { return ops::perspective(i, 0, 100); },
         [](int w, int h) {
             return fmt("-virtual-pixel black -background black -interpolate Bilinear "
                        "-filter Point -distort Perspective "
                        "0,0,0,0,%d,0,%d,0,0,%d,%d,%d,%d,%d,%d,%d",
                        w, w, h, w / 4, h, w, h, w - w / 4, h);
         },
         {}},
        {"half",
         [](const QImage& i) { return ops::resample(i, i.width() / 2, i.height() / 2); },
         [](int w, int h) { return fmt("-filter Lanczos -resize %dx%d!", w / 2, h / 2); },
         {}},
    };
}

bool readRaw(const char* path, int w, int h, QImage& out) {
    FILE* f = std::fopen(path, "rb");
    if (!f)
        return false;
    out = QImage(w, h, QImage::Format_RGB32);
    std::vector<unsigned char> line(std::size_t(w) * 3);
    bool ok = !out.isNull();
    for (int y = 0; ok && y < h; ++y) {
        ok = std::fread(line.data(), 1, line.size(), f) == line.size();
        auto* px = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; ok && x < w; ++x)
            px[x] = qRgb(line[std::size_t(x) * 3], line[std::size_t(x) * 3 + 1],
                         line[std::size_t(x) * 3 + 2]);
    }
    std::fclose(f);
    return ok;
}

bool writeRaw(const char* path, const QImage& img) {
    FILE* f = std::fopen(path, "wb");
    if (!f)
        return false;
    std::vector<unsigned char> line(std::size_t(img.width()) * 3);
    bool ok = true;
    for (int y = 0; ok && y < img.height(); ++y) {
        const auto* px = reinterpret_cast<const QRgb*>(img.constScanLine(y));
        for (int x = 0; x < img.width(); ++x) {
            line[std::size_t(x) * 3] = std::uint8_t(qRed(px[x]));
            line[std::size_t(x) * 3 + 1] = std::uint8_t(qGreen(px[x]));
            line[std::size_t(x) * 3 + 2] = std::uint8_t(qBlue(px[x]));
        }
        ok = std::fwrite(line.data(), 1, line.size(), f) == line.size();
    }
    return std::fclose(f) == 0 && ok;
}

double cpuMs() {
    timespec ts{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return ts.tv_sec * 1e3 + ts.tv_nsec / 1e6;
}

double msSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    const std::size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

bool wanted(const std::string& only, const char* name) {
    if (only.empty())
        return true;
    const std::string list = "," + only + ",";
    return list.find("," + std::string(name) + ",") != std::string::npos;
}

int run(const QImage& src, int rounds, const std::string& only) {
    long long sink = 0; // keeps results observable
    for (const Operation& op : operations()) {
        if (!wanted(only, op.name))
            continue;
        std::vector<double> times, cpu;
        QSize size;
        for (int r = 0; r < rounds; ++r) {
            const double c0 = cpuMs();
            const auto t0 = Clock::now();
            const QImage out = op.run(src);
            times.push_back(msSince(t0));
            cpu.push_back(cpuMs() - c0);
            if (out.isNull()) {
                std::fprintf(stderr, "%s failed\n", op.name);
                return 1;
            }
            size = out.size();
            sink += out.constScanLine(out.height() / 2)[0];
        }
        std::string runs;
        for (const double t : times)
            runs += (runs.empty() ? "" : "/") + fmt("%d", int(t + 0.5));
        std::printf("%s ms=%.1f cpu_ms=%.1f runs=%s out=%dx%d", op.name, median(times), median(cpu),
                    runs.c_str(), size.width(), size.height());
        if (op.trial) {
            // As a dialog does it: the first move applies, every later one
            // undoes the previous trial and applies the new amount.
            ImagingEngine engine;
            dovi::imaging::Image image;
            image.pixels = src;
            engine.setImage(image);
            op.trial(engine, 10);
            std::vector<double> trials;
            for (int r = 0; r < rounds; ++r) {
                const auto t0 = Clock::now();
                engine.undo();
                op.trial(engine, 20 + 7 * r);
                trials.push_back(msSince(t0));
            }
            std::printf(" trial_ms=%.1f", median(trials));
        }
        std::printf("\n");
        std::fflush(stdout);
    }
    std::fprintf(stderr, "check %lld\n", sink % 1000);
    return 0;
}

int usage() {
    std::fprintf(stderr,
                 "usage: dovi-bench-viewer shrink IN.rgb W H OUT.rgb OW OH\n"
                 "       dovi-bench-viewer list W H\n"
                 "       dovi-bench-viewer run IN.rgb W H [--rounds N] [--only A,B] [--bands N]\n");
    return 2;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2)
        return usage();
    const std::string mode = argv[1];
    if (mode == "list" && argc == 4) {
        const int w = std::atoi(argv[2]), h = std::atoi(argv[3]);
        for (const Operation& op : operations())
            std::printf("%s\t%d\t%s\n", op.name, op.magickRepeat,
                        op.magick ? op.magick(w, h).c_str() : "-");
        return 0;
    }
    if (mode == "shrink" && argc == 8) {
        QImage src;
        if (!readRaw(argv[2], std::atoi(argv[3]), std::atoi(argv[4]), src)) {
            std::fprintf(stderr, "cannot read %s\n", argv[2]);
            return 1;
        }
        const QImage out = ops::resample(src, std::atoi(argv[6]), std::atoi(argv[7]));
        return !out.isNull() && writeRaw(argv[5], out) ? 0 : 1;
    }
    if (mode == "run" && argc >= 5) {
        int rounds = 5, bands = 0;
        std::string only;
        for (int i = 5; i < argc; ++i) {
            if (std::strcmp(argv[i], "--rounds") == 0 && i + 1 < argc)
                rounds = std::max(1, std::atoi(argv[++i]));
            else if (std::strcmp(argv[i], "--only") == 0 && i + 1 < argc)
                only = argv[++i];
            else if (std::strcmp(argv[i], "--bands") == 0 && i + 1 < argc)
                bands = std::atoi(argv[++i]);
            else
                return usage();
        }
        QImage src;
        if (!readRaw(argv[2], std::atoi(argv[3]), std::atoi(argv[4]), src)) {
            std::fprintf(stderr, "cannot read %s\n", argv[2]);
            return 1;
        }
        if (bands > 0) {
            const ops::ScopedBands scoped(bands);
            return run(src, rounds, only);
        }
        return run(src, rounds, only);
    }
    return usage();
}
