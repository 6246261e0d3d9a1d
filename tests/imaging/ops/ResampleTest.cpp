#include "imaging/ops/Resample.h"
#include "imaging/ops/Parallel.h"
#include "imaging/ops/PixelSupport.h"
#include "imaging/ops/Separable.h"
#include "support/ImagingSupport.h"

#include <array>
#include <numbers>
#include <random>

using dovi::imaging::ops::resample;
namespace ops = dovi::imaging::ops;
namespace detail = dovi::imaging::ops::detail;

namespace dovi::test {

namespace {

double lanczos3(double x) {
    const double p = std::numbers::pi * std::abs(x);
    return p < 1e-12 ? 1 : std::abs(x) >= 3 ? 0 : 3 * std::sin(p) * std::sin(p / 3) / (p * p);
}

// Straightforward double-precision Lanczos-3 resampling of premultiplied
// values: same centre alignment, widening and edge renormalisation as the
// engine, but no fixed point, no pre-shrink and no rounding between the
// passes. The result stays premultiplied, as 8-bit channels.
QImage referenceResample(const QImage& src, int w, int h) {
    using Px = std::array<double, 4>;
    int cw = src.width(), ch = src.height();
    std::vector<Px> px;
    for (int y = 0; y < ch; ++y)
        for (int x = 0; x < cw; ++x) {
            const QRgb c = detail::premultiply(src.pixel(x, y));
            px.push_back({double(qRed(c)), double(qGreen(c)), double(qBlue(c)), double(qAlpha(c))});
        }
    const auto pass = [&](int out, bool horizontal) {
        const int n = horizontal ? cw : ch, other = horizontal ? ch : cw;
        const double ratio = double(n) / out, scale = std::max(1.0, ratio), support = 3 * scale;
        std::vector<Px> next(std::size_t(out) * std::size_t(other));
        for (int i = 0; i < out; ++i) {
            const double centre = (i + 0.5) * ratio;
            const int lo = std::max(0, int(std::floor(centre - support + 0.5)));
            const int hi = std::min(n, int(std::floor(centre + support + 0.5)));
            std::vector<double> weight;
            double sum = 0;
            for (int j = lo; j < hi; ++j)
                sum += weight.emplace_back(lanczos3((j + 0.5 - centre) / scale));
            for (int o = 0; o < other; ++o) {
                Px acc{};
                for (int j = lo; j < hi; ++j) {
                    const Px& p = px[std::size_t(horizontal ? o * cw + j : j * cw + o)];
                    for (std::size_t c = 0; c < 4; ++c)
                        acc[c] += p[c] * weight[std::size_t(j - lo)] / sum;
                }
                next[std::size_t(horizontal ? o * out + i : i * cw + o)] = acc;
            }
        }
        px = std::move(next);
        (horizontal ? cw : ch) = out;
    };
    pass(w, true);
    pass(h, false);
    const auto at = [&](int x, int y) {
        const Px& c = px[std::size_t(y * w + x)];
        // Premultiplied colour cannot exceed alpha.
        const int a = std::clamp(int(std::lround(c[3])), 0, 255);
        auto level = [a](double v) { return std::clamp(int(std::lround(v)), 0, a); };
        return qRgba(level(c[0]), level(c[1]), level(c[2]), a);
    };
    return paint(w, h, at, true);
}

QImage premultipliedCopy(const QImage& img) {
    return paint(
        img.width(), img.height(),
        [&](int x, int y) { return detail::premultiply(img.pixel(x, y)); }, true);
}

// Random texture kept to the 50..205 band (alpha 60..200): even the worst
// Lanczos overshoot stays inside 0..255, so clamping never enters and the
// reference needs none between its passes.
QImage texture(int w, int h, bool withAlpha, unsigned seed) {
    std::mt19937 rng(seed);
    std::uniform_int_distribution<int> level(50, 205), alpha(60, 200);
    return paint(
        w, h,
        [&](int x, int y) {
            const int wave = int(60 * std::sin(x * 0.3) * std::cos(y * 0.2));
            return qRgba(128 + wave + level(rng) / 8 - 16, level(rng), (x * 7 + y * 3) % 150 + 50,
                         withAlpha ? alpha(rng) : 255);
        },
        withAlpha);
}

struct Sizes {
    int sw, sh, w, h;
};

} // namespace

// Exact sizes, flat pictures kept flat; no size or picture it cannot make.
TEST(Resample, GivesExactSizesAndKeepsFlatPicturesFlat) {
    const QImage img = makeTestPattern(8, 8);
    for (const QSize s : {QSize(0, 5), QSize(5, 0), QSize(-3, 5), QSize(5, -1),
                          QSize(dovi::imaging::kMaxSide + 1, 1), QSize(20000, 20000)})
        EXPECT_TRUE(resample(img, s.width(), s.height()).isNull())
            << s.width() << "x" << s.height();
    EXPECT_TRUE(resample(QImage(), 4, 4).isNull());
    EXPECT_TRUE(resample(img.convertToFormat(QImage::Format_RGB888), 4, 4).isNull());
    const Sizes cases[] = {
        {40, 30, 1, 1},   {40, 30, 1, 30},      {40, 30, 40, 1},  {1, 1, 7, 5},
        {3, 3, 1000, 1},  {1000, 2, 3, 1},      {2, 1000, 1, 3},  {1001, 999, 10, 9},
        {517, 3, 4, 200}, {300, 200, 299, 201}, {64, 64, 64, 63}, {9, 700, 9, 6},
    };
    for (const bool alpha : {false, true}) {
        const QRgb colour = alpha ? qRgba(37, 200, 91, 128) : qRgb(37, 200, 91);
        const auto flat = [&](int, int) { return colour; };
        for (const auto& c : cases) {
            SCOPED_TRACE(testing::Message() << c.sw << "x" << c.sh << " -> " << c.w << "x" << c.h
                                            << ", alpha " << alpha);
            const QImage out = resample(paint(c.sw, c.sh, flat, alpha), c.w, c.h);
            EXPECT_EQ(out.format(), alpha ? QImage::Format_ARGB32 : QImage::Format_RGB32);
            EXPECT_TRUE(samePixels(paint(c.w, c.h, flat, alpha), out));
        }
    }
}

TEST(Resample, MatchesADoublePrecisionReference) {
    const Sizes cases[] = {
        {64, 48, 40, 30},  // mild reduction
        {50, 50, 37, 61},  // shrink one way, enlarge the other
        {30, 20, 90, 47},  // enlargement
        {120, 90, 35, 31}, // just under the pre-shrink threshold
        {5, 4, 1, 1},
    };
    for (const bool alpha : {false, true}) {
        for (const auto& c : cases) {
            SCOPED_TRACE(testing::Message() << c.sw << "x" << c.sh << " -> " << c.w << "x" << c.h
                                            << ", alpha " << alpha);
            const QImage src = texture(c.sw, c.sh, alpha, unsigned(c.sw * 31 + c.h));
            const QImage out = resample(src, c.w, c.h);
            ASSERT_EQ(out.size(), QSize(c.w, c.h));
            // Compared premultiplied: straight colour of a nearly transparent
            // pixel is legitimately coarse.
            EXPECT_LE(
                maxChannelDifference(referenceResample(src, c.w, c.h), premultipliedCopy(out)), 2);
        }
    }
    // Large reductions go through the box pre-shrink, which the reference
    // does not have: close, not within a level.
    for (const auto& c : {Sizes{400, 300, 50, 40}, Sizes{333, 250, 40, 30}, Sizes{640, 40, 60, 40},
                          Sizes{1000, 13, 1, 1}}) {
        const QImage src = makeTestPattern(c.sw, c.sh);
        EXPECT_GE(
            psnr(referenceResample(src, c.w, c.h), premultipliedCopy(resample(src, c.w, c.h))),
            42.0)
            << c.sw << "x" << c.sh << " -> " << c.w << "x" << c.h;
    }
}

// Every inner loop the processor has gives the portable loops' bytes: for
// resampling taps and for blur taps (whose uniform middle runs through the
// vertical loop), whole or in bands.
TEST(Resample, EveryInnerLoopAndEveryBandingAgree) {
    std::mt19937 rng(5);
    const int sw = 203, sh = 41;
    std::vector<std::uint8_t> src(std::size_t(sw) * sh * 4);
    std::generate(src.begin(), src.end(), [&] { return std::uint8_t(rng()); });
    const detail::RowSource rows = [&](int y) { return src.data() + std::size_t(y) * sw * 4; };
    const struct {
        QSize size;
        detail::Kernel kernel;
    } cases[] = {
        {{17, 9}, detail::lanczos3()},       {{203, 41}, detail::lanczos3()},
        {{420, 77}, detail::lanczos3()},     {{1, 3}, detail::lanczos3()},
        {{101, 40}, detail::lanczos3()},     {{203, 41}, detail::gaussian(1.0)},
        {{203, 41}, detail::gaussian(40.0)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.size.width() << "x" << c.size.height() << " support "
                                        << c.kernel.support);
        const auto h = detail::makeTaps(sw, c.size.width(), c.kernel);
        const auto v = detail::makeTaps(sh, c.size.height(), c.kernel);
        const qsizetype stride = qsizetype(c.size.width()) * 4;
        std::vector<std::uint8_t> portable(std::size_t(stride) * c.size.height());
        detail::filterRows(rows, sh, h, v, 0, v.size(), portable.data(), stride, {},
                           detail::Path::Portable);
        for (const auto path :
             {detail::Path::Fast, detail::Path::Sse2, detail::Path::Avx2, detail::Path::Avx512}) {
            if (!detail::pathAvailable(path))
                continue;
            std::vector<std::uint8_t> out(portable.size());
            detail::filterRows(rows, sh, h, v, 0, v.size(), out.data(), stride, {}, path);
            EXPECT_EQ(out, portable) << "path " << int(path);
        }
        for (const int bands : {2, 7}) {
            const ops::ScopedBands scoped(bands);
            std::vector<std::uint8_t> out(portable.size());
            detail::filterSeparable([&] { return rows; }, sh, h, v, out.data(), stride);
            EXPECT_EQ(out, portable) << bands << " bands";
        }
    }
}

TEST(Resample, PreviewCopiesFitTheBoxWithTheirProportions) {
    const struct {
        QSize picture, box, expected;
    } cases[] = {
        {{8660, 5773}, {800, 600}, {800, 533}}, // wide: the width fills the box
        {{3000, 4000}, {800, 600}, {450, 600}}, // tall
        {{640, 480}, {800, 600}, {640, 480}},   // fits already: kept as it is
        {{10000, 3}, {100, 100}, {100, 1}},     // never below one pixel
        {{1001, 1000}, {500, 500}, {500, 500}},
        {{0, 10}, {100, 100}, {}},
        {{100, 100}, {0, 50}, {}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ops::previewSize(c.picture, c.box), c.expected)
            << c.picture.width() << "x" << c.picture.height();

    const QImage src = makeTestPattern(300, 200, true);
    const QImage preview = ops::previewCopy(src, {120, 120});
    EXPECT_TRUE(samePixels(resample(src, 120, 80), preview));
    EXPECT_TRUE(samePixels(src, ops::previewCopy(src, {300, 400})));
    EXPECT_TRUE(ops::previewCopy(src, {}).isNull());
    EXPECT_TRUE(ops::previewCopy(QImage(), {10, 10}).isNull());
}

} // namespace dovi::test
