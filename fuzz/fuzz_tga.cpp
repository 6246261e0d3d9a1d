#include "imaging/codecs/TgaCodec.h"

#include <cstddef>
#include <cstdint>

namespace {

// Pictures above 16384 pixels are skipped so each run stays quick; the
// size caps themselves are covered by the unit tests.
bool smallEnough(const std::uint8_t* data, std::size_t size) {
    if (size < 16)
        return true;
    const long w = data[12] | data[13] << 8;
    const long h = data[14] | data[15] << 8;
    return w * h <= (1L << 14);
}

// The written file must read back to every pixel of the first reading.
bool sameAfterRoundTrip(const QImage& a, const QImage& b) {
    if (a.size() != b.size())
        return false;
    for (int y = 0; y < a.height(); ++y) {
        const auto* la = reinterpret_cast<const QRgb*>(a.constScanLine(y));
        const auto* lb = reinterpret_cast<const QRgb*>(b.constScanLine(y));
        for (int x = 0; x < a.width(); ++x)
            if ((la[x] ^ lb[x]) & 0xffffffffu)
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
    tga::sniff(Bytes(data, size));
    const DecodeResult first = tga::decode(Bytes(data, size));
    if (!first.ok())
        return 0;
    QByteArray encoded;
    if (!tga::encode(first.image, encoded))
        __builtin_trap();
    const DecodeResult again =
        tga::decode(Bytes(reinterpret_cast<const std::uint8_t*>(encoded.constData()),
                          static_cast<std::size_t>(encoded.size())));
    if (!again.ok() || !sameAfterRoundTrip(first.image.pixels, again.image.pixels))
        __builtin_trap();
    return 0;
}
