#include "imaging/codecs/ByteReader.h"
#include "imaging/codecs/DecodedAlpha.h"
#include "imaging/codecs/pcx/PcxCodec.h"
#include "imaging/codecs/pcx/PcxHeader.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <vector>

namespace dovi::imaging::pcx {
namespace {

// Runs may cross plane and scan-line ends (some writers do that), so the
// stream is read as one and a run's remainder carries into the next row.
class RleStream {
public:
    explicit RleStream(ByteReader& in) : in_(in) {}

    // Fills out with count bytes; false when the data ran out first.
    bool fill(std::uint8_t* out, std::size_t count) {
        while (count > 0) {
            if (pending_ > 0) {
                const std::size_t n = std::min(pending_, count);
                std::memset(out, value_, n);
                out += n;
                count -= n;
                pending_ -= n;
                continue;
            }
            if (in_.atEnd())
                return false;
            const std::uint8_t b = in_.u8();
            if ((b & 0xc0) != 0xc0) {
                *out++ = b;
                --count;
                continue;
            }
            if (in_.atEnd())
                return false;
            pending_ = b & 0x3f; // a zero-length run is skipped
            value_ = in_.u8();
        }
        return true;
    }

private:
    ByteReader& in_;
    std::size_t pending_ = 0;
    std::uint8_t value_ = 0;
};

// The colours of 2- to 16-colour pictures. Version 3 files say they carry no
// palette; an all-zero one is a writer that had none to give. Both get the
// standard EGA colours rather than a black picture.
std::array<QRgb, 16> smallPalette(const Header& h) {
    const bool empty =
        std::all_of(h.palette16.begin(), h.palette16.end(), [](std::uint8_t b) { return b == 0; });
    if (h.version == 3 || empty)
        return kEgaPalette;
    std::array<QRgb, 16> pal{};
    for (int i = 0; i < 16; ++i)
        pal[i] = qRgb(h.palette16[3 * i], h.palette16[3 * i + 1], h.palette16[3 * i + 2]);
    return pal;
}

struct Layout {
    const Header& h;
    const QRgb* palette; // 16 or 256 entries for indexed layouts
};

// One decoded scan line (all planes, bytesPerLine each) to ARGB values.
void convertRow(const Layout& l, const std::uint8_t* src, QRgb* out, int width) {
    const int bpl = l.h.bytesPerLine;
    const int planes = l.h.planes;
    switch (l.h.bitsPerPlane) {
    case 1:
        if (planes == 1) {
            for (int x = 0; x < width; ++x)
                out[x] = (src[x >> 3] & (0x80 >> (x & 7))) ? 0xffffffffu : 0xff000000u;
        } else {
            for (int x = 0; x < width; ++x) {
                const int mask = 0x80 >> (x & 7);
                int index = 0;
                for (int p = 0; p < planes; ++p)
                    if (src[p * bpl + (x >> 3)] & mask)
                        index |= 1 << p;
                out[x] = l.palette[index];
            }
        }
        return;
    case 2:
        for (int x = 0; x < width; ++x)
            out[x] = l.palette[(src[x >> 2] >> (6 - 2 * (x & 3))) & 3];
        return;
    case 4:
        for (int x = 0; x < width; ++x)
            out[x] = l.palette[(src[x >> 1] >> ((x & 1) ? 0 : 4)) & 15];
        return;
    default:
        break;
    }
    if (planes == 1) {
        for (int x = 0; x < width; ++x)
            out[x] = l.palette[src[x]];
        return;
    }
    const std::uint8_t* r = src;
    const std::uint8_t* g = src + bpl;
    const std::uint8_t* b = src + 2 * bpl;
    if (planes == 3) {
        for (int x = 0; x < width; ++x)
            out[x] = qRgb(r[x], g[x], b[x]);
    } else {
        const std::uint8_t* a = src + 3 * bpl;
        for (int x = 0; x < width; ++x)
            out[x] = qRgba(r[x], g[x], b[x], a[x]);
    }
}

QString checkHeader(const Header& h) {
    if (h.manufacturer != kManufacturer)
        return QStringLiteral("not a PCX file");
    if (!knownVersion(h.version))
        return QStringLiteral("unsupported PCX version %1").arg(h.version);
    if (h.encoding > 1)
        return QStringLiteral("unsupported encoding %1").arg(h.encoding);
    if (!knownLayout(h.bitsPerPlane, h.planes))
        return QStringLiteral("unsupported layout: %1 bits x %2 planes")
            .arg(h.bitsPerPlane)
            .arg(h.planes);
    if (h.xMax < h.xMin || h.yMax < h.yMin)
        return QStringLiteral("bad window (max below min)");
    if (!dimensionsAllowed(h.width(), h.height()))
        return QStringLiteral("picture too large (%1 x %2)").arg(h.width()).arg(h.height());
    if (!packedBytes(h.width(), h.bitsPerPlane).fits(h.bytesPerLine))
        return QStringLiteral("bytes per line too small for the width");
    return {};
}

} // namespace

bool sniff(Bytes head) {
    if (head.size() < std::size_t(kHeaderSize))
        return false;
    ByteReader in(head);
    return checkHeader(readHeader(in)).isEmpty();
}

QSize statedSize(Bytes data) {
    if (data.size() < std::size_t(kHeaderSize))
        return {};
    ByteReader in(data);
    const Header h = readHeader(in);
    return h.xMax < h.xMin || h.yMax < h.yMin ? QSize() : QSize(h.width(), h.height());
}

DecodeResult decode(Bytes data, const DecodeRequest&) {
    if (data.size() < std::size_t(kHeaderSize))
        return DecodeResult::failure(QStringLiteral("file too short for a PCX header"));
    ByteReader headerIn(data);
    const Header h = readHeader(headerIn);
    if (const QString why = checkHeader(h); !why.isEmpty())
        return DecodeResult::failure(why);
    const int width = h.width();
    const int height = h.height();

    // Palette, and where the pixel data ends: before a trailing 256-colour
    // palette, so a short file never decodes that palette as pixels.
    std::size_t dataEnd = data.size();
    std::vector<QRgb> palette;
    bool indexed = true;
    if (h.bitsPerPlane == 8 && h.planes == 1) {
        palette.resize(256);
        const std::size_t at =
            data.size() - std::min<std::size_t>(data.size(), kTrailingPaletteSize);
        if (at >= std::size_t(kHeaderSize) && data[at] == kPaletteMarker) {
            const std::uint8_t* p = data.data() + at + 1;
            for (int i = 0; i < 256; ++i)
                palette[i] = qRgb(p[3 * i], p[3 * i + 1], p[3 * i + 2]);
            dataEnd = at;
        } else {
            for (int i = 0; i < 256; ++i) // no palette: grey levels
                palette[i] = qRgb(i, i, i);
        }
    } else if (h.bitsPerPlane < 8 && !(h.bitsPerPlane == 1 && h.planes == 1)) {
        const auto small = smallPalette(h);
        palette.assign(small.begin(), small.end());
    } else {
        indexed = h.bitsPerPlane == 1;
    }

    // Truncated data: each scan line is shown only once all its planes
    // arrived; lines never reached (and one cut short) stay black. The
    // decode fails when not even one whole line arrived, checked before the
    // picture is allocated.
    ByteReader in(data.first(dataEnd));
    in.seek(kHeaderSize);
    RleStream rle(in);
    const std::size_t rowBytes = (CheckedSize(h.bytesPerLine) * h.planes).value();
    std::vector<std::uint8_t> rowBuffer(rowBytes);
    auto nextRow = [&]() -> const std::uint8_t* {
        if (h.encoding == 1)
            return rle.fill(rowBuffer.data(), rowBytes) ? rowBuffer.data() : nullptr;
        const Bytes row = in.take(rowBytes);
        return row.empty() ? nullptr : row.data();
    };
    const std::uint8_t* src = nextRow();
    if (!src)
        return DecodeResult::failure(QStringLiteral("no complete scan line of pixel data"));

    const bool alpha = h.planes == 4 && h.bitsPerPlane == 8;
    QImage pixels = allocatePixels(width, height, alpha);
    if (pixels.isNull())
        return DecodeResult::failure(QStringLiteral("not enough memory for the picture"));
    const Layout layout{h, palette.data()};
    AlphaSeen alphaSeen;
    int y = 0;
    for (; y < height && src; ++y, src = y < height ? nextRow() : nullptr) {
        auto* out = reinterpret_cast<QRgb*>(pixels.scanLine(y));
        convertRow(layout, src, out, width);
        if (alpha)
            alphaSeen.addRow(out, width);
    }
    if (alpha && !alphaSeen.meaningful())
        makeOpaque(pixels);

    DecodeResult result;
    result.image.pixels = std::move(pixels);
    result.image.format = Pcx;
    result.image.bitsPerPixel = h.bitsPerPlane * h.planes;
    result.image.sourceHadPalette = indexed;
    result.image.fileSize = qint64(data.size());
    result.fullWidth = width;
    result.fullHeight = height;
    result.partial = y < height;
    return result;
}

} // namespace dovi::imaging::pcx
