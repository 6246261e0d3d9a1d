#include "imaging/ops/Resample.h"

#include "imaging/codecs/CodecTypes.h"
#include "imaging/ops/PixelSupport.h"
#include "imaging/ops/Separable.h"

#include <algorithm>
#include <memory>
#include <vector>

namespace dovi::imaging::ops {

namespace {

using detail::row;

// A reduction of k * kBoxGap or more on an axis gets a box pre-shrink by k,
// leaving the Lanczos filter a reduction between kBoxGap and 2 * kBoxGap.
// Boxes are capped so their sums and reciprocals stay exact in the integer
// arithmetic below.
constexpr int kBoxGap = 2;
constexpr int kMaxBox = 256;

int boxFactor(int from, int to) {
    return std::clamp(from / to / kBoxGap, 1, kMaxBox);
}

// Rounded n-th of a sum below 2^24, exact for n <= 65536: (t + n/2) / n
// through a 64-bit multiply instead of a division per channel.
struct Divider {
    std::uint64_t magic = 0;
    std::uint32_t half = 0;
    explicit Divider(std::uint32_t n) : magic((std::uint64_t(1) << 40) / n + 1), half(n / 2) {}
    std::uint8_t operator()(std::uint32_t t) const {
        return std::uint8_t(((t + half) * magic) >> 40);
    }
};

void addRow(std::uint16_t* __restrict sums, const std::uint8_t* __restrict in, std::size_t n) {
    std::size_t i = 0;
    for (; i + 16 <= n; i += 16)
        for (int j = 0; j < 16; ++j)
            sums[i + j] = std::uint16_t(sums[i + j] + in[i + j]);
    for (; i < n; ++i)
        sums[i] = std::uint16_t(sums[i] + in[i]);
}

// Source rows for the filter: the picture's own rows, premultiplied on the way
// when asked, then optionally averaged over kx x ky boxes (the last box of a
// row or column may be partial and averages what it has).
class Rows {
public:
    Rows(const QImage& src, bool premultiply, int kx, int ky)
        : src_(src), alpha_(premultiply), kx_(kx), ky_(ky), width_(src.width()),
          height_(src.height()) {
        if (alpha_)
            scratch_.resize(std::size_t(width_));
        if (kx_ > 1 || ky_ > 1) {
            sums_.resize(std::size_t(width_) * 4);
            boxed_.resize(std::size_t(outWidth()) * 4);
        }
    }

    int outWidth() const { return (width_ + kx_ - 1) / kx_; }
    int outHeight() const { return (height_ + ky_ - 1) / ky_; }

    const std::uint8_t* operator()(int y) { return kx_ > 1 || ky_ > 1 ? boxRow(y) : sourceRow(y); }

private:
    const std::uint8_t* sourceRow(int y) {
        const QRgb* in = row(src_, y);
        if (!alpha_)
            return reinterpret_cast<const std::uint8_t*>(in);
        for (int x = 0; x < width_; ++x)
            scratch_[std::size_t(x)] = detail::premultiply(in[x]);
        return reinterpret_cast<const std::uint8_t*>(scratch_.data());
    }

    const std::uint8_t* boxRow(int by) {
        const int y0 = by * ky_;
        const int rowsIn = std::min(ky_, height_ - y0);
        std::fill(sums_.begin(), sums_.end(), std::uint16_t(0));
        for (int y = y0; y < y0 + rowsIn; ++y)
            addRow(sums_.data(), sourceRow(y), sums_.size());

        const int fullBoxes = width_ / kx_;
        const Divider full(std::uint32_t(kx_ * rowsIn));
        const int lastCols = std::max(1, width_ - fullBoxes * kx_);
        const Divider last(std::uint32_t(lastCols * rowsIn));
        std::uint8_t* out = boxed_.data();
        const std::uint16_t* s = sums_.data();
        for (int bx = 0, n = outWidth(); bx < n; ++bx, out += 4) {
            const int cols = std::min(kx_, width_ - bx * kx_);
            std::uint32_t t0 = 0, t1 = 0, t2 = 0, t3 = 0;
            for (int c = 0; c < cols; ++c, s += 4) {
                t0 += s[0];
                t1 += s[1];
                t2 += s[2];
                t3 += s[3];
            }
            const Divider& d = bx < fullBoxes ? full : last;
            out[0] = d(t0);
            out[1] = d(t1);
            out[2] = d(t2);
            out[3] = d(t3);
        }
        return boxed_.data();
    }

    const QImage& src_;
    const bool alpha_;
    const int kx_, ky_, width_, height_;
    std::vector<QRgb> scratch_;
    std::vector<std::uint16_t> sums_;
    std::vector<std::uint8_t> boxed_;
};

// Premultiplying only matters where alpha varies; a picture of one alpha
// throughout (typically all opaque) is filtered as it is, which keeps its
// colours exact.
bool alphaVaries(const QImage& src) {
    if (!detail::hasAlpha(src))
        return false;
    const QRgb alpha = row(src, 0)[0] & 0xff000000u;
    for (int y = 0; y < src.height(); ++y) {
        const QRgb* in = row(src, y);
        for (int x = 0, w = src.width(); x < w; ++x)
            if ((in[x] & 0xff000000u) != alpha)
                return true;
    }
    return false;
}

} // namespace

QImage resample(const QImage& src, int width, int height) {
    if (!detail::usable(src) || !dimensionsAllowed(width, height))
        return {};
    if (width == src.width() && height == src.height())
        return detail::duplicate(src);
    QImage dst = allocateImage(width, height, src.format());
    if (dst.isNull())
        return {};

    const int kx = boxFactor(src.width(), width), ky = boxFactor(src.height(), height);
    const bool premultiply = alphaVaries(src);
    const auto kernel = detail::lanczos3();
    const detail::Taps tx = detail::makeTaps(src.width(), width, kernel, kx);
    const detail::Taps ty = detail::makeTaps(src.height(), height, kernel, ky);
    // Each band reads through its own Rows (they keep scratch rows).
    const auto makeSource = [&]() -> detail::RowSource {
        auto rows = std::make_shared<Rows>(src, premultiply, kx, ky);
        return [rows](int y) { return (*rows)(y); };
    };
    const detail::RowFinish finish = [&](int, std::uint8_t* bytes) {
        if (!premultiply)
            return;
        QRgb* line = reinterpret_cast<QRgb*>(bytes);
        for (int x = 0; x < width; ++x)
            line[x] = detail::unpremultiply(line[x]);
    };
    detail::filterSeparable(makeSource, (src.height() + ky - 1) / ky, tx, ty, dst.bits(),
                            dst.bytesPerLine(), finish);
    return dst;
}

QSize previewSize(QSize picture, QSize box) {
    if (picture.isEmpty() || box.isEmpty())
        return {};
    if (picture.width() <= box.width() && picture.height() <= box.height())
        return picture;
    // The limiting side gets the box's size exactly; the other is rounded.
    const bool byWidth =
        qint64(picture.width()) * box.height() >= qint64(picture.height()) * box.width();
    if (byWidth)
        return {box.width(),
                std::max(1, int((qint64(picture.height()) * box.width() * 2 + picture.width()) /
                                (2 * qint64(picture.width()))))};
    return {std::max(1, int((qint64(picture.width()) * box.height() * 2 + picture.height()) /
                            (2 * qint64(picture.height())))),
            box.height()};
}

QImage previewCopy(const QImage& src, QSize box) {
    if (!detail::usable(src) || box.isEmpty())
        return {};
    const QSize size = previewSize(src.size(), box);
    return resample(src, size.width(), size.height());
}

} // namespace dovi::imaging::ops
