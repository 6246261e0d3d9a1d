#include "imaging/codecs/BmpCodec.h"

#include "imaging/codecs/BmpHeader.h"
#include "imaging/codecs/BmpPixels.h"

namespace dovi::imaging::bmp {
namespace {

// Bit-field alpha is kept only when it says something. Many writers leave the
// alpha bits 0 throughout, meaning "not used": such a picture is opaque. A
// picture whose alpha is 255 everywhere is opaque as well. Either way the
// result is RGB32, so writers do not carry a useless alpha channel along.
void settleAlpha(QImage& image) {
    const int width = image.width();
    std::uint32_t any = 0;
    std::uint32_t all = 0xff000000u;
    for (int y = 0, height = image.height(); y < height; ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < width; ++x) {
            any |= line[x];
            all &= line[x];
        }
    }
    if ((any & 0xff000000u) == 0) {
        for (int y = 0, height = image.height(); y < height; ++y) {
            auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
            for (int x = 0; x < width; ++x)
                line[x] |= 0xff000000u;
        }
        image.reinterpretAsFormat(QImage::Format_RGB32);
    } else if (all == 0xff000000u) {
        image.reinterpretAsFormat(QImage::Format_RGB32);
    }
}

} // namespace

// Only "BM" files. OS/2 bitmap arrays ("BA") wrap several pictures for
// different screens; they are left alone rather than guessed at.
bool sniff(Bytes head) {
    if (head.size() < 2 || head[0] != 'B' || head[1] != 'M')
        return false;
    if (head.size() < 18)
        return true;
    const std::uint32_t infoSize = head[14] | (head[15] << 8) | (head[16] << 16) |
                                   (static_cast<std::uint32_t>(head[17]) << 24);
    return infoSize >= 12 && infoSize <= 124;
}

DecodeResult decode(Bytes data, const DecodeRequest& /*request: callers resample*/) {
    detail::Header h;
    if (QString why = detail::parseHeader(data, h); !why.isEmpty())
        return DecodeResult::failure(why);

    // Truncated data: rows never read stay black, and the decode fails when
    // not even one whole row arrived. Uncompressed data is measured before
    // allocating, so a short file cannot ask for a large picture.
    const bool rle = h.encoding == detail::Encoding::Rle4 || h.encoding == detail::Encoding::Rle8 ||
                     h.encoding == detail::Encoding::Rle24;
    if (rle ? h.pixelOffset >= data.size() : detail::availableRows(data, h) == 0)
        return DecodeResult::failure(QStringLiteral("truncated BMP: no complete row of pixels"));

    const bool alpha = h.encoding == detail::Encoding::Bitfields && h.alpha.bits > 0;
    QImage pixels = allocatePixels(h.width, h.height, alpha);
    if (pixels.isNull())
        return DecodeResult::failure(QStringLiteral("not enough memory for the picture"));
    const int rows =
        rle ? detail::decodeRle(data, h, pixels) : detail::decodeUncompressed(data, h, pixels);
    if (rows == 0)
        return DecodeResult::failure(QStringLiteral("truncated BMP: no complete row of pixels"));
    if (alpha)
        settleAlpha(pixels);

    DecodeResult result;
    result.image.pixels = std::move(pixels);
    result.image.format = Bmp;
    result.image.bitsPerPixel = h.bitsPerPixel;
    result.image.sourceHadPalette = h.bitsPerPixel <= 8;
    result.image.fileSize = static_cast<qint64>(data.size());
    result.fullWidth = h.width;
    result.fullHeight = h.height;
    result.partial = rows < h.height;
    return result;
}

} // namespace dovi::imaging::bmp
