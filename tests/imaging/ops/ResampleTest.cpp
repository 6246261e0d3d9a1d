#include "imaging/ops/Resample.h"
#include "imaging/codecs/CodecTypes.h"
#include "imaging/ops/PixelSupport.h"
#include "imaging/ops/Separable.h"

#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <QString>
#include <array>
#include <cmath>
#include <numbers>
#include <random>
#include <vector>

using dovi::imaging::ops::resample;
namespace detail = dovi::imaging::ops::detail;

namespace {

// Straightforward double-precision Lanczos-3 resampling: same centre
// alignment, widening and edge renormalisation as the engine, no fixed point,
// no pre-shrink, no rounding between the passes. Works on premultiplied values.
struct Planes {
    int w = 0, h = 0;
    std::vector<std::array<double, 4>> px;
    std::array<double, 4>& at(int x, int y) {
        return px[std::size_t(y) * std::size_t(w) + std::size_t(x)];
    }
};

double lanczos3(double x) {
    x = std::abs(x);
    if (x < 1e-12)
        return 1;
    if (x >= 3)
        return 0;
    const double p = std::numbers::pi * x;
    return 3 * std::sin(p) * std::sin(p / 3) / (p * p);
}

Planes resizeAxis(Planes in, int out, bool horizontal) {
    const int n = horizontal ? in.w : in.h;
    Planes r;
    r.w = horizontal ? out : in.w;
    r.h = horizontal ? in.h : out;
    r.px.resize(std::size_t(r.w) * std::size_t(r.h));
    const double ratio = double(n) / out, scale = std::max(1.0, ratio), support = 3 * scale;
    for (int i = 0; i < out; ++i) {
        const double centre = (i + 0.5) * ratio;
        const int lo = std::max(0, int(std::floor(centre - support + 0.5)));
        const int hi = std::min(n, int(std::floor(centre + support + 0.5)));
        std::vector<double> w;
        double sum = 0;
        for (int j = lo; j < hi; ++j) {
            w.push_back(lanczos3((j + 0.5 - centre) / scale));
            sum += w.back();
        }
        const int other = horizontal ? in.h : in.w;
        for (int o = 0; o < other; ++o) {
            std::array<double, 4> acc{};
            for (int j = lo; j < hi; ++j) {
                const auto& p = horizontal ? in.at(j, o) : in.at(o, j);
                for (int c = 0; c < 4; ++c)
                    acc[std::size_t(c)] += p[std::size_t(c)] * w[std::size_t(j - lo)] / sum;
            }
            (horizontal ? r.at(i, o) : r.at(o, i)) = acc;
        }
    }
    return r;
}

// The reference result, premultiplied, as 8-bit channels.
QImage referenceResample(const QImage& src, int w, int h) {
    Planes p;
    p.w = src.width();
    p.h = src.height();
    p.px.resize(std::size_t(p.w) * std::size_t(p.h));
    for (int y = 0; y < p.h; ++y)
        for (int x = 0; x < p.w; ++x) {
            const QRgb c = detail::premultiply(src.pixel(x, y));
            p.at(x, y) = {double(qRed(c)), double(qGreen(c)), double(qBlue(c)), double(qAlpha(c))};
        }
    const Planes r = resizeAxis(resizeAxis(p, w, true), h, false);
    QImage out(w, h, QImage::Format_ARGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const auto& c = r.px[std::size_t(y) * std::size_t(w) + std::size_t(x)];
            // Premultiplied colour cannot exceed alpha.
            const int a = std::clamp(int(std::lround(c[3])), 0, 255);
            auto level = [a](double v) { return std::clamp(int(std::lround(v)), 0, a); };
            out.setPixel(x, y, qRgba(level(c[0]), level(c[1]), level(c[2]), a));
        }
    return out;
}

QImage premultipliedCopy(const QImage& img) {
    QImage out(img.size(), QImage::Format_ARGB32);
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            out.setPixel(x, y, detail::premultiply(img.pixel(x, y)));
    return out;
}

// Random texture kept to the 50..205 band (alpha 60..200): even the worst
// Lanczos overshoot stays inside 0..255, so clamping never enters and the
// reference needs none between its passes.
QImage texture(int w, int h, bool withAlpha, unsigned seed) {
    std::mt19937 rng(seed);
    std::uniform_int_distribution<int> level(50, 205), alpha(60, 200);
    QImage img(w, h, withAlpha ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const int wave = int(60 * std::sin(x * 0.3) * std::cos(y * 0.2));
            img.setPixel(x, y,
                         qRgba(128 + wave + level(rng) / 8 - 16, level(rng),
                               (x * 7 + y * 3) % 150 + 50, withAlpha ? alpha(rng) : 255));
        }
    return img;
}

double psnr(const QImage& a, const QImage& b) {
    double sum = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            for (int s = 0; s < 32; s += 8) {
                const double d = double((p >> s) & 0xff) - double((q >> s) & 0xff);
                sum += d * d;
            }
        }
    const double mse = sum / (4.0 * a.width() * a.height());
    return mse == 0 ? 99 : 10 * std::log10(255.0 * 255.0 / mse);
}

} // namespace

