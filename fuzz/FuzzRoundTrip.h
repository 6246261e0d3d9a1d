#pragma once
// The body the BMP, TGA and PCX targets share: any input may be refused,
// never crash. A picture that decodes is written back and read again, so the
// writer meets every shape of picture the reader can produce, and the second
// reading must match the first.
#include "imaging/codecs/CodecTypes.h"

#include <cstddef>
#include <cstdint>

namespace dovi::fuzz {

using Decoder = imaging::DecodeResult (*)(imaging::Bytes, const imaging::DecodeRequest&);
using Encoder = bool (*)(const imaging::Image&, QByteArray&, QString*);

// Same size and the same bits under mask in every pixel.
inline bool sameUnderMask(const QImage& a, const QImage& b, QRgb mask) {
    if (a.size() != b.size())
        return false;
    for (int y = 0; y < a.height(); ++y) {
        const auto* la = reinterpret_cast<const QRgb*>(a.constScanLine(y));
        const auto* lb = reinterpret_cast<const QRgb*>(b.constScanLine(y));
        for (int x = 0; x < a.width(); ++x)
            if ((la[x] ^ lb[x]) & mask)
                return false;
    }
    return true;
}

// maxPixels > 0 skips writing larger pictures: the write path does not depend
// on the size, and re-encoding large pictures would only spend the run on
// memory traffic.
template <typename Same>
int roundTrip(const std::uint8_t* data, std::size_t size, Decoder decode, Encoder encode, Same same,
              qint64 maxPixels = 0) {
    const imaging::DecodeResult first = decode(imaging::Bytes(data, size), {});
    if (!first.ok())
        return 0;
    if (maxPixels > 0 &&
        qint64{first.image.pixels.width()} * first.image.pixels.height() > maxPixels)
        return 0;
    QByteArray file;
    if (!encode(first.image, file, nullptr))
        __builtin_trap();
    const imaging::DecodeResult again =
        decode(imaging::Bytes(reinterpret_cast<const std::uint8_t*>(file.constData()),
                              std::size_t(file.size())),
               {});
    if (!again.ok() || !same(first.image.pixels, again.image.pixels))
        __builtin_trap();
    return 0;
}

} // namespace dovi::fuzz
