#include "imaging/codecs/bmp/BmpPixels.h"

#include <vector>

// Uncompressed BMP rows, written straight into the picture's scan lines.
namespace dovi::imaging::bmp::detail {
namespace {

// Scales one masked channel to 8 bits with exact rounding of v * 255 / max,
// through a table for channels of up to 16 bits.
class ChannelScale {
public:
    explicit ChannelScale(const Channel& c) : c_(c) {
        if (c.bits > 0 && c.bits <= 16) {
            table_.resize(std::size_t{1} << c.bits);
            for (std::uint32_t v = 0; v < table_.size(); ++v)
                table_[v] = compute(v);
        }
    }
    std::uint32_t operator()(std::uint32_t pixel) const {
        const std::uint32_t v = (pixel & c_.mask) >> c_.shift;
        return table_.empty() ? compute(v) : table_[v];
    }

private:
    std::uint8_t compute(std::uint32_t v) const {
        if (c_.bits == 0)
            return 0;
        const std::uint64_t max = (std::uint64_t{1} << c_.bits) - 1;
        return static_cast<std::uint8_t>((v * std::uint64_t{255} + max / 2) / max);
    }
    Channel c_;
    std::vector<std::uint8_t> table_;
};

void indexedRow(const std::uint8_t* s, QRgb* d, int width, int bpp, const QRgb* pal) {
    switch (bpp) {
    case 8:
        for (int x = 0; x < width; ++x)
            d[x] = pal[s[x]];
        break;
    case 4: {
        int x = 0;
        for (; x + 1 < width; x += 2, ++s) {
            d[x] = pal[*s >> 4];
            d[x + 1] = pal[*s & 15];
        }
        if (x < width)
            d[x] = pal[*s >> 4];
        break;
    }
    case 2:
        for (int x = 0; x < width; ++x)
            d[x] = pal[(s[x >> 2] >> (6 - 2 * (x & 3))) & 3];
        break;
    default:
        for (int x = 0; x < width; ++x)
            d[x] = pal[(s[x >> 3] >> (7 - (x & 7))) & 1];
        break;
    }
}

void rgb24Row(const std::uint8_t* s, QRgb* d, int width) {
    for (int x = 0; x < width; ++x, s += 3)
        d[x] = 0xff000000u | (std::uint32_t{s[2]} << 16) | (std::uint32_t{s[1]} << 8) | s[0];
}

inline std::uint32_t load32(const std::uint8_t* s) {
    return std::uint32_t{s[0]} | (std::uint32_t{s[1]} << 8) | (std::uint32_t{s[2]} << 16) |
           (std::uint32_t{s[3]} << 24);
}

// Plain BGRX (alpha false) or BGRA with the standard byte masks.
void bgr32Row(const std::uint8_t* s, QRgb* d, int width, bool alpha) {
    if (alpha) {
        for (int x = 0; x < width; ++x, s += 4)
            d[x] = load32(s);
    } else {
        for (int x = 0; x < width; ++x, s += 4)
            d[x] = load32(s) | 0xff000000u;
    }
}

struct FieldScales {
    ChannelScale r, g, b, a;
    bool hasAlpha;
};

template <int Bytes>
void fieldsRow(const std::uint8_t* s, QRgb* d, int width, const FieldScales& f) {
    for (int x = 0; x < width; ++x, s += Bytes) {
        const std::uint32_t v =
            Bytes == 2 ? std::uint32_t{s[0]} | (std::uint32_t{s[1]} << 8) : load32(s);
        d[x] = qRgba(f.r(v), f.g(v), f.b(v), f.hasAlpha ? f.a(v) : 255);
    }
}

bool standardBytes(const Header& h) {
    return h.bitsPerPixel == 32 && h.red.mask == 0xff0000 && h.green.mask == 0xff00 &&
           h.blue.mask == 0xff && (h.alpha.bits == 0 || h.alpha.mask == 0xff000000u);
}

} // namespace

int availableRows(Bytes data, const Header& h) {
    // What follows the first row's pixels; the last row need not carry its
    // padding.
    const CheckedSize afterFirstRow = CheckedSize(data.size()) - h.pixelOffset - h.rowBytes;
    if (!afterFirstRow.valid())
        return 0;
    const std::size_t rows = afterFirstRow.value() / h.rowStride + 1;
    return rows < static_cast<std::size_t>(h.height) ? static_cast<int>(rows) : h.height;
}

int decodeUncompressed(Bytes data, const Header& h, QImage& image) {
    const int rows = availableRows(data, h);
    const std::uint8_t* base = data.data() + h.pixelOffset;
    uchar* bits = image.bits();
    const qsizetype bpl = image.bytesPerLine();
    auto line = [&](int fileRow) {
        const int y = h.topDown ? fileRow : h.height - 1 - fileRow;
        return reinterpret_cast<QRgb*>(bits + y * bpl);
    };
    auto src = [&](int fileRow) { return base + static_cast<std::size_t>(fileRow) * h.rowStride; };

    if (h.encoding == Encoding::Indexed) {
        for (int r = 0; r < rows; ++r)
            indexedRow(src(r), line(r), h.width, h.bitsPerPixel, h.palette.data());
    } else if (h.encoding == Encoding::Rgb24) {
        for (int r = 0; r < rows; ++r)
            rgb24Row(src(r), line(r), h.width);
    } else if (standardBytes(h)) {
        for (int r = 0; r < rows; ++r)
            bgr32Row(src(r), line(r), h.width, h.alpha.bits != 0);
    } else {
        const FieldScales f{ChannelScale(h.red), ChannelScale(h.green), ChannelScale(h.blue),
                            ChannelScale(h.alpha), h.alpha.bits != 0};
        for (int r = 0; r < rows; ++r) {
            if (h.bitsPerPixel == 16)
                fieldsRow<2>(src(r), line(r), h.width, f);
            else
                fieldsRow<4>(src(r), line(r), h.width, f);
        }
    }
    return rows;
}

} // namespace dovi::imaging::bmp::detail