TEST(Resample, RefusesInvalidSizesAndPictures) {
    const QImage img = dovi::test::makeTestPattern(8, 8);
    const struct {
        int w, h;
    } sizes[] = {{0, 5},        {5, 0}, {-3, 5}, {5, -1}, {dovi::imaging::kMaxSide + 1, 1},
                 {20000, 20000}};
    for (const auto& s : sizes) {
        SCOPED_TRACE(QString("%1x%2").arg(s.w).arg(s.h).toStdString());
        EXPECT_TRUE(resample(img, s.w, s.h).isNull());
    }
    EXPECT_TRUE(resample(QImage(), 4, 4).isNull());
    EXPECT_TRUE(resample(img.convertToFormat(QImage::Format_RGB888), 4, 4).isNull());
}

TEST(Resample, GivesExactSizesAndKeepsFlatPicturesFlat) {
    const struct {
        int sw, sh, w, h;
    } cases[] = {
        {40, 30, 1, 1},   {40, 30, 1, 30},      {40, 30, 40, 1},  {1, 1, 7, 5},
        {3, 3, 1000, 1},  {1000, 2, 3, 1},      {2, 1000, 1, 3},  {1001, 999, 10, 9},
        {517, 3, 4, 200}, {300, 200, 299, 201}, {64, 64, 64, 63}, {9, 700, 9, 6},
    };
    for (const bool alpha : {false, true}) {
        const QRgb colour = alpha ? qRgba(37, 200, 91, 128) : qRgb(37, 200, 91);
        for (const auto& c : cases) {
            SCOPED_TRACE(QString("%1x%2 -> %3x%4, alpha %5")
                             .arg(c.sw)
                             .arg(c.sh)
                             .arg(c.w)
                             .arg(c.h)
                             .arg(alpha)
                             .toStdString());
            QImage flat(c.sw, c.sh, alpha ? QImage::Format_ARGB32 : QImage::Format_RGB32);
            flat.fill(colour);
            const QImage out = resample(flat, c.w, c.h);
            ASSERT_EQ(out.size(), QSize(c.w, c.h));
            EXPECT_EQ(out.format(), flat.format());
            QImage expected(c.w, c.h, flat.format());
            expected.fill(colour);
            EXPECT_TRUE(dovi::test::samePixels(expected, out));
        }
    }
}

