// Feeds arbitrary bytes to one codec of the engine's table (DOVI_FUZZ_FORMAT
// names it). Any input may be refused, never crash, and a refusal says why.
// A decode fitted to a box must still cover the box. What decodes is written
// back and read again, so the writer meets every shape of picture the reader
// can produce, and the second reading must keep what the codec promises.
#include "imaging/Codecs.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace {

using namespace dovi::imaging;

// Decoding and writing cost follows the picture's size, and no branch of the
// codecs depends on size beyond that. Larger pictures are left to the unit
// tests (huge declared sizes, memory caps), which keeps runs fast enough for
// a million of them.
constexpr qint64 kMaxFuzzPixels = 1 << 14;

const Codec& fuzzedCodec() {
    static const Codec* const codec = [] {
        for (const Codec& each : codecs())
            if (std::strcmp(each.name, DOVI_FUZZ_FORMAT) == 0)
                return &each;
        std::abort(); // a codec folder without a row in the table
    }();
    return *codec;
}

Bytes bytesOf(const QByteArray& array) {
    return {reinterpret_cast<const std::uint8_t*>(array.constData()), std::size_t(array.size())};
}

// Same size and, as far as the codec keeps them, the same pixels.
bool kept(const QImage& a, const QImage& b, Fidelity fidelity) {
    if (a.size() != b.size())
        return false;
    if (fidelity == Fidelity::Lossy)
        return true;
    const QRgb mask = fidelity == Fidelity::Exact ? 0xffffffffu : 0x00ffffffu;
    for (int y = 0; y < a.height(); ++y) {
        const auto* la = reinterpret_cast<const QRgb*>(a.constScanLine(y));
        const auto* lb = reinterpret_cast<const QRgb*>(b.constScanLine(y));
        for (int x = 0; x < a.width(); ++x)
            if ((la[x] ^ lb[x]) & mask)
                return false;
    }
    return true;
}

void check(bool holds) {
    if (!holds)
        __builtin_trap();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const Codec& codec = fuzzedCodec();
    const Bytes bytes(data, size);
    codec.sniff(bytes);
    const QSize stated = codec.statedSize(bytes);
    if (qint64(stated.width()) * stated.height() > kMaxFuzzPixels)
        return 0;

    const QSize box(64, 48);
    const DecodeResult fitted = codec.decode(bytes, {box});
    check(fitted.ok() != !fitted.error.isEmpty());
    if (fitted.ok())
        check(fitted.image.pixels.width() >= std::min(box.width(), fitted.fullWidth) &&
              fitted.image.pixels.height() >= std::min(box.height(), fitted.fullHeight));

    const DecodeResult first = codec.decode(bytes, {});
    check(first.ok() != !first.error.isEmpty());
    if (!first.ok())
        return 0;
    check(first.image.pixels.size() == QSize(first.fullWidth, first.fullHeight));
    QByteArray file;
    const EncodeOptions options{1 + int(size % 255), 1 + int((size / 255) % 255)};
    check(codec.encode(first.image, options, file, nullptr)); // any decoded picture can be saved
    const DecodeResult again = codec.decode(bytesOf(file), {});
    check(again.ok() && kept(first.image.pixels, again.image.pixels, codec.fidelity));
    return 0;
}
