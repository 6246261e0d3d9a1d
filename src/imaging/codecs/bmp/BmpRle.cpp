#include "imaging/codecs/bmp/BmpPixels.h"

#include "imaging/codecs/ByteReader.h"

#include <algorithm>

// Run-length coded BMP data. Every run and offset is checked against the
// picture: runs that cross the right edge are clipped (their bytes are still
// consumed), deltas past the right edge leave the rest of that row untouched,
// and a delta or end of line past the last row ends the picture.
namespace dovi::imaging::bmp::detail {
namespace {

class RleWriter {
public:
    RleWriter(const Header& h, QImage& image)
        : h_(h), bits_(image.bits()), bpl_(image.bytesPerLine()) {
        selectRow();
    }

    bool done() const { return row_ >= h_.height; }
    int finishedRows() const { return done() ? h_.height : row_ + (x_ >= h_.width ? 1 : 0); }

    // Room left in the current row, for clipping a run of n pixels.
    int room(int n) const { return std::min(n, h_.width - x_); }
    void put(QRgb c) { line_[x_++] = c; }

    void endOfLine() {
        x_ = 0;
        ++row_;
        selectRow();
    }
    void delta(int dx, int dy) {
        x_ = std::min(x_ + dx, h_.width);
        row_ += dy;
        selectRow();
    }
    void endOfBitmap() { row_ = h_.height; }

private:
    void selectRow() {
        if (done())
            return;
        const int y = h_.topDown ? row_ : h_.height - 1 - row_;
        line_ = reinterpret_cast<QRgb*>(bits_ + y * bpl_);
    }

    const Header& h_;
    uchar* bits_;
    qsizetype bpl_;
    QRgb* line_ = nullptr;
    int x_ = 0;
    int row_ = 0;
};

// Bytes an absolute run of n pixels occupies, before padding to 16 bits.
std::size_t absoluteBytes(Encoding e, int n) {
    switch (e) {
    case Encoding::Rle4:
        return static_cast<std::size_t>(n + 1) / 2;
    case Encoding::Rle24:
        return static_cast<std::size_t>(n) * 3;
    default:
        return static_cast<std::size_t>(n);
    }
}

} // namespace

int decodeRle(Bytes data, const Header& h, QImage& image) {
    ByteReader in(data.subspan(h.pixelOffset));
    RleWriter out(h, image);
    const QRgb* pal = h.palette.data();
    const Encoding e = h.encoding;

    while (!out.done() && in.remaining() >= 2) {
        const int count = in.u8();
        if (count > 0) {
            // Encoded run: one index byte (two alternating nibbles in RLE4),
            // or one BGR triple in RLE24.
            if (e == Encoding::Rle24) {
                const Bytes bgr = in.take(3);
                if (bgr.empty())
                    break;
                const QRgb c = qRgb(bgr[2], bgr[1], bgr[0]);
                for (int i = out.room(count); i > 0; --i)
                    out.put(c);
                continue;
            }
            const std::uint8_t v = in.u8();
            const int n = out.room(count);
            if (e == Encoding::Rle4) {
                const QRgb hi = pal[v >> 4];
                const QRgb lo = pal[v & 15];
                for (int i = 0; i < n; ++i)
                    out.put((i & 1) ? lo : hi);
            } else {
                for (int i = 0; i < n; ++i)
                    out.put(pal[v]);
            }
            continue;
        }
        const int code = in.u8();
        if (code == 0) {
            out.endOfLine();
        } else if (code == 1) {
            out.endOfBitmap();
        } else if (code == 2) {
            const int dx = in.u8();
            const int dy = in.u8();
            if (in.failed())
                break;
            out.delta(dx, dy);
        } else {
            // Absolute run of `code` pixels, padded to a 16-bit boundary.
            const std::size_t size = absoluteBytes(e, code);
            const Bytes run = in.take(size);
            if (run.empty())
                break; // cut short: what was decoded before stays
            if (size & 1)
                in.skip(std::min<std::size_t>(1, in.remaining()));
            const int n = out.room(code);
            for (int i = 0; i < n; ++i) {
                if (e == Encoding::Rle24)
                    out.put(qRgb(run[3 * i + 2], run[3 * i + 1], run[3 * i]));
                else if (e == Encoding::Rle4)
                    out.put(pal[(i & 1) ? (run[i / 2] & 15) : (run[i / 2] >> 4)]);
                else
                    out.put(pal[run[i]]);
            }
        }
    }
    return out.finishedRows();
}

} // namespace dovi::imaging::bmp::detail