TEST(Resample, MatchesADoublePrecisionReference) {
    const struct {
        int sw, sh, w, h;
    } cases[] = {
        {64, 48, 40, 30},  // mild reduction
        {50, 50, 37, 61},  // shrink one way, enlarge the other
        {30, 20, 90, 47},  // enlargement
        {97, 13, 31, 13},  // one axis untouched
        {120, 90, 35, 31}, // just under the pre-shrink threshold
        {5, 4, 1, 1},
    };
    for (const bool alpha : {false, true}) {
        for (const auto& c : cases) {
            SCOPED_TRACE(QString("%1x%2 -> %3x%4, alpha %5")
                             .arg(c.sw)
                             .arg(c.sh)
                             .arg(c.w)
                             .arg(c.h)
                             .arg(alpha)
                             .toStdString());
            const QImage src = texture(c.sw, c.sh, alpha, unsigned(c.sw * 31 + c.h));
            const QImage out = resample(src, c.w, c.h);
            ASSERT_EQ(out.size(), QSize(c.w, c.h));
            // Compared premultiplied: straight colour of a nearly transparent
            // pixel is legitimately coarse.
            EXPECT_LE(dovi::test::maxChannelDifference(referenceResample(src, c.w, c.h),
                                                       premultipliedCopy(out)),
                      2);
        }
    }
}

TEST(Resample, LargeReductionsStayCloseToTheFullFilter) {
    // These go through the box pre-shrink, which the reference does not have.
    const struct {
        int sw, sh, w, h;
    } cases[] = {{400, 300, 50, 40}, {333, 250, 40, 30}, {640, 40, 60, 40}, {1000, 13, 1, 1}};
    for (const auto& c : cases) {
        SCOPED_TRACE(QString("%1x%2 -> %3x%4").arg(c.sw).arg(c.sh).arg(c.w).arg(c.h).toStdString());
        const QImage src = dovi::test::makeTestPattern(c.sw, c.sh);
        const QImage out = resample(src, c.w, c.h);
        EXPECT_GE(psnr(referenceResample(src, c.w, c.h), premultipliedCopy(out)), 42.0);
    }
}

TEST(Resample, TransparentPixelsDoNotTintTheirNeighbours) {
    // Left half opaque red, right half fully transparent with a hidden green.
    QImage src(40, 10, QImage::Format_ARGB32);
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 40; ++x)
            src.setPixel(x, y, x < 20 ? qRgba(255, 0, 0, 255) : qRgba(0, 255, 0, 0));
    for (const QSize size : {QSize(13, 7), QSize(3, 2), QSize(97, 20)}) {
        const QImage out = resample(src, size.width(), size.height());
        for (int y = 0; y < out.height(); ++y)
            for (int x = 0; x < out.width(); ++x) {
                const QRgb p = out.pixel(x, y);
                if (qAlpha(p) > 8) {
                    EXPECT_EQ(qGreen(p), 0) << x << "," << y << " of " << size.width();
                }
            }
    }
}

TEST(Resample, FastAndPortableInnerLoopsAgree) {
    std::mt19937 rng(5);
    std::uniform_int_distribution<int> byte(0, 255);
    const int sw = 53, sh = 41;
    std::vector<std::uint8_t> src(std::size_t(sw) * sh * 4);
    for (auto& b : src)
        b = std::uint8_t(byte(rng));
    const detail::RowSource rows = [&](int y) { return src.data() + std::size_t(y) * sw * 4; };
    const auto kernel = detail::lanczos3();
    for (const QSize size :
         {QSize(17, 9), QSize(53, 41), QSize(120, 77), QSize(1, 3), QSize(26, 40)}) {
        const auto h = detail::makeTaps(sw, size.width(), kernel);
        const auto v = detail::makeTaps(sh, size.height(), kernel);
        const qsizetype stride = qsizetype(size.width()) * 4;
        std::vector<std::uint8_t> fast(std::size_t(stride) * size.height());
        std::vector<std::uint8_t> portable(fast.size());
        detail::filterSeparable(rows, sh, h, v, fast.data(), stride, detail::Path::Fast);
        detail::filterSeparable(rows, sh, h, v, portable.data(), stride, detail::Path::Portable);
        EXPECT_EQ(fast, portable) << size.width() << "x" << size.height();
    }
}
