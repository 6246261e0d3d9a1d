#include "imaging/codecs/PcxCodec.h"

#include <cstddef>
#include <cstdint>

namespace {

// Pictures above 16384 pixels are skipped so each run stays quick; the
// size caps themselves are covered by the unit tests.
bool smallEnough(const std::uint8_t* data, std::size_t size) {
    if (size < 12)
        return true;
    const long w = long(data[8] | data[9] << 8) - long(data[4] | data[5] << 8) + 1;
    const long h = long(data[10] | data[11] << 8) - long(data[6] | data[7] << 8) + 1;
    return w * h <= (1L << 14);
}

// The written file must read back to every colour (PCX is written without alpha) of the first
// reading.
bool sameAfterRoundTrip(const QImage& a, const QImage& b) {
    if (a.size() != b.size())
        return false;
    for (int y = 0; y < a.height(); ++y) {
        const auto* la = reinterpret_cast<const QRgb*>(a.constScanLine(y));
        const auto* lb = reinterpret_cast<const QRgb*>(b.constScanLine(y));
        for (int x = 0; x < a.width(); ++x)
            if ((la[x] ^ lb[x]) & 0x00ffffffu)
                return false;
    }
    return true;
}

} // namespace

// Decodes the input; a picture that loads is written back and read again, so
// the writer meets every shape of picture the reader can produce.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace dovi::imaging;
    if (!smallEnough(data, size))
        return 0;
    pcx::sniff(Bytes(data, size));
    const DecodeResult first = pcx::decode(Bytes(data, size));
    if (!first.ok())
        return 0;
    QByteArray encoded;
    if (!pcx::encode(first.image, encoded))
        __builtin_trap();
    const DecodeResult again =
        pcx::decode(Bytes(reinterpret_cast<const std::uint8_t*>(encoded.constData()),
                          static_cast<std::size_t>(encoded.size())));
    if (!again.ok() || !sameAfterRoundTrip(first.image.pixels, again.image.pixels))
        __builtin_trap();
    return 0;
}
