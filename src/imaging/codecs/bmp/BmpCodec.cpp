#include "imaging/codecs/bmp/BmpCodec.h"

#include "imaging/codecs/DecodedAlpha.h"
#include "imaging/codecs/bmp/BmpHeader.h"
#include "imaging/codecs/bmp/BmpPixels.h"

namespace dovi::imaging::bmp {

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

QSize statedSize(Bytes data) {
    detail::Header h;
    return detail::parseHeader(data, h).isEmpty() ? QSize(h.width, h.height) : QSize();
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
    // Bit-field alpha is kept only when it says something: many writers leave
    // the alpha bits 0 throughout, meaning "not used".
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
