#include "imaging/codecs/WriterInput.h"
#include "imaging/codecs/pcx/PcxCodec.h"
#include "imaging/codecs/pcx/PcxHeader.h"

#include <cstring>
#include <vector>

// What is written: version 5, RLE, 8 bits per plane; an even number of bytes
// per line, as older readers expect. A picture from a paletted file that still
// fits 256 colours keeps one plane and a trailing 256-colour palette; anything
// else is 24-bit in three planes (R, G, B). PCX readers rarely know a fourth
// (alpha) plane, so alpha is not written. Runs stop at each plane's line end,
// which every reader handles.
namespace dovi::imaging::pcx {
namespace {

void put16(std::uint8_t* p, int v) {
    p[0] = static_cast<std::uint8_t>(v & 0xff);
    p[1] = static_cast<std::uint8_t>((v >> 8) & 0xff);
}

// Appends one plane line as runs of at most 63 bytes. A lone byte goes out as
// itself unless its top two bits are set, which would read as a run count.
std::uint8_t* encodeLine(const std::uint8_t* line, int count, std::uint8_t* out) {
    int i = 0;
    while (i < count) {
        const std::uint8_t v = line[i];
        int run = 1;
        while (i + run < count && run < 63 && line[i + run] == v)
            ++run;
        if (run > 1 || (v & 0xc0) == 0xc0)
            *out++ = static_cast<std::uint8_t>(0xc0 | run);
        *out++ = v;
        i += run;
    }
    return out;
}

} // namespace

bool encode(const Image& image, QByteArray& out, QString* error) {
    const QImage src = checkedWriterInput(image, QStringLiteral("PCX"), error);
    if (src.isNull())
        return false;
    const int w = src.width();
    const int h = src.height();

    std::vector<QRgb> palette;
    std::vector<std::uint8_t> indices;
    const bool mapped = image.sourceHadPalette && indexColours(src, palette, indices);
    const int planes = mapped ? 1 : 3;
    const int bpl = w + (w & 1);

    std::uint8_t header[kHeaderSize] = {};
    header[0] = kManufacturer;
    header[1] = 5;
    header[2] = 1;
    header[3] = 8;
    put16(header + 8, w - 1);
    put16(header + 10, h - 1);
    put16(header + 12, 72);
    put16(header + 14, 72);
    for (std::size_t i = 0; i < 16 && i < palette.size(); ++i) {
        header[16 + 3 * i] = static_cast<std::uint8_t>(qRed(palette[i]));
        header[17 + 3 * i] = static_cast<std::uint8_t>(qGreen(palette[i]));
        header[18 + 3 * i] = static_cast<std::uint8_t>(qBlue(palette[i]));
    }
    header[65] = static_cast<std::uint8_t>(planes);
    put16(header + 66, bpl);
    put16(header + 68, 1); // colour palette
    out.clear();
    const CheckedSize lineBytes = CheckedSize(bpl) * planes;
    const CheckedSize uncompressed =
        CheckedSize(kHeaderSize) + lineBytes * h + (mapped ? kTrailingPaletteSize : 0);
    out.reserve(qsizetype(uncompressed.value()));
    out.append(reinterpret_cast<const char*>(header), kHeaderSize);

    // Worst case a line doubles (every byte a one-byte run of a high value).
    std::vector<std::uint8_t> plane(lineBytes.value(), 0);
    std::vector<std::uint8_t> packed(plane.size() * 2);
    for (int y = 0; y < h; ++y) {
        if (mapped) {
            std::memcpy(plane.data(), indices.data() + std::size_t(y) * w, w);
        } else {
            const auto* line = reinterpret_cast<const QRgb*>(src.constScanLine(y));
            std::uint8_t* r = plane.data();
            std::uint8_t* g = r + bpl;
            std::uint8_t* b = g + bpl;
            for (int x = 0; x < w; ++x) {
                r[x] = static_cast<std::uint8_t>(qRed(line[x]));
                g[x] = static_cast<std::uint8_t>(qGreen(line[x]));
                b[x] = static_cast<std::uint8_t>(qBlue(line[x]));
            }
        }
        std::uint8_t* end = packed.data();
        for (int p = 0; p < planes; ++p)
            end = encodeLine(plane.data() + std::size_t(p) * bpl, bpl, end);
        out.append(reinterpret_cast<const char*>(packed.data()), end - packed.data());
    }

    if (mapped) {
        char trailer[kTrailingPaletteSize] = {};
        trailer[0] = kPaletteMarker;
        for (std::size_t i = 0; i < palette.size(); ++i) {
            trailer[1 + 3 * i] = static_cast<char>(qRed(palette[i]));
            trailer[2 + 3 * i] = static_cast<char>(qGreen(palette[i]));
            trailer[3 + 3 * i] = static_cast<char>(qBlue(palette[i]));
        }
        out.append(trailer, kTrailingPaletteSize);
    }
    return true;
}

} // namespace dovi::imaging::pcx
