#include "imaging/codecs/WriterInput.h"
#include "imaging/codecs/tga/TgaCodec.h"
#include "imaging/codecs/tga/TgaHeader.h"

#include <algorithm>
#include <vector>

// What is written, chosen for the widest compatibility: uncompressed pictures
// (type 2 true colour, type 1 colour-mapped), stored bottom row first, the
// layout every reader handles, including those that ignore the descriptor's
// origin bits or trip over RLE packets. 24-bit BGR, or 32-bit BGRA with 8
// alpha bits when some pixel is not opaque; an opaque picture that came from a
// paletted file and still fits 256 colours is written with an 8-bit index and
// a 24-bit colour map.
namespace dovi::imaging::tga {
namespace {

void put16(std::uint8_t* p, int v) {
    p[0] = static_cast<std::uint8_t>(v & 0xff);
    p[1] = static_cast<std::uint8_t>((v >> 8) & 0xff);
}

} // namespace

bool encode(const Image& image, QByteArray& out, QString* error) {
    const QImage src = checkedWriterInput(image, QStringLiteral("TGA"), error);
    if (src.isNull())
        return false;
    const int w = src.width();
    const int h = src.height();

    const bool alpha = hasTranslucentPixel(src);
    std::vector<QRgb> palette;
    std::vector<std::uint8_t> indices;
    const bool mapped = !alpha && image.sourceHadPalette && indexColours(src, palette, indices);
    const int pixelBytes = mapped ? 1 : (alpha ? 4 : 3);
    const CheckedSize fileSize = CheckedSize(kHeaderSize) + CheckedSize(palette.size()) * 3 +
                                 CheckedSize(w) * pixelBytes * h;
    if (!fileSize.valid())
        return failWith(error, QStringLiteral("picture too large for TGA"));
    out = QByteArray(qsizetype(fileSize.value()), Qt::Uninitialized);
    auto* p = reinterpret_cast<std::uint8_t*>(out.data());
    std::fill(p, p + kHeaderSize, std::uint8_t(0));
    p[1] = mapped ? 1 : 0;
    p[2] = mapped ? kMapped : kTrueColour;
    put16(p + 5, int(palette.size()));
    p[7] = mapped ? 24 : 0;
    put16(p + 12, w);
    put16(p + 14, h);
    p[16] = static_cast<std::uint8_t>(pixelBytes * 8);
    p[17] = alpha ? 8 : 0; // bottom-left origin
    p += kHeaderSize;
    for (const QRgb c : palette) {
        *p++ = static_cast<std::uint8_t>(qBlue(c));
        *p++ = static_cast<std::uint8_t>(qGreen(c));
        *p++ = static_cast<std::uint8_t>(qRed(c));
    }

    for (int row = 0; row < h; ++row) {
        const int y = h - 1 - row;
        if (mapped) {
            const std::uint8_t* idx = indices.data() + std::size_t(y) * w;
            std::copy(idx, idx + w, p);
            p += w;
            continue;
        }
        const auto* line = reinterpret_cast<const QRgb*>(src.constScanLine(y));
        if (alpha) {
            for (int x = 0; x < w; ++x, p += 4) {
                p[0] = static_cast<std::uint8_t>(qBlue(line[x]));
                p[1] = static_cast<std::uint8_t>(qGreen(line[x]));
                p[2] = static_cast<std::uint8_t>(qRed(line[x]));
                p[3] = static_cast<std::uint8_t>(qAlpha(line[x]));
            }
        } else {
            for (int x = 0; x < w; ++x, p += 3) {
                p[0] = static_cast<std::uint8_t>(qBlue(line[x]));
                p[1] = static_cast<std::uint8_t>(qGreen(line[x]));
                p[2] = static_cast<std::uint8_t>(qRed(line[x]));
            }
        }
    }
    return true;
}

} // namespace dovi::imaging::tga
